// The findings of one file: the checker's faults as errors, and the warnings
// about what a line really means, found from what the checker itself saw of
// the line (its bytes, the texts it parsed, each step of its CPU list scan).
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "lint/lint.h"
#include "rules/rules.h"

namespace {

// The first length a growing store gets.
constexpr std::size_t initial_findings = 64;
constexpr std::size_t initial_text_bytes = 4096;
constexpr std::size_t initial_rule_lines = 1024;

constexpr const char directive_word[] = "applist-lint";
constexpr const char disable_word[] = "disable";
constexpr const char disable_file_word[] = "disable-file";

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_hex_digit(char c) { return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Doubles `capacity` until `needed` fits and reallocates `items` to it.
// Returns false, with both as they were, when the storage cannot be had.
template <typename T>
bool reserve(T*& items, std::size_t& capacity, std::size_t needed, std::size_t initial) {
    if (needed <= capacity) return true;
    std::size_t new_capacity = capacity != 0 ? capacity : initial;
    while (new_capacity < needed) {
        if (new_capacity > SIZE_MAX / 2 / sizeof(T)) return false;
        new_capacity *= 2;
    }
    void* moved = std::realloc(items, new_capacity * sizeof(T));
    if (moved == nullptr) return false;
    items = static_cast<T*>(moved);
    capacity = new_capacity;
    return true;
}

// What a directive comment says.
enum class bad_code_kind : std::uint8_t { none, unknown, error, itself };
struct directive {
    bool found = false;
    bool whole_file = false;
    code_mask codes = 0;
    bad_code_kind bad = bad_code_kind::none;  // the first code that cannot be silenced
    const char* bad_code = nullptr;
    std::size_t bad_length = 0;
};

// Skips the blanks from `p` up to `end`.
const char* skip_blanks(const char* p, const char* end) {
    while (p < end && is_blank(*p)) ++p;
    return p;
}

// Whether the bytes from `p` start with `word`; moves `p` past it if so.
bool take_word(const char*& p, const char* end, const char* word) {
    const std::size_t length = std::strlen(word);
    if (static_cast<std::size_t>(end - p) < length || std::memcmp(p, word, length) != 0) return false;
    p += length;
    return true;
}

// Reads the comment text after a '#' (`length` bytes) as
// "applist-lint: disable[-file]=CODE[,CODE...]", blanks allowed around ':',
// '=' and ','. A code is a run of bytes other than blanks, ',' and '#'; what
// follows the list (a reason, say) is not read.
directive read_directive(const char* comment, std::size_t length) {
    directive d;
    const char* const end = comment + length;
    const char* p = skip_blanks(comment, end);
    if (!take_word(p, end, directive_word)) return d;
    p = skip_blanks(p, end);
    if (p == end || *p != ':') return d;
    p = skip_blanks(p + 1, end);
    if (take_word(p, end, disable_file_word)) {
        d.whole_file = true;
    } else if (!take_word(p, end, disable_word)) {
        return d;
    }
    p = skip_blanks(p, end);
    if (p == end || *p != '=') return d;
    d.found = true;
    for (p = skip_blanks(p + 1, end);;) {
        const char* code_end = p;
        while (code_end < end && !is_blank(*code_end) && *code_end != ',' && *code_end != '#') ++code_end;
        lint_code code{};
        bad_code_kind bad = bad_code_kind::none;
        if (!find_code(p, static_cast<std::size_t>(code_end - p), code))
            bad = bad_code_kind::unknown;
        else if (is_error(code))
            bad = bad_code_kind::error;
        else if (code == lint_code::w199)
            bad = bad_code_kind::itself;
        else
            d.codes |= bit(code);
        if (bad != bad_code_kind::none && d.bad == bad_code_kind::none) {
            d.bad = bad;
            d.bad_code = p;
            d.bad_length = static_cast<std::size_t>(code_end - p);
        }
        p = skip_blanks(code_end, end);
        if (p == end || *p != ',') return d;
        p = skip_blanks(p + 1, end);
    }
}

// The full-width form at `p` (at most `available` bytes) that W116 names:
// U+FF01-U+FF5E, U+3000, U+3001 or U+3002. Returns its code point, or 0.
unsigned full_width_at(const unsigned char* p, std::size_t available) {
    if (available < 3) return 0;
    if (p[0] == 0xE3 && p[1] == 0x80 && p[2] >= 0x80 && p[2] <= 0x82) return 0x3000u + (p[2] - 0x80u);
    if (p[0] != 0xEF) return 0;
    if (p[1] == 0xBC && p[2] >= 0x81 && p[2] <= 0xBF) return 0xFF00u + (p[2] - 0x80u);
    if (p[1] == 0xBD && p[2] >= 0x80 && p[2] <= 0x9E) return 0xFF40u + (p[2] - 0x80u);
    return 0;
}

// The ASCII character a full-width form stands for.
char meant_by(unsigned code_point) {
    switch (code_point) {
        case 0x3000: return ' ';
        case 0x3001: return ',';
        case 0x3002: return '.';
        default: return static_cast<char>(code_point - 0xFEE0u);
    }
}

// Copies the character at `p` (its whole UTF-8 sequence, or the one byte)
// into `out` as a text.
void copy_character(const char* p, std::size_t available, char (&out)[8]) {
    std::size_t length = utf8_length(reinterpret_cast<const unsigned char*>(p), available);
    if (length == 0) length = 1;
    std::memcpy(out, p, length);
    out[length] = '\0';
}

// The bytes at `p` as a text of at most max_line_length bytes.
void copy_text(char (&out)[max_line_length + 1], const char* p, std::size_t length) {
    if (length > max_line_length) length = max_line_length;
    std::memcpy(out, p, length);
    out[length] = '\0';
}

// The length of the part `message` starts with when it is the checker's
// message about line `line_number`: the line's number as the checker words
// it, which two of its line messages share. 0 when it has no such part.
std::size_t line_prefix_length(const char* message, std::size_t line_number) {
    char one[max_message_size];
    char other[max_message_size];
    fault f;
    f.kind = fault_kind::line_too_long;
    f.line_number = line_number;
    (void)format_message(one, f, false);
    f.kind = fault_kind::missing_equals;
    (void)format_message(other, f, false);
    std::size_t length = 0;
    while (one[length] != '\0' && one[length] == other[length]) ++length;
    while (length > 0 && (static_cast<unsigned char>(one[length]) & 0xC0) == 0x80) --length;  // a whole character
    return std::strncmp(message, one, length) == 0 ? length : 0;
}

}  // namespace

finding_list::~finding_list() {
    std::free(items);
    std::free(texts);
}

bool add_finding(finding_list& list, std::size_t line, std::size_t column, lint_code code, const char* text,
                 std::size_t length) {
    if (!reserve(list.items, list.capacity, list.count + 1, initial_findings)) return false;
    if (!reserve(list.texts, list.text_capacity, list.text_size + length, initial_text_bytes)) return false;
    std::memcpy(list.texts + list.text_size, text, length);
    list.items[list.count++] = finding{line, column, list.text_size, length, code};
    list.text_size += length;
    return true;
}

void sort_findings(finding_list& list) {
    std::sort(list.items, list.items + list.count, [](const finding& a, const finding& b) {
        if (a.line != b.line) return a.line < b.line;
        if (a.column != b.column) return a.column < b.column;
        return a.code < b.code;
    });
}

lint_sink::lint_sink(const lint_options& options, finding_list& list)
    : list_(list),
      phone_(options.phone),
      excluded_(options.excluded),
      errors_only_(options.errors_only),
      list_warnings_wanted_(!options.errors_only) {}

lint_sink::~lint_sink() { std::free(rule_lines_); }

bool lint_sink::silenced(lint_code code) const {
    if (is_error(code)) return false;
    if (errors_only_ || (excluded_ & bit(code)) != 0) return true;
    return code != lint_code::w199 && (line_disabled_ & bit(code)) != 0;
}

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

std::size_t lint_sink::column(std::size_t offset) const { return column_of(text_, offset); }

void lint_sink::begin_line(std::size_t line_number, const char* bytes, std::size_t length) {
    finish_line();
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

    // The value's comment starts at its first '#'.
    std::size_t comment = end;
    if (const auto* equals = static_cast<const char*>(std::memchr(text_ + first, '=', end - first))) {
        const auto after = static_cast<std::size_t>(equals - text_) + 1;
        if (const auto* hash = static_cast<const char*>(std::memchr(text_ + after, '#', end - after)))
            comment = static_cast<std::size_t>(hash - text_);
    }
    if (comment < end) apply_directive(text_ + comment + 1, end - comment - 1, column(comment), true);

    check_full_width(comment);
    static const unsigned char bom[] = {0xEF, 0xBB, 0xBF};
    if (end >= 3 && std::memcmp(text_, bom, 3) == 0) {
        text_buffer message;
        add(lint_code::w115, 1, message, text_w115(message));
        claim(0, 3);
    }
}

void lint_sink::apply_directive(const char* comment, std::size_t length, std::size_t at, bool for_this_line) {
    const directive d = read_directive(comment, length);
    if (!d.found) return;
    if (d.whole_file)
        file_disabled_ |= d.codes;
    else if (for_this_line)
        line_disabled_ |= d.codes;
    else
        pending_disabled_ |= d.codes;
    if (d.bad == bad_code_kind::none) return;
    char code[max_line_length + 1];
    copy_text(code, d.bad_code, d.bad_length);
    text_buffer message;
    std::size_t message_length = 0;
    switch (d.bad) {
        case bad_code_kind::unknown: message_length = text_w199_unknown(message, code); break;
        case bad_code_kind::error: message_length = text_w199_error(message, code); break;
        case bad_code_kind::itself: message_length = text_w199_itself(message); break;
        case bad_code_kind::none: break;
    }
    add(lint_code::w199, at, message, message_length);
}

void lint_sink::check_full_width(std::size_t end) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text_);
    bool first = true;
    for (std::size_t i = 0; i < end; ++i) {
        if (bytes[i] < 0xE3) continue;
        const unsigned code_point = full_width_at(bytes + i, end - i);
        if (code_point == 0) continue;
        if (first) {
            add_full_width(column(i), text_ + i, code_point);
            first = false;
        }
        claim(i, 3);
        i += 2;
    }
}

