// parse_rule_line: skip, reject (exact message and text) or parse (exact
// package, thread and value) for each line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli.h"

namespace {

struct row {
    std::string line;
    line_result result;
    std::string out;  // the message of a rejected line
    std::string package, thread, value;
};

// A rejected row: `kind` is the message text after the line number.
row bad(const std::string& line, const std::string& kind, const std::string& text) {
    return {line, line_result::rejected, "第 7 行无效规则：" + kind + ": " + text + "\n", "", "", ""};
}
row good(const std::string& line, const std::string& package, const std::string& thread, const std::string& value) {
    return {line, line_result::parsed, "", package, thread, value};
}
row skipped(const std::string& line) { return {line, line_result::skip, "", "", "", ""}; }

TEST(RuleLine, EachLineGivesItsResultMessageAndTexts) {
    const std::string p127(127, 'p'), p128(128, 'p'), t31(31, 't'), t32(32, 't');
    const std::string no_eq = "缺少 '='", long_name = "包名或线程名过长";
    const std::vector<row> rows = {
        skipped(""), skipped(" \t\v\f\r "), skipped("  # note"), skipped("#game=1"),
        // The first failing check decides; the text is the line up to the
        // first NUL written so far.
        bad("  game  #\t# \r", no_eq, "game"),
        bad("game # x", no_eq, "game # x"),
        bad("  =1", "键为空", ""),
        bad("game{main}= # x", "值为空", "game{main}"),
        bad("game =", "值为空", "game "),
        bad("game{main=1}", "缺少闭合 '}'", "game"),
        bad("game{}}=1", "线程名为空", "game"),
        bad("game {main} x=1", "'}' 后包含非法字符", "game "),
        bad("ga}me =1", "缺少 '{'", "ga}me "),
        // Lengths: the package as written, the thread after its leading blanks.
        good("   " + p127 + "{  " + t31 + "}=1", p127, t31, "1"),
        bad(p128 + "=1", long_name, p128),
        bad(p127.substr(1) + "  =1", long_name, p127.substr(1) + "  "),
        bad("game{ " + t32 + "}=1", long_name, "game"),
        bad("game{" + t31 + " }=1", long_name, "game"),
        // Texts kept as written.
        good(" \t game=  1 2 \r\n", "game", "", "1 2"),
        good("game {main}=1", "game ", "main", "1"),
        good("game{ main }  =1", "game", "main ", "1"),
        good("game#=1", "game#", "", "1"),
        good("game=0-3 # big", "game", "", "0-3 "),
        good("game{t}=1=2", "game", "t", "1=2"),
        good("a}{b}=1", "a}", "b", "1"),
        good("game{ma{in}=1{2}", "game", "ma{in", "1{2}"),
        good("{main}=1", "", "main", "1"),
        good("{ }=1", "", "", "1"),
        good("pkg{ }=1", "pkg", "", "1"),
    };
    for (const row& r : rows) {
        std::vector<char> buffer(r.line.begin(), r.line.end());  // exactly the line: overreads show under ASan
        buffer.push_back('\0');
        parsed_rule parsed;
        testing::internal::CaptureStdout();
        const line_result result = parse_rule_line(buffer.data(), 7, parsed);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(static_cast<int>(result), static_cast<int>(r.result)) << "line '" << r.line << "' printed " << out;
        EXPECT_EQ(out, r.out) << "line '" << r.line << "'";
        if (result != line_result::parsed || r.result != line_result::parsed) continue;
        EXPECT_EQ(parsed.package, r.package) << "line '" << r.line << "'";
        EXPECT_EQ(parsed.thread, r.thread) << "line '" << r.line << "'";
        EXPECT_EQ(parsed.value, r.value) << "line '" << r.line << "'";
    }
}

}  // namespace
