// The phone's data, read once per run: the installed packages as pm lists
// them and the running threads as ps shows them, from files or from the
// phone through adb, and the lookups the phone's checks make.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <numeric>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "lint/lint.h"
#include "rules/rules.h"

namespace {

constexpr char package_prefix[] = "package:";
// A ps line: the thread name padded to 15 bytes, a blank, the process.
constexpr std::size_t process_column = thread_name_kept + 1;
constexpr std::size_t read_chunk = std::size_t{64} << 10;
// How long a wait for adb's output lasts before the clock is looked at again.
constexpr int poll_step_ms = 50;
// Where execvp looks for a program when PATH is unset.
constexpr char default_path[] = "/bin:/usr/bin";
// Runs of names this short are sorted by comparison.
constexpr std::size_t small_sort = 16;

constexpr const char* adb_cpus[] = {"adb", "shell", "cat", present_cpus_path, nullptr};
constexpr const char* adb_packages[] = {"adb", "shell", "pm", "list", "packages", nullptr};
constexpr const char* adb_threads[] = {"adb", "shell", "ps", "-A", "-T", "-o", "CMD,NAME", nullptr};

// A descriptor closed when it goes out of scope.
struct descriptor {
    int fd = -1;
    descriptor() = default;
    descriptor(const descriptor&) = delete;
    descriptor& operator=(const descriptor&) = delete;
    ~descriptor() { reset(); }
    void reset() {
        if (fd >= 0) (void)close(fd);
        fd = -1;
    }
};

// Appends what `fd` has to `out` up to its end (returns 0), until a read
// would wait (EAGAIN) or fails (its errno).
int read_some(int fd, std::string& out) {
    char chunk[read_chunk];
    for (;;) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got > 0) {
            out.append(chunk, static_cast<std::size_t>(got));
        } else if (got == 0) {
            return 0;
        } else if (errno != EINTR) {
            return errno;
        }
    }
}

// Reads the file `path` whole into `out`. Returns 0, or the errno.
int read_file(const char* path, std::string& out) {
    descriptor file;
    file.fd = open(path, O_RDONLY | O_CLOEXEC);
    return file.fd < 0 ? errno : read_some(file.fd, out);
}

// The bytes of `text` from `begin` to `end` without the blanks around them.
void trim(const std::string& text, std::size_t& begin, std::size_t& end) {
    while (begin < end && is_blank(text[begin])) ++begin;
    while (end > begin && is_blank(text[end - 1])) --end;
}

// Calls `take(begin, end)` for each line of `text` (without its line end).
template <typename Take>
void for_each_line(const std::string& text, Take take) {
    for (std::size_t begin = 0; begin < text.size();) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos) end = text.size();
        take(begin, end);
        begin = end + 1;
    }
}

// Ends the name at `end` with a NUL in place and returns it.
std::string_view name_at(std::string& text, std::size_t begin, std::size_t end) {
    if (end < text.size()) text[end] = '\0';
    return std::string_view(text.data() + begin, end - begin);
}

// Reads pm's list: "package:NAME", "package:PATH=NAME" or a bare NAME a line.
// Returns whether it held a name.
bool read_packages(phone_data& phone) {
    std::string& text = phone.package_text;
    std::vector<std::pair<std::size_t, std::size_t>> found;
    for_each_line(text, [&](std::size_t begin, std::size_t end) {
        trim(text, begin, end);
        if (begin == end) return;
        if (text.compare(begin, sizeof package_prefix - 1, package_prefix) == 0) {
            begin += sizeof package_prefix - 1;
            const std::size_t equals = std::string_view(text.data() + begin, end - begin).rfind('=');
            if (equals != std::string_view::npos) begin += equals + 1;
        }
        if (begin < end) found.emplace_back(begin, end);
    });
    phone.package_list.reserve(found.size());
    for (const auto& [begin, end] : found) phone.package_list.push_back(name_at(text, begin, end));
    return !phone.package_list.empty();
}

