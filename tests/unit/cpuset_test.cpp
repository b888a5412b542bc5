// read_present_cpus on every shape of file: what it keeps of the text and
// which CPUs it finds.
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
    const std::string absent = std::string(dir) + "/absent";
    const std::string unopenable = file + "/present";  // below a regular file: fails for root too
    std::string ones;                                 // 126 bytes
    for (int i = 0; i < 63; ++i) ones += "1,";
    const struct {
        std::string bytes, path, text;
        int count;  // CPUs present
    } rows[] = {
        {"0-3,6-7\n", file, "0-3,6-7", 6}, {"  0-3 \t\r\n", file, "  0-3", 4}, {" \n\t ", file, " \n\t ", 0},
        {"", file, "", 0},                 {"x\n", file, "x", 0},              {ones + "5,7\n", file, ones + "5", 2},
        {"0", file, "0", 1},               {"0\n", absent, "", 0},             {"0\n", unopenable, "", 0},
        {"0\n", dir, "", 0},  // a directory opens, but its read fails
    };
    for (const auto& row : rows) {
        std::ofstream(file, std::ios::binary) << row.bytes;
        cpu_set_t set;
        CPU_ZERO(&set);
        char text[128] = {};
        read_present_cpus(set, text, row.path.c_str());
        EXPECT_EQ(std::string(text), row.text) << "file '" << row.bytes << "' at " << row.path;
        EXPECT_EQ(CPU_COUNT(&set), row.count) << "file '" << row.bytes << "' at " << row.path;
    }
    std::remove(file.c_str());
    rmdir(dir);
}
