// Shapes of the present-CPU file that no faked list can produce: blanks
// around the list, blanks only, more than 127 bytes, a failing read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "cpuset/cpuset.h"

TEST(PresentCpus, EachFileShape) {
    char dir[] = "/tmp/present-cpus-test.XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string file = std::string(dir) + "/present";
    std::string ones;  // 126 bytes
    for (int i = 0; i < 63; ++i) ones += "1,";
    const struct {
        std::string bytes, text;
        int count;  // CPUs present
    } rows[] = {
        {"0-3,6-7\n", "0-3,6-7", 6}, {"  0-3 \t\r\n", "  0-3", 4}, {" \n\t ", " \n\t ", 0},
        {"", "", 0},                 {"x\n", "x", 0},              {ones + "5,7\n", ones + "5", 2},
        {"0", "0", 1},               {"", "", 0},  // the directory: it opens, but its read fails
    };
    for (const auto& row : rows) {
        const bool directory = &row == &rows[std::size(rows) - 1];
        std::ofstream(file, std::ios::binary) << row.bytes;
        cpu_set_t set;
        CPU_ZERO(&set);
        char text[128] = {};
        read_present_cpus(set, text, directory ? dir : file.c_str());
        EXPECT_EQ(std::string(text), row.text) << "file '" << row.bytes << "'";
        EXPECT_EQ(CPU_COUNT(&set), row.count) << "file '" << row.bytes << "'";
    }
    std::remove(file.c_str());
    rmdir(dir);
}
