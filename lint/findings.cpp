// The findings of one line and their texts, kept in storage that grows as
// they come, and put in order for the output.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "lint/lint.h"

namespace {

// The first length a growing store gets.
constexpr std::size_t initial_findings = 64;
constexpr std::size_t initial_text_bytes = 4096;

}  // namespace

finding_list::~finding_list() {
    std::free(items);
    std::free(texts);
}

bool add_finding(finding_list& list, std::size_t line, std::size_t column, lint_code code, const char* text,
                 std::size_t length) {
    if (!grow_to_fit(list.items, list.capacity, list.count + 1, initial_findings)) return false;
    if (!grow_to_fit(list.texts, list.text_capacity, list.text_size + length, initial_text_bytes)) return false;
    std::memcpy(list.texts + list.text_size, text, length);
    list.items[list.count++] = finding{line, column, list.text_size, length, code};
    list.text_size += length;
    return true;
}

bool comes_before(const finding& a, const finding& b) {
    if (a.line != b.line) return a.line < b.line;
    if (a.column != b.column) return a.column < b.column;
    return a.code < b.code;
}

void sort_findings(finding_list& list) { std::sort(list.items, list.items + list.count, comes_before); }

void clear_findings(finding_list& list) {
    list.count = 0;
    list.text_size = 0;
}
