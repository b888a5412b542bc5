// Runs applist-check as a user would and captures its exact stdout, stderr
// and exit status. The binary comes from APPLIST_CHECK_BIN, run through
// APPLIST_CHECK_RUNNER (e.g. an emulator) when that is set.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct tool_run {
    std::string out;
    std::string err;
    int status = -1;  // exit status, or 128 + signal number
};

enum class present_mode {
    real,    // the machine's own /sys/devices/system/cpu/present
    faked,   // a file with `present_text` bound over it in a private mount namespace
    absent,  // a tmpfs over /sys/devices/system/cpu, so the file does not exist
};

struct run_options {
    present_mode present = present_mode::real;
    std::string present_text;
    std::string cwd;                // empty: the test's own
    int uid = -1;                   // run as this user (needs root); -1: as is
    std::vector<std::string> env;   // extra NAME=value entries
    bool stdout_to_file = false;    // a regular file instead of a pipe
};

// A hung tool is killed by SIGALRM (status 142) after this long.
constexpr unsigned run_time_limit_seconds = 120;

// The binary under test, as its usage line shows it (argv[0]).
const std::string& tool_path();

tool_run run_tool(const std::vector<std::string>& args, const run_options& options = {});

// Runs the tool with -c on a rule file holding `bytes`.
tool_run run_on(const std::string& bytes, const run_options& options = {});

// A rule file's bytes and what the tool must make of it; a failing case is
// named by `name`, or by its bytes when that is empty.
struct file_case {
    std::string name;
    std::string bytes;
    std::string out;
    int status;
};

// Checks exact stdout, the status and an empty stderr for each case.
void expect_cases(const std::vector<file_case>& cases, const run_options& options = {});

std::string summary(std::size_t rules, std::size_t wildcards);
std::string no_equals(std::size_t line, const std::string& text);
std::string too_long(std::size_t line);
inline const std::string no_rules = "未加载有效规则\n";

// Empty when a private mount namespace can be made here, else why not.
const std::string& namespace_unavailable_reason();

#define REQUIRE_MOUNT_NAMESPACE()                                                                 \
    do {                                                                                          \
        if (!namespace_unavailable_reason().empty())                                              \
            GTEST_SKIP() << "needs a private mount namespace: " << namespace_unavailable_reason(); \
    } while (0)

// A temporary directory, removed with everything in it at the end.
class temp_dir {
public:
    temp_dir();
    ~temp_dir();
    temp_dir(const temp_dir&) = delete;
    temp_dir& operator=(const temp_dir&) = delete;

    const std::string& path() const { return path_; }
    // Writes `bytes` to `name` in the directory and returns the full path.
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};
