// The rule set: priorities, records, wildcard flag and list, the package
// index, growth and release, and the duplicate set against a plain scan.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cpuset/cpuset.h"
#include "rules/rules.h"

namespace {

// CPUs 0 to 63 of a set as bits; -1 when a higher one is set.
std::uint64_t low_cpus(const cpu_set_t& set) {
    std::uint64_t bits = 0;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
        if (CPU_ISSET(cpu, &set)) bits = cpu < 64 ? bits | std::uint64_t{1} << cpu : ~std::uint64_t{0};
    return bits;
}

TEST(RulePriority, Examples) {
    EXPECT_EQ(calculate_rule_priority(nullptr), 200u);
    const std::vector<std::pair<const char*, std::uint32_t>> rows = {
        {"", 200},         {"RenderThread", 1012}, {"com.example.game", 1016}, {"com.[ab]*", 507},
        {"Render?hread", 311}, {"a?*", 301},       {"com.example.*", 112},     {"*", 100},
    };
    for (const auto& [name, priority] : rows) EXPECT_EQ(calculate_rule_priority(name), priority) << name;
}

// A rule set on a machine whose present CPUs are 0 to 7.
class RuleTable : public testing::Test {
protected:
    void SetUp() override {
        CPU_ZERO(&present);
        for (int cpu = 0; cpu < 8; ++cpu) CPU_SET(cpu, &present);
        ASSERT_TRUE(create_rule_set(set, present, "0-7"));
    }
    std::pair<add_result, std::string> add(std::size_t line, const char* package, const char* thread,
                                           const char* value) {
        testing::internal::CaptureStdout();
        const add_result result = add_rule(set, line, package, thread, value);
        return {result, testing::internal::GetCapturedStdout()};
    }
    cpu_set_t present;
    rule_set set;
};

TEST_F(RuleTable, RecordsFlagsAndPriorities) {
    // Sets CPUs 0 to 3 in the next record before CPU 9 fails it; not
    // committed, so the same pair right after is no duplicate.
    EXPECT_EQ(add(1, "com.*", "x", "0-3,9").second,
              "第 1 行无效 CPU 范围：9 在规则 com.*{x}=0-3,9，超出可用 CPU (0-7)\n");
    struct row {
        const char* package;
        const char* thread;
        bool is_wildcard;
        std::uint32_t priority;
    };
    const std::vector<row> rows = {
        {"com.*", "x", true, 1001},  {"game", "Render*", false, 106}, {"a?", "", true, 301},
        {"[ab]x", "", true, 504},    {"", "", false, 200},
    };
    for (const row& r : rows) EXPECT_EQ(add(2, r.package, r.thread, "5").first, add_result::accepted) << r.package;
    std::vector<std::size_t> wildcard_positions;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const rule& r = set.table.rules[i];
        EXPECT_EQ(low_cpus(r.cpus), 0x20u) << rows[i].package;
        EXPECT_EQ(r.is_wildcard, rows[i].is_wildcard) << rows[i].package;
        EXPECT_EQ(r.priority, rows[i].priority) << rows[i].package;
        if (rows[i].is_wildcard) wildcard_positions.push_back(i);
    }
    EXPECT_EQ(std::vector<std::size_t>(set.wildcards.entries, set.wildcards.entries + set.wildcards.count),
              wildcard_positions);

    char package[] = "com.example.game", thread[] = "RenderThread", value[] = "4-7";
    EXPECT_EQ(add(3, package, thread, value).first, add_result::accepted);
    package[0] = thread[0] = value[0] = 'X';  // the line buffer is reused: the record must hold copies
    ASSERT_EQ(set.table.count, rows.size() + 1);
    const rule& last = set.table.rules[rows.size()];
    EXPECT_STREQ(last.package, "com.example.game");
    EXPECT_STREQ(last.thread, "RenderThread");
    EXPECT_EQ(low_cpus(last.cpus), 0xf0u);
    EXPECT_FALSE(last.is_wildcard);
    EXPECT_EQ(last.priority, 1012u);
}

