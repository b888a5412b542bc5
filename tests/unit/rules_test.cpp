// Rule priorities and wildcard flags: computed for every accepted rule but
// never printed.
#include <gtest/gtest.h>

#include "rules/rules.h"

TEST(RulePriority, EachKindOfName) {
    EXPECT_EQ(calculate_rule_priority(nullptr), 200u);
    const struct {
        const char* name;
        unsigned priority;
    } rows[] = {
        {"", 200},           {"RenderThread", 1012}, {"com.example.game", 1016}, {"x", 1001},
        {"com.[ab]*", 507},  {"com.[ab]?x", 508},    {"com.[ab", 506},           {"a]b", 1003},
        {"Render?hread", 311}, {"a?*", 301},         {"??", 300},                {"com.example.*", 112},
        {"*", 100},          {"**a", 101},           {"[", 500},                 {"a*[", 501},
    };
    for (const auto& row : rows) EXPECT_EQ(calculate_rule_priority(row.name), row.priority) << row.name;
}

// The thread's name decides the priority when there is one; only the package
// makes a wildcard rule.
TEST(RuleTable, PriorityAndWildcardFlagOfEachRule) {
    cpu_set_t present;
    CPU_ZERO(&present);
    CPU_SET(0, &present);
    rule_set set;
    ASSERT_TRUE(create_rule_set(set, present, "0"));
    const struct {
        const char* package;
        const char* thread;
        bool is_wildcard;
        unsigned priority;
    } rows[] = {
        {"com.*", "Render", true, 1006}, {"com.*", "", true, 104}, {"game", "Render*", false, 106},
        {"game", "", false, 1004},       {"", "", false, 200},     {"[ab].c", "", true, 505},
        {"game", "x", false, 1001},
    };
    for (const auto& row : rows) ASSERT_EQ(add_rule(set, 1, row.package, row.thread, "0"), add_result::accepted);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(set.table.rules[i].is_wildcard, rows[i].is_wildcard) << i;
        EXPECT_EQ(set.table.rules[i].priority, rows[i].priority) << i;
    }
}
