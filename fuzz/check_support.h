// Small helpers for the fuzz checks. The line rules here are written out
// again on purpose, independently of cli/, so a check compares the code with
// a second reading of the format instead of with itself.
#pragma once

#include <cstddef>
#include <string>

namespace fuzz_support {

inline bool is_blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// What the tool sees of a line: its bytes up to the first NUL.
inline std::string line_text(const char* bytes, std::size_t length) {
    std::size_t end = 0;
    while (end < length && bytes[end] != '\0') ++end;
    return std::string(bytes, end);
}

inline std::size_t first_non_blank(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size() && is_blank(text[start])) ++start;
    return start;
}

// A blank line or a comment line: its text is empty after leading blanks, or
// starts with '#' there.
inline bool is_skipped_line(const std::string& text) {
    const std::size_t start = first_non_blank(text);
    return start == text.size() || text[start] == '#';
}

// The decimal form of `n`, without printf's format checks in the way.
inline std::string decimal(std::size_t n) { return std::to_string(n); }

inline bool starts_with(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace fuzz_support
