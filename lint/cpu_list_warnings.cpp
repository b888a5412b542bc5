// The warnings about a rule's CPU list (W101-W105), found from each step of
// the checker's own scan of the list, and kept once the whole list has been
// seen, with the CPUs the rule really gets.
#include <cstdio>
#include <cstring>

#include "lint/lint.h"
#include "rules/rules.h"

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_hex_digit(char c) { return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

}  // namespace

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
