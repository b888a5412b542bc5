// The rule table: duplicates, records, wildcard flag and list, priorities,
// growth, the package index and release.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cpu_set_text.h"
#include "cpuset/cpuset.h"
#include "rules/rules.h"

namespace {

struct added {
    add_result result;
    std::string out;
};

const char* name(add_result r) {
    switch (r) {
        case add_result::accepted: return "accepted";
        case add_result::rejected: return "rejected";
        case add_result::table_full: return "table_full";
        case add_result::stop: return "stop";
    }
    return "?";
}

// A rule set on a machine whose present CPUs are 0 to 7.
class RuleTable : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(create_rule_set(set, present, present_text)); }

    added add(std::size_t line, const char* package, const char* thread, const char* value) {
        testing::internal::CaptureStdout();
        const add_result result = add_rule(set, line, package, thread, value);
        return {result, testing::internal::GetCapturedStdout()};
    }

    // Adds a rule that must be accepted silently.
    void accept(std::size_t line, const std::string& package, const std::string& thread, const std::string& value) {
        const added a = add(line, package.c_str(), thread.c_str(), value.c_str());
        ASSERT_STREQ(name(a.result), "accepted") << "line " << line << " " << package << "{" << thread << "}";
        ASSERT_EQ(a.out, "") << "line " << line;
    }

    unsigned index_count() { return HASH_COUNT(set.package_index); }

    // The table holds one exact rule, and the index its package.
    void expect_only_rule(const char* package, const char* thread, const char* cpus, std::uint32_t priority) {
        ASSERT_EQ(set.table.count, 1u);
        const rule& r = set.table.rules[0];
        EXPECT_STREQ(r.package, package);
        EXPECT_STREQ(r.thread, thread);
        EXPECT_EQ(cpu_list_text(r.cpus), cpus);
        EXPECT_FALSE(r.is_wildcard);
        EXPECT_EQ(r.priority, priority);
        EXPECT_EQ(set.wildcards.count, 0u);
        EXPECT_EQ(index_count(), 1u);
    }

    const cpu_set_t present = make_cpu_set("0-7");
    char present_text[present_text_size] = "0-7";
    rule_set set;
};

TEST_F(RuleTable, StartsEmptyWithItsInitialStorage) {
    EXPECT_EQ(set.table.count, 0u);
    EXPECT_EQ(set.table.capacity, 2560u);
    EXPECT_EQ(set.wildcards.count, 0u);
    EXPECT_EQ(set.wildcards.capacity, 128u);
    EXPECT_EQ(set.package_index, nullptr);
    EXPECT_EQ(set.present_cpus, &present);
    EXPECT_EQ(set.present_text, present_text);
}

TEST_F(RuleTable, AcceptedRuleRecordIsFilled) {
    char package[] = "com.example.game";
    char thread[] = "RenderThread";
    char value[] = "4-7";
    const added a = add(7, package, thread, value);
    EXPECT_STREQ(name(a.result), "accepted");
    EXPECT_EQ(a.out, "");
    // The record holds copies: the line buffer is reused for the next line.
    package[0] = thread[0] = value[0] = 'X';
    expect_only_rule("com.example.game", "RenderThread", "4-7", 1012);
}

TEST_F(RuleTable, DuplicateIsSamePackageAndSameThreadWhateverTheValue) {
    accept(1, "game", "", "1");
    EXPECT_EQ(add(2, "game", "", "1").out, "第 2 行重复规则：game{}=1\n");
    const added second = add(3, "game", "", "2");
    EXPECT_STREQ(name(second.result), "rejected");
    EXPECT_EQ(second.out, "第 3 行重复规则：game{}=2\n");

    accept(4, "game", "main", "0-3 ");
    EXPECT_EQ(add(5, "game", "main", "5 ").out, "第 5 行重复规则：game{main}=5 \n");

    // The first rule stays as it was.
    ASSERT_EQ(set.table.count, 2u);
    EXPECT_EQ(cpu_list_text(set.table.rules[0].cpus), "1");
    EXPECT_EQ(cpu_list_text(set.table.rules[1].cpus), "0-3");
}

