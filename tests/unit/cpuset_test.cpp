// Shapes of the present-CPU file that no faked list can produce: blanks
// around the list, blanks only, more than 127 bytes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "cpuset/cpuset.h"

namespace {

// The set as "0-3,6", written without the parser under test.
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

}  // namespace

TEST(PresentCpus, EachFileShape) {
    char dir[] = "/tmp/present-cpus-test.XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string file = std::string(dir) + "/present";
    std::string ones;
    for (int i = 0; i < 63; ++i) ones += "1,";
    const struct {
        std::string bytes, text, cpus;
    } rows[] = {
        {"0-3,6-7\n", "0-3,6-7", "0-3,6-7"},
        {"  0-3 \t\r\n", "  0-3", "0-3"},
        {" \n\t ", " \n\t ", ""},
        {"", "", ""},
        {"x\n", "x", ""},
        {ones + "5,7\n", ones + "5", "1,5"},
    };
    for (const auto& row : rows) {
        std::ofstream(file, std::ios::binary) << row.bytes;
        cpu_set_t set;
        CPU_ZERO(&set);
        char text[128] = {};
        read_present_cpus(set, text, file.c_str());
        EXPECT_EQ(std::string(text), row.text) << "file '" << row.bytes << "'";
        EXPECT_EQ(cpu_list_text(set), row.cpus) << "file '" << row.bytes << "'";
    }
    std::remove(file.c_str());
    rmdir(dir);
}
