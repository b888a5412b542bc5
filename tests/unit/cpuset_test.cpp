// parse_cpu_ranges, read_present_cpus and check_rule_cpus.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "cpuset/cpuset.h"
#include "rules/rules.h"

namespace {

// "0-3,6" for CPUs 0 to 3 and 6, written without the parser under test.
std::string cpu_list_text(const cpu_set_t& set) {
    std::string text;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (!CPU_ISSET(cpu, &set)) continue;
        int last = cpu;
        while (last + 1 < CPU_SETSIZE && CPU_ISSET(last + 1, &set)) ++last;
        text += (text.empty() ? "" : ",") + std::to_string(cpu) + (last != cpu ? "-" + std::to_string(last) : "");
        cpu = last;
    }
    return text;
}

cpu_set_t cpus_below(int n) {
    cpu_set_t set;
    CPU_ZERO(&set);
    for (int cpu = 0; cpu < n; ++cpu) CPU_SET(cpu, &set);
    return set;
}

TEST(CpuList, ResultSetAndErrorTextOfEachList) {
    struct row {
        std::string text;
        bool check;  // every CPU must be in 0-7
        int result;
        std::string set, error;  // error "" when nothing failed
    };
    const std::vector<row> rows = {
        {"", false, 1, "", ""},
        {"abc", false, 1, "", ""},
        {"0-3", false, 1, "0-3", ""},
        {"0-3,6", false, 1, "0-3,6", ""},
        {"0 2;4", false, 1, "0,2,4", ""},
        {"0x10", false, 1, "16", ""},  // the first number is read with base 0,
        {"010", false, 1, "8", ""},
        {"08", false, 1, "0,8", ""},
        {"1-010", false, 1, "1-10", ""},  // the range end in decimal
        {"5- 7", false, 1, "5-7", ""},
        {"5--3", false, 1, "5-1023", ""},
        {"-1", false, 1, "", ""},
        {"0,-1", false, 1, "0", ""},
        {"-3-5", false, 0, "", "18446744073709551613-5"},
        {"3 -5", false, 1, "3", ""},
        {"1-2-3", false, 1, "1-2", ""},
        {"5-", false, 1, "5", ""},
        {"5-,7", false, 1, "5,7", ""},
        {"3-1", false, 0, "", "3-1"},
        {"3-1,4", false, 0, "4", "3-1"},
        {"2000", false, 1, "", ""},
        {"1000-2000", false, 1, "1000-1023", ""},
        {"6-9", true, 0, "6-7", "6-9"},
        {"9", true, 0, "", "9"},
        {"8-8", true, 0, "", "8"},
        {"0-3,9,5", true, 0, "0-3,5", "9"},
        {"2000", true, 1, "", ""},
        {"5--3", true, 0, "5-7", "5-18446744073709551613"},
    };
    const cpu_set_t check = cpus_below(8);
    for (const row& r : rows) {
        std::vector<char> text(r.text.begin(), r.text.end());  // exactly the text: overreads show under ASan
        text.push_back('\0');
        cpu_set_t set;
        CPU_ZERO(&set);
        char err[cpu_error_size] = "";
        const int result = parse_cpu_ranges(text.data(), &set, r.check ? &check : nullptr, err, sizeof err);
        const std::string where = "'" + r.text + "'" + (r.check ? " in 0-7" : "");
        EXPECT_EQ(result, r.result) << where;
        EXPECT_EQ(cpu_list_text(set), r.set) << where;
        EXPECT_STREQ(err, r.error.c_str()) << where;
        EXPECT_EQ(std::string(text.data()), r.text) << where << " changed";
    }
}

