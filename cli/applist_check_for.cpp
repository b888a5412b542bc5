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

}  // namespace

int main(int argc, char** argv) {
    prepare_output();
    const char* me = argc > 0 ? argv[0] : "applist-check-for";
    if (argc < 2 || std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0) {
        print_usage_line(usage_format, me, isatty(STDOUT_FILENO) == 1);
        return finish_output(argc < 2 ? list_error_status : 0);
    }
    char* list = argv[1];
    if (!check_cpu_list(list, stdout)) return finish_output(list_error_status);

    // The run names itself "applist-check-for LIST", so its usage line shows
    // this command's own syntax.
    char name[max_path_length + present_text_size + 4];
    std::snprintf(name, sizeof name, "%s %s", me, list[0] != '\0' ? list : "''");
    argv[1] = name;
    return finish_output(run_applist_check(argc - 1, argv + 1, list));
}