// W116 for the full-width form `code_point` at `form`, in column `at`.
void lint_sink::add_full_width(std::size_t at, const char* form, unsigned code_point) {
    char shown[8];
    copy_character(form, 3, shown);
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", code_point);
    const char meant[2] = {meant_by(code_point), '\0'};
    text_buffer message;
    add(lint_code::w116, at, message, text_w116(message, shown, code, meant));
}

// A line too long for the checker to read: only W115 and W116 can apply.
// It is read once, front to back, and the pages of a mapped file are
// dropped behind the read as the checker's loop drops them, so a line
// without end does not stay in memory whole.
void lint_sink::check_long_line() {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text_);
    const std::size_t length = text_length_;
    static const unsigned char bom[] = {0xEF, 0xBB, 0xBF};
    const bool has_bom = std::memcmp(bytes, bom, 3) == 0;

    // Where the line stands as the read goes: the checker's text ends at a
    // NUL, a comment line holds no finding, a value's comment starts at its
    // first '#' after the '='.
    bool started = false;
    bool equals = false;
    std::size_t at = 1;
    std::size_t next_drop = long_line_step;
    for (std::size_t i = 0; i < length;) {
        if (i >= next_drop) {
            drop_pages_before(text_ + i);
            next_drop = i + long_line_step;
        }
        const unsigned char c = bytes[i];
        if (c == '\0') break;
        if (!started && !is_blank(static_cast<char>(c))) {
            started = true;
            if (c == '#') break;
            // A rule line, if a faulty one: the directives before it are for it.
            line_disabled_ = pending_disabled_;
            pending_disabled_ = 0;
        }
        if (c == '=') {
            equals = true;
        } else if (c == '#' && equals) {
            break;
        } else if (c >= 0xE3) {
            if (const unsigned code_point = full_width_at(bytes + i, length - i)) {
                add_full_width(at, text_ + i, code_point);
                break;
            }
        }
        const std::size_t sequence = utf8_length(bytes + i, length - i);
        i += sequence != 0 ? sequence : 1;
        ++at;
    }
    drop_pages_before(text_ + length);
    if (has_bom) {
        text_buffer message;
        add(lint_code::w115, 1, message, text_w115(message));
    }
}

