// The driver: options, start-up in its fixed order, the line loop over the
// mapped file, and the end of the run. It is the one place that decides the
// exit status.
#include <unistd.h>

#include <atomic>
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

// A SIGBUS in its reads of `data` may leave this loop at any line (see
// check_lines), so it owns nothing that needs releasing and keeps everything
// that must outlive it in `set` and `state`.
void scan_lines(const char* data, std::size_t size, rule_set& set, run_state& state, bool drop_read_pages) {
    const long page_size = drop_read_pages ? sysconf(_SC_PAGESIZE) : 0;
    std::size_t released = 0;
    char line[max_line_length + 1];
    const char* pos = data;
    const char* const end = data + size;
    while (pos < end) {
        ++state.line_number;
        // The number must be in memory before the file is read, so that a
        // fault in the reads below reports this line.
        std::atomic_signal_fence(std::memory_order_seq_cst);
        const auto* newline = static_cast<const char*>(std::memchr(pos, '\n', static_cast<std::size_t>(end - pos)));
        const char* line_end = newline != nullptr ? newline : end;
        const auto length = static_cast<std::size_t>(line_end - pos);

        if (length > max_line_length) {
            std::printf("第 %zu 行过长\n", state.line_number);
            state.clean = false;
        } else {
            // A NUL inside the line ends its text, as it would for strncpy.
            std::memcpy(line, pos, length);
            line[length] = '\0';
            parsed_rule parsed;
            const line_result syntax = parse_rule_line(line, state.line_number, parsed);
            if (syntax == line_result::rejected) {
                state.clean = false;
            } else if (syntax == line_result::parsed) {
                switch (add_rule(set, state.line_number, parsed.package, parsed.thread, parsed.value)) {
                    case add_result::accepted: break;
                    case add_result::rejected: state.clean = false; break;
                    case add_result::table_full: state.clean = false; return;
                    case add_result::stop: state.stopped = true; return;
                }
            }
        }

        if (newline == nullptr) break;
        pos = newline + 1;
        if (page_size > 0) release_read_pages(data, pos, static_cast<std::size_t>(page_size), released);
    }
}

int print_summary(const rule_set& set, const run_state& state) {
    if (set.table.count == 0) {
        std::printf("未加载有效规则\n");
        return 1;
    }
    std::printf("配置文件解析完成，共加载 %zu 条规则，%zu 条通配符规则\n", set.table.count, set.wildcards.count);
    return state.clean && !state.stopped && !state.read_failed ? 0 : 1;
}

int run_applist_check(int argc, char** argv, const char* present_list) {
    char config_path[max_path_length + 1] = {};
    copy_field(config_path, default_config_path);
    cpu_set_t present_cpus;
    CPU_ZERO(&present_cpus);
    char present_text[present_text_size] = {};

    switch (read_options(argc, argv, config_path)) {
        case options_result::run: break;
        case options_result::usage_ok: std::printf(usage_format, argv[0]); return 0;
        case options_result::usage_error: std::printf(usage_format, argv[0]); return 1;
    }

    if (present_list != nullptr)
        set_present_cpus(present_cpus, present_text, present_list);
    else
        read_present_cpus(present_cpus, present_text);

    file_mapping mapping;
    if (!map_rule_file(config_path, mapping)) return 1;

    rule_set set;
    if (!create_rule_set(set, present_cpus, present_text)) return 1;

    run_state state;
    check_lines(static_cast<const char*>(mapping.start), mapping.length, set, state, true);
    if (state.read_failed)
        std::printf("无法读取配置文件 %s: 第 %zu 行读取失败\n", config_path, state.line_number);

    mapping.reset();
    release_rule_set(set);
    return print_summary(set, state);
}

void prepare_output() { (void)std::signal(SIGXFSZ, SIG_IGN); }

int finish_output(int status) {
    const bool written = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
    return status == 0 && !written ? 1 : status;
}
