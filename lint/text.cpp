// Bytes as the lint shows them: UTF-8 checking, columns in each unit, the
// escaping that keeps every text valid UTF-8 on one line, and CPU sets
// written the kernel's way.
#include <sched.h>

#include <cstdio>
#include <cstring>

#include "cpuset/cpuset.h"
#include "lint/lint.h"
#include "rules/rules.h"

namespace {

bool is_continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::size_t utf8_length(const unsigned char* p, std::size_t available) {
    const unsigned char c = p[0];
    if (c < 0x80) return 1;
    // Second-byte bounds exclude overlong forms, surrogates and values
    // above U+10FFFF.
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0) low = 0xA0;
        if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0) low = 0x90;
        if (c == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (available < length || p[1] < low || p[1] > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!is_continuation(p[i])) return 0;
    return length;
}

std::size_t columns_of(std::size_t sequence, column_unit unit) {
    if (sequence == 0) return 1;
    switch (unit) {
        case column_unit::byte: return sequence;
        case column_unit::character: return 1;
        case column_unit::utf16: return sequence == 4 ? 2 : 1;
    }
    return 1;  // not reached: the switch names every unit
}

std::size_t column_of(const char* line, std::size_t offset, column_unit unit) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(line);
    std::size_t column = 1;
    std::size_t i = 0;
    while (i < offset) {
        const std::size_t length = utf8_length(bytes + i, offset - i);
        i += length != 0 ? length : 1;
        column += columns_of(length, unit);
    }
    return column;
}

std::size_t line_separator_length(const char* p, std::size_t available) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(p);
    if (available >= 3 && bytes[0] == 0xE2 && bytes[1] == 0x80 && (bytes[2] == 0xA8 || bytes[2] == 0xA9)) return 3;
    return 0;  // U+0085 is a C1 control (control_length)
}

void append_escaped(std::string& out, const char* text, std::size_t length, escape_mode mode) {
    static constexpr char hex_digits[] = "0123456789ABCDEF";
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::size_t plain = 0;  // the bytes from here on are shown as they are
    std::size_t i = 0;
    while (i < length) {
        const unsigned char c = bytes[i];
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            ++i;
            continue;
        }
        // Most of a message: a character of three bytes from U+3000 up,
        // never a control or a line separator (a surrogate starts with 0xED).
        if (c >= 0xE3 && c != 0xED && c <= 0xEF && length - i >= 3 && is_continuation(bytes[i + 1]) &&
            is_continuation(bytes[i + 2])) {
            i += 3;
            continue;
        }
        std::size_t size = utf8_length(bytes + i, length - i);
        const std::size_t control = control_length(text + i, length - i) + line_separator_length(text + i, length - i);
        const bool doubled = c == '\\' && mode == escape_mode::text;
        if (size != 0 && control == 0 && !doubled) {
            i += size;
            continue;
        }
        out.append(text + plain, i - plain);
        if (doubled) {
            out.append("\\\\", 2);
        } else {
            if (size == 0) size = 1;
            for (std::size_t k = 0; k < size; ++k) {
                const char hex[4] = {'\\', 'x', hex_digits[bytes[i + k] >> 4], hex_digits[bytes[i + k] & 0xF]};
                out.append(hex, 4);
            }
        }
        i += size;
        plain = i;
    }
    out.append(text + plain, i - plain);
}

void copy_character(const char* p, std::size_t available, char (&out)[8]) {
    std::size_t length = utf8_length(reinterpret_cast<const unsigned char*>(p), available);
    if (length == 0) length = 1;
    std::memcpy(out, p, length);
    out[length] = '\0';
}

void copy_text(char (&out)[max_line_length + 1], const char* p, std::size_t length) {
    if (length > max_line_length) length = max_line_length;
    std::memcpy(out, p, length);
    out[length] = '\0';
}

bool starts_with_bom(const char* line, std::size_t length) {
    return length >= 3 && std::memcmp(line, "\xEF\xBB\xBF", 3) == 0;
}

std::size_t without_trailing_blanks(const char* text, std::size_t length) {
    while (length > 0 && is_blank(text[length - 1])) --length;
    return length;
}

void kernel_list(const char* text, char (&out)[cpu_list_text_size]) {
    cpu_set_t cpus;
    CPU_ZERO(&cpus);
    (void)parse_cpu_ranges(text, &cpus, nullptr, nullptr, 0);
    std::size_t length = 0;
    out[0] = '\0';
    for (unsigned long cpu = 0; cpu <= max_cpu; ++cpu) {
        if (!CPU_ISSET(cpu, &cpus)) continue;
        unsigned long last = cpu;
        while (last < max_cpu && CPU_ISSET(last + 1, &cpus)) ++last;
        const char* separator = length == 0 ? "" : ",";
        const int added = last == cpu ? std::snprintf(out + length, sizeof out - length, "%s%lu", separator, cpu)
                                      : std::snprintf(out + length, sizeof out - length, "%s%lu-%lu", separator,
                                                      cpu, last);
        if (added > 0) length += static_cast<std::size_t>(added);
        if (length >= sizeof out) return;  // cannot happen: 1024 CPUs never need that much
        cpu = last;
    }
}
