// The command as a script sees it: options, access to the rule file, line
// numbering, the summary and every exit status. Rules here name CPU 0 only,
// which every machine has; present-CPU checks are in cpu_check_test.cpp.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "support/tool_runner.h"

namespace {

std::string usage() { return "用法: " + tool_path() + " [-c <配置文件>]\n"; }
std::string missing(const std::string& path) { return "配置文件不存在: " + path + "\n"; }
std::string unmappable(const std::string& path, int error) {
    return "无法映射配置文件 " + path + ": " + std::strerror(error) + "\n";
}

struct args_case {
    std::vector<std::string> args;
    std::string out;
    int status;
    char getopt_names = 0;  // the option getopt's diagnostic on stderr names; 0: stderr empty
};

TEST(Options, ArgumentsAndFileAccess) {
    temp_dir dir;
    dir.write("applist.conf", "game=0\ncom.*=0\n");
    dir.write("ok.conf", "game=0\n");
    dir.write("bad.conf", "bad\n");
    dir.write("empty.conf", "");
    ASSERT_EQ(mkdir((dir.path() + "/sub").c_str(), 0755), 0);
    struct stat sub {};
    ASSERT_EQ(stat((dir.path() + "/sub").c_str(), &sub), 0);
    std::string cut_to_ok;  // names ok.conf in its first 4095 bytes only
    for (int i = 0; i < 2044; ++i) cut_to_ok += "./";
    cut_to_ok += "ok.conf" + std::string(905, 'x');
    const std::string long_missing = "/nonexistent/" + std::string(5000 - 13, 'a');
    const std::vector<args_case> cases = {
        {{"-h"}, usage(), 0},
        {{"-c", "x", "-h"}, usage(), 0},
        {{"-h", "-c", "x"}, usage(), 0},
        {{"-x"}, usage(), 1, 'x'},
        {{"-c", "ok.conf", "-x"}, usage(), 1, 'x'},
        {{"-c"}, usage(), 1, 'c'},
        {{}, summary(2, 1), 0},
        {{"other.conf"}, summary(2, 1), 0},  // not an option: ignored
        {{"-c", "bad.conf", "-c", "ok.conf"}, summary(1, 0), 0},
        {{"-c", "ok.conf", "-c", "none.conf"}, missing("none.conf"), 1},
        {{"-c", cut_to_ok}, summary(1, 0), 0},
        {{"-c", long_missing}, missing(long_missing.substr(0, 4095)), 1},
        {{"-c", ""}, missing(""), 1},
        {{"-c", "empty.conf"}, unmappable("empty.conf", EINVAL), 1},
        // A zero-length mapping is refused before the file system is asked.
        {{"-c", "sub"}, unmappable("sub", sub.st_size == 0 ? EINVAL : ENODEV), 1},
    };
    run_options in_dir;
    in_dir.cwd = dir.path();
    for (const args_case& c : cases) {
        std::string name;
        for (const std::string& arg : c.args) name += " '" + arg.substr(0, 20) + "'";
        SCOPED_TRACE("args" + name);
        const tool_run r = run_tool(c.args, in_dir);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.status, c.status);
        if (c.getopt_names == 0) {
            EXPECT_EQ(r.err, "");
        } else {  // getopt's words differ between C libraries; it names the option after "-- "
            const std::size_t dashes = r.err.find("-- ");
            ASSERT_NE(dashes, std::string::npos) << "stderr: " << r.err;
            EXPECT_NE(r.err.find(c.getopt_names, dashes), std::string::npos) << "stderr: " << r.err;
        }
    }
}

TEST(Options, DefaultFileMissing) {
    temp_dir dir;
    run_options in_dir;
    in_dir.cwd = dir.path();
    const tool_run r = run_tool({}, in_dir);
    EXPECT_EQ(r.out, missing("./applist.conf"));
    EXPECT_EQ(r.status, 1);
}

TEST(Options, UnreadableFileCannotBeOpened) {
    temp_dir dir;
    const std::string path = dir.write("locked.conf", "game=0\n");
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    run_options options;
    if (geteuid() == 0) {
        options.uid = 65534;
        const tool_run probe = run_tool({"-h"}, options);
        if (probe.status != 0) GTEST_SKIP() << "cannot run the tool as uid 65534 (status " << probe.status << ")";
    } else if (access(path.c_str(), R_OK) == 0) {
        GTEST_SKIP() << "this user can read a file of mode 0000";
    }
    const tool_run r = run_tool({"-c", path}, options);
    EXPECT_EQ(r.out, "无法打开配置文件 " + path + ": " + std::strerror(EACCES) + "\n");
    EXPECT_EQ(r.status, 1);
}

TEST(Lines, NumberingSummaryAndStatus) {
    std::string grown;  // the table and wildcard list grow; duplicates are found after the move
    for (int i = 0; i < 3000; ++i) grown += "pkg." + std::to_string(i) + "{t}=0\n";
    for (int i = 0; i < 200; ++i) grown += "w" + std::to_string(i) + ".*=0\n";
    expect_cases({
        {"", "a\n\nb", no_equals(1, "a") + no_equals(3, "b") + no_rules, 1},
        {"", "a\n\nb\n", no_equals(1, "a") + no_equals(3, "b") + no_rules, 1},
        {"", "# c\n  \ngame=0\n#\nb\n", no_equals(5, "b") + summary(1, 0), 1},
        {"", "game=0\ngame{main}=0\ncom.*=0\ncom.?{x}=0\n[ab].c=0\n", summary(5, 3), 0},
        {"", "# comment\n\ngame=0 # cpu 0", summary(1, 0), 0},
        {"", "# only\n   \n\t# comments\n", no_rules, 1},
        {"", "game=0\nbad\ncom.*=0\n", no_equals(2, "bad") + summary(2, 1), 1},
        {"", "bad\n{}=0\n", no_equals(1, "bad") + "第 2 行无效规则：线程名为空: \n" + no_rules, 1},
        {"3000 thread rules, 200 wildcards, 2 duplicates", grown + "pkg.0{t}=0\nw0.*=0\n",
         "第 3201 行重复规则：pkg.0{t}=0\n第 3202 行重复规则：w0.*{}=0\n" + summary(3200, 200), 1},
        {"every message",
         "game\n=0\ngame= # x\ngame{main=0\ngame{}=0\ngame{main}x=0\ngame}=0\n" + std::string(128, 'p') +
             "=0\ngame{" + std::string(32, 't') + "}=0\ngame{ }=0\ngame=0\ngame{ main }=0\ngame{main }=0 # x\n",
         "第 1 行无效规则：缺少 '=': game\n"
         "第 2 行无效规则：键为空: \n"
         "第 3 行无效规则：值为空: game\n"
         "第 4 行无效规则：缺少闭合 '}': game\n"
         "第 5 行无效规则：线程名为空: game\n"
         "第 6 行无效规则：'}' 后包含非法字符: game\n"
         "第 7 行无效规则：缺少 '{': game}\n"
         "第 8 行无效规则：包名或线程名过长: " + std::string(128, 'p') + "\n"
         "第 9 行无效规则：包名或线程名过长: game\n"
         "第 11 行重复规则：game{}=0\n"
         "第 13 行重复规则：game{main }=0 \n" + summary(2, 0), 1},
    });
}

}  // namespace
