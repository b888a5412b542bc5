// What the tool prints and returns when one of its allocations fails. Each
// case makes exactly one allocation fail, chosen by its byte size (computed
// from the tool's own records) and its rank among requests of that size, and
// checks the whole of stdout and the exit status.
#include <gtest/gtest.h>
#include <uthash.h>

#include <cstddef>
#include <string>
#include <vector>

#include "rules/rules.h"
#include "support/failalloc_runner.h"

namespace {

// Storage obtained when the rule set is created.
constexpr std::size_t table_bytes = initial_rule_capacity * sizeof(rule);
constexpr std::size_t wildcard_bytes = initial_wildcard_capacity * sizeof(std::size_t);
constexpr std::size_t duplicate_bytes = initial_duplicate_slots * sizeof(duplicate_slot);
// Each grows by doubling.
constexpr std::size_t grown_table_bytes = 2 * table_bytes;
constexpr std::size_t grown_wildcard_bytes = 2 * wildcard_bytes;
constexpr std::size_t grown_duplicate_bytes = 2 * duplicate_bytes;
// The duplicate set is kept at most half full: the rule after this many
// makes it grow.
constexpr std::size_t rules_before_duplicate_growth = initial_duplicate_slots / 2;
// One package index entry, and uthash's own table and first bucket growth.
constexpr std::size_t entry_bytes = sizeof(package_entry);
constexpr std::size_t hash_table_bytes = sizeof(UT_hash_table);
constexpr std::size_t first_bucket_growth_bytes = 2 * HASH_INITIAL_NUM_BUCKETS * sizeof(UT_hash_bucket);

// uthash's fatal exit: exit(-1).
constexpr int uthash_fatal_status = 255;

struct failure_case {
    const char* name;
    std::string rules;
    injection fail;
    std::string expected_out;
    int expected_status;
};

void expect_case(const failure_case& c, bool stdout_to_file = false) {
    SCOPED_TRACE(std::string(c.name) + (stdout_to_file ? ", stdout to a file" : ", stdout to a pipe"));
    const injected_run r = run_with_failure(c.rules, c.fail, stdout_to_file);
    // The targeted request was actually made and refused, and no other.
    EXPECT_EQ(r.refused, 1) << "size " << c.fail.size << ", request " << c.fail.nth;
    EXPECT_EQ(r.run.out, c.expected_out);
    EXPECT_EQ(r.run.status, c.expected_status);
    EXPECT_EQ(r.run.err, "");
}

class AllocationFailure : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_INTERPOSER();
        REQUIRE_CPU0();
    }
};

}  // namespace

TEST_F(AllocationFailure, CreatingTheRuleSetEndsTheRunSilently) {
    // The loop never starts: neither the bad line nor a summary is printed.
    const std::string rules = "bad\ngame=0\n";
    const failure_case cases[] = {
        {"rule table", rules, {table_bytes, 1, ""}, "", 1},
        {"wildcard list", rules, {wildcard_bytes, 1, ""}, "", 1},
        {"duplicate set", rules, {duplicate_bytes, 1, ""}, "", 1},
    };
    for (const failure_case& c : cases) expect_case(c);
}

TEST_F(AllocationFailure, FullTableEndsTheLoopWithTheRulesSoFar) {
    // The rule that needs the growth is dropped without a message, and the
    // lines after it are never read. No line is faulty: the status comes
    // from the failure alone.
    const std::size_t capacity = initial_rule_capacity;
    const failure_case cases[] = {
        {"table growth", exact_rules(capacity + 1) + "bad\n", {grown_table_bytes, 1, ""}, summary(capacity, 0), 1},
        {"duplicate set growth", exact_rules(rules_before_duplicate_growth + 1) + "bad\n",
         {grown_duplicate_bytes, 1, ""}, summary(rules_before_duplicate_growth, 0), 1},
    };
    for (const failure_case& c : cases) expect_case(c);
}

TEST_F(AllocationFailure, WildcardListGrowthStopsWithTheRuleCountedAsARuleOnly) {
    const std::size_t wildcards = initial_wildcard_capacity + 1;
    // No line is faulty: the status comes from the failure alone.
    const failure_case c{"wildcard list growth", exact_rules(5) + wildcard_rules(wildcards) + "bad\nlate=0\n",
                         // Only the wildcard list and the table are ever reallocated.
                         {grown_wildcard_bytes, 1, "realloc"}, summary(5 + wildcards, wildcards - 1), 1};
    expect_case(c);
}

TEST_F(AllocationFailure, PackageEntryStopsWithTheRuleCounted) {
    // Three rules on one package share one entry, so the second entry is
    // the one for "other" on line 5. No line before it is faulty: the
    // status comes from the failure alone.
    const failure_case c{"package entry", "game{a}=0\ngame{b}=0\ngame=0\ncom.*=0\nother=0\nbad\nlate=0\n",
                         {entry_bytes, 2, ""}, summary(5, 1), 1};
    expect_case(c);
}

TEST_F(AllocationFailure, UthashOwnStorageEndsTheProcessWith255) {
    // No summary, but the message printed before the fatal exit reaches the
    // reader, whether stdout is a pipe or a file.
    // The first bucket growth has the wildcard list's size on 64-bit
    // machines; that list was requested first.
    const unsigned long growth_rank = first_bucket_growth_bytes == wildcard_bytes ? 2 : 1;
    const failure_case cases[] = {
        {"uthash table", "bad\nvendor.*=0\ngame=0\nlate=0\n", {hash_table_bytes, 1, ""}, bad_line_message(1),
         uthash_fatal_status},
        // Far more names than 32 buckets hold before uthash grows them.
        {"uthash bucket growth", "bad\n" + exact_rules(1000) + "bad\n", {first_bucket_growth_bytes, growth_rank, ""},
         bad_line_message(1), uthash_fatal_status},
    };
    for (const failure_case& c : cases) {
        expect_case(c, false);
        expect_case(c, true);
    }
}
