// The rule file in memory: its read-only mapping, the release of pages the
// line loop has read, and the guard that turns a SIGBUS from reading the
// mapping into a read failure of one line.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "cli/cli.h"

namespace {

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

// Bytes of a mapped file read between two releases of its pages.
constexpr std::size_t page_release_step = std::size_t{256} << 10;

}  // namespace

void file_mapping::reset() {
    if (start != MAP_FAILED) munmap(start, length);
    start = MAP_FAILED;
}

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
    // The length is the opened file's own: the name may have been given to
    // another file since stat, and a length from that one would map part of
    // this file, or run past its end.
    void* start = MAP_FAILED;
    if (fstat(file.fd, &info) == 0)
        start = mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, file.fd, 0);
    const int map_errno = errno;
    file.reset();
    if (start == MAP_FAILED) {
        std::printf("无法映射配置文件 %s: %s\n", path, std::strerror(map_errno));
        return false;
    }
    mapping.start = start;
    mapping.length = static_cast<std::size_t>(info.st_size);
    return true;
}

void release_read_pages(const char* start, const char* read_up_to, std::size_t page_size,
                        std::size_t& released) {
    const auto read = static_cast<std::size_t>(read_up_to - start);
    const std::size_t whole_pages = read - read % page_size;
    if (whole_pages < released + page_release_step) return;
    (void)madvise(const_cast<char*>(start + released), whole_pages - released, MADV_DONTNEED);
    released = whole_pages;
}

namespace {

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
    // A SIGBUS blocked by whoever started the tool would make a read fault
    // fatal, handler or not.
    sigset_t bus;
    sigset_t inherited;
    sigemptyset(&bus);
    sigaddset(&bus, SIGBUS);
    const bool unblocked = sigprocmask(SIG_UNBLOCK, &bus, &inherited) == 0;

    // Nothing below changes a local after sigsetjmp; the jump crosses only
    // scan_lines and the C library's reads.
    if (sigsetjmp(guard.resume, 1) == 0)
        scan_lines(data, size, set, state, drop_read_pages);
    else
        state.read_failed = true;

    if (unblocked) (void)sigprocmask(SIG_SETMASK, &inherited, nullptr);
    if (guarded) (void)sigaction(SIGBUS, &guard.previous, nullptr);
}
