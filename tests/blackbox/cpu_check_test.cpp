// Rules checked against the present CPUs, with the present-CPU file faked (or
// hidden) in a private mount namespace so the output does not depend on the
// machine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/tool_runner.h"

namespace {

std::string summary(std::size_t rules, std::size_t wildcards) {
    return "配置文件解析完成，共加载 " + std::to_string(rules) + " 条规则，" + std::to_string(wildcards) +
           " 条通配符规则\n";
}

const std::string no_rules = "未加载有效规则\n";

// "...超出可用 CPU (present)": a CPU not present, or a reversed range.
std::string not_present(std::size_t line, const std::string& item, const std::string& rule,
                        const std::string& present) {
    return "第 " + std::to_string(line) + " 行无效 CPU 范围：" + item + " 在规则 " + rule + "，超出可用 CPU (" +
           present + ")\n";
}

// "...无有效 CPU": nothing a CPU set can hold.
std::string no_cpu(std::size_t line, const std::string& value, const std::string& rule) {
    return "第 " + std::to_string(line) + " 行无效 CPU 范围：" + value + " 在规则 " + rule + "，无有效 CPU\n";
}

tool_run run_with_present(const std::string& present, const std::string& bytes) {
    temp_dir dir;
    run_options options;
    options.present = present_mode::faked;
    options.present_text = present;
    return run_tool({"-c", dir.write("applist.conf", bytes)}, options);
}

struct cpu_row {
    std::string present;  // content of the present-CPU file
    std::string bytes;    // the rule file
    std::string out;
    int status;
};

void expect_runs(const std::vector<cpu_row>& rows) {
    for (const cpu_row& row : rows) {
        const tool_run r = run_with_present(row.present, row.bytes);
        EXPECT_EQ(r.out, row.out) << "present '" << row.present << "' file '" << row.bytes << "'";
        EXPECT_EQ(r.status, row.status) << "present '" << row.present << "' file '" << row.bytes << "'";
    }
}

TEST(CpuCheck, RoadOfOneLine) {
    REQUIRE_MOUNT_NAMESPACE();
    const std::string file = "# game rules\n\n# big cores\n\n\n\ncom.example.game{RenderThread}=4-7\n";
    expect_runs({
        {"0-7\n", file, summary(1, 0), 0},
        {"0-5\n", file, not_present(7, "4-7", "com.example.game{RenderThread}=4-7", "0-5") + no_rules, 1},
    });
}

TEST(CpuCheck, FiveLineExample) {
    REQUIRE_MOUNT_NAMESPACE();
    expect_runs({{"0-7\n",
                  "# big cores\n"
                  "com.example.game{RenderThread}=4-7\n"
                  "com.example.game=0-3\n"
                  "com.example.*=0-7\n"
                  "com.example.game=1\n",
                  "第 5 行重复规则：com.example.game{}=1\n" + summary(3, 1), 1}});
}

TEST(CpuCheck, BothMessages) {
    REQUIRE_MOUNT_NAMESPACE();
    const std::string p = "0-7";
    expect_runs({
        {"0-7\n", "# x\n\ngame=8\n", not_present(3, "8", "game{}=8", p) + no_rules, 1},
        {"0-7\n", "game=4-9\n", not_present(1, "4-9", "game{}=4-9", p) + no_rules, 1},
        {"0-7\n", "game=9-4\n", not_present(1, "9-4", "game{}=9-4", p) + no_rules, 1},
        {"0-7\n", "game=2000-1500\n", not_present(1, "2000-1500", "game{}=2000-1500", p) + no_rules, 1},
        {"0-7\n", "game=0-3,9,5\n", not_present(1, "9", "game{}=0-3,9,5", p) + no_rules, 1},
        {"0-7\n", "game=5--3\n", not_present(1, "5-18446744073709551613", "game{}=5--3", p) + no_rules, 1},
        {"0-7\n", "game{main}=abc\n", no_cpu(1, "abc", "game{main}=abc") + no_rules, 1},
        {"0-7\n", "game=2000\n", no_cpu(1, "2000", "game{}=2000") + no_rules, 1},
        {"0-7\n", "game=-1\n", no_cpu(1, "-1", "game{}=-1") + no_rules, 1},
        // The value keeps the blanks before its comment; CR is trimmed.
        {"0-7\n", "game=0-9 # x\n", not_present(1, "0-9", "game{}=0-9 ", p) + no_rules, 1},
        {"0-7\n", "game=8\r\n", not_present(1, "8", "game{}=8", p) + no_rules, 1},
        {"0-7\n", "pkg{ }=abc # y\n", no_cpu(1, "abc ", "pkg{}=abc ") + no_rules, 1},
    });
}

TEST(CpuCheck, ItemsAboveTheSetAreDropped) {
    REQUIRE_MOUNT_NAMESPACE();
    expect_runs({
        {"0-7\n", "game=0,2000\nother=0,-1\nthird=0-3 # small\nfourth=0x7,2000-3000\n", summary(4, 0), 0},
    });
}

TEST(CpuCheck, PresentListWithAGap) {
    REQUIRE_MOUNT_NAMESPACE();
    const std::string p = "0-3,6-7";
    expect_runs({{"0-3,6-7\n", "a=4\nb=5\nc=6\nd=3\ne=0-7\nf=6-7,0-3\n",
                  not_present(1, "4", "a{}=4", p) + not_present(2, "5", "b{}=5", p) +
                      not_present(5, "0-7", "e{}=0-7", p) + summary(3, 0),
                  1}});
}

TEST(CpuCheck, PresentTextAsTheMessageShowsIt) {
    REQUIRE_MOUNT_NAMESPACE();
    std::string ones;  // 126 bytes: the read of 127 ends right after the next CPU
    for (int i = 0; i < 63; ++i) ones += "1,";
    expect_runs({
        // Leading blanks stay, trailing blanks go.
        {"  0-7 \t\n", "game=8\n", not_present(1, "8", "game{}=8", "  0-7") + no_rules, 1},
        // Blanks only: no CPU present, the blanks stay.
        {"  \n", "game=0\n", not_present(1, "0", "game{}=0", "  \n") + no_rules, 1},
        // Empty file: no CPU present, nothing shown.
        {"", "game=0\n", not_present(1, "0", "game{}=0", "") + no_rules, 1},
        // Only the first 127 bytes are read: CPU 7 is not present.
        {ones + "5,7\n", "a=5\nb=7\n", not_present(2, "7", "b{}=7", ones + "5") + summary(1, 0), 1},
    });
}

TEST(CpuCheck, AbsentPresentFileRejectsEveryCpu) {
    REQUIRE_MOUNT_NAMESPACE();
    temp_dir dir;
    run_options options;
    options.present = present_mode::absent;
    const tool_run r = run_tool({"-c", dir.write("applist.conf", "game=0\nother=abc\n")}, options);
    EXPECT_EQ(r.out, not_present(1, "0", "game{}=0", "") + no_cpu(2, "abc", "other{}=abc") + no_rules);
    EXPECT_EQ(r.status, 1);
}

TEST(CpuCheck, ExampleFileLoadsCleanly) {
    REQUIRE_MOUNT_NAMESPACE();
    const std::string source = __FILE__;
    const std::string example = source.substr(0, source.rfind("/tests/")) + "/examples/applist.conf";
    run_options options;
    options.present = present_mode::faked;
    options.present_text = "0-7\n";
    const tool_run r = run_tool({"-c", example}, options);
    EXPECT_EQ(r.out, summary(8, 3));
    EXPECT_EQ(r.status, 0);
}

}  // namespace