TEST_F(RuleTable, NamesAreComparedExactlyAsBytes) {
    const std::vector<std::pair<std::string, std::string>> distinct = {
        {"game", ""},    {"game ", ""},   {"Game", ""},       {"game", "main"}, {"game", "Main"},
        {"game", "main "}, {"ab", ""},    {"a", "b"},         {"a", "bc"},      {"ab", "c"},
        {"com.*", ""},   {"com.?", ""},   {"com.[ab]", ""},   {"com.x", ""},    {"", ""},
        {"", "main"},    {"main", ""},
    };
    std::size_t line = 0;
    for (const auto& [package, thread] : distinct) accept(++line, package, thread, "0");
    EXPECT_EQ(set.table.count, distinct.size());

    // Each of them is now a duplicate.
    testing::internal::CaptureStdout();
    for (const auto& [package, thread] : distinct)
        EXPECT_STREQ(name(add_rule(set, ++line, package.c_str(), thread.c_str(), "1")), "rejected") << package;
    std::string expected;
    for (std::size_t i = 0; i < distinct.size(); ++i)
        expected += "第 " + std::to_string(distinct.size() + 1 + i) + " 行重复规则：" + distinct[i].first + "{" +
                    distinct[i].second + "}=1\n";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
    EXPECT_EQ(set.table.count, distinct.size());
}

TEST_F(RuleTable, OnlyCommittedRulesCountAsDuplicates) {
    const added failed = add(1, "game", "", "9");
    EXPECT_STREQ(name(failed.result), "rejected");
    EXPECT_EQ(failed.out, "第 1 行无效 CPU 范围：9 在规则 game{}=9，超出可用 CPU (0-7)\n");
    EXPECT_EQ(set.table.count, 0u);

    accept(2, "game", "", "1");
    EXPECT_EQ(add(3, "game", "", "2").out, "第 3 行重复规则：game{}=2\n");
}

TEST_F(RuleTable, RejectedRuleLeavesNothingInTheNextRecord) {
    // The failed rule sets CPUs 0 to 3 in the record before CPU 9 fails it.
    EXPECT_EQ(add(1, "com.bad.*", "a-long-thread-name", "0-3,9").out,
              "第 1 行无效 CPU 范围：9 在规则 com.bad.*{a-long-thread-name}=0-3,9，超出可用 CPU (0-7)\n");
    EXPECT_EQ(add(2, "nothing", "", "abc").out, "第 2 行无效 CPU 范围：abc 在规则 nothing{}=abc，无有效 CPU\n");
    accept(3, "ok", "", "5");
    expect_only_rule("ok", "", "5", 1002);
}

struct flag_row {
    const char* package;
    const char* thread;
    bool is_wildcard;
    std::uint32_t priority;
};

TEST_F(RuleTable, WildcardFlagComesFromThePackageOnly) {
    const std::vector<flag_row> rows = {
        {"com.*", "", true, 104},
        {"com.*", "Render", true, 1006},
        {"game", "Render*", false, 106},
        {"app?", "", true, 303},
        {"[ab]x", "", true, 504},
        {"a]b", "", false, 1003},
        {"game", "", false, 1004},
        {"", "", false, 200},
        {"", "Render?", false, 306},
        {"com.*", "?", true, 300},
    };
    std::size_t line = 0;
    for (const flag_row& row : rows) accept(++line, row.package, row.thread, "0");
    ASSERT_EQ(set.table.count, rows.size());
    std::vector<std::size_t> wildcard_positions;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const rule& r = set.table.rules[i];
        EXPECT_EQ(r.is_wildcard, rows[i].is_wildcard) << rows[i].package << "{" << rows[i].thread << "}";
        EXPECT_EQ(r.priority, rows[i].priority) << rows[i].package << "{" << rows[i].thread << "}";
        if (rows[i].is_wildcard) wildcard_positions.push_back(i);
    }
    ASSERT_EQ(set.wildcards.count, wildcard_positions.size());
    for (std::size_t k = 0; k < wildcard_positions.size(); ++k)
        EXPECT_EQ(set.wildcards.entries[k], wildcard_positions[k]);
    // Only the exact packages are indexed: game (twice), a]b, the empty name.
    EXPECT_EQ(index_count(), 3u);
}