TEST(CpuList, SetBitsStayAndErrorTextIsCut) {
    const cpu_set_t check = cpus_below(8);
    for (const cpu_set_t* c : {static_cast<const cpu_set_t*>(nullptr), &check}) {
        cpu_set_t set;
        CPU_ZERO(&set);
        CPU_SET(2, &set);
        CPU_SET(1023, &set);
        EXPECT_EQ(parse_cpu_ranges("3-1,5,9", &set, c, nullptr, 64), 0);
        EXPECT_EQ(cpu_list_text(set), c == nullptr ? "2,5,9,1023" : "2,5,1023");
    }
    for (std::size_t size : {23, 22, 4, 1}) {
        char err[32];
        std::memset(err, '@', sizeof err);
        cpu_set_t set;
        CPU_ZERO(&set);
        EXPECT_EQ(parse_cpu_ranges("-3-5", &set, nullptr, err, size), 0);
        EXPECT_EQ(std::string(err), std::string("18446744073709551613-5").substr(0, size - 1)) << "size " << size;
        EXPECT_EQ(err[size], '@') << "wrote past size " << size;
    }
    char kept[8] = "kept";
    cpu_set_t set;
    CPU_ZERO(&set);
    EXPECT_EQ(parse_cpu_ranges("9", &set, &check, kept, 0), 0);
    EXPECT_STREQ(kept, "kept");
}

TEST(PresentCpus, EachFileShape) {
    char dir_pattern[] = "/tmp/present-cpus-test.XXXXXX";
    ASSERT_NE(mkdtemp(dir_pattern), nullptr);
    const std::string dir = dir_pattern, file = dir + "/present";
    std::string long_text;
    for (int i = 0; i < 63; ++i) long_text += "1,";
    struct row {
        std::string bytes, text, cpus;
        bool absent;
    };
    const std::vector<row> rows = {
        {"0-7\n", "0-7", "0-7", false},
        {"0-3,6-7\n", "0-3,6-7", "0-3,6-7", false},
        {"  0-3 \t\r\n", "  0-3", "0-3", false},
        {" \n\t ", " \n\t ", "", false},  // blanks only: kept, no CPU
        {"", "", "", false},
        {long_text + "5,7\n", long_text + "5", "1,5", false},  // 127 bytes are read
        {"0-7\n", "", "", true},
    };
    for (const row& r : rows) {
        if (r.absent)
            std::remove(file.c_str());
        else
            std::ofstream(file, std::ios::binary) << r.bytes;
        cpu_set_t set;
        CPU_ZERO(&set);
        char text[present_text_size] = {};
        read_present_cpus(set, text, file.c_str());
        EXPECT_EQ(std::string(text), r.text) << "file '" << r.bytes << "'" << (r.absent ? " absent" : "");
        EXPECT_EQ(cpu_list_text(set), r.cpus) << "file '" << r.bytes << "'" << (r.absent ? " absent" : "");
    }
    rmdir(dir.c_str());
}

TEST(RuleCpuCheck, PassOrOneMessage) {
    struct row {
        const char* thread;
        const char* value;
        bool pass;
        std::string out, cpus;
    };
    const std::vector<row> rows = {
        {"", "0,2000", true, "", "0"},
        {"main", "0-3,9 ", false, "第 5 行无效 CPU 范围：9 在规则 game{main}=0-3,9 ，超出可用 CPU ( 0-7)\n", ""},
        {"", "2000", false, "第 5 行无效 CPU 范围：2000 在规则 game{}=2000，无有效 CPU\n", ""},
    };
    const cpu_set_t present = cpus_below(8);
    rule_set set;
    set.present_cpus = &present;
    set.present_text = " 0-7";
    for (const row& r : rows) {
        rule out{};
        CPU_ZERO(&out.cpus);
        testing::internal::CaptureStdout();
        const bool pass = check_rule_cpus(set, 5, "game", r.thread, r.value, out);
        EXPECT_EQ(pass, r.pass) << r.value;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), r.out) << r.value;
        if (pass) {
            EXPECT_EQ(cpu_list_text(out.cpus), r.cpus) << r.value;
        }
    }
}

}  // namespace
