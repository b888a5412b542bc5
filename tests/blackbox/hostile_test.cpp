// Hostile rule files and paths: binary garbage, NUL bytes, huge lines, a
// million lines, lines right at the length limit, broken UTF-8, control
// characters, and -c naming a FIFO, /dev/null or a symlink loop. Each has its
// exact output and status. Rules name only CPU 0, which every machine has.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "support/tool_runner.h"

namespace {

// Every run gets a time limit, so a hang fails the test instead of stalling
// it: a generous one for the big files, a short one where nothing is read.
constexpr unsigned big_file_timeout_seconds = 120;
constexpr unsigned no_read_timeout_seconds = 10;

const std::string no_rules = "未加载有效规则\n";

std::string summary(std::size_t rules, std::size_t wildcards) {
    return "配置文件解析完成，共加载 " + std::to_string(rules) + " 条规则，" + std::to_string(wildcards) +
           " 条通配符规则\n";
}

std::string too_long(std::size_t line) { return "第 " + std::to_string(line) + " 行过长\n"; }

std::string missing_equals(std::size_t line, const std::string& text) {
    return "第 " + std::to_string(line) + " 行无效规则：缺少 '=': " + text + "\n";
}

tool_run run_on(const std::string& path, unsigned timeout_seconds = big_file_timeout_seconds) {
    run_options options;
    options.timeout_seconds = timeout_seconds;
    return run_tool({"-c", path}, options);
}

tool_run run_with_file(const std::string& bytes) {
    temp_dir dir;
    return run_on(dir.write("applist.conf", bytes));
}

struct file_case {
    const char* name;
    std::string bytes;
    std::string out;
    int status;
};

void expect_cases(const std::vector<file_case>& cases) {
    for (const file_case& c : cases) {
        SCOPED_TRACE(c.name);
        const tool_run r = run_with_file(c.bytes);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, "");
    }
}

// Deterministic pseudo-random bytes (xorshift32), the same on every machine.
struct byte_source {
    std::uint32_t state = 0x9e3779b9u;
    unsigned char next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<unsigned char>(state >> 24);
    }
};

bool is_blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// How a line without '=' must be reported: its text ends at the first NUL,
// leading blanks go, trailing blanks and '#' go except the first byte left,
// and a line then empty or starting with '#' is skipped (empty result).
std::string expected_for_line_without_equals(std::size_t number, const std::string& line) {
    std::string text = line.substr(0, line.find('\0'));
    std::size_t start = 0;
    while (start < text.size() && is_blank(text[start])) ++start;
    text.erase(0, start);
    if (text.empty()) return "";
    while (text.size() > 1 && (is_blank(text.back()) || text.back() == '#')) text.pop_back();
    if (text[0] == '#') return "";
    return missing_equals(number, text);
}

}  // namespace

TEST(HostileInput, BinaryGarbageIsReportedLineByLineAndLoadsNothing) {
    // 300 lines of 1 to 254 bytes of every value but '\n' and '=': NULs,
    // blanks, '#', braces, control and high bytes.
    byte_source random;
    std::string file;
    std::string expected;
    for (std::size_t number = 1; number <= 300; ++number) {
        const std::size_t low = random.next();
        const std::size_t length = 1 + (low | (std::size_t{random.next()} << 8)) % 254;
        std::string line;
        while (line.size() < length) {
            const unsigned char byte = random.next();
            if (byte != '\n' && byte != '=') line.push_back(static_cast<char>(byte));
        }
        file += line + "\n";
        expected += expected_for_line_without_equals(number, line);
    }
    ASSERT_NE(expected, "");
    const tool_run r = run_with_file(file);
    EXPECT_EQ(r.out, expected + no_rules);
    EXPECT_EQ(r.status, 1);
}

TEST(HostileInput, NulBytes) {
    expect_cases({
        {"4096 NUL bytes: one line, too long", std::string(4096, '\0'), too_long(1) + no_rules, 1},
        {"100 NUL bytes: one empty line", std::string(100, '\0'), no_rules, 1},
        {"lines of NUL bytes only", std::string("\0\n\0\0\n\0", 6), no_rules, 1},
        {"NUL before the '=' ends the text", std::string("game\0=0\n", 8), missing_equals(1, "game") + no_rules, 1},
        {"NUL after the value hides the rest", std::string("game=0\0junk{\n", 13), summary(1, 0), 0},
    });
}

TEST(HostileInput, HundredMegabyteLineIsTooLong) {
    temp_dir dir;
    const std::string path = dir.path() + "/huge.conf";
    {
        std::ofstream out(path, std::ios::binary);
        out << "com.example.game=";
        const std::string chunk(1 << 20, '0');
        for (int i = 0; i < 100; ++i) out << chunk;
        ASSERT_TRUE(out.good());
    }
    const tool_run r = run_on(path);
    EXPECT_EQ(r.out, too_long(1) + no_rules);
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(unlink(path.c_str()), 0);
}

TEST(HostileInput, MillionEmptyLines) {
    const std::string lf_lines(1000000, '\n');
    std::string crlf_lines;
    for (int i = 0; i < 1000000; ++i) crlf_lines += "\r\n";
    expect_cases({
        {"1,000,000 empty lines", lf_lines, no_rules, 1},
        {"1,000,000 CR LF lines", crlf_lines, no_rules, 1},
        {"a faulty line after 1,000,000 empty ones keeps its number", lf_lines + "x",
         missing_equals(1000001, "x") + no_rules, 1},
        {"a rule after 1,000,000 empty lines loads", lf_lines + "game=0\n", summary(1, 0), 0},
    });
}

