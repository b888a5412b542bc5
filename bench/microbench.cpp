// Microbenchmarks of the per-line work: the rule line syntax, the CPU list
// parser and add_rule (duplicate check, record, CPU check, index).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cpuset/cpuset.h"
#include "rules/rules.h"

namespace {

constexpr const char* sample_lines[] = {
    "com.acme.tmgp.skyrace=0-1",
    "com.acme.tmgp.skyrace{UnityMain}=1",
    "  com.bluefox.railstar{RenderThread}= 0,1   # big core",
    "com.example.*{GameThread}=0",
};

void BM_parse_rule_line(benchmark::State& state) {
    const char* text = sample_lines[state.range(0)];
    const std::size_t length = std::strlen(text);
    char buffer[max_line_length + 1];
    for (auto _ : state) {
        std::memcpy(buffer, text, length + 1);
        parsed_rule parsed;
        benchmark::DoNotOptimize(parse_rule_line(buffer, 1, parsed));
        benchmark::DoNotOptimize(parsed);
    }
    state.SetLabel(text);
}
BENCHMARK(BM_parse_rule_line)->DenseRange(0, 3);

constexpr const char* sample_values[] = {"1", "0-1", "0,1", "0-3,6,8-11", "0x2,010,4-5,7"};

void BM_parse_cpu_ranges(benchmark::State& state) {
    const char* text = sample_values[state.range(0)];
    cpu_set_t present;
    CPU_ZERO(&present);
    for (int cpu = 0; cpu < 16; ++cpu) CPU_SET(cpu, &present);
    char error_text[cpu_error_size];
    for (auto _ : state) {
        cpu_set_t cpus;
        CPU_ZERO(&cpus);
        benchmark::DoNotOptimize(parse_cpu_ranges(text, &cpus, &present, error_text, sizeof error_text));
        benchmark::DoNotOptimize(cpus);
    }
    state.SetLabel(text);
}
BENCHMARK(BM_parse_cpu_ranges)->DenseRange(0, 4);

constexpr const char* thread_names[] = {"", "RenderThread", "UnityMain", "GameThread", "RHIThread"};

struct rule_text {
    std::string package;
    std::string thread;
};

// Distinct (package, thread) pairs, a few threads per package, 5% wildcards.
std::vector<rule_text> make_rules(std::size_t count) {
    std::vector<rule_text> rules;
    rules.reserve(count);
    char name[96];
    for (std::size_t i = 0; rules.size() < count; ++i) {
        if (i % 20 == 19) {
            std::snprintf(name, sizeof name, "com.vendor%zu.game*", i);
            rules.push_back({name, ""});
            continue;
        }
        std::snprintf(name, sizeof name, "com.vendor%zu.app.game%zu", i % 997, i);
        for (std::size_t t = 0; t < 3 && rules.size() < count; ++t) rules.push_back({name, thread_names[(i + t) % 5]});
    }
    return rules;
}

// Fills a fresh rule set with `range(0)` distinct rules and releases it: the
// per-rule cost includes table growth and its page faults.
void BM_add_rule(benchmark::State& state) {
    const std::vector<rule_text> rules = make_rules(static_cast<std::size_t>(state.range(0)));
    cpu_set_t present;
    CPU_ZERO(&present);
    CPU_SET(0, &present);
    CPU_SET(1, &present);
    const char present_text[] = "0-1";
    for (auto _ : state) {
        rule_set set;
        if (!create_rule_set(set, present, present_text)) {
            state.SkipWithError("create_rule_set failed");
            break;
        }
        std::size_t line = 0;
        for (const rule_text& r : rules) {
            if (add_rule(set, ++line, r.package.c_str(), r.thread.c_str(), "0-1") != add_result::accepted) {
                state.SkipWithError("a rule was not accepted");
                break;
            }
        }
        benchmark::DoNotOptimize(set.table.count);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_add_rule)->Arg(3000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
