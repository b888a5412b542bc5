// The check of a CPU list given on the command line (applist-check-for's
// argument, applist-lint's --cpus): it must be written as the kernel writes
// one, so that it means what it seems to mean.
#include <cstdio>
#include <cstring>

#include "cli/cli.h"
#include "cpuset/cpuset.h"

namespace {

// The most of a present file the run reads.
constexpr std::size_t max_list_length = present_text_size - 1;

// Prints the message `format` about the part `part` (of `length` bytes) of
// `list`, unless `out` is null. Returns false, for the caller to return.
bool reject_part(std::FILE* out, const char* format, const char* list, const char* part, std::size_t length) {
    if (out != nullptr) std::fprintf(out, format, list, static_cast<int>(length), part);
    return false;
}

// A kernel-style number: decimal digits without a leading zero (the run would
// read "010" as octal 8). `item` is the whole item, shown when the number is
// missing. Returns whether it is one, after printing why not.
bool check_number(std::FILE* out, const char* list, const char* number, std::size_t length, const char* item,
                  std::size_t item_length) {
    if (length == 0) return reject_part(out, "CPU 列表无效: %s 中的 \"%.*s\" 不是 N 或 N-M 形式\n", list, item, item_length);
    for (std::size_t i = 0; i < length; ++i)
        if (number[i] < '0' || number[i] > '9')
            return reject_part(out, "CPU 列表无效: %s 中的 \"%.*s\" 不是十进制数\n", list, number, length);
    if (number[0] == '0' && length > 1)
        return reject_part(out, "CPU 列表无效: %s 中的 \"%.*s\" 有前导零\n", list, number, length);
    return true;
}

// Whether decimal `a` is above decimal `b`, neither with a leading zero, for
// numbers of any length.
bool greater(const char* a, std::size_t a_length, const char* b, std::size_t b_length) {
    if (a_length != b_length) return a_length > b_length;
    return std::strncmp(a, b, a_length) > 0;
}

}  // namespace

bool check_cpu_list(char* list, std::FILE* out) {
    // A message that quotes the list stays one line of what a terminal shows.
    // No check changes: a control character is neither digit nor ',' nor '-'.
    make_printable(list, list, std::strlen(list) + 1, false);
    const char* item = list;
    for (int position = 1; *list != '\0'; ++position) {  // the empty list has no item
        const char* comma = std::strchr(item, ',');
        const std::size_t length = comma != nullptr ? static_cast<std::size_t>(comma - item) : std::strlen(item);
        if (length == 0) {
            if (out != nullptr) std::fprintf(out, "CPU 列表无效: %s 中的第 %d 项为空\n", list, position);
            return false;
        }
        // NOLINTNEXTLINE(bugprone-not-null-terminated-result): the item ends at its comma, not at a NUL.
        const auto* dash = static_cast<const char*>(std::memchr(item, '-', length));
        if (dash != nullptr) {
            const auto first_length = static_cast<std::size_t>(dash - item);
            const std::size_t last_length = length - first_length - 1;
            if (!check_number(out, list, item, first_length, item, length) ||
                !check_number(out, list, dash + 1, last_length, item, length))
                return false;
            if (greater(item, first_length, dash + 1, last_length))
                return reject_part(out, "CPU 列表无效: %s 中的 \"%.*s\" 起点大于终点\n", list, item, length);
        } else if (!check_number(out, list, item, length, item, length)) {
            return false;
        }
        if (comma == nullptr) break;
        item = comma + 1;
    }
    const std::size_t length = std::strlen(list);
    if (length > max_list_length) {
        if (out != nullptr) std::fprintf(out, "CPU 列表过长: %zu 字节，applist-check 只读取 present 文件的前 %zu 字节\n", length,
                    max_list_length);
        return false;
    }
    return true;
}

