// Rules checked against the present CPUs, with the present-CPU file faked (or
// hidden) in a private mount namespace so the output does not depend on the
// machine.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/tool_runner.h"

namespace {

// A CPU not present, or a reversed range.
std::string not_present(std::size_t line, const std::string& item, const std::string& rule,
                        const std::string& present) {
    return "第 " + std::to_string(line) + " 行无效 CPU 范围：" + item + " 在规则 " + rule + "，超出可用 CPU (" +
           present + ")\n";
}

// Nothing a CPU set can hold.
std::string no_cpu(std::size_t line, const std::string& value, const std::string& rule) {
    return "第 " + std::to_string(line) + " 行无效 CPU 范围：" + value + " 在规则 " + rule + "，无有效 CPU\n";
}

struct cpu_case {
    const char* present;  // the present-CPU file's text; nullptr: no such file
    std::string bytes;
    std::string out;
    int status;
};

TEST(CpuCheck, RulesAgainstThePresentCpus) {
    REQUIRE_MOUNT_NAMESPACE();
    const std::string line7 = "# game rules\n\n# big cores\n\n\n\ncom.example.game{RenderThread}=4-7\n";
    const std::string example_path = std::string(__FILE__).substr(0, std::string(__FILE__).rfind("/tests/")) +
                                     "/examples/applist.conf";
    std::ostringstream example;
    example << std::ifstream(example_path).rdbuf();
    const std::string p = "0-7";
    const std::vector<cpu_case> cases = {
        {"0-7\n", line7, summary(1, 0), 0},
        {"0-5\n", line7, not_present(7, "4-7", "com.example.game{RenderThread}=4-7", "0-5") + no_rules, 1},
        {"0-7\n",
         "# big cores\ncom.example.game{RenderThread}=4-7\ncom.example.game=0-3\ncom.example.*=0-7\n"
         "com.example.game=1\n",
         "第 5 行重复规则：com.example.game{}=1\n" + summary(3, 1), 1},
        {nullptr, "game=0\nother=abc\n",
         not_present(1, "0", "game{}=0", "") + no_cpu(2, "abc", "other{}=abc") + no_rules, 1},
        {"0-7\n", "# x\n\ngame=8\n", not_present(3, "8", "game{}=8", p) + no_rules, 1},
        {"0-7\n", "game=2000-1500\n", not_present(1, "2000-1500", "game{}=2000-1500", p) + no_rules, 1},
        {"0-7\n", "game=0-3,9,5\n", not_present(1, "9", "game{}=0-3,9,5", p) + no_rules, 1},
        {"0-7\n", "game=5--3\n", not_present(1, "5-18446744073709551613", "game{}=5--3", p) + no_rules, 1},
        {"0-7\n", "game{main}=abc\n", no_cpu(1, "abc", "game{main}=abc") + no_rules, 1},
        {"0-7\n", "game=2000\n", no_cpu(1, "2000", "game{}=2000") + no_rules, 1},
        // The value keeps the blanks before its comment; CR is trimmed.
        {"0-7\n", "game=0-9 # x\n", not_present(1, "0-9", "game{}=0-9 ", p) + no_rules, 1},
        {"0-7\n", "game=8\r\n", not_present(1, "8", "game{}=8", p) + no_rules, 1},
        // Items beyond what a CPU set holds are dropped.
        {"0-7\n", "game=0,2000\nother=0,-1\nfourth=0x7,2000-3000\n", summary(3, 0), 0},
        {"0-3,6-7\n", "a=4\nb=5\nc=6\nd=3\ne=0-7\nf=6-7,0-3\n",
         not_present(1, "4", "a{}=4", "0-3,6-7") + not_present(2, "5", "b{}=5", "0-3,6-7") +
             not_present(5, "0-7", "e{}=0-7", "0-3,6-7") + summary(3, 0), 1},
        {"  0-7 \t\n", "game=8\n", not_present(1, "8", "game{}=8", "  0-7") + no_rules, 1},
        {"0-7\n", example.str(), summary(8, 3), 0},
    };
    for (const cpu_case& c : cases) {
        SCOPED_TRACE("present '" + std::string(c.present != nullptr ? c.present : "(none)") + "' file '" +
                     c.bytes + "'");
        run_options options;
        options.present = c.present != nullptr ? present_mode::faked : present_mode::absent;
        options.present_text = c.present != nullptr ? c.present : "";
        const tool_run r = run_on(c.bytes, options);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, "");
    }
}

}  // namespace
