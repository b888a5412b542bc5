// Standard output as scripts see it: complete and in order through a pipe or
// a file, and a failed write never reported as success.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "support/tool_runner.h"

TEST(Output, ManyMessagesArriveCompleteAndInOrder) {
    temp_dir dir;
    std::string file, expected;
    for (int i = 1; i <= 3000; ++i) {
        file += "bad " + std::to_string(i) + "\n";
        expected += no_equals(i, "bad " + std::to_string(i));
    }
    const std::string path = dir.write("many.conf", file + "game=0\n");
    for (const bool to_file : {false, true}) {
        run_options options;
        options.stdout_to_file = to_file;
        const tool_run r = run_tool({"-c", path}, options);
        EXPECT_EQ(r.out, expected + summary(1, 0)) << (to_file ? "file" : "pipe");
        EXPECT_EQ(r.status, 1) << (to_file ? "file" : "pipe");
    }
}

TEST(Output, UnwritableStdoutIsAFailure) {
    temp_dir dir;
    const char* runner = std::getenv("APPLIST_CHECK_RUNNER");
    // Each would exit 0 if its output could be written.
    for (const std::string& args : {"-c '" + dir.write("ok.conf", "game=0\n") + "'", std::string("-h")}) {
        const std::string command = std::string(runner != nullptr ? runner : "") + " '" + tool_path() + "' " + args +
                                    " >/dev/full 2>/dev/null";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << args;
    }
}
