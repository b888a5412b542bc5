// Runs applist-check with the failalloc library preloaded, so that exactly
// one allocation of a chosen size fails, and builds the rule files and the
// expected output lines the allocation tests share.
#pragma once

#include <cstddef>
#include <string>

#include "support/tool_runner.h"

// Which request the interposer refuses: the nth one of `size` bytes, counted
// over every allocation function or only over `function` ("malloc",
// "calloc", "realloc").
struct injection {
    std::size_t size = 0;
    unsigned long nth = 1;
    std::string function;
};

struct injected_run {
    tool_run run;
    int refused = 0;  // requests the interposer refused (1 when it hit its target)
    int requests_of_size = 0;  // requests of exactly injection.size bytes seen
};

// Writes `rules` to a file and runs the tool on it with the injection.
injected_run run_with_failure(const std::string& rules, const injection& what, bool stdout_to_file = false);

// Counts the requests of `size` bytes in a run on `rules` with nothing refused.
int count_requests(const std::string& rules, std::size_t size);

// Empty when the interposer reaches the tool's allocations here, else why not.
const std::string& interposer_unavailable_reason();

#define REQUIRE_INTERPOSER()                                                              \
    do {                                                                                  \
        if (!interposer_unavailable_reason().empty())                                     \
            GTEST_SKIP() << "allocation failures cannot be injected: " << interposer_unavailable_reason(); \
    } while (0)

// Empty when CPU 0 is present on this machine (every generated rule uses
// it), else why the run cannot load the rules.
const std::string& cpu0_unavailable_reason();

#define REQUIRE_CPU0()                                                                     \
    do {                                                                                   \
        if (!cpu0_unavailable_reason().empty()) GTEST_SKIP() << cpu0_unavailable_reason(); \
    } while (0)

// "配置文件解析完成，共加载 R 条规则，W 条通配符规则\n"
std::string summary(std::size_t rules, std::size_t wildcards);
// The message for line `line` reading "bad" (no '=').
std::string bad_line_message(std::size_t line);
// `count` exact rules "<prefix>NNNNN=0" with distinct packages.
std::string exact_rules(std::size_t count, const std::string& prefix = "app");
// `count` wildcard rules "<prefix>NNNNN.*=0".
std::string wildcard_rules(std::size_t count, const std::string& prefix = "vendor");
// `apps` single-rule apps, then `games` packages with `threads` thread rules
// each ("game.NNNNN{threadNN}=0").
std::string apps_and_games(std::size_t apps, std::size_t games, std::size_t threads);
