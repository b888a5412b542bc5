// parse_rule_line: which lines are skipped, parsed or rejected, the exact
// message of each rejection, and the exact package, thread and value texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli.h"

namespace {

struct line_outcome {
    line_result result = line_result::skip;
    std::string out;  // everything printed
    std::string package, thread, value;
};

// Parses `text` from a buffer exactly as long as the line, so a read past
// its NUL shows up under the sanitizers.
line_outcome parse(const std::string& text, std::size_t line_number = 7) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    parsed_rule parsed;
    line_outcome outcome;
    testing::internal::CaptureStdout();
    outcome.result = parse_rule_line(buffer.data(), line_number, parsed);
    outcome.out = testing::internal::GetCapturedStdout();
    if (outcome.result == line_result::parsed) {
        outcome.package = parsed.package;
        outcome.thread = parsed.thread;
        outcome.value = parsed.value;
    }
    return outcome;
}

const char* name(line_result r) {
    switch (r) {
        case line_result::skip: return "skip";
        case line_result::rejected: return "rejected";
        case line_result::parsed: return "parsed";
    }
    return "?";
}

std::string repeat(char c, std::size_t n) { return std::string(n, c); }

// Messages of line 7.
std::string no_equals(const std::string& t) { return "第 7 行无效规则：缺少 '=': " + t + "\n"; }
std::string empty_key(const std::string& t) { return "第 7 行无效规则：键为空: " + t + "\n"; }
std::string empty_value(const std::string& t) { return "第 7 行无效规则：值为空: " + t + "\n"; }
std::string no_close(const std::string& t) { return "第 7 行无效规则：缺少闭合 '}': " + t + "\n"; }
std::string empty_thread(const std::string& t) { return "第 7 行无效规则：线程名为空: " + t + "\n"; }
std::string after_close(const std::string& t) { return "第 7 行无效规则：'}' 后包含非法字符: " + t + "\n"; }
std::string no_open(const std::string& t) { return "第 7 行无效规则：缺少 '{': " + t + "\n"; }
std::string too_long(const std::string& t) { return "第 7 行无效规则：包名或线程名过长: " + t + "\n"; }

TEST(RuleLine, BlankAndCommentLinesAreSkippedSilently) {
    const std::vector<std::string> lines = {
        "", " ", "\t\v\f\r ", "\r", "  # note", "#game=1", "#", "   #", "\t# a{b}=c", "##",
    };
    for (const std::string& line : lines) {
        const line_outcome o = parse(line);
        EXPECT_EQ(name(o.result), std::string("skip")) << "line '" << line << "'";
        EXPECT_EQ(o.out, "") << "line '" << line << "'";
    }
}

struct reject_row {
    std::string line;
    std::string message;
};

TEST(RuleLine, EachRejectionPrintsItsMessageWithItsText) {
    const std::vector<reject_row> rows = {
        // No '=': the whole line after trimming, its start and end.
        {"game", no_equals("game")},
        {"game#", no_equals("game")},
        {"  game  #\t# \r", no_equals("game")},
        {"game # x", no_equals("game # x")},
        {"a#", no_equals("a")},
        {"a \r", no_equals("a")},
        {"a{b}", no_equals("a{b}")},
        // Nothing before the '='.
        {"=1", empty_key("")},
        {"  =1", empty_key("")},
        {"==", empty_key("")},
        // Nothing after it but blanks or a comment: the key is shown whole,
        // braces included, because the braces are not cut yet.
        {"game=", empty_value("game")},
        {"game= # x", empty_value("game")},
        {"game=   \t", empty_value("game")},
        {"game=#1", empty_value("game")},
        {"game =", empty_value("game ")},
        {"game{main}=", empty_value("game{main}")},
        {"game{=", empty_value("game{")},
        // Brace faults show the package, the text before '{'.
        {"game{main=1", no_close("game")},
        {"game{main=1}", no_close("game")},
        {"game{=1", no_close("game")},
        {"game{}=1", empty_thread("game")},
        {"game{}}=1", empty_thread("game")},
        {"{}=1", empty_thread("")},
        {"game{main}x=1", after_close("game")},
        {"game{main} x=1", after_close("game")},
        {"game{main}{x}=1", after_close("game")},
        {"game{a}}=1", after_close("game")},
        {"game {main}\t#=1", after_close("game ")},
        // '}' with no '{' shows the whole key.
        {"game}=1", no_open("game}")},
        {"ga}me =1", no_open("ga}me ")},
        {"}=1", no_open("}")},
    };
    for (const reject_row& row : rows) {
        const line_outcome o = parse(row.line);
        EXPECT_EQ(name(o.result), std::string("rejected")) << "line '" << row.line << "'";
        EXPECT_EQ(o.out, row.message) << "line '" << row.line << "'";
    }
}

struct parse_row {
    std::string line;
    std::string package, thread, value;
};

