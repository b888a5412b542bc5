#include "support/failalloc_runner.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream data;
    data << in.rdbuf();
    return data.str();
}

// Runs the tool on `rules` with the interposer preloaded and its log kept;
// `fail` (when given) is the request to refuse, `counted_size` the size whose
// requests are counted.
injected_run run_logged(const std::string& rules, const injection* fail, std::size_t counted_size,
                        bool stdout_to_file) {
    temp_dir dir;
    const std::string config = dir.write("applist.conf", rules);
    const std::string log = dir.path() + "/requests.log";
    run_options options;
    options.stdout_to_file = stdout_to_file;
    options.env = {"LD_PRELOAD=" FAILALLOC_LIBRARY, "FAILALLOC_LOG=" + log};
    if (fail != nullptr) {
        options.env.push_back("FAILALLOC_SIZE=" + std::to_string(fail->size));
        options.env.push_back("FAILALLOC_NTH=" + std::to_string(fail->nth));
        if (!fail->function.empty()) options.env.push_back("FAILALLOC_FUNC=" + fail->function);
    }

    injected_run result;
    result.run = run_tool({"-c", config}, options);
    // Log lines read "<function> <size>", with " failed" after a refused one.
    std::istringstream lines(read_file(log));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string function;
        std::size_t size = 0;
        std::string failed;
        words >> function >> size >> failed;
        if (failed == "failed") ++result.refused;
        if (size == counted_size) ++result.requests_of_size;
    }
    return result;
}

}  // namespace

injected_run run_with_failure(const std::string& rules, const injection& what, bool stdout_to_file) {
    return run_logged(rules, &what, what.size, stdout_to_file);
}

int count_requests(const std::string& rules, std::size_t size) {
    return run_logged(rules, nullptr, size, false).requests_of_size;
}

const std::string& interposer_unavailable_reason() {
    static const std::string reason = []() -> std::string {
#ifdef APPLIST_SANITIZE_BUILD
        return "sanitizer build: the sanitizer runtime owns the allocator and refuses a preloaded one";
#else
        const char* runner = std::getenv("APPLIST_CHECK_RUNNER");
        if (runner != nullptr && *runner != '\0')
            return std::string("APPLIST_CHECK_RUNNER is set (") + runner +
                   "): a preloaded library would load into the runner, not the tool";
        // -h prints the usage, which allocates stdout's buffer: a loaded
        // interposer logs at least that request.
        temp_dir dir;
        const std::string log = dir.path() + "/requests.log";
        run_options options;
        options.env = {"LD_PRELOAD=" FAILALLOC_LIBRARY, "FAILALLOC_LOG=" + log};
        const tool_run probe = run_tool({"-h"}, options);
        if (probe.status != 0) return "the tool does not run with the interposer preloaded: " + probe.err;
        if (read_file(log).empty()) return "the interposer did not load into the tool (a static binary?)";
        return "";
#endif
    }();
    return reason;
}

const std::string& cpu0_unavailable_reason() {
    static const std::string reason = []() -> std::string {
        temp_dir dir;
        const tool_run probe = run_tool({"-c", dir.write("applist.conf", "probe=0\n")});
        if (probe.out == summary(1, 0) && probe.status == 0) return "";
        return "CPU 0 is not in this machine's present-CPU list; the tool said: " + probe.out;
    }();
    return reason;
}

std::string summary(std::size_t rules, std::size_t wildcards) {
    return "配置文件解析完成，共加载 " + std::to_string(rules) + " 条规则，" + std::to_string(wildcards) +
           " 条通配符规则\n";
}

std::string bad_line_message(std::size_t line) {
    return "第 " + std::to_string(line) + " 行无效规则：缺少 '=': bad\n";
}

namespace {

std::string numbered(const std::string& prefix, std::size_t n) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%05zu", n);
    return prefix + digits;
}

}  // namespace

std::string exact_rules(std::size_t count, const std::string& prefix) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += numbered(prefix, i) + "=0\n";
    return text;
}

std::string wildcard_rules(std::size_t count, const std::string& prefix) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += numbered(prefix, i) + ".*=0\n";
    return text;
}

std::string apps_and_games(std::size_t apps, std::size_t games, std::size_t threads) {
    std::string text = exact_rules(apps, "com.example.app");
    for (std::size_t g = 0; g < games; ++g)
        for (std::size_t t = 0; t < threads; ++t)
            text += numbered("com.example.game", g) + "{" + numbered("Thread", t) + "}=0\n";
    return text;
}
