// Runs applist-check as a user would and captures what it does: stdout,
// stderr and the exit status. The binary comes from APPLIST_CHECK_BIN, run
// through APPLIST_CHECK_RUNNER (e.g. an emulator) when that is set.
#pragma once

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
    std::string present_text;        // content of the faked present file
    std::string cwd;                 // working directory; empty: the test's own
    int uid = -1;                    // run as this user (needs root); -1: as is
    std::vector<std::string> env;    // extra NAME=value entries
    bool stdout_to_file = false;     // stdout is a regular file instead of a pipe
    unsigned timeout_seconds = 0;    // killed by SIGALRM (status 142) after this long; 0: no limit
};

// The binary under test, as the tool's usage line shows it (argv[0]).
const std::string& tool_path();

// Runs the tool with `args` (argv[1] onwards).
tool_run run_tool(const std::vector<std::string>& args, const run_options& options = {});

// Empty when a private mount namespace can be made here, else why not. Tests
// that fake the present-CPU file skip with this reason.
const std::string& namespace_unavailable_reason();

#define REQUIRE_MOUNT_NAMESPACE()                                                    \
    do {                                                                             \
        if (!namespace_unavailable_reason().empty())                                 \
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