void lint_sink::drop_pages_before(const char* end) {
    if (page_size_ == 0) return;
    const auto first = (reinterpret_cast<std::uintptr_t>(text_) + page_size_ - 1) / page_size_ * page_size_;
    const auto last = reinterpret_cast<std::uintptr_t>(end) / page_size_ * page_size_;
    // NOLINTNEXTLINE(performance-no-int-to-ptr): page addresses of the mapping being read.
    if (last > first) (void)madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

void lint_sink::read_from_mapping(bool mapped) {
    page_size_ = mapped ? static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) : 0;
}

void lint_sink::report(const fault& f) {
    lint_code code = lint_code::e001;
    std::size_t at = 1;
    switch (f.kind) {
        case fault_kind::line_too_long: code = lint_code::e001; break;
        case fault_kind::missing_equals: code = lint_code::e002; break;
        case fault_kind::empty_key: code = lint_code::e003; break;
        case fault_kind::empty_value: code = lint_code::e004; break;
        case fault_kind::missing_close_brace: code = lint_code::e005; break;
        case fault_kind::empty_thread: code = lint_code::e006; break;
        case fault_kind::bytes_after_brace: code = lint_code::e007; break;
        case fault_kind::missing_open_brace: code = lint_code::e008; break;
        case fault_kind::name_too_long: code = lint_code::e009; break;
        case fault_kind::duplicate:
            code = lint_code::e010;
            at = column(package_offset_);
            break;
        case fault_kind::cpus_not_present:
            code = lint_code::e011;
            at = column(value_offset_);
            break;
        case fault_kind::no_valid_cpu:
            code = lint_code::e012;
            at = column(value_offset_);
            break;
        case fault_kind::file_missing:
        case fault_kind::file_not_opened:
        case fault_kind::file_not_mapped:
        case fault_kind::file_read_failed:
        case fault_kind::no_rule_loaded: {
            // Faults of the whole file: the run words them itself but for
            // these, which the mapping reports.
            char message[max_message_size];
            std::size_t length = format_message(message, f, false);
            if (length > 0 && message[length - 1] == '\n') --length;
            if (length >= sizeof file_fault_text_) length = sizeof file_fault_text_ - 1;
            std::memcpy(file_fault_text_, message, length);
            file_fault_text_[length] = '\0';
            return;
        }
    }
    char message[max_message_size];
    std::size_t length = format_message(message, f, false);
    if (length > 0 && message[length - 1] == '\n') message[--length] = '\0';
    const std::size_t prefix = line_prefix_length(message, f.line_number);
    text_buffer shown;
    std::size_t shown_length = length - prefix;
    std::memcpy(shown, message + prefix, shown_length + 1);
    if (f.kind == fault_kind::duplicate && f.kept_position < rule_line_capacity_)
        shown_length = text_kept_rule(shown, message + prefix, rule_lines_[f.kept_position]);
    add(code, at, shown, shown_length);
}

