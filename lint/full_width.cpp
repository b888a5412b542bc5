// W116, full-width forms typed for ASCII, and the read of a line too long
// for the checker to parse, where only W115 and W116 can apply.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "lint/lint.h"
#include "rules/rules.h"

namespace {

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

}  // namespace

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
    const bool has_bom = starts_with_bom(text_, length);

    // Where the line stands as the read goes: the checker's text ends at a
    // NUL, a comment line holds no finding, a value's comment starts at its
    // first '#' after the '='.
    bool started = false;
    bool equals = false;
    std::size_t at = 1;
    // From the start of the line's first page, which the loop has read.
    const char* const page_start =
        page_size_ == 0 ? text_ : text_ - reinterpret_cast<std::uintptr_t>(text_) % page_size_;
    std::size_t released = 0;
    for (std::size_t i = 0; i < length;) {
        if (page_size_ != 0) release_read_pages(page_start, text_ + i, page_size_, released);
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
        at += columns_of(sequence, unit_);
    }
    if (page_size_ != 0) release_read_pages(page_start, text_ + length, page_size_, released);
    if (has_bom) {
        text_buffer message;
        add(lint_code::w115, 1, message, text_w115(message));
    }
}
