// The command as a script sees it: options, access to the rule file, line
// numbering and the length limit, the summary and every exit status. Rules
// here name CPU 0 only, which every machine has; anything depending on the
// present CPUs is in cpu_check_test.cpp.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "support/tool_runner.h"

namespace {

std::string usage() { return "用法: " + tool_path() + " [-c <配置文件>]\n"; }

std::string summary(std::size_t rules, std::size_t wildcards) {
    return "配置文件解析完成，共加载 " + std::to_string(rules) + " 条规则，" + std::to_string(wildcards) +
           " 条通配符规则\n";
}

const std::string no_rules = "未加载有效规则\n";

std::string no_equals(std::size_t line, const std::string& text) {
    return "第 " + std::to_string(line) + " 行无效规则：缺少 '=': " + text + "\n";
}

std::string too_long(std::size_t line) { return "第 " + std::to_string(line) + " 行过长\n"; }

// Runs the tool on a rule file holding `bytes`.
tool_run run_on(const std::string& bytes, const run_options& options = {}) {
    temp_dir dir;
    return run_tool({"-c", dir.write("applist.conf", bytes)}, options);
}

struct file_row {
    std::string bytes;
    std::string out;
    int status;
};

// Each row names its file when it fails.
void expect_runs(const std::vector<file_row>& rows) {
    for (const file_row& row : rows) {
        const tool_run r = run_on(row.bytes);
        EXPECT_EQ(r.out, row.out) << "file '" << row.bytes << "'";
        EXPECT_EQ(r.status, row.status) << "file '" << row.bytes << "'";
        EXPECT_EQ(r.err, "") << "file '" << row.bytes << "'";
    }
}

// ---- Options ----

TEST(Options, HelpPrintsUsageAndSucceeds) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"-h"}, {"-c", "x", "-h"}, {"-h", "-c", "x"}, {"-h", "-x"}, {"-c", "/nonexistent/a", "-h"}}) {
        const tool_run r = run_tool(args);
        EXPECT_EQ(r.out, usage()) << args[0] << " ...";
        EXPECT_EQ(r.err, "") << args[0] << " ...";
        EXPECT_EQ(r.status, 0) << args[0] << " ...";
    }
}

TEST(Options, UnknownOptionPrintsDiagnosticAndUsageAndFails) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"-x"}, {"-x", "-h"}, {"-c", "/nonexistent/a", "-x"}}) {
        const tool_run r = run_tool(args);
        EXPECT_EQ(r.out, usage()) << args.back();
        EXPECT_EQ(r.status, 1) << args.back();
        // getopt's own words differ between C libraries; it names the option.
        const std::size_t dashes = r.err.find("-- ");
        ASSERT_NE(dashes, std::string::npos) << "stderr: " << r.err;
        EXPECT_NE(r.err.find('x', dashes), std::string::npos) << "stderr: " << r.err;
    }
}

TEST(Options, MissingPathAfterDashCFails) {
    const tool_run r = run_tool({"-c"});
    EXPECT_EQ(r.out, usage());
    EXPECT_EQ(r.status, 1);
    const std::size_t dashes = r.err.find("-- ");
    ASSERT_NE(dashes, std::string::npos) << "stderr: " << r.err;
    EXPECT_NE(r.err.find('c', dashes), std::string::npos) << "stderr: " << r.err;
}

TEST(Options, LastDashCWins) {
    temp_dir dir;
    const std::string good = dir.write("good.conf", "game=0\n");
    const std::string bad = dir.write("bad.conf", "bad\n");
    const std::string missing = dir.path() + "/missing.conf";

    tool_run r = run_tool({"-c", bad, "-c", good});
    EXPECT_EQ(r.out, summary(1, 0));
    EXPECT_EQ(r.status, 0);

    r = run_tool({"-c", good, "-c", missing});
    EXPECT_EQ(r.out, "配置文件不存在: " + missing + "\n");
    EXPECT_EQ(r.status, 1);

    r = run_tool({"-c", missing, "-c", bad});
    EXPECT_EQ(r.out, no_equals(1, "bad") + no_rules);
    EXPECT_EQ(r.status, 1);
}

TEST(Options, LongPathIsCutTo4095Bytes) {
    // A path that names a real file in its first 4095 bytes only.
    temp_dir dir;
    dir.write("r.conf7", "game=0\n");
    std::string path;
    for (int i = 0; i < 2044; ++i) path += "./";
    path += "r.conf7";
    ASSERT_EQ(path.size(), 4095u);
    run_options in_dir;
    in_dir.cwd = dir.path();
    tool_run r = run_tool({"-c", path + std::string(905, 'x')}, in_dir);
    EXPECT_EQ(r.out, summary(1, 0));
    EXPECT_EQ(r.status, 0);

    // The message shows what was kept.
    const std::string missing = "/nonexistent/" + std::string(5000 - 13, 'a');
    r = run_tool({"-c", missing});
    EXPECT_EQ(r.out, "配置文件不存在: " + missing.substr(0, 4095) + "\n");
    EXPECT_EQ(r.status, 1);
}

