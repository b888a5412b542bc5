// Hostile rule files and paths, each with its exact output and status. Every
// run has the harness's time limit, so a hang fails instead of stalling.
// Rules name only CPU 0, which every machine has.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "support/tool_runner.h"

namespace {

// 300 lines of 1 to 254 pseudo-random bytes (xorshift32, the same everywhere)
// between 'g' and 'z', without LF, '=' or NUL: each is reported verbatim.
file_case binary_garbage() {
    std::uint32_t state = 0x9e3779b9u;
    const auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<unsigned char>(state >> 24);
    };
    file_case c{"binary garbage", "", "", 1};
    for (std::size_t number = 1; number <= 300; ++number) {
        std::string line = "g";
        for (const std::size_t length = 1 + (next() | (next() << 8)) % 252; line.size() <= length;) {
            const unsigned char byte = next();
            if (byte != '\n' && byte != '=' && byte != '\0') line.push_back(static_cast<char>(byte));
        }
        c.bytes += line + "z\n";
        c.out += no_equals(number, line + "z");
    }
    c.out += no_rules;
    return c;
}

TEST(HostileInput, RuleFiles) {
    const std::string lf_lines(1000000, '\n');
    std::string crlf_lines;
    for (int i = 0; i < 1000000; ++i) crlf_lines += "\r\n";
    const std::string x253(253, 'x'), x254(254, 'x'), x255(255, 'x');
    // 'game=0' padded with blanks and a final '#' to the given length.
    const auto rule_of = [](std::size_t length) { return "game=0" + std::string(length - 7, ' ') + "#"; };
    const std::string nul(1, '\0');
    expect_cases({
        binary_garbage(),
        {"4096 NUL bytes: one line, too long", std::string(4096, '\0'), too_long(1) + no_rules, 1},
        {"lines of NUL bytes only", nul + "\n" + nul + nul + "\n" + nul, no_rules, 1},
        {"NUL before the '=' ends the text", "game" + nul + "=0\nh=0\n", no_equals(1, "game") + summary(1, 0), 1},
        {"NUL after the value hides the rest", "game=0" + nul + "junk{\n", summary(1, 0), 0},
        {"NUL after 3 bytes of a 255-byte line", "g=0" + nul + std::string(251, 'x') + "\nh=0\n",
         too_long(1) + summary(1, 0), 1},
        {"1,000,000 empty lines", lf_lines, no_rules, 1},
        {"1,000,000 CR LF lines", crlf_lines, no_rules, 1},
        {"a faulty line after 1,000,000 empty ones", lf_lines + "x", no_equals(1000001, "x") + no_rules, 1},
        {"254 bytes before LF", x254 + "\ny\n", no_equals(1, x254) + no_equals(2, "y") + no_rules, 1},
        {"255 bytes before LF, then a line", x255 + "\ny\n", too_long(1) + no_equals(2, "y") + no_rules, 1},
        {"253 bytes before CR LF", x253 + "\r\ny\r\n", no_equals(1, x253) + no_equals(2, "y") + no_rules, 1},
        {"254 bytes before CR LF", x254 + "\r\ny\r\n", too_long(1) + no_equals(2, "y") + no_rules, 1},
        {"255 bytes before CR LF", x255 + "\r\n", too_long(1) + no_rules, 1},
        {"254-byte comment", "#" + x253 + "\nh=0\n", summary(1, 0), 0},
        {"255-byte comments", "#" + x254 + "\n#" + x254 + "\n", too_long(1) + too_long(2) + no_rules, 1},
        {"last line of 254 bytes without LF", x254, no_equals(1, x254) + no_rules, 1},
        {"last line of 255 bytes without LF", "h=0\n" + x255, too_long(2) + summary(1, 0), 1},
        {"254-byte rule before LF", rule_of(254) + "\nh=0\n", summary(2, 0), 0},
        {"253-byte rule before CR LF", rule_of(253) + "\r\n", summary(1, 0), 0},
        {"255-byte rule before LF", rule_of(255) + "\n", too_long(1) + no_rules, 1},
        {"254-byte rule before CR LF", rule_of(254) + "\r\n", too_long(1) + no_rules, 1},
        {"bytes that are no UTF-8", "\xff\xfe.game=0\n", summary(1, 0), 0},
        {"invalid UTF-8 echoed byte for byte", "\xc3\x28=0\n\xc3\x28=0\n",
         "第 2 行重复规则：\xc3\x28{}=0\n" + summary(1, 0), 1},
        {"cut multi-byte sequence", "\xe4\xb8\n", no_equals(1, "\xe4\xb8") + no_rules, 1},
        {"encoded surrogate as a thread name", "game{\xed\xa0\x80}=0\n", summary(1, 0), 0},
        {"overlong encoding before a wildcard", "\xc0\xaf*=0\n", summary(1, 1), 0},
        {"control bytes in the package", "\x01\x02game\x7f=0\n", summary(1, 0), 0},
        {"an escape sequence's '[' makes a wildcard", "\x1b[31mgame\x1b[0m=0\n", summary(1, 1), 0},
        {"form feed and backspace make other packages", "\vgame\f=0\ngame\b=0\ngame=0\n", summary(3, 0), 0},
        {"a lone CR does not end a line", "a=0\rb=0\r", summary(1, 0), 0},
        {"ESC echoed", "\x1b[2J\n", no_equals(1, "\x1b[2J") + no_rules, 1},
    });
    expect_cases({{"a 100 MB line", "com.example.game=" + std::string(100 << 20, '0'), too_long(1) + no_rules, 1}});
}

TEST(HostileInput, Paths) {
    temp_dir dir;
    const std::string fifo = dir.path() + "/fifo", loop = dir.path() + "/a", self = dir.path() + "/self";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(symlink((dir.path() + "/b").c_str(), loop.c_str()), 0);
    ASSERT_EQ(symlink(loop.c_str(), (dir.path() + "/b").c_str()), 0);
    ASSERT_EQ(symlink(self.c_str(), self.c_str()), 0);
    // A FIFO has size 0, and a zero-length mapping is refused, without waiting for a writer.
    for (const auto& [path, out] : std::vector<std::pair<std::string, std::string>>{
             {fifo, "无法映射配置文件 " + fifo + ": Invalid argument\n"},
             {"/dev/null", "无法映射配置文件 /dev/null: Invalid argument\n"},
             {loop, "配置文件不存在: " + loop + "\n"},
             {self + "/applist.conf", "配置文件不存在: " + self + "/applist.conf\n"},
         }) {
        SCOPED_TRACE(path);
        const tool_run r = run_tool({"-c", path});
        EXPECT_EQ(r.out, out);
        EXPECT_EQ(r.status, 1);
    }
}

}  // namespace