void lint_sink::rule_parsed(const char* buffer, const parsed_rule& rule) {
    package_offset_ = static_cast<std::size_t>(rule.package - buffer);
    value_offset_ = static_cast<std::size_t>(rule.value - buffer);
    value_ = rule.value;
    if (errors_only_) return;
    std::size_t end = std::strlen(value_);
    while (end > 0 && is_blank(value_[end - 1])) --end;
    value_end_ = end;
    last_item_end_ = 0;
    last_item_open_ = false;
    check_names(buffer, rule);
    if (phone_ != nullptr) check_phone(buffer, rule);
}

void lint_sink::check_names(const char* buffer, const parsed_rule& rule) {
    text_buffer message;
    const char* package = rule.package;
    const std::size_t package_length = std::strlen(package);
    std::size_t name_end = package_length;
    while (name_end > 0 && is_blank(package[name_end - 1])) --name_end;
    if (name_end < package_length)
        add(lint_code::w110, column(package_offset_ + name_end), message, text_w110(message, package));

    // W113: a byte no name holds, before the trailing blanks; bytes another
    // code has taken are not looked at.
    for (std::size_t i = 0; i < name_end; ++i) {
        const auto c = static_cast<unsigned char>(package[i]);
        if (claimed(package_offset_ + i)) continue;
        if (c < 0x20 || c >= 0x7F || c == ' ' || std::strchr("#,;\"'}", c) != nullptr) {
            char byte[8];
            copy_character(package + i, package_length - i, byte);
            add(lint_code::w113, column(package_offset_ + i), message, text_w113(message, byte, package));
            break;
        }
    }

    // W114: a '[' after the last ']'.
    const char* close = std::strrchr(package, ']');
    if (const char* open = std::strchr(close != nullptr ? close : package, '['))
        add(lint_code::w114, column(package_offset_ + static_cast<std::size_t>(open - package)), message,
            text_w114(message));

    const char* thread = rule.thread;
    if (thread[0] == '\0') return;
    const auto thread_offset = static_cast<std::size_t>(thread - buffer);
    const std::size_t thread_length = std::strlen(thread);
    std::size_t thread_end = thread_length;
    while (thread_end > 0 && is_blank(thread[thread_end - 1])) --thread_end;
    if (thread_end < thread_length)
        add(lint_code::w111, column(thread_offset + thread_end), message, text_w111(message, thread));
    if (thread_length > thread_name_kept && std::strpbrk(thread, "*?[") == nullptr) {
        char shown[thread_name_kept + 1];
        const std::string_view cut = shown_thread_name(thread, thread_length);
        cut.copy(shown, thread_name_kept);
        shown[thread_name_kept] = '\0';
        add(lint_code::w112, column(thread_offset), message, text_w112(message, thread, thread_length, shown));
    }
}

