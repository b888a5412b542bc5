// Entry point of applist-check-for: applist-check's own run, with the present
// CPUs taken from a CPU list on the command line instead of the kernel's
// file, so a rule file can be checked for any phone on any machine, by any
// user. Its own errors are one line on standard output and status 2, which
// the run never uses.
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "cli/cli.h"
#include "cpuset/cpuset.h"
#include "rules/rules.h"

namespace {

constexpr const char usage_format[] = "用法: %s <CPU 列表> [applist-check 的选项...]\n";
constexpr int list_error_status = 2;
// The most of a present file the run reads.
constexpr std::size_t max_list_length = present_text_size - 1;

// Shows the control bytes of `text` as '?', so a message that quotes it stays
// one line. No check changes: they are neither digits nor ',' nor '-'.
void hide_control_bytes(char* text) {
    for (; *text != '\0'; ++text)
        if (static_cast<unsigned char>(*text) < 0x20 || *text == 0x7f) *text = '?';
}

// Prints the message `format` about the part `part` (of `length` bytes) of
// `list`. Returns false, for the caller to return.
bool reject_part(const char* format, const char* list, const char* part, std::size_t length) {
    std::printf(format, list, static_cast<int>(length), part);
    return false;
}

// A kernel-style number: decimal digits without a leading zero (the run would
// read "010" as octal 8). `item` is the whole item, shown when the number is
// missing. Returns whether it is one, after printing why not.
bool check_number(const char* list, const char* number, std::size_t length, const char* item,
                  std::size_t item_length) {
    if (length == 0) return reject_part("CPU 列表无效: %s 中的 \"%.*s\" 不是 N 或 N-M 形式\n", list, item, item_length);
    for (std::size_t i = 0; i < length; ++i)
        if (number[i] < '0' || number[i] > '9')
            return reject_part("CPU 列表无效: %s 中的 \"%.*s\" 不是十进制数\n", list, number, length);
    if (number[0] == '0' && length > 1)
        return reject_part("CPU 列表无效: %s 中的 \"%.*s\" 有前导零\n", list, number, length);
    return true;
}

// Whether decimal `a` is above decimal `b`, neither with a leading zero, for
// numbers of any length.
bool greater(const char* a, std::size_t a_length, const char* b, std::size_t b_length) {
    if (a_length != b_length) return a_length > b_length;
    return std::strncmp(a, b, a_length) > 0;
}

// Checks the CPU list as the kernel writes one: items N or N-M separated by
// ',', N <= M, at most 127 bytes; the empty list means no CPU. Returns
// whether it is one, after printing the one message that says why not (its
// control bytes then show as '?').
bool check_cpu_list(char* list) {
    hide_control_bytes(list);
    const char* item = list;
    for (int position = 1; *list != '\0'; ++position) {  // the empty list has no item
        const char* comma = std::strchr(item, ',');
        const std::size_t length = comma != nullptr ? static_cast<std::size_t>(comma - item) : std::strlen(item);
        if (length == 0) {
            std::printf("CPU 列表无效: %s 中的第 %d 项为空\n", list, position);
            return false;
        }
        // NOLINTNEXTLINE(bugprone-not-null-terminated-result): the item ends at its comma, not at a NUL.
        const auto* dash = static_cast<const char*>(std::memchr(item, '-', length));
        if (dash != nullptr) {
            const auto first_length = static_cast<std::size_t>(dash - item);
            const std::size_t last_length = length - first_length - 1;
            if (!check_number(list, item, first_length, item, length) ||
                !check_number(list, dash + 1, last_length, item, length))
                return false;
            if (greater(item, first_length, dash + 1, last_length))
                return reject_part("CPU 列表无效: %s 中的 \"%.*s\" 起点大于终点\n", list, item, length);
        } else if (!check_number(list, item, length, item, length)) {
            return false;
        }
        if (comma == nullptr) break;
        item = comma + 1;
    }
    const std::size_t length = std::strlen(list);
    if (length > max_list_length) {
        std::printf("CPU 列表过长: %zu 字节，applist-check 只读取 present 文件的前 %zu 字节\n", length,
                    max_list_length);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    prepare_output();
    const char* me = argc > 0 ? argv[0] : "applist-check-for";
    if (argc < 2 || std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0) {
        char name[max_path_length + 1];
        if (isatty(STDOUT_FILENO) == 1)
            make_printable(me, name, sizeof name);
        else
            copy_field(name, me);
        std::printf(usage_format, name);
        return finish_output(argc < 2 ? list_error_status : 0);
    }
    char* list = argv[1];
    if (!check_cpu_list(list)) return finish_output(list_error_status);

    // The run names itself "applist-check-for LIST", so its usage line shows
    // this command's own syntax.
    char name[max_path_length + present_text_size + 4];
    std::snprintf(name, sizeof name, "%s %s", me, list[0] != '\0' ? list : "''");
    argv[1] = name;
    return finish_output(run_applist_check(argc - 1, argv + 1, list));
}
