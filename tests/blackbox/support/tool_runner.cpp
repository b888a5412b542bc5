#include "support/tool_runner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream data;
    data << in.rdbuf();
    return data.str();
}

const char* unshare_flags() { return geteuid() == 0 ? "-m" : "-rm"; }

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
        argv = {"unshare", unshare_flags(), "sh", "-c",
                "mount --bind \"$0\" /sys/devices/system/cpu/present && exec \"$@\"",
                scratch.write("present", options.present_text)};
    } else if (options.present == present_mode::absent) {
        argv = {"unshare", unshare_flags(), "sh", "-c", "mount -t tmpfs none /sys/devices/system/cpu && exec \"$@\"",
                "sh"};
    }
    const char* runner_words = std::getenv("APPLIST_CHECK_RUNNER");
    std::istringstream runner(runner_words != nullptr ? runner_words : "");
    for (std::string word; runner >> word;) argv.push_back(word);
    argv.push_back(tool_path());
    argv.insert(argv.end(), args.begin(), args.end());

    // stderr goes to a file, so only the stdout pipe has to be drained.
    const std::string out_file = scratch.path() + "/stdout";
    const std::string err_file = scratch.path() + "/stderr";
    int out_pipe[2];
    if (pipe(out_pipe) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(open("/dev/null", O_RDONLY), 0);
        dup2(options.stdout_to_file ? open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644) : out_pipe[1], 1);
        dup2(open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        close(out_pipe[0]);
        close(out_pipe[1]);
        if (!options.cwd.empty() && chdir(options.cwd.c_str()) != 0) _exit(126);
        for (const std::string& entry : options.env) putenv(const_cast<char*>(entry.c_str()));
        if (options.uid >= 0 && (setgid(static_cast<gid_t>(options.uid)) != 0 ||
                                 setuid(static_cast<uid_t>(options.uid)) != 0))
            _exit(126);
        std::vector<char*> raw;
        for (std::string& word : argv) raw.push_back(word.data());
        raw.push_back(nullptr);
        alarm(run_time_limit_seconds);  // survives exec
        execvp(raw[0], raw.data());
        _exit(127);
    }
    close(out_pipe[1]);
    tool_run result;
    char chunk[65536];
    for (ssize_t got; (got = read(out_pipe[0], chunk, sizeof chunk)) != 0;) {
        if (got > 0) result.out.append(chunk, static_cast<std::size_t>(got));
        else if (errno != EINTR) break;
    }
    close(out_pipe[0]);
    int wait_status = 0;
    waitpid(pid, &wait_status, 0);
    result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
    if (options.stdout_to_file) result.out = read_file(out_file);
    result.err = read_file(err_file);
    return result;
}

tool_run run_on(const std::string& bytes, const run_options& options) {
    temp_dir dir;
    return run_tool({"-c", dir.write("applist.conf", bytes)}, options);
}

void expect_cases(const std::vector<file_case>& cases, const run_options& options) {
    for (const file_case& c : cases) {
        SCOPED_TRACE(c.name.empty() ? "file '" + c.bytes + "'" : c.name);
        const tool_run r = run_on(c.bytes, options);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, "");
    }
}

std::string summary(std::size_t rules, std::size_t wildcards) {
    return "配置文件解析完成，共加载 " + std::to_string(rules) + " 条规则，" + std::to_string(wildcards) +
           " 条通配符规则\n";
}

std::string no_equals(std::size_t line, const std::string& text) {
    return "第 " + std::to_string(line) + " 行无效规则：缺少 '=': " + text + "\n";
}

std::string too_long(std::size_t line) { return "第 " + std::to_string(line) + " 行过长\n"; }

const std::string& namespace_unavailable_reason() {
    static const std::string reason = [] {
        const std::string probe = std::string("unshare ") + unshare_flags() +
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
    path_ = made != nullptr ? made : "";
}

temp_dir::~temp_dir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string temp_dir::write(const std::string& name, const std::string& bytes) const {
    const std::string file = path_ + "/" + name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}