void lint_sink::rule_accepted(std::size_t position) {
    if (!reserve(rule_lines_, rule_line_capacity_, position + 1, initial_rule_lines)) {
        out_of_storage();
        return;
    }
    rule_lines_[position] = line_;
}

cpu_list_observer* lint_sink::cpu_observer() { return list_warnings_wanted_ ? this : nullptr; }

void lint_sink::note(lint_code code, std::size_t offset, list_oddity why, const char* detail,
                     std::size_t detail_length, unsigned long value) {
    if ((noted_ & bit(code)) != 0 || silenced(code) || warning_count_ == sizeof warnings_ / sizeof warnings_[0])
        return;
    noted_ |= bit(code);
    if (warning_count_ == 0) copy_text(value_copy_, value_, std::strlen(value_));
    list_warning& w = warnings_[warning_count_++];
    w.code = code;
    w.column = column(value_offset_ + offset);
    w.why = why;
    w.value = value;
    copy_text(w.detail, detail, detail_length);
}

void lint_sink::note_oddity(std::size_t offset, list_oddity why) {
    if (claimed(value_offset_ + offset)) return;
    char byte[8];
    copy_character(value_ + offset, std::strlen(value_ + offset), byte);
    note(lint_code::w105, offset, why, byte, std::strlen(byte));
}

void lint_sink::item(const cpu_item& it) {
    const char* v = value_;
    std::size_t sign = it.start;
    while (is_blank(v[sign])) ++sign;
    std::size_t digits = sign;
    if (v[digits] == '+' || v[digits] == '-') ++digits;
    const std::size_t end = it.has_last ? it.last_end : it.first_end;
    const bool reversed = it.has_last && it.first > it.last;
    const bool dropped = !reversed && it.first > max_cpu;

    if (v[digits] == '0' && is_digit(v[digits + 1])) {
        std::size_t number_end = digits;
        while (is_digit(v[number_end])) ++number_end;
        note(lint_code::w101, sign, list_oddity::stepped_over, v + digits, number_end - digits);
    } else if (v[digits] == '0' && (v[digits + 1] == 'x' || v[digits + 1] == 'X') && is_hex_digit(v[digits + 2])) {
        note(lint_code::w102, sign, list_oddity::stepped_over, v + digits, it.first_end - digits, it.first);
    }
    if (dropped) note(lint_code::w103, sign, list_oddity::stepped_over, v + sign, end - sign);
    if (it.has_last && it.first <= max_cpu && it.last > max_cpu)
        note(lint_code::w104, sign, list_oddity::stepped_over, v + sign, end - sign);

    // Blanks and a sign strtoul takes before a number; the '-' of a negative
    // item is what W103 is about.
    if (it.start < sign)
        note_oddity(it.start, list_oddity::sign_or_blank);
    else if (sign < digits && !(v[sign] == '-' && dropped))
        note_oddity(sign, list_oddity::sign_or_blank);
    if (it.has_last && !is_digit(v[it.last_start])) note_oddity(it.last_start, list_oddity::sign_or_blank);

    last_item_end_ = end;
    last_item_open_ = !it.has_last;
}

void lint_sink::skipped(std::size_t offset) {
    if (offset >= value_end_) return;  // the blanks at the end of the value
    const bool open_range = value_[offset] == '-' && last_item_open_ && offset == last_item_end_ && offset > 0;
    note_oddity(offset, open_range ? list_oddity::dash_without_end : list_oddity::stepped_over);
}

void lint_sink::comma(std::size_t offset) {
    if (offset + 1 >= value_end_) note_oddity(offset, list_oddity::trailing_comma);
}

void lint_sink::finish_line() {
    noted_ = 0;
    if (warning_count_ == 0) return;
    char cpus[cpu_list_text_size];
    kernel_list(value_copy_, cpus);
    for (std::size_t i = 0; i < warning_count_; ++i) {
        const list_warning& w = warnings_[i];
        text_buffer message;
        std::size_t length = 0;
        switch (w.code) {
            case lint_code::w101: length = text_w101(message, w.detail, cpus); break;
            case lint_code::w102: {
                char value[24];
                std::snprintf(value, sizeof value, "%lu", w.value);
                length = text_w102(message, w.detail, value, cpus);
                break;
            }
            case lint_code::w103: length = text_w103(message, w.detail, cpus); break;
            case lint_code::w104: length = text_w104(message, w.detail, cpus); break;
            default: length = text_w105(message, w.detail, w.why, cpus); break;
        }
        add(w.code, w.column, message, length);
    }
    warning_count_ = 0;
}
