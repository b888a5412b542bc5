// read_present_cpus on files of every shape, and check_rule_cpus with its two
// messages.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "cpu_set_text.h"
#include "cpuset/cpuset.h"
#include "rules/rules.h"

namespace {

// A scratch directory holding one present file at a time.
class PresentCpus : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/present-cpus-test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        file = dir + "/present";
    }
    void TearDown() override {
        unlink(file.c_str());
        rmdir(dir.c_str());
    }

    struct read_outcome {
        std::string text;  // present_text up to its first NUL
        std::string cpus;
        bool rest_zero;    // every byte after that NUL is zero
    };

    read_outcome read_from(const std::string& path) {
        cpu_set_t set;
        CPU_ZERO(&set);
        char text[present_text_size] = {};
        read_present_cpus(set, text, path.c_str());
        read_outcome o{text, cpu_list_text(set), true};
        for (std::size_t i = o.text.size(); i < present_text_size; ++i) o.rest_zero = o.rest_zero && text[i] == 0;
        return o;
    }

    read_outcome read_bytes(const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
        return read_from(file);
    }

    std::string dir;
    std::string file;
};

TEST_F(PresentCpus, FileContents) {
    struct row {
        std::string bytes, text, cpus;
    };
    const std::vector<row> rows = {
        {"0-7\n", "0-7", "0-7"},
        {"0-3,6-7\n", "0-3,6-7", "0-3,6-7"},
        {"0\n", "0", "0"},
        {"0-7", "0-7", "0-7"},
        {"0-7 \t\r\n\n", "0-7", "0-7"},
        // Leading blanks stay in the text.
        {"  0-3\n", "  0-3", "0-3"},
        // Blanks only: the text keeps them all, no CPU is present.
        {" \n\t ", " \n\t ", ""},
        {"\n", "\n", ""},
        {"", "", ""},
        // Whatever items can be read are present.
        {"3-1,5\n", "3-1,5", "5"},
        {"0-3,2000\n", "0-3,2000", "0-3"},
        {"abc\n", "abc", ""},
    };
    for (const row& r : rows) {
        const read_outcome o = read_bytes(r.bytes);
        EXPECT_EQ(o.text, r.text) << "file '" << r.bytes << "'";
        EXPECT_EQ(o.cpus, r.cpus) << "file '" << r.bytes << "'";
    }
}

TEST_F(PresentCpus, OnlyTheFirst127BytesAreRead) {
    // 126 bytes of "1," then "5,7\n": the read stops right after the 5.
    std::string bytes;
    for (int i = 0; i < 63; ++i) bytes += "1,";
    const read_outcome o = read_bytes(bytes + "5,7\n");
    EXPECT_EQ(o.text, bytes + "5");
    EXPECT_EQ(o.text.size(), 127u);
    EXPECT_EQ(o.cpus, "1,5");
}

TEST_F(PresentCpus, AbsentOrUnreadableFileLeavesBothEmpty) {
    for (const std::string& path : {dir + "/missing", dir, std::string()}) {
        const read_outcome o = read_from(path);
        EXPECT_EQ(o.text, "") << "path '" << path << "'";
        EXPECT_EQ(o.cpus, "") << "path '" << path << "'";
        EXPECT_TRUE(o.rest_zero) << "path '" << path << "'";
    }
}

// check_rule_cpus against a given present list, as add_rule calls it.
struct checked {
    bool pass;
    std::string out;
    std::string cpus;
};

checked check(const char* present_list, const char* present_text, std::size_t line, const char* package,
              const char* thread, const char* value) {
    const cpu_set_t present = make_cpu_set(present_list);
    rule_set set;
    set.present_cpus = &present;
    set.present_text = present_text;
    rule r{};
    CPU_ZERO(&r.cpus);
    testing::internal::CaptureStdout();
    const bool pass = check_rule_cpus(set, line, package, thread, value, r);
    return {pass, testing::internal::GetCapturedStdout(), cpu_list_text(r.cpus)};
}

TEST(RuleCpuCheck, PassingValuesFillTheRuleCpus) {
    struct row {
        const char* value;
        const char* cpus;
    };
    for (const row& r : std::vector<row>{{"0-3", "0-3"},
                                         {"0-3 ", "0-3"},
                                         {"0,2000", "0"},
                                         {"0,-1", "0"},
                                         {"7", "7"},
                                         {"0x4,06", "4,6"}}) {
        const checked c = check("0-7", "0-7", 3, "game", "", r.value);
        EXPECT_TRUE(c.pass) << "value '" << r.value << "'";
        EXPECT_EQ(c.out, "") << "value '" << r.value << "'";
        EXPECT_EQ(c.cpus, r.cpus) << "value '" << r.value << "'";
    }
}

TEST(RuleCpuCheck, FailingValuesPrintOneMessage) {
    struct row {
        const char* present_list;
        const char* present_text;
        std::size_t line;
        const char* package;
        const char* thread;
        const char* value;
        std::string out;
    };
    const std::vector<row> rows = {
        {"0-7", "0-7", 3, "game", "", "8", "第 3 行无效 CPU 范围：8 在规则 game{}=8，超出可用 CPU (0-7)\n"},
        {"0-7", "0-7", 3, "game", "", "4-9", "第 3 行无效 CPU 范围：4-9 在规则 game{}=4-9，超出可用 CPU (0-7)\n"},
        {"0-7", "0-7", 3, "game", "", "9-4", "第 3 行无效 CPU 范围：9-4 在规则 game{}=9-4，超出可用 CPU (0-7)\n"},
        {"0-7", "0-7", 4, "game", "", "2000-1500",
         "第 4 行无效 CPU 范围：2000-1500 在规则 game{}=2000-1500，超出可用 CPU (0-7)\n"},
        {"0-7", "0-7", 5, "game", "main", "0-9 ", "第 5 行无效 CPU 范围：0-9 在规则 game{main}=0-9 ，超出可用 CPU (0-7)\n"},
        {"0-5", "0-5", 7, "com.example.game", "RenderThread", "4-7",
         "第 7 行无效 CPU 范围：4-7 在规则 com.example.game{RenderThread}=4-7，超出可用 CPU (0-5)\n"},
        {"0-3,6-7", "  0-3,6-7", 1, "a", "", "5",
         "第 1 行无效 CPU 范围：5 在规则 a{}=5，超出可用 CPU (  0-3,6-7)\n"},
        // No present CPU at all.
        {"", "", 1, "game", "", "0", "第 1 行无效 CPU 范围：0 在规则 game{}=0，超出可用 CPU ()\n"},
        // Nothing a set can hold: the second message, the value twice.
        {"0-7", "0-7", 2, "game", "", "abc", "第 2 行无效 CPU 范围：abc 在规则 game{}=abc，无有效 CPU\n"},
        {"0-7", "0-7", 2, "game", "", "2000", "第 2 行无效 CPU 范围：2000 在规则 game{}=2000，无有效 CPU\n"},
        {"0-7", "0-7", 2, "game", "t", "-1 ", "第 2 行无效 CPU 范围：-1  在规则 game{t}=-1 ，无有效 CPU\n"},
        {"", "", 2, "game", "", "2000", "第 2 行无效 CPU 范围：2000 在规则 game{}=2000，无有效 CPU\n"},
    };
    for (const row& r : rows) {
        const checked c = check(r.present_list, r.present_text, r.line, r.package, r.thread, r.value);
        EXPECT_FALSE(c.pass) << "value '" << r.value << "'";
        EXPECT_EQ(c.out, r.out) << "value '" << r.value << "'";
    }
}

}  // namespace