TEST_F(RuleTable, GrowthKeepsEveryRecordAndReleaseKeepsTheCounts) {
    // 2560 rules, every 20th a wildcard: table and wildcard list both full.
    const auto is_wild = [](std::size_t i) { return i % 20 == 0 || i == 2561; };
    const auto package_of = [&](std::size_t i) { return (is_wild(i) ? "w*" : "p") + std::to_string(i); };
    for (std::size_t i = 1; i <= 2560; ++i)
        ASSERT_EQ(add(i, package_of(i).c_str(), "", std::to_string(i % 8).c_str()).first, add_result::accepted);
    EXPECT_EQ(set.wildcards.capacity, 128u);

    // A duplicate stops before the room check; a new rule grows the table
    // even though its CPU check then fails; a failed wildcard rule does not
    // grow the list, the next committed one does.
    EXPECT_EQ(add(2561, "p1", "", "0").second, "第 2561 行重复规则：p1{}=0\n");
    EXPECT_EQ(set.table.capacity, 2560u);
    EXPECT_EQ(add(2562, "w*fresh", "", "8").first, add_result::rejected);
    EXPECT_EQ(set.table.capacity, 5120u);
    EXPECT_EQ(set.wildcards.capacity, 128u);
    ASSERT_EQ(add(2563, package_of(2561).c_str(), "", "1").first, add_result::accepted);
    EXPECT_EQ(set.wildcards.capacity, 256u);

    ASSERT_EQ(set.table.count, 2561u);
    std::size_t wildcards = 0;
    for (std::size_t i = 1; i <= 2561; ++i) {
        const rule& r = set.table.rules[i - 1];
        ASSERT_EQ(r.package, package_of(i)) << "rule " << i;
        ASSERT_EQ(low_cpus(r.cpus), std::uint64_t{1} << (i % 8)) << "rule " << i;
        if (is_wild(i)) {
            ASSERT_EQ(set.wildcards.entries[wildcards++], i - 1) << "rule " << i;
        }
    }
    ASSERT_EQ(set.wildcards.count, wildcards);

    release_rule_set(set);
    EXPECT_EQ(set.table.count, 2561u);
    EXPECT_EQ(set.wildcards.count, 129u);
    EXPECT_EQ(set.table.rules, nullptr);
    EXPECT_EQ(set.package_index, nullptr);
    release_rule_set(set);  // and once more from the destructor
}

