// Rule priorities: computed for every accepted rule but never printed.
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