// Reads ps's lines after its header. Kernel threads (a bracketed or empty
// process) and lines whose 16th byte is not a blank are skipped. Returns
// whether a line had the shape.
bool read_threads(phone_data& phone) {
    std::string& text = phone.thread_text;
    struct line {
        std::size_t thread_begin, thread_end, process_begin, process_end;
    };
    std::vector<line> found;
    const std::size_t header_end = text.find('\n');
    if (header_end == std::string::npos) return false;
    bool shaped = false;
    for_each_line(text, [&](std::size_t begin, std::size_t end) {
        if (begin <= header_end) return;
        if (end > begin && text[end - 1] == '\r') --end;
        if (end - begin < process_column || text[begin + thread_name_kept] != ' ') return;
        shaped = true;
        std::size_t thread_end = begin + thread_name_kept;
        while (thread_end > begin && text[thread_end - 1] == ' ') --thread_end;
        std::size_t process_begin = begin + process_column;
        trim(text, process_begin, end);
        if (process_begin == end || text[process_begin] == '[') return;
        found.push_back(line{begin, thread_end, process_begin, end});
    });
    for (const line& l : found) {
        const std::string_view process = name_at(text, l.process_begin, l.process_end);
        const std::string_view thread = name_at(text, l.thread_begin, l.thread_end);
        phone.process_names.push_back(process);
        phone.threads_of[process].push_back(thread);
        std::string key(process);
        key += '\n';
        key += thread;
        phone.process_threads.insert(std::move(key));
    }
    return shaped;
}

// Sorts `names` by three-way radix quicksort: names with long common starts
// (a phone's packages) are compared a byte at a time, each start once. A
// range waits on a stack of its own, never on the call stack.
void radix_sort(std::vector<std::string_view>& names) {
    struct range {
        std::size_t low, high, depth;  // names[low, high) share their first `depth` bytes
    };
    std::vector<range> waiting{{0, names.size(), 0}};
    while (!waiting.empty()) {
        const range r = waiting.back();
        waiting.pop_back();
        if (r.high - r.low <= small_sort) {
            std::sort(names.begin() + static_cast<std::ptrdiff_t>(r.low),
                      names.begin() + static_cast<std::ptrdiff_t>(r.high));
            continue;
        }
        const auto byte = [&](std::size_t i) {
            return r.depth < names[i].size() ? static_cast<int>(static_cast<unsigned char>(names[i][r.depth])) : -1;
        };
        const int pivot = byte(r.low + (r.high - r.low) / 2);
        std::size_t less = r.low;
        std::size_t more = r.high;
        for (std::size_t i = r.low; i < more;) {
            const int b = byte(i);
            if (b < pivot)
                std::swap(names[less++], names[i++]);
            else if (b > pivot)
                std::swap(names[i], names[--more]);
            else
                ++i;
        }
        waiting.push_back({r.low, less, r.depth});
        waiting.push_back({more, r.high, r.depth});
        if (pivot >= 0) waiting.push_back({less, more, r.depth + 1});  // else the middle names ended: all equal
    }
}

// Sorts and makes distinct.
void sort_names(std::vector<std::string_view>& names) {
    radix_sort(names);
    names.erase(std::unique(names.begin(), names.end()), names.end());
}

// Builds the sorted lists and the lookups from what was read.
void index_names(phone_data& phone) {
    build_name_table(phone.packages, phone.package_list);
    sort_names(phone.process_names);
    build_name_table(phone.processes, phone.process_names);
    std::vector<std::pair<std::string_view, std::string_view>> by_app;  // (app, process), grouped by app
    by_app.reserve(phone.process_names.size());
    std::transform(phone.process_names.begin(), phone.process_names.end(), std::back_inserter(by_app),
                   [](std::string_view process) { return std::pair(process.substr(0, process.find(':')), process); });
    std::sort(by_app.begin(), by_app.end());
    for (const auto& [app, process] : by_app) {
        if (phone.apps.empty() || phone.apps.back() != app) {
            phone.apps.push_back(app);
            phone.app_processes.emplace_back();
        }
        phone.app_processes.back().push_back(process);
    }
    build_name_table(phone.app_table, phone.apps);
    phone.names = phone.package_list;
    phone.names.insert(phone.names.end(), phone.process_names.begin(), phone.process_names.end());
    sort_names(phone.names);
    phone.folded_text.reserve(std::accumulate(phone.names.begin(), phone.names.end(), std::size_t{0},
                                              [](std::size_t size, std::string_view name) { return size + name.size() + 1; }));
    for (const std::string_view name : phone.names) {
        for (const char c : name) phone.folded_text += ascii_lower(c);
        phone.folded_text += '\0';
    }
    phone.folded_names.reserve(phone.names.size());
    std::size_t at = 0;
    for (const std::string_view name : phone.names) {
        phone.folded_names.emplace_back(phone.folded_text.data() + at, name.size());
        at += name.size() + 1;
    }
    build_name_table(phone.folded, phone.folded_names);
}

// What one adb command did.
enum class adb_result : std::uint8_t { done, not_started, failed, timed_out };
struct adb_run {
    std::string out;
    std::string err;
    int status = 0;  // the exit status, or 128 plus the signal
    int error = 0;   // why it could not start
};

