#include <gtest/gtest.h>

#include <string>

#include "rules/rules.h"

namespace {

// A rule set whose machine has CPU 0 only.
class PackageIndexTest : public testing::Test {
protected:
    void SetUp() override {
        CPU_ZERO(&present_);
        CPU_SET(0, &present_);
        ASSERT_TRUE(create_rule_set(set_, present_, "0"));
    }

    add_result add(const char* package, const char* thread) { return add_rule(set_, 1, package, thread, "0"); }

    cpu_set_t present_;
    rule_set set_;
};

}  // namespace

TEST_F(PackageIndexTest, RulesOnOnePackageShareOneEntry) {
    ASSERT_EQ(add("game", "a"), add_result::accepted);
    ASSERT_EQ(add("game", "b"), add_result::accepted);
    ASSERT_EQ(add("game", ""), add_result::accepted);
    ASSERT_EQ(add("other", ""), add_result::accepted);
    EXPECT_EQ(set_.table.count, 4u);
    EXPECT_EQ(HASH_COUNT(set_.package_index), 2u);
    for (const char* name : {"game", "other"}) {
        package_entry* found = nullptr;
        HASH_FIND_STR(set_.package_index, name, found);
        ASSERT_NE(found, nullptr) << name;
        EXPECT_STREQ(found->name, name);
    }
}

TEST_F(PackageIndexTest, WildcardRulesStayOutOfTheIndex) {
    // Only the package decides; a wildcard thread name is an exact package.
    ASSERT_EQ(add("com.*", ""), add_result::accepted);
    ASSERT_EQ(add("com.[ab]", "main"), add_result::accepted);
    ASSERT_EQ(add("a?", ""), add_result::accepted);
    EXPECT_EQ(set_.package_index, nullptr);
    EXPECT_EQ(set_.wildcards.count, 3u);

    ASSERT_EQ(add("game", "Render*"), add_result::accepted);
    EXPECT_EQ(HASH_COUNT(set_.package_index), 1u);
}

TEST_F(PackageIndexTest, EmptyPackageIsKeyedByTheEmptyName) {
    ASSERT_EQ(add("", "main"), add_result::accepted);
    ASSERT_EQ(HASH_COUNT(set_.package_index), 1u);
    package_entry* found = nullptr;
    HASH_FIND_STR(set_.package_index, "", found);
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found->name, "");
}

TEST_F(PackageIndexTest, LongNamesAreKeyedByTheirFirst127Bytes) {
    const std::string name(200, 'p');
    ASSERT_TRUE(index_package(set_.package_index, name.c_str()));
    // The same first 127 bytes are the same key.
    ASSERT_TRUE(index_package(set_.package_index, name.substr(0, 127).c_str()));
    ASSERT_EQ(HASH_COUNT(set_.package_index), 1u);
    EXPECT_EQ(std::string(set_.package_index->name), name.substr(0, 127));
}

TEST_F(PackageIndexTest, ReleaseEmptiesTheIndexAndKeepsTheCounts) {
    ASSERT_EQ(add("game", ""), add_result::accepted);
    ASSERT_EQ(add("com.*", ""), add_result::accepted);
    release_rule_set(set_);
    EXPECT_EQ(set_.package_index, nullptr);
    EXPECT_EQ(set_.table.count, 2u);
    EXPECT_EQ(set_.wildcards.count, 1u);
    // A second release (the destructor's) finds nothing left to free.
    release_rule_set(set_);
    EXPECT_EQ(set_.package_index, nullptr);
}
