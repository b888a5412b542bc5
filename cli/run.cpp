// The driver: options, start-up in its fixed order, the line loop over the
// mapped file, and the end of the run. It is the one place that decides the
// exit status.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

#include "cli/cli.h"
#include "cpuset/cpuset.h"
#include "rules/rules.h"

namespace {

constexpr const char default_config_path[] = "./applist.conf";
constexpr const char usage_format[] = "用法: %s [-c <配置文件>]\n";

enum class options_result { run, usage_ok, usage_error };

// Reads -c and -h. Everything after the first result that is not -c is left
// unread, as are arguments that are not options.
options_result read_options(int argc, char** argv, char (&config_path)[max_path_length + 1]) {
    int option = 0;
    while ((option = getopt(argc, argv, "c:h")) == 'c') copy_field(config_path, optarg);
    if (option == -1) return options_result::run;
    return option == 'h' ? options_result::usage_ok : options_result::usage_error;
}

}  // namespace

int print_summary(const rule_set& set, const run_state& state, report_sink& sink) {
    if (set.table.count == 0) {
        fault f;
        f.kind = fault_kind::no_rule_loaded;
        sink.report(f);
        return 1;
    }
    std::printf("配置文件解析完成，共加载 %zu 条规则，%zu 条通配符规则\n", set.table.count, set.wildcards.count);
    return state.clean && state.end == loop_end::finished ? 0 : 1;
}

int run_applist_check(int argc, char** argv, const char* present_list) {
    char config_path[max_path_length + 1] = {};
    copy_field(config_path, default_config_path);
    cpu_set_t present_cpus;
    CPU_ZERO(&present_cpus);
    char present_text[present_text_size] = {};
    print_sink sink;

    const options_result options = read_options(argc, argv, config_path);
    if (options != options_result::run) {
        print_usage_line(usage_format, argv[0], sink.terminal());
        return options == options_result::usage_ok ? 0 : 1;
    }

    if (present_list != nullptr)
        set_present_cpus(present_cpus, present_text, present_list);
    else
        read_present_cpus(present_cpus, present_text);

    file_mapping mapping;
    if (!map_rule_file(config_path, mapping, sink)) return 1;

    rule_set set;
    if (!create_rule_set(set, present_cpus, present_text, sink)) return 1;

    run_state state;
    check_lines(static_cast<const char*>(mapping.start), mapping.length, set, state, true);
    if (state.end == loop_end::read_failed) {
        fault f;
        f.kind = fault_kind::file_read_failed;
        f.line_number = state.line_number;
        f.text = config_path;
        sink.report(f);
    }

    mapping.reset();
    release_rule_set(set);
    return print_summary(set, state, sink);
}

void prepare_output() { (void)std::signal(SIGXFSZ, SIG_IGN); }

int finish_output(int status) {
    const bool written = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
    return status == 0 && !written ? 1 : status;
}
