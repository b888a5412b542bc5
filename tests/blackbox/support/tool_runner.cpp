#include "support/tool_runner.h"

#include <fcntl.h>
#include <ftw.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

std::vector<std::string> split_words(const char* text) {
    std::vector<std::string> words;
    std::istringstream in(text != nullptr ? text : "");
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::string read_all(int fd) {
    std::string data;
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got > 0) {
            data.append(chunk, static_cast<std::size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            return data;
        }
    }
}

// Reads both pipes to their end without letting either fill up.
void drain(int out_fd, int err_fd, std::string& out, std::string& err) {
    pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
    std::string* sinks[2] = {&out, &err};
    int open_count = 2;
    char chunk[65536];
    while (open_count > 0) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            const ssize_t got = read(fds[i].fd, chunk, sizeof chunk);
            if (got > 0) {
                sinks[i]->append(chunk, static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open_count;
            }
        }
    }
}

int remove_entry(const char* path, const struct stat*, int, struct FTW*) { return remove(path); }

}  // namespace

const std::string& tool_path() {
    static const std::string path = [] {
        const char* bin = std::getenv("APPLIST_CHECK_BIN");
        return std::string(bin != nullptr && *bin != '\0' ? bin : "applist-check");
    }();
    return path;
}

tool_run run_tool(const std::vector<std::string>& args, const run_options& options) {
    temp_dir scratch;
    std::vector<std::string> argv;
    if (options.present == present_mode::faked) {
        const std::string fake = scratch.write("present", options.present_text);
        argv = {"unshare", geteuid() == 0 ? "-m" : "-rm", "sh", "-c",
                "mount --bind \"$0\" /sys/devices/system/cpu/present && exec \"$@\"", fake};
    } else if (options.present == present_mode::absent) {
        argv = {"unshare", geteuid() == 0 ? "-m" : "-rm", "sh", "-c",
                "mount -t tmpfs none /sys/devices/system/cpu && exec \"$@\""};
        argv.push_back("sh");
    }
    for (const std::string& word : split_words(std::getenv("APPLIST_CHECK_RUNNER"))) argv.push_back(word);
    argv.push_back(tool_path());
    argv.insert(argv.end(), args.begin(), args.end());

    const std::string out_file = scratch.path() + "/stdout";
    int out_pipe[2];
    int err_pipe[2];
    if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0) return {};

    const pid_t pid = fork();
    if (pid == 0) {
        const int null_fd = open("/dev/null", O_RDONLY);
        dup2(null_fd, 0);
        if (options.stdout_to_file) {
            const int file_fd = open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(file_fd, 1);
        } else {
            dup2(out_pipe[1], 1);
        }
        dup2(err_pipe[1], 2);
        close(out_pipe[0]);
        close(out_pipe[1]);
        close(err_pipe[0]);
        close(err_pipe[1]);
        if (!options.cwd.empty() && chdir(options.cwd.c_str()) != 0) _exit(126);
        for (const std::string& entry : options.env) putenv(const_cast<char*>(entry.c_str()));
        if (options.uid >= 0 && (setgid(static_cast<gid_t>(options.uid)) != 0 ||
                                 setuid(static_cast<uid_t>(options.uid)) != 0))
            _exit(126);
        std::vector<char*> raw;
        for (std::string& word : argv) raw.push_back(word.data());
        raw.push_back(nullptr);
        // The alarm survives exec, so a tool that hangs is killed, not waited for.
        if (options.timeout_seconds > 0) alarm(options.timeout_seconds);
        execvp(raw[0], raw.data());
        _exit(127);
    }
    close(out_pipe[1]);
    close(err_pipe[1]);

    tool_run result;
    drain(out_pipe[0], err_pipe[0], result.out, result.err);
    int wait_status = 0;
    waitpid(pid, &wait_status, 0);
    result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
    if (options.stdout_to_file) {
        const int fd = open(out_file.c_str(), O_RDONLY);
        result.out = read_all(fd);
        close(fd);
    }
    return result;
}

const std::string& namespace_unavailable_reason() {
    static const std::string reason = [] {
        const std::string probe = std::string("unshare ") + (geteuid() == 0 ? "-m" : "-rm") +
                                  " sh -c 'mount -t tmpfs none /sys/devices/system/cpu' >/dev/null 2>&1";
        if (std::system(probe.c_str()) == 0) return std::string();
        return std::string(geteuid() == 0 ? "unshare -m with a tmpfs mount failed"
                                          : "not root and unshare -rm with a mount was refused");
    }();
    return reason;
}

temp_dir::temp_dir() {
    char pattern[] = "/tmp/applist-check-test.XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made != nullptr ? made : "/tmp";
}

temp_dir::~temp_dir() {
    if (path_ != "/tmp") nftw(path_.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}

std::string temp_dir::write(const std::string& name, const std::string& bytes) const {
    const std::string file = path_ + "/" + name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}