TEST(HostileInput, LinesAtTheLengthLimit) {
    const std::string x253(253, 'x');
    const std::string x254(254, 'x');
    const std::string x255(255, 'x');
    // 'game=0' padded with blanks and a trailing '#' to the given length.
    const auto rule_of = [](std::size_t length) { return "game=0" + std::string(length - 7, ' ') + "#"; };
    expect_cases({
        {"254 bytes before LF are examined", x254 + "\ny\n",
         missing_equals(1, x254) + missing_equals(2, "y") + no_rules, 1},
        {"255 bytes before LF are too long, the next line is read", x255 + "\ny\n",
         too_long(1) + missing_equals(2, "y") + no_rules, 1},
        {"253 bytes before CR LF are examined, the CR trimmed", x253 + "\r\ny\r\n",
         missing_equals(1, x253) + missing_equals(2, "y") + no_rules, 1},
        {"254 bytes before CR LF are too long: the CR counts", x254 + "\r\ny\r\n",
         too_long(1) + missing_equals(2, "y") + no_rules, 1},
        {"255 bytes before CR LF are too long", x255 + "\r\n", too_long(1) + no_rules, 1},
        {"a 255-byte comment is too long", std::string(255, '#') + "\n", too_long(1) + no_rules, 1},
        {"a last line of 254 bytes without LF is examined", x254, missing_equals(1, x254) + no_rules, 1},
        {"a last line of 255 bytes without LF is too long", x255, too_long(1) + no_rules, 1},
        {"a rule of 254 bytes before LF loads", rule_of(254) + "\n", summary(1, 0), 0},
        {"a rule of 253 bytes before CR LF loads", rule_of(253) + "\r\n", summary(1, 0), 0},
        {"a rule of 255 bytes before LF is too long", rule_of(255) + "\n", too_long(1) + no_rules, 1},
        {"a rule of 254 bytes before CR LF is too long", rule_of(254) + "\r\n", too_long(1) + no_rules, 1},
    });
}

TEST(HostileInput, InvalidUtf8InPackageNames) {
    expect_cases({
        {"bytes that are no UTF-8 are an ordinary package", "\xff\xfe.game=0\n", summary(1, 0), 0},
        {"an invalid sequence is echoed byte for byte", "\xc3\x28=0\n\xc3\x28=0\n",
         "第 2 行重复规则：\xc3\x28{}=0\n" + summary(1, 0), 1},
        {"a cut multi-byte sequence is echoed byte for byte", "\xe4\xb8\n", missing_equals(1, "\xe4\xb8") + no_rules, 1},
        {"an encoded surrogate as a thread name", "game{\xed\xa0\x80}=0\n", summary(1, 0), 0},
        {"an overlong encoding before a wildcard", "\xc0\xaf*=0\n", summary(1, 1), 0},
    });
}

TEST(HostileInput, ControlCharacters) {
    expect_cases({
        {"control bytes are part of the package", "\x01\x02game\x7f=0\n", summary(1, 0), 0},
        {"an escape sequence's '[' makes a wildcard rule", "\x1b[31mgame\x1b[0m=0\n", summary(1, 1), 0},
        {"a form feed before '=' stays in the package", "\vgame\f=0\ngame=0\n", summary(2, 0), 0},
        {"a backspace makes another package", "game\b=0\ngame=0\n", summary(2, 0), 0},
        {"a lone CR does not end a line", "a=0\rb=0\r", summary(1, 0), 0},
        {"DEL alone is a line without '='", "\x7f\n", missing_equals(1, "\x7f") + no_rules, 1},
        {"tabs around every part", "\tgame\t=\t0\t#\tnote\n", summary(1, 0), 0},
        {"ESC in a rejected line is echoed", "\x1b[2J\n", missing_equals(1, "\x1b[2J") + no_rules, 1},
    });
}

TEST(HostileInput, FifoIsRefusedWithoutWaitingForAWriter) {
    temp_dir dir;
    const std::string fifo = dir.path() + "/applist.conf";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const tool_run r = run_on(fifo, no_read_timeout_seconds);
    // A FIFO has size 0, and a zero-length mapping is refused.
    EXPECT_EQ(r.out, "无法映射配置文件 " + fifo + ": Invalid argument\n");
    EXPECT_EQ(r.status, 1);
}

TEST(HostileInput, DevNullIsRefusedByTheMapping) {
    const tool_run r = run_on("/dev/null", no_read_timeout_seconds);
    EXPECT_EQ(r.out, "无法映射配置文件 /dev/null: Invalid argument\n");
    EXPECT_EQ(r.status, 1);
}

TEST(HostileInput, SymlinkLoopIsAFileThatDoesNotExist) {
    temp_dir dir;
    const std::string a = dir.path() + "/a";
    const std::string b = dir.path() + "/b";
    const std::string self = dir.path() + "/self";
    ASSERT_EQ(symlink(b.c_str(), a.c_str()), 0);
    ASSERT_EQ(symlink(a.c_str(), b.c_str()), 0);
    ASSERT_EQ(symlink(self.c_str(), self.c_str()), 0);
    for (const std::string& path : {a, self + "/applist.conf"}) {
        SCOPED_TRACE(path);
        const tool_run r = run_on(path, no_read_timeout_seconds);
        EXPECT_EQ(r.out, "配置文件不存在: " + path + "\n");
        EXPECT_EQ(r.status, 1);
    }
}