TEST(Options, EmptyPathDoesNotExist) {
    const tool_run r = run_tool({"-c", ""});
    EXPECT_EQ(r.out, "配置文件不存在: \n");
    EXPECT_EQ(r.status, 1);
}

TEST(Options, DefaultIsApplistConfInTheWorkingDirectory) {
    temp_dir dir;
    run_options in_dir;
    in_dir.cwd = dir.path();
    tool_run r = run_tool({}, in_dir);
    EXPECT_EQ(r.out, "配置文件不存在: ./applist.conf\n");
    EXPECT_EQ(r.status, 1);

    dir.write("applist.conf", "game=0\ncom.*=0\n");
    r = run_tool({}, in_dir);
    EXPECT_EQ(r.out, summary(2, 1));
    EXPECT_EQ(r.status, 0);

    // Arguments that are not options mean nothing.
    r = run_tool({"other.conf"}, in_dir);
    EXPECT_EQ(r.out, summary(2, 1));
    EXPECT_EQ(r.status, 0);
}

// ---- Access to the file ----

TEST(FileAccess, MissingFile) {
    temp_dir dir;
    const std::string path = dir.path() + "/none.conf";
    const tool_run r = run_tool({"-c", path});
    EXPECT_EQ(r.out, "配置文件不存在: " + path + "\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "");
}

TEST(FileAccess, EmptyFileCannotBeMapped) {
    temp_dir dir;
    const std::string path = dir.write("empty.conf", "");
    const tool_run r = run_tool({"-c", path});
    EXPECT_EQ(r.out, "无法映射配置文件 " + path + ": " + std::strerror(EINVAL) + "\n");
    EXPECT_EQ(r.status, 1);
}

TEST(FileAccess, DirectoryCannotBeMapped) {
    temp_dir dir;
    struct stat info {};
    ASSERT_EQ(stat(dir.path().c_str(), &info), 0);
    // A zero-length mapping is refused before the file system is asked.
    const int expected = info.st_size == 0 ? EINVAL : ENODEV;
    const tool_run r = run_tool({"-c", dir.path()});
    EXPECT_EQ(r.out, "无法映射配置文件 " + dir.path() + ": " + std::strerror(expected) + "\n");
    EXPECT_EQ(r.status, 1);
}

TEST(FileAccess, UnreadableFileCannotBeOpened) {
    temp_dir dir;
    const std::string path = dir.write("locked.conf", "game=0\n");
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    run_options options;
    if (geteuid() == 0) {
        options.uid = 65534;
        const tool_run probe = run_tool({"-h"}, options);
        if (probe.status != 0)
            GTEST_SKIP() << "cannot run the tool as uid 65534 (status " << probe.status << ")";
    } else if (access(path.c_str(), R_OK) == 0) {
        GTEST_SKIP() << "this user can read a file of mode 0000";
    }
    const tool_run r = run_tool({"-c", path}, options);
    EXPECT_EQ(r.out, "无法打开配置文件 " + path + ": " + std::strerror(EACCES) + "\n");
    EXPECT_EQ(r.status, 1);
}

// ---- Lines ----

TEST(Lines, EveryLineIsNumbered) {
    expect_runs({
        {"a\n\nb", no_equals(1, "a") + no_equals(3, "b") + no_rules, 1},
        {"a\n\nb\n", no_equals(1, "a") + no_equals(3, "b") + no_rules, 1},
        {"a\n", no_equals(1, "a") + no_rules, 1},
        {"a", no_equals(1, "a") + no_rules, 1},
        {"\n", no_rules, 1},
        {"\n\n\na", no_equals(4, "a") + no_rules, 1},
        {"# c\n  \ngame=0\n#\nb\n", no_equals(5, "b") + summary(1, 0), 1},
        {"a\r\nb\r\n", no_equals(1, "a") + no_equals(2, "b") + no_rules, 1},
    });
}

TEST(Lines, LengthLimitIs254BytesBeforeTheLineFeed) {
    const std::string rule254 = "g=0 #" + std::string(249, 'x');
    const std::string rule255 = "g=0 #" + std::string(250, 'x');
    const std::string rule253 = "k=0 #" + std::string(248, 'x');
    const std::string comment254 = "#" + std::string(253, 'x');
    const std::string comment255 = "#" + std::string(254, 'x');
    ASSERT_EQ(rule254.size(), 254u);
    expect_runs({
        {rule254 + "\nh=0\n", summary(2, 0), 0},
        {rule254, summary(1, 0), 0},
        {rule255 + "\nh=0\n", too_long(1) + summary(1, 0), 1},
        {"h=0\n" + rule255, too_long(2) + summary(1, 0), 1},
        {comment254 + "\nh=0\n", summary(1, 0), 0},
        {comment255 + "\nh=0\n", too_long(1) + summary(1, 0), 1},
        {comment255 + "\n" + comment255 + "\n", too_long(1) + too_long(2) + no_rules, 1},
        // The carriage return of a CR LF line end counts.
        {rule254 + "\r\n" + rule253 + "\r\nh=0\r\n", too_long(1) + summary(2, 0), 1},
        // The limit counts bytes, whatever stops the line's text.
        {"g=0" + std::string(1, '\0') + std::string(251, 'x') + "\nh=0\n", too_long(1) + summary(1, 0), 1},
        {"h=0\n" + std::string(10000, ' ') + "\nb\n", too_long(2) + no_equals(3, "b") + summary(1, 0), 1},
    });
}

TEST(Lines, NulByteEndsTheLinesText) {
    const std::string nul(1, '\0');
    expect_runs({
        {"game" + nul + "=0\nh=0\n", no_equals(1, "game") + summary(1, 0), 1},
        {"game=0" + nul + "junk\nh=0\n", summary(2, 0), 0},
        {nul + "game=0\n", no_rules, 1},
        {"game=0\n" + nul + nul + nul + "\nb", no_equals(3, "b") + summary(1, 0), 1},
    });
}

// ---- Summary and exit status ----

TEST(Summary, StatusFollowsTheLinesAndTheCount) {
    expect_runs({
        // Every line valid.
        {"game=0\ngame{main}=0\ncom.*=0\ncom.?{x}=0\n[ab].c=0\n", summary(5, 3), 0},
        {"# comment\n\ngame=0 # cpu 0\n", summary(1, 0), 0},
        // Comments and blank lines only: nothing loaded, although no line was bad.
        {"# only\n   \n\t# comments\n", no_rules, 1},
        // Some line rejected.
        {"game=0\nbad\ncom.*=0\n", no_equals(2, "bad") + summary(2, 1), 1},
        {"game=0\ngame=0\n", "第 2 行重复规则：game{}=0\n" + summary(1, 0), 1},
        {"game=0\n=0\n", "第 2 行无效规则：键为空: \n" + summary(1, 0), 1},
        // Nothing loaded, lines rejected.
        {"bad\n{}=0\n", no_equals(1, "bad") + "第 2 行无效规则：线程名为空: \n" + no_rules, 1},
    });
}

TEST(Summary, EveryMessageOfALineFile) {
    const std::string file =
        "game\n"               // 1
        "=0\n"                 // 2
        "game= # x\n"          // 3
        "game{main=0\n"        // 4
        "game{}=0\n"           // 5
        "game{main}x=0\n"      // 6
        "game}=0\n"            // 7
        + std::string(128, 'p') + "=0\n"  // 8
        "game{" + std::string(32, 't') + "}=0\n"  // 9
        "game =0\n"            // 10: the package 'game '
        "game{ }=0\n"          // 11: 'game' with no thread
        "game=0\n"             // 12: duplicate of line 11
        "game{ main }=0\n"     // 13: thread 'main '
        "game{main }=0 # x\n"  // 14: duplicate of 13, value '0 '
        "{ }=0\n";             // 15
    const tool_run r = run_on(file);
    EXPECT_EQ(r.out,
              "第 1 行无效规则：缺少 '=': game\n"
              "第 2 行无效规则：键为空: \n"
              "第 3 行无效规则：值为空: game\n"
              "第 4 行无效规则：缺少闭合 '}': game\n"
              "第 5 行无效规则：线程名为空: game\n"
              "第 6 行无效规则：'}' 后包含非法字符: game\n"
              "第 7 行无效规则：缺少 '{': game}\n"
              "第 8 行无效规则：包名或线程名过长: " + std::string(128, 'p') + "\n"
              "第 9 行无效规则：包名或线程名过长: game\n"
              "第 12 行重复规则：game{}=0\n"
              "第 14 行重复规则：game{main }=0 \n" + summary(4, 0));
    EXPECT_EQ(r.status, 1);
}

TEST(Summary, TableAndWildcardListGrowInTheTool) {
    std::string file;
    std::string expected;
    std::size_t line = 0;
    for (int i = 0; i < 3000; ++i, ++line) file += "pkg." + std::to_string(i) + "{t}=0\n";
    for (int i = 0; i < 200; ++i, ++line) file += "w" + std::to_string(i) + ".*=0\n";
    // Duplicates of the first rules, found after the table has moved.
    file += "pkg.0{t}=0\nw0.*=0\n";
    expected = "第 3201 行重复规则：pkg.0{t}=0\n第 3202 行重复规则：w0.*{}=0\n" + summary(3200, 200);
    const tool_run r = run_on(file);
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.status, 1);
}

TEST(Summary, StdoutToAFileGetsTheSameBytes) {
    const std::string file = "game=0\nbad\n# c\ngame=0\ncom.*=0\n";
    const tool_run piped = run_on(file);
    run_options to_file;
    to_file.stdout_to_file = true;
    const tool_run filed = run_on(file, to_file);
    EXPECT_EQ(piped.out, no_equals(2, "bad") + "第 4 行重复规则：game{}=0\n" + summary(2, 1));
    EXPECT_EQ(filed.out, piped.out);
    EXPECT_EQ(filed.status, 1);
    EXPECT_EQ(piped.status, 1);
}

}  // namespace