double seconds_now() {
    timespec now{};
    (void)clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The path of the program `name` as execvp finds it on PATH (its default
// when PATH is unset), or the empty text with `error` set. Looked up here,
// not by posix_spawnp, so that a missing program is told apart from one that
// failed wherever the spawn cannot report a failed exec (an emulator's).
std::string find_on_path(const char* name, int& error) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) path = default_path;
    error = ENOENT;
    for (const char* dir = path;;) {
        const char* end = std::strchr(dir, ':');
        if (end == nullptr) end = dir + std::strlen(dir);
        std::string candidate = end > dir ? std::string(dir, end) : std::string(".");
        (candidate += '/') += name;
        struct stat status {};
        if (stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
            if (access(candidate.c_str(), X_OK) == 0) return candidate;
            error = EACCES;
        }
        if (*end == '\0') return {};
        dir = end + 1;
    }
}

// Runs `argv` (adb found through PATH) in a process group of its own, with
// standard input from /dev/null, and collects its output until it ends or
// its time is up; then the whole group is killed and the rest not read.
adb_result run_adb(const char* const* argv, adb_run& run) {
    descriptor out_pipe[2];
    descriptor err_pipe[2];
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return run.error = errno, adb_result::not_started;
    out_pipe[0].fd = fds[0], out_pipe[1].fd = fds[1];
    if (pipe2(fds, O_CLOEXEC) != 0) return run.error = errno, adb_result::not_started;
    err_pipe[0].fd = fds[0], err_pipe[1].fd = fds[1];

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    (void)posix_spawn_file_actions_init(&actions);
    (void)posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    (void)posix_spawn_file_actions_adddup2(&actions, out_pipe[1].fd, STDOUT_FILENO);
    (void)posix_spawn_file_actions_adddup2(&actions, err_pipe[1].fd, STDERR_FILENO);
    (void)posix_spawnattr_init(&attributes);
    sigset_t defaults;
    (void)sigemptyset(&defaults);
    (void)sigaddset(&defaults, SIGPIPE);  // the lint ignores it; adb gets it back
    (void)posix_spawnattr_setsigdefault(&attributes, &defaults);
    (void)posix_spawnattr_setpgroup(&attributes, 0);
    (void)posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const std::string program = find_on_path(argv[0], run.error);
    const int spawned = program.empty() ? run.error
                                        : posix_spawn(&pid, program.c_str(), &actions, &attributes,
                                                      const_cast<char* const*>(argv), environ);
    (void)posix_spawn_file_actions_destroy(&actions);
    (void)posix_spawnattr_destroy(&attributes);
    if (spawned != 0) return run.error = spawned, adb_result::not_started;
    out_pipe[1].reset();
    err_pipe[1].reset();
    for (descriptor* d : {&out_pipe[0], &err_pipe[0]}) (void)fcntl(d->fd, F_SETFL, O_NONBLOCK);

    // adb's output ends when adb does: a server it starts may hold the
    // pipes open long after.
    const double deadline = seconds_now() + adb_time_limit;
    for (;;) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            for (descriptor* d : {&out_pipe[0], &err_pipe[0]})
                if (d->fd >= 0) (void)read_some(d->fd, d == &out_pipe[0] ? run.out : run.err);
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return run.status == 0 ? adb_result::done : adb_result::failed;
        }
        const double left = deadline - seconds_now();
        if (left <= 0) {
            (void)kill(-pid, SIGKILL);
            (void)waitpid(pid, &status, 0);
            return adb_result::timed_out;
        }
        pollfd polled[2] = {{out_pipe[0].fd, POLLIN, 0}, {err_pipe[0].fd, POLLIN, 0}};
        const int step = std::min(poll_step_ms, static_cast<int>(left * 1000) + 1);
        if (poll(polled, 2, step) <= 0) continue;
        if (polled[0].revents != 0 && read_some(out_pipe[0].fd, run.out) != EAGAIN) out_pipe[0].reset();
        if (polled[1].revents != 0 && read_some(err_pipe[0].fd, run.err) != EAGAIN) err_pipe[0].reset();
    }
}

// The line adb's failure is told by: its last "error:" line, or else its
// last line, where standard error's lines come after standard output's.
std::string failure_line(const adb_run& run) {
    std::string last;
    std::string last_error;
    for (const std::string* text : {&run.out, &run.err}) {
        for_each_line(*text, [&](std::size_t begin, std::size_t end) {
            trim(*text, begin, end);
            if (begin == end) return;
            last.assign(*text, begin, end - begin);
            if (last.compare(0, 6, "error:") == 0) last_error = last;
        });
    }
    return last_error.empty() ? last : last_error;
}