// Generated rules full of duplicates go through add_rule and through a plain
// scan over the committed pairs; results, messages, records, wildcard list and
// package index must agree. Enough pairs are committed that the table and the
// duplicate set both grow.
TEST_F(RuleTable, DuplicatesMatchAPlainScan) {
    struct value_row {
        const char* value;
        std::uint64_t cpus;   // 0: the CPU check fails
        const char* failure;  // its message after "无效 CPU 范围："
    };
    const std::vector<value_row> values = {
        {"0", 0x1, ""},  {"1", 0x2, ""},  {"0-3", 0xf, ""}, {"2,3 ", 0xc, ""}, {"7", 0x80, ""},
        {"8", 0, "8 在规则 %s，超出可用 CPU (0-7)"},     {"1,9", 0, "9 在规则 %s，超出可用 CPU (0-7)"},
        {"1-0", 0, "1-0 在规则 %s，超出可用 CPU (0-7)"}, {",", 0, ", 在规则 %s，无有效 CPU"},
    };
    const char* const suffixes[] = {"", " ", "*", "?", "[x]"};
    const char* const threads[] = {"", "t1", "T1", "main "};
    // Two couples of pairs whose 32-bit hashes are equal: each pair is added
    // twice before the generated ones.
    std::vector<std::pair<std::string, std::string>> pairs = {
        {"com.example.game9311", ""},
        {"com.example.game50620", ""},
        {"com.example.game", "Thread-53558"},
        {"com.example.game", "Thread-79653"},
    };
    std::uint64_t seed = 12345;
    const auto next = [&seed](std::uint64_t bound) {
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        return static_cast<std::size_t>((seed >> 33) % bound);
    };
    for (int i = 0; i < 10000; ++i)
        pairs.emplace_back((next(2) ? "game" : "Game") + std::to_string(next(300)) + suffixes[next(5)],
                           threads[next(4)]);

    std::vector<std::pair<std::string, std::string>> committed;
    std::vector<std::uint64_t> committed_cpus;
    std::string expected, wrong_result;
    testing::internal::CaptureStdout();
    for (std::size_t i = 0; i < 2 * 4 + 10000; ++i) {
        const auto& [package, thread] = pairs[i < 8 ? i % 4 : i - 4];
        const value_row& v = values[i < 8 ? i / 4 : next(values.size())];
        const std::string line = "第 " + std::to_string(i + 1) + " 行";
        const std::string rule_text = package + "{" + thread + "}=" + v.value;
        bool duplicate = false;
        for (const auto& c : committed) duplicate = duplicate || (c.first == package && c.second == thread);
        const add_result result = add_rule(set, i + 1, package.c_str(), thread.c_str(), v.value);
        if (duplicate) {
            expected += line + "重复规则：" + rule_text + "\n";
        } else if (v.cpus == 0) {
            char message[256];
            std::snprintf(message, sizeof message, v.failure, rule_text.c_str());
            expected += line + "无效 CPU 范围：" + message + "\n";
        } else {
            committed.emplace_back(package, thread);
            committed_cpus.push_back(v.cpus);
        }
        const bool accepted = !duplicate && v.cpus != 0;
        if (result != (accepted ? add_result::accepted : add_result::rejected) && wrong_result.empty())
            wrong_result = line + " " + rule_text;
    }
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(wrong_result, "") << "first rule with another add_result";
    const auto lines = [](const std::string& text) {
        std::vector<std::string> split;
        for (std::size_t at = 0, end; at < text.size(); at = end + 1) split.push_back(text.substr(at, (end = text.find('\n', at)) - at));
        return split;
    };
    const std::vector<std::string> got = lines(out), want = lines(expected);
    for (std::size_t k = 0; k < got.size() || k < want.size(); ++k)
        ASSERT_EQ(k < got.size() ? got[k] : "(none)", k < want.size() ? want[k] : "(none)");

    ASSERT_GT(committed.size() * 2, initial_duplicate_slots);
    ASSERT_EQ(set.table.count, committed.size());
    std::vector<std::size_t> wildcard_positions;
    std::set<std::string> exact_packages;
    for (std::size_t k = 0; k < committed.size(); ++k) {
        const rule& r = set.table.rules[k];
        ASSERT_EQ(r.package, committed[k].first) << "rule " << k;
        ASSERT_EQ(r.thread, committed[k].second) << "rule " << k;
        ASSERT_EQ(low_cpus(r.cpus), committed_cpus[k]) << "rule " << k;
        const bool wildcard = std::strpbrk(r.package, "*?[") != nullptr;
        ASSERT_EQ(r.is_wildcard, wildcard) << "rule " << k;
        if (wildcard) wildcard_positions.push_back(k);
        else exact_packages.insert(r.package);
    }
    EXPECT_EQ(std::vector<std::size_t>(set.wildcards.entries, set.wildcards.entries + set.wildcards.count),
              wildcard_positions);
    EXPECT_EQ(HASH_COUNT(set.package_index), exact_packages.size());
    for (const std::string& name : exact_packages) {
        package_entry* found = nullptr;
        HASH_FIND_STR(set.package_index, name.c_str(), found);
        EXPECT_NE(found, nullptr) << name;
    }
}

}  // namespace
