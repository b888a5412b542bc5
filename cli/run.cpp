// The driver: options, start-up in its fixed order, the line loop over the
// mapped file, and the end of the run. It is the one place that decides the
// exit status.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "cli/cli.h"
#include "cpuset/cpuset.h"
#include "rules/rules.h"

namespace {

constexpr const char default_config_path[] = "./applist.conf";
constexpr const char usage_format[] = "用法: %s [-c <配置文件>]\n";

// Closes the descriptor when it goes out of scope.
struct unique_fd {
    int fd = -1;
    explicit unique_fd(int descriptor) : fd(descriptor) {}
    unique_fd(const unique_fd&) = delete;
    unique_fd& operator=(const unique_fd&) = delete;
    ~unique_fd() { reset(); }
    void reset() {
        if (fd >= 0) close(fd);
        fd = -1;
    }
};

// Unmaps the file when it goes out of scope.
struct file_mapping {
    void* start = MAP_FAILED;
    std::size_t length = 0;
    file_mapping() = default;
    file_mapping(const file_mapping&) = delete;
    file_mapping& operator=(const file_mapping&) = delete;
    ~file_mapping() { reset(); }
    void reset() {
        if (start != MAP_FAILED) munmap(start, length);
        start = MAP_FAILED;
    }
};

enum class options_result { run, usage_ok, usage_error };

// Reads -c and -h. Everything after the first result that is not -c is left
// unread, as are arguments that are not options.
options_result read_options(int argc, char** argv, char (&config_path)[max_path_length + 1]) {
    int option = 0;
    while ((option = getopt(argc, argv, "c:h")) == 'c') {
        std::strncpy(config_path, optarg, max_path_length);
        config_path[max_path_length] = '\0';
    }
    if (option == -1) return options_result::run;
    return option == 'h' ? options_result::usage_ok : options_result::usage_error;
}

// Maps the whole rule file read-only. Prints the message and returns false
// when the file cannot be examined, opened or mapped.
bool map_rule_file(const char* path, file_mapping& mapping) {
    struct stat info {};
    if (stat(path, &info) != 0) {
        std::printf("配置文件不存在: %s\n", path);
        return false;
    }
    // O_NONBLOCK: opening a FIFO must not wait for a writer; the mapping
    // then refuses it like any other file that cannot be mapped.
    unique_fd file(open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.fd < 0) {
        std::printf("无法打开配置文件 %s: %s\n", path, std::strerror(errno));
        return false;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    void* start = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.fd, 0);
    const int map_errno = errno;
    file.reset();
    if (start == MAP_FAILED) {
        std::printf("无法映射配置文件 %s: %s\n", path, std::strerror(map_errno));
        return false;
    }
    mapping.start = start;
    mapping.length = size;
    return true;
}

// Bytes of a mapped file read between two releases of its pages.
constexpr std::size_t page_release_step = std::size_t{256} << 10;

// Drops the pages of the mapping at `start` that lie wholly before `read_up_to`
// and were not dropped yet (`released` bytes were). A big file then does not
// stay resident in whole beside the rule set; a private read-only mapping
// would simply read such a page from the file again if it were touched.
void release_read_pages(const char* start, const char* read_up_to, std::size_t page_size,
                        std::size_t& released) {
    const auto read = static_cast<std::size_t>(read_up_to - start);
    const std::size_t whole_pages = read - read % page_size;
    if (whole_pages < released + page_release_step) return;
    (void)madvise(const_cast<char*>(start + released), whole_pages - released, MADV_DONTNEED);
    released = whole_pages;
}

// The line loop proper. A SIGBUS in its reads of `data` may leave it at any
// line (see check_lines), so it owns nothing that needs releasing and keeps
// everything that must outlive it in `set` and `state`.
void scan_lines(const char* data, std::size_t size, rule_set& set, run_state& state, bool drop_read_pages) {
    const long page_size = drop_read_pages ? sysconf(_SC_PAGESIZE) : 0;
    std::size_t released = 0;
    char line[max_line_length + 1];
    const char* pos = data;
    const char* const end = data + size;
    while (pos < end) {
        ++state.line_number;
        // The number must be in memory before the file is read, so that a
        // fault in the reads below reports this line.
        std::atomic_signal_fence(std::memory_order_seq_cst);
        const auto* newline = static_cast<const char*>(std::memchr(pos, '\n', static_cast<std::size_t>(end - pos)));
        const char* line_end = newline != nullptr ? newline : end;
        const auto length = static_cast<std::size_t>(line_end - pos);

        if (length > max_line_length) {
            std::printf("第 %zu 行过长\n", state.line_number);
            state.clean = false;
        } else {
            // A NUL inside the line ends its text, as it would for strncpy.
            std::memcpy(line, pos, length);
            line[length] = '\0';
            parsed_rule parsed;
            const line_result syntax = parse_rule_line(line, state.line_number, parsed);
            if (syntax == line_result::rejected) {
                state.clean = false;
            } else if (syntax == line_result::parsed) {
                switch (add_rule(set, state.line_number, parsed.package, parsed.thread, parsed.value)) {
                    case add_result::accepted: break;
                    case add_result::rejected: state.clean = false; break;
                    case add_result::table_full: state.clean = false; return;
                    case add_result::stop: state.stopped = true; return;
                }
            }
        }

        if (newline == nullptr) break;
        pos = newline + 1;
        if (page_size > 0) release_read_pages(data, pos, static_cast<std::size_t>(page_size), released);
    }
}

// What the SIGBUS handler needs while check_lines runs: the pages it may take
// a fault back from, where to jump, and the disposition it replaced. The
// handler can reach nothing but a global.
struct read_guard {
    std::uintptr_t start = 0;
    std::uintptr_t end = 0;  // rounded up to a whole page
    sigjmp_buf resume{};
    struct sigaction previous {};
};
read_guard guard;

// A read of a mapped file faults with SIGBUS when the page lies past the
// file's end (it shrank) or cannot be read in. Only such a fault inside the
// guarded pages is taken back; it can only come from memchr or memcpy in
// scan_lines, both async-signal-safe, so the jump leaves no library state
// half-changed. Anything else goes to the previous disposition: a fault
// recurs when the instruction is retried, a sent signal is sent again.
void on_bus_error(int signal_number, siginfo_t* info, void* /*context*/) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    if (info->si_code == BUS_ADRERR && address >= guard.start && address < guard.end)
        siglongjmp(guard.resume, 1);
    (void)sigaction(signal_number, &guard.previous, nullptr);
    if (info->si_code <= 0) (void)raise(signal_number);
}

}  // namespace

