// Standard output as scripts see it: complete and in order through a pipe or
// a file, and a failed write never reported as success.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/tool_runner.h"

namespace {

// Runs the tool through the shell with stdout sent to /dev/full.
int status_with_full_stdout(const std::string& args) {
    const char* runner = std::getenv("APPLIST_CHECK_RUNNER");
    const std::string command = std::string(runner != nullptr ? runner : "") + " '" + tool_path() + "' " + args +
                                " >/dev/full 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(Output, ManyMessagesArriveCompleteAndInOrder) {
    // Far more than one stdio buffer of messages, then the summary.
    temp_dir dir;
    std::string file;
    std::string expected;
    for (int i = 1; i <= 3000; ++i) {
        file += "bad line " + std::to_string(i) + "\n";
        expected += "第 " + std::to_string(i) + " 行无效规则：缺少 '=': bad line " + std::to_string(i) + "\n";
    }
    file += "game=0\n";
    expected += "配置文件解析完成，共加载 1 条规则，0 条通配符规则\n";
    const std::string path = dir.write("many.conf", file);

    for (const bool to_file : {false, true}) {
        run_options options;
        options.stdout_to_file = to_file;
        const tool_run r = run_tool({"-c", path}, options);
        EXPECT_EQ(r.out, expected) << (to_file ? "file" : "pipe");
        EXPECT_EQ(r.status, 1) << (to_file ? "file" : "pipe");
    }
}

TEST(Output, UnwritableStdoutIsAFailure) {
    temp_dir dir;
    const std::string path = dir.write("ok.conf", "game=0\n");
    // Each would exit 0 if its output could be written.
    EXPECT_EQ(status_with_full_stdout("-c '" + path + "'"), 1);
    EXPECT_EQ(status_with_full_stdout("-h"), 1);
}