TEST(RulePriority, ExamplesAndKinds) {
    EXPECT_EQ(calculate_rule_priority(nullptr), 200u);
    const std::vector<std::pair<std::string, std::uint32_t>> rows = {
        {"", 200},
        {"RenderThread", 1012},
        {"com.example.game", 1016},
        {"com.[ab]*", 507},
        {"Render?hread", 311},
        {"a?*", 301},
        {"com.example.*", 112},
        {"*", 100},
        {"?", 300},
        {"[", 500},
        {"**??[[", 500},
        {"]", 1001},
        {"a b", 1003},
        {"游戏", 1006},
        {"*游戏", 106},
        {std::string(127, 'x'), 1127},
        {std::string(126, 'x') + "*", 226},
    };
    for (const auto& [text, priority] : rows) EXPECT_EQ(calculate_rule_priority(text.c_str()), priority) << text;
}

TEST_F(RuleTable, EmptyPackageAndThreadRule) {
    // '{ }=1': an empty package and no thread.
    accept(1, "", "", "1");
    const rule& r = set.table.rules[0];
    EXPECT_STREQ(r.package, "");
    EXPECT_STREQ(r.thread, "");
    EXPECT_FALSE(r.is_wildcard);
    EXPECT_EQ(r.priority, 200u);
    ASSERT_EQ(index_count(), 1u);
    package_entry* found = nullptr;
    HASH_FIND_STR(set.package_index, "", found);
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found->name, "");
}

TEST_F(RuleTable, IndexHoldsEachExactPackageOnce) {
    accept(1, "game", "a", "1");
    accept(2, "game", "b", "2");
    accept(3, "game", "", "3");
    accept(4, "", "main", "1");
    accept(5, "Game", "", "1");
    accept(6, "game.*", "", "1");
    EXPECT_EQ(set.table.count, 6u);
    EXPECT_EQ(set.wildcards.count, 1u);
    ASSERT_EQ(index_count(), 3u);
    for (const char* key : {"game", "", "Game"}) {
        package_entry* found = nullptr;
        HASH_FIND_STR(set.package_index, key, found);
        ASSERT_NE(found, nullptr) << key;
        EXPECT_STREQ(found->name, key);
    }
    package_entry* wildcard = nullptr;
    HASH_FIND_STR(set.package_index, "game.*", wildcard);
    EXPECT_EQ(wildcard, nullptr);
}

// The rule of line i (1-based) in the growth tests: names of varying length,
// a thread on every third, a wildcard package on every fifth.
struct generated_rule {
    std::string package, thread, value;
    std::string cpus;  // the value's CPUs as cpu_list_text writes them
    bool wildcard;
    std::uint32_t priority;
};

generated_rule rule_for_line(std::size_t i) {
    generated_rule g;
    g.wildcard = i % 5 == 0;
    g.package = (g.wildcard ? "w*." : "p.") + std::to_string(i) + std::string(i % 7, 'x');
    if (i % 3 == 0) g.thread = "t" + std::to_string(i % 97);
    const std::size_t first = i % 8;
    const std::size_t last = first + (i / 8) % (8 - first);
    g.value = std::to_string(first) + "-" + std::to_string(last);
    g.cpus = first == last ? std::to_string(first) : g.value;
    const std::string& ranked = g.thread.empty() ? g.package : g.thread;
    g.priority = g.wildcard && g.thread.empty() ? static_cast<std::uint32_t>(ranked.size() - 1 + 100)
                                                : static_cast<std::uint32_t>(ranked.size() + 1000);
    return g;
}

// Checks every committed record against what its line asked for.
void expect_records_intact(const rule_set& set, std::size_t count) {
    ASSERT_EQ(set.table.count, count);
    std::size_t wildcards = 0;
    for (std::size_t i = 1; i <= count; ++i) {
        const generated_rule g = rule_for_line(i);
        const rule& r = set.table.rules[i - 1];
        ASSERT_EQ(r.package, g.package) << "rule " << i;
        ASSERT_EQ(r.thread, g.thread) << "rule " << i;
        ASSERT_EQ(cpu_list_text(r.cpus), g.cpus) << "rule " << i;
        ASSERT_EQ(r.is_wildcard, g.wildcard) << "rule " << i;
        ASSERT_EQ(r.priority, g.priority) << "rule " << i;
        if (g.wildcard) {
            ASSERT_LT(wildcards, set.wildcards.count) << "rule " << i;
            ASSERT_EQ(set.wildcards.entries[wildcards], i - 1) << "rule " << i;
            ++wildcards;
        }
    }
    ASSERT_EQ(set.wildcards.count, wildcards);
}

