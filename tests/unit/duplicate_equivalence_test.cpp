// The duplicate set against the plain scan it replaces: whole rule files full
// of duplicates, faulty lines and rules whose CPU check fails go through the
// tool's line loop and through a reference loop that finds duplicates by
// comparing each parsed rule with every committed rule, as strings. Messages,
// counts and exit status must come out byte for byte the same.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli.h"
#include "cpu_set_text.h"
#include "cpuset/cpuset.h"
#include "rules/rules.h"

namespace {

struct run_result {
    std::string out;
    std::size_t rules = 0;
    std::size_t wildcards = 0;
    int status = -1;
};

// Present CPUs for every run here: values naming CPU 4 and above fail.
const cpu_set_t present_cpus = make_cpu_set("0-3");
const char present_text[present_text_size] = "0-3";

run_result run_tool_loop(const std::string& text) {
    run_result r;
    rule_set set;
    if (!create_rule_set(set, present_cpus, present_text)) return r;
    run_state state;
    testing::internal::CaptureStdout();
    check_lines(text.data(), text.size(), set, state);
    release_rule_set(set);
    r.status = print_summary(set, state);
    r.out = testing::internal::GetCapturedStdout();
    r.rules = set.table.count;
    r.wildcards = set.wildcards.count;
    return r;
}

// The loop with a duplicate check by linear scan over the committed pairs.
// The line syntax and the CPU check are the tool's own: only the duplicate
// decision is under test.
run_result run_reference_loop(const std::string& text) {
    run_result r;
    rule_set cpu_check;  // only its present CPUs are read
    cpu_check.present_cpus = &present_cpus;
    cpu_check.present_text = present_text;
    std::vector<std::pair<std::string, std::string>> committed;
    bool clean = true;

    testing::internal::CaptureStdout();
    std::size_t line_number = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        const bool last = end == std::string::npos;
        if (last) end = text.size();
        ++line_number;
        if (end - pos > max_line_length) {
            std::printf("第 %zu 行过长\n", line_number);
            clean = false;
        } else {
            char buffer[max_line_length + 1] = {};
            std::strncpy(buffer, text.c_str() + pos, end - pos);
            parsed_rule parsed;
            const line_result syntax = parse_rule_line(buffer, line_number, parsed);
            if (syntax == line_result::rejected) clean = false;
            if (syntax == line_result::parsed) {
                bool duplicate = false;
                for (const auto& c : committed)
                    if (c.first == parsed.package && c.second == parsed.thread) duplicate = true;
                rule scratch{};
                if (duplicate) {
                    std::printf("第 %zu 行重复规则：%s{%s}=%s\n", line_number, parsed.package, parsed.thread,
                                parsed.value);
                    clean = false;
                } else if (!check_rule_cpus(cpu_check, line_number, parsed.package, parsed.thread, parsed.value,
                                            scratch)) {
                    clean = false;
                } else {
                    committed.emplace_back(parsed.package, parsed.thread);
                    if (std::strpbrk(parsed.package, "*?[") != nullptr) ++r.wildcards;
                }
            }
        }
        if (last) break;
        pos = end + 1;
    }
    r.rules = committed.size();
    if (r.rules == 0) {
        std::printf("未加载有效规则\n");
        r.status = 1;
    } else {
        std::printf("配置文件解析完成，共加载 %zu 条规则，%zu 条通配符规则\n", r.rules, r.wildcards);
        r.status = clean ? 0 : 1;
    }
    r.out = testing::internal::GetCapturedStdout();
    return r;
}

// The first line where two outputs part, for a readable failure.
std::string first_difference(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    const std::size_t start = a.rfind('\n', i == 0 ? 0 : i - 1);
    const std::size_t from = start == std::string::npos ? 0 : start + 1;
    return "tool:      " + a.substr(from, a.find('\n', i) - from) + "\nreference: " + b.substr(from, b.find('\n', i) - from);
}

run_result expect_same_as_reference(const std::string& text, const std::string& what) {
    const run_result tool = run_tool_loop(text);
    const run_result reference = run_reference_loop(text);
    EXPECT_EQ(tool.rules, reference.rules) << what;
    EXPECT_EQ(tool.wildcards, reference.wildcards) << what;
    EXPECT_EQ(tool.status, reference.status) << what;
    EXPECT_TRUE(tool.out == reference.out) << what << "\n" << first_difference(tool.out, reference.out);
    return tool;
}

