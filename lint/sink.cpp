// The lint's sink: what the checker's scan tells it of each line (its bytes,
// its faults, its parsed rule, its committed rules) becomes findings of the
// line, each kept once per code, at its column, unless silenced. The checks
// themselves are in directives.cpp, full_width.cpp, names.cpp and
// cpu_list_warnings.cpp.
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "lint/lint.h"
#include "rules/rules.h"

namespace {

constexpr std::size_t initial_rule_lines = 1024;

}  // namespace

lint_sink::lint_sink(const lint_options& options, finding_list& list, output_state& out, const char* name)
    : list_(list),
      phone_(options.phone),
      out_(out),
      name_(name),
      excluded_(options.excluded),
      errors_only_(options.errors_only),
      unit_(unit_of(options)),
      list_warnings_wanted_(!options.errors_only) {}

lint_sink::~lint_sink() { std::free(rule_lines_); }

bool lint_sink::silenced(lint_code code) const { return is_silenced(code, excluded_, errors_only_, line_disabled_); }

void lint_sink::out_of_storage() {
    if (out_of_memory_) return;
    out_of_memory_ = true;
    out_of_memory_line_ = line_;
}

void lint_sink::add(lint_code code, std::size_t column, const char* text, std::size_t length) {
    if ((seen_ & bit(code)) != 0) return;  // one per code and line: the first
    seen_ |= bit(code);
    if (silenced(code) || out_of_memory_) return;
    if (!add_finding(list_, line_, column, code, text, length)) out_of_storage();
}

void lint_sink::claim(std::size_t offset, std::size_t count) {
    for (std::size_t i = offset; i < offset + count && i < 256; ++i) claimed_[i / 64] |= std::uint64_t{1} << (i % 64);
    any_claimed_ = true;
}

bool lint_sink::claimed(std::size_t offset) const {
    return offset < 256 && (claimed_[offset / 64] >> (offset % 64) & 1u) != 0;
}

std::size_t lint_sink::column(std::size_t offset) const { return column_of(text_, offset, unit_); }

void lint_sink::write_line() {
    sort_findings(list_);
    for (std::size_t i = 0; i < list_.count; ++i) {
        const finding& f = list_.items[i];
        if (is_silenced(f.code, 0, false, file_disabled_)) continue;
        write_finding(out_, name_, f.line, f.column, f.code, list_.texts + f.text_offset, f.text_length);
        reported_ = true;
    }
    clear_findings(list_);
}

void lint_sink::add_read_failure(std::size_t line_number, const char* text, std::size_t length) {
    if (line_number != line_) write_line();
    if (!add_finding(list_, line_number, 1, lint_code::e022, text, length)) {
        write_finding(out_, name_, line_number, 1, lint_code::e022, text, length);
        reported_ = true;
    }
}

void lint_sink::begin_line(std::size_t line_number, const char* bytes, std::size_t length) {
    finish_line();
    write_line();
    line_ = line_number;
    seen_ = 0;
    line_disabled_ = 0;
    if (any_claimed_) {
        std::memset(claimed_, 0, sizeof claimed_);
        any_claimed_ = false;
    }
    // A line the checker parses is read from a copy from here on; a longer
    // one only here, where a read fault of the file is still taken back.
    text_ = bytes;
    text_length_ = length;
    if (errors_only_) return;
    if (length > max_line_length) {
        check_long_line();
        return;
    }
    std::memcpy(copy_, bytes, length);
    text_ = copy_;

    // The checker's text ends at a NUL.
    const auto* nul = static_cast<const char*>(std::memchr(text_, '\0', length));
    const std::size_t end = nul != nullptr ? static_cast<std::size_t>(nul - text_) : length;
    std::size_t first = 0;
    while (first < end && is_blank(text_[first])) ++first;
    if (first == end) return;  // blank

    if (text_[first] == '#') {  // a comment line: its directive is for the next rule line
        apply_directive(text_ + first + 1, end - first - 1, column(first), false);
        return;
    }
    line_disabled_ = pending_disabled_;
    pending_disabled_ = 0;

    const std::size_t comment = comment_at(text_, first, end);
    if (comment < end) apply_directive(text_ + comment + 1, end - comment - 1, column(comment), true);

    check_full_width(comment);
    if (starts_with_bom(text_, end)) {
        text_buffer message;
        add(lint_code::w115, 1, message, text_w115(message));
        claim(0, 3);
    }
}

void lint_sink::read_from_mapping(bool mapped) {
    page_size_ = mapped ? static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) : 0;
}

void lint_sink::report(const fault& f) {
    const lint_code code = code_of(f.kind);
    char message[max_message_size];
    const std::size_t length = format_message(message, f, false, message_part::body);
    if (code == lint_code::e020) {  // the file could not be mapped: the run reports it
        const std::size_t kept = length < sizeof file_fault_text_ ? length : sizeof file_fault_text_ - 1;
        std::memcpy(file_fault_text_, message, kept);
        file_fault_text_[kept] = '\0';
        return;
    }
    std::size_t at = 1;
    if (code == lint_code::e010) at = column(package_offset_);
    if (code == lint_code::e011 || code == lint_code::e012) at = column(value_offset_);
    if (code == lint_code::e010 && f.kept_position < rule_line_capacity_) {
        text_buffer shown;
        add(code, at, shown, text_kept_rule(shown, message, rule_lines_[f.kept_position]));
        return;
    }
    add(code, at, message, length);
}

void lint_sink::rule_parsed(const char* buffer, const parsed_rule& rule) {
    package_offset_ = static_cast<std::size_t>(rule.package - buffer);
    value_offset_ = static_cast<std::size_t>(rule.value - buffer);
    value_ = rule.value;
    if (errors_only_) return;
    value_end_ = without_trailing_blanks(value_, std::strlen(value_));
    last_item_end_ = 0;
    last_item_open_ = false;
    check_names(buffer, rule);
    if (phone_ != nullptr) check_phone(buffer, rule);
}

void lint_sink::rule_accepted(std::size_t position) {
    if (!grow_to_fit(rule_lines_, rule_line_capacity_, position + 1, initial_rule_lines)) {
        out_of_storage();
        return;
    }
    rule_lines_[position] = line_;
}