// The words of `argv` with a blank between.
std::string command_text(const char* const* argv) {
    std::string command = argv[0];
    for (const char* const* arg = argv + 1; *arg != nullptr; ++arg) (command += ' ') += *arg;
    return command;
}

// Runs one adb command and keeps its standard output in `out`. Returns false
// after the message of its failure.
bool fetch(const char* const* argv, std::string& out) {
    const std::string command = command_text(argv);
    adb_run run;
    switch (run_adb(argv, run)) {
        case adb_result::done: out = std::move(run.out); return true;
        case adb_result::not_started: report_adb_not_started(std::strerror(run.error)); return false;
        case adb_result::timed_out: report_adb_timed_out(command.c_str()); return false;
        case adb_result::failed: break;
    }
    const std::string line = failure_line(run);
    if (line.empty())
        report_adb_status(command.c_str(), run.status);
    else
        report_adb_failed(command.c_str(), line.c_str());
    return false;
}

// Reads the file of `option` into `text`. Returns false after its message.
bool read_snapshot(const char* option, const char* path, std::string& text, std::string& source) {
    source = std::string(option) + "=" + path;
    if (const int error = read_file(path, text)) {
        report_snapshot_unreadable(source.c_str(), std::strerror(error));
        return false;
    }
    return true;
}

}  // namespace

void build_name_table(name_table& table, const std::vector<std::string_view>& names) {
    table.names = &names;
    std::size_t size = 16;
    while (size < names.size() * 2) size *= 2;
    table.slots.assign(size, 0);
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::size_t slot = name_hash(names[i]) & (size - 1);
        while (table.slots[slot] != 0 && names[table.slots[slot] - 1] != names[i]) slot = (slot + 1) & (size - 1);
        if (table.slots[slot] == 0) table.slots[slot] = static_cast<std::uint32_t>(i + 1);
    }
}

std::size_t find_name(const name_table& table, std::string_view name, std::size_t hash) {
    if (table.names == nullptr) return SIZE_MAX;
    const std::size_t mask = table.slots.size() - 1;
    for (std::size_t slot = hash & mask; table.slots[slot] != 0; slot = (slot + 1) & mask)
        if ((*table.names)[table.slots[slot] - 1] == name) return table.slots[slot] - 1;
    return SIZE_MAX;
}

bool load_phone_data(const lint_options& options, phone_data& out) {
    if (options.packages_file == nullptr && options.threads_file == nullptr && !options.adb) return true;
    std::string package_source = command_text(adb_packages);
    std::string thread_source = command_text(adb_threads);
    if (options.packages_file != nullptr &&
        !read_snapshot("--packages", options.packages_file, out.package_text, package_source))
        return false;
    if (options.threads_file != nullptr &&
        !read_snapshot("--threads", options.threads_file, out.thread_text, thread_source))
        return false;
    if (options.adb) {
        if (options.cpus == nullptr) {
            if (!fetch(adb_cpus, out.cpus)) return false;
            std::size_t begin = 0;
            std::size_t end = out.cpus.size();
            trim(out.cpus, begin, end);
            out.cpus = out.cpus.substr(begin, end - begin);
            std::string checked = out.cpus;
            char* why = nullptr;
            std::size_t why_size = 0;
            std::FILE* sink = open_memstream(&why, &why_size);
            const bool valid = sink != nullptr && check_cpu_list(checked.data(), sink);
            if (sink != nullptr) (void)std::fclose(sink);
            std::free(why);
            if (!valid) {
                report_adb_bad_cpu_list(command_text(adb_cpus).c_str(), out.cpus.c_str());
                return false;
            }
            out.have_cpus = true;
        }
        if (options.packages_file == nullptr && !fetch(adb_packages, out.package_text)) return false;
        if (options.threads_file == nullptr && !fetch(adb_threads, out.thread_text)) return false;
    }
    out.have_packages = options.adb || options.packages_file != nullptr;
    out.have_threads = options.adb || options.threads_file != nullptr;
    if (out.have_packages && !read_packages(out)) {
        report_snapshot_empty(package_source.c_str());
        return false;
    }
    if (out.have_threads && !read_threads(out)) {
        if (out.thread_text.empty())
            report_snapshot_empty(thread_source.c_str());
        else
            report_snapshot_no_thread(thread_source.c_str());
        return false;
    }
    index_names(out);
    return true;
}