void check_lines(const char* data, std::size_t size, rule_set& set, run_state& state, bool drop_read_pages) {
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    guard.start = reinterpret_cast<std::uintptr_t>(data);
    guard.end = (guard.start + size + page - 1) / page * page;
    struct sigaction handler {};
    handler.sa_sigaction = on_bus_error;
    handler.sa_flags = SA_SIGINFO;
    sigemptyset(&handler.sa_mask);
    const bool guarded = sigaction(SIGBUS, &handler, &guard.previous) == 0;

    // Nothing below changes a local after sigsetjmp; the jump crosses only
    // scan_lines and the C library's reads.
    if (sigsetjmp(guard.resume, 1) == 0)
        scan_lines(data, size, set, state, drop_read_pages);
    else
        state.read_failed = true;

    if (guarded) (void)sigaction(SIGBUS, &guard.previous, nullptr);
}

int print_summary(const rule_set& set, const run_state& state) {
    if (set.table.count == 0) {
        std::printf("未加载有效规则\n");
        return 1;
    }
    std::printf("配置文件解析完成，共加载 %zu 条规则，%zu 条通配符规则\n", set.table.count, set.wildcards.count);
    return state.clean && !state.stopped && !state.read_failed ? 0 : 1;
}

int run_applist_check(int argc, char** argv) {
    char config_path[max_path_length + 1] = {};
    std::memcpy(config_path, default_config_path, sizeof default_config_path);
    cpu_set_t present_cpus;
    CPU_ZERO(&present_cpus);
    char present_text[present_text_size] = {};

    switch (read_options(argc, argv, config_path)) {
        case options_result::run: break;
        case options_result::usage_ok: std::printf(usage_format, argv[0]); return 0;
        case options_result::usage_error: std::printf(usage_format, argv[0]); return 1;
    }

    read_present_cpus(present_cpus, present_text);

    file_mapping mapping;
    if (!map_rule_file(config_path, mapping)) return 1;

    rule_set set;
    if (!create_rule_set(set, present_cpus, present_text)) return 1;

    run_state state;
    check_lines(static_cast<const char*>(mapping.start), mapping.length, set, state, true);
    if (state.read_failed)
        std::printf("无法读取配置文件 %s: 第 %zu 行读取失败\n", config_path, state.line_number);

    mapping.reset();
    release_rule_set(set);
    return print_summary(set, state);
}