TEST_F(RuleTable, TableDoublesWhenTheRuleAfterAFullTablePassesTheDuplicateCheck) {
    for (std::size_t i = 1; i <= 2560; ++i) {
        const generated_rule g = rule_for_line(i);
        accept(i, g.package, g.thread, g.value);
    }
    EXPECT_EQ(set.table.capacity, 2560u);
    expect_records_intact(set, 2560);

    // A duplicate stops before the room check: no growth.
    EXPECT_EQ(add(2561, "p.1x", "", "0").out, "第 2561 行重复规则：p.1x{}=0\n");
    EXPECT_EQ(set.table.capacity, 2560u);

    // A new rule grows the table even though its CPU check then fails.
    EXPECT_EQ(add(2562, "fresh", "", "8").out, "第 2562 行无效 CPU 范围：8 在规则 fresh{}=8，超出可用 CPU (0-7)\n");
    EXPECT_EQ(set.table.capacity, 5120u);
    expect_records_intact(set, 2560);

    for (std::size_t i = 2561; i <= 5121; ++i) {
        const generated_rule g = rule_for_line(i);
        accept(i + 2, g.package, g.thread, g.value);
    }
    EXPECT_EQ(set.table.capacity, 10240u);
    expect_records_intact(set, 5121);

    // Far past the first sizes of everything the table keeps.
    for (std::size_t i = 5122; i <= 10241; ++i) {
        const generated_rule g = rule_for_line(i);
        accept(i + 2, g.package, g.thread, g.value);
    }
    EXPECT_EQ(set.table.capacity, 20480u);
    expect_records_intact(set, 10241);
    EXPECT_EQ(index_count(), 10241u - 2048u);  // every fifth is a wildcard

    // Every rule is still found as a duplicate after the moves.
    testing::internal::CaptureStdout();
    std::string expected;
    for (std::size_t i = 1; i <= 10241; ++i) {
        const generated_rule g = rule_for_line(i);
        EXPECT_STREQ(name(add_rule(set, 30000 + i, g.package.c_str(), g.thread.c_str(), "1")), "rejected");
        expected += "第 " + std::to_string(30000 + i) + " 行重复规则：" + g.package + "{" + g.thread + "}=1\n";
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
    EXPECT_EQ(set.table.count, 10241u);
}

TEST_F(RuleTable, WildcardListDoublesOnTheCommittedRuleAfterAFullList) {
    // Lines 1 to 640 hold 128 wildcard rules (every fifth).
    for (std::size_t i = 1; i <= 640; ++i) {
        const generated_rule g = rule_for_line(i);
        accept(i, g.package, g.thread, g.value);
    }
    EXPECT_EQ(set.wildcards.count, 128u);
    EXPECT_EQ(set.wildcards.capacity, 128u);

    // A wildcard rule that fails its CPU check is not committed: no growth.
    EXPECT_EQ(add(641, "w*.fails", "", "3-1").out,
              "第 641 行无效 CPU 范围：3-1 在规则 w*.fails{}=3-1，超出可用 CPU (0-7)\n");
    EXPECT_EQ(set.wildcards.capacity, 128u);

    for (std::size_t i = 641; i <= 645; ++i) {
        const generated_rule g = rule_for_line(i);
        accept(i + 1, g.package, g.thread, g.value);
    }
    EXPECT_EQ(set.wildcards.count, 129u);
    EXPECT_EQ(set.wildcards.capacity, 256u);
    expect_records_intact(set, 645);
}

TEST_F(RuleTable, ReleaseKeepsTheCountsAndFreesEverything) {
    accept(1, "game", "", "0");
    accept(2, "game", "main", "1");
    accept(3, "com.*", "", "2");
    release_rule_set(set);
    EXPECT_EQ(set.table.count, 3u);
    EXPECT_EQ(set.wildcards.count, 1u);
    EXPECT_EQ(set.table.rules, nullptr);
    EXPECT_EQ(set.wildcards.entries, nullptr);
    EXPECT_EQ(set.package_index, nullptr);
    EXPECT_EQ(set.duplicates.slots, nullptr);
    // A second release (the destructor's) does nothing harmful.
    release_rule_set(set);
    EXPECT_EQ(set.table.count, 3u);
}

}  // namespace