std::size_t count_of(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

struct small_file {
    const char* what;
    const char* text;
};

// Files short enough to read; each names the case it covers.
const small_file small_files[] = {
    {"same pair, other value", "game=1\ngame=2\ngame{a}=1\ngame{a}=0-3\n"},
    {"case and trailing blanks make other names", "game=1\nGame=1\ngame =1\ngame{A}=1\ngame{a}=1\ngame{a }=1\n"},
    {"blanks before the names are not part of them", "game{a}=1\n  game{ a}=1\n\tgame{a}=2\n"},
    {"split between package and thread matters", "ab{c}=1\na{bc}=1\nabc=1\nab{c}=2\n"},
    {"braces with a blank thread equal no braces", "game=1\ngame{ }=1\n{ }=1\n{\t}=2\n{x}=1\n{x}=1\n"},
    {"wildcards compare as text", "com.*=1\ncom.?=1\ncom.*=2\ncom.[ab]*{T}=1\ncom.[ab]*{T}=1\ncom.*{T}=1\n"},
    {"a rule that failed its CPU check is no duplicate", "game=4\ngame=1\ngame=1\nx{t}=2-1\nx{t}=1\nx{t}=3\n"},
    {"faulty lines between", "game=1\ngame\ngame=\n=1\ngame{a=1\ngame{}=1\ngame{a}b=1\ngame=1\n"},
    {"comments and values", "game=1 # first\n# game=1\ngame=2#again\n\n   \ngame = 1\n"},
    {"no line feed at the end", "game=1\ngame=1"},
    {"only duplicates of nothing", "game=9\ngame=9\n"},
    // Different pairs whose 32-bit hashes are equal under the current hash,
    // found by search: neither is a duplicate of the other.
    {"equal hash, other package", "com.example.game9311=1\ncom.example.game50620=1\ncom.example.game9311=2\n"
                                  "com.example.game50620=2\ncom.example.game39084=1\ncom.example.game71666=1\n"},
    {"equal hash, other thread", "com.example.game{Thread-53558}=1\ncom.example.game{Thread-79653}=1\n"
                                 "com.example.game{Thread-79653}=2\ncom.example.game{Thread-53558}=0\n"},
};

TEST(DuplicateEquivalence, SmallFilesMatchTheScan) {
    for (const small_file& f : small_files) expect_same_as_reference(f.text, f.what);
}

struct random_source {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15u);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t bound) { return static_cast<std::size_t>(next() % bound); }
};

// A file drawn from `packages` x `threads` names, so that pairs repeat often,
// with values that fail the CPU check now and then and faulty lines mixed in.
std::string random_file(std::uint64_t seed, std::size_t lines, std::size_t packages, std::size_t threads) {
    static const char* const values[] = {"0", "1", "0-3", "2,3", "0x1", "4", "1-0", ",", "3 # big"};
    static const char* const faulty[] = {"game", "game=", "=1", "g{t=1", "g{}=1", "g{t}x=1", "gt}=1", "# note", ""};
    random_source rng{seed};
    std::string text;
    for (std::size_t i = 0; i < lines; ++i) {
        const std::size_t kind = rng.below(20);
        if (kind == 0) {
            text += faulty[rng.below(std::size(faulty))];
        } else {
            const std::size_t p = rng.below(packages);
            std::string package = (p % 7 == 3 ? "com.*.game" : "com.example.game") + std::to_string(p);
            if (p % 11 == 5) package += "?";
            if (kind == 1) package = " " + package;  // a leading blank is skipped
            text += package;
            const std::size_t t = rng.below(threads + 1);
            if (t < threads) text += "{Thread-" + std::to_string(t) + "}";
            text += "=";
            text += values[rng.below(std::size(values))];
        }
        text += '\n';
    }
    return text;
}

TEST(DuplicateEquivalence, RandomFilesMatchTheScan) {
    for (std::uint64_t seed = 1; seed <= 20; ++seed)
        expect_same_as_reference(random_file(seed, 400, 30, 4), "seed " + std::to_string(seed));
}

// Enough distinct pairs that the table and the duplicate set both grow
// several times while duplicates of early rules keep coming.
TEST(DuplicateEquivalence, FilesThatOutgrowTheInitialStorageMatchTheScan) {
    for (std::uint64_t seed = 100; seed <= 101; ++seed) {
        const run_result r = expect_same_as_reference(random_file(seed, 12000, 2000, 4), "seed " + std::to_string(seed));
        EXPECT_GT(r.rules, 2 * initial_rule_capacity) << "seed " << seed << ": too few rules to grow";
        EXPECT_GT(r.rules * 2, initial_duplicate_slots) << "seed " << seed << ": too few rules to grow";
        EXPECT_GT(count_of(r.out, "重复规则"), 1000u) << "seed " << seed << ": too few duplicates";
    }
}

}  // namespace