TEST(RuleLine, ParsedTextsAreExactlyWhatTheLineHolds) {
    const std::vector<parse_row> rows = {
        {"game=1", "game", "", "1"},
        {"game{main}=0-3", "game", "main", "0-3"},
        {"com.example.game{RenderThread}=4-7", "com.example.game", "RenderThread", "4-7"},
        // Leading blanks of the line and of the value go; trailing ones of
        // the line go, CR included.
        {" \t game=1", "game", "", "1"},
        {"game=  \t1", "game", "", "1"},
        {"game=1 \r", "game", "", "1"},
        {"game=1\r", "game", "", "1"},
        {"game=1 2 ", "game", "", "1 2"},
        // Blanks before '{' or '=' belong to the package.
        {"game =1", "game ", "", "1"},
        {"game {main}=1", "game ", "main", "1"},
        // The thread loses leading blanks, keeps trailing ones.
        {"game{ main }=1", "game", "main ", "1"},
        {"game{\tmain}=1", "game", "main", "1"},
        // Blanks after '}' are allowed.
        {"game{main}  =1", "game", "main", "1"},
        {"game{main}\t=1", "game", "main", "1"},
        // A thread of blanks names no thread.
        {"pkg{ }=1", "pkg", "", "1"},
        {"pkg{\t \v}=1", "pkg", "", "1"},
        // Empty package with braces.
        {"{main}=1", "", "main", "1"},
        {"{ }=1", "", "", "1"},
        // '#' in the key is an ordinary byte; in the value it starts a
        // comment, and the blanks before it stay.
        {"game#=1", "game#", "", "1"},
        {"ga#me{ma#in}=1", "ga#me", "ma#in", "1"},
        {"game=0-3 # big", "game", "", "0-3 "},
        {"game=0-3#big", "game", "", "0-3"},
        {"game=0-3\t# big # cores", "game", "", "0-3\t"},
        {"game=1 #", "game", "", "1"},
        // A second '=' is part of the value.
        {"game=1=2", "game", "", "1=2"},
        {"game{t}==2", "game", "t", "=2"},
        // The first '{' splits; a '}' before it stays in the package; a '{'
        // inside the braces stays in the thread.
        {"a}{b}=1", "a}", "b", "1"},
        {"game}x{y}=1", "game}x", "y", "1"},
        {"game{ma{in}=1", "game", "ma{in", "1"},
        // Braces in the value are the value's.
        {"game=1{2}", "game", "", "1{2}"},
        // Wildcard characters are plain text here.
        {"com.[ab]*{Render?}=1", "com.[ab]*", "Render?", "1"},
        {"游戏{线程}=1", "游戏", "线程", "1"},
    };
    for (const parse_row& row : rows) {
        const line_outcome o = parse(row.line);
        EXPECT_EQ(name(o.result), std::string("parsed")) << "line '" << row.line << "' printed: " << o.out;
        EXPECT_EQ(o.out, "") << "line '" << row.line << "'";
        EXPECT_EQ(o.package, row.package) << "line '" << row.line << "'";
        EXPECT_EQ(o.thread, row.thread) << "line '" << row.line << "'";
        EXPECT_EQ(o.value, row.value) << "line '" << row.line << "'";
    }
}

TEST(RuleLine, PackageAndThreadLimits) {
    const std::string p127 = repeat('p', 127);
    const std::string p128 = repeat('p', 128);
    const std::string t31 = repeat('t', 31);
    const std::string t32 = repeat('t', 32);

    const std::vector<parse_row> parsed = {
        {p127 + "=1", p127, "", "1"},
        {p127 + "{" + t31 + "}=1", p127, t31, "1"},
        // Blanks before the line and before the thread do not count.
        {"   " + p127 + "=1", p127, "", "1"},
        {"game{  " + t31 + "}=1", "game", t31, "1"},
        // A trailing blank of the package does count: 126 + 1.
        {repeat('p', 126) + " =1", repeat('p', 126) + " ", "", "1"},
        {"game{" + repeat('t', 30) + " }=1", "game", repeat('t', 30) + " ", "1"},
    };
    for (const parse_row& row : parsed) {
        const line_outcome o = parse(row.line);
        EXPECT_EQ(name(o.result), std::string("parsed")) << "line '" << row.line << "' printed: " << o.out;
        EXPECT_EQ(o.package, row.package) << "line '" << row.line << "'";
        EXPECT_EQ(o.thread, row.thread) << "line '" << row.line << "'";
        EXPECT_EQ(o.value, row.value) << "line '" << row.line << "'";
    }

    const std::vector<reject_row> rejected = {
        {p128 + "=1", too_long(p128)},
        {p128 + "{main}=1", too_long(p128)},
        {repeat('p', 127) + " =1", too_long(repeat('p', 127) + " ")},
        {"game{" + t32 + "}=1", too_long("game")},
        {"game{ " + t32 + "}=1", too_long("game")},
        {"game{" + t31 + " }=1", too_long("game")},
        {p128 + "{" + t32 + "}=1", too_long(p128)},
    };
    for (const reject_row& row : rejected) {
        const line_outcome o = parse(row.line);
        EXPECT_EQ(name(o.result), std::string("rejected")) << "line '" << row.line << "'";
        EXPECT_EQ(o.out, row.message) << "line '" << row.line << "'";
    }
}

TEST(RuleLine, MessagesCarryTheGivenLineNumber) {
    EXPECT_EQ(parse("game", 1).out, "第 1 行无效规则：缺少 '=': game\n");
    EXPECT_EQ(parse("=1", 254).out, "第 254 行无效规则：键为空: \n");
    EXPECT_EQ(parse("game{}=1", SIZE_MAX).out, "第 18446744073709551615 行无效规则：线程名为空: game\n");
}

TEST(RuleLine, ParsedTextsPointIntoTheBuffer) {
    char buffer[] = "  game{main}=0-3 # c";
    parsed_rule parsed;
    testing::internal::CaptureStdout();
    ASSERT_EQ(parse_rule_line(buffer, 1, parsed), line_result::parsed);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(parsed.package, buffer + 2);
    EXPECT_EQ(parsed.thread, buffer + 7);
    EXPECT_EQ(parsed.value, buffer + 13);
    EXPECT_STREQ(parsed.value, "0-3 ");
}

}  // namespace
