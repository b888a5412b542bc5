// The rule file in memory: its read-only mapping, the line loop over it, the
// release of pages the loop has read, and the guard that turns a SIGBUS from
// reading the mapping into a read failure of one line.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <atomic>
#include <csetjmp>
#include <csignal>
#include <cstdint>
#include <cstring>

#include "cli/cli.h"
#include "rules/rules.h"

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

}  // namespace

void file_mapping::reset() {
    if (start != MAP_FAILED) munmap(start, length);
    start = MAP_FAILED;
}

bool map_rule_file(const char* path, file_mapping& mapping, report_sink& sink) {
    fault f;
    f.text = path;
    struct stat info {};
    if (stat(path, &info) != 0) {
        f.kind = fault_kind::file_missing;
        sink.report(f);
        return false;
    }
    // O_NONBLOCK: opening a FIFO must not wait for a writer; the mapping
    // then refuses it like any other file that cannot be mapped.
    unique_fd file(open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.fd < 0) {
        f.kind = fault_kind::file_not_opened;
        f.reason = std::strerror(errno);
        sink.report(f);
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
        f.kind = fault_kind::file_not_mapped;
        f.reason = std::strerror(map_errno);
        sink.report(f);
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

// Drops the pages the loop has read, when it reads a private file mapping.
struct page_dropper {
    const char* start;
    std::size_t page_size;  // 0: nothing is dropped
    std::size_t released = 0;
    void read_up_to(const char* pos) {
        if (page_size > 0) release_read_pages(start, pos, page_size, released);
    }
};

// Finds the line feed that ends the line at `pos`, or returns null when the
// line runs to `end`. Past max_line_length bytes the line is too long
// whatever follows, so the search goes on in steps, dropping the pages it has
// passed: a file without line feeds does not stay in memory whole.
const char* find_line_end(const char* pos, const char* end, page_dropper& dropper) {
    auto step = static_cast<std::size_t>(end - pos);
    if (step > max_line_length + 1) step = max_line_length + 1;
    for (;;) {
        // NOLINTNEXTLINE(bugprone-not-null-terminated-result): a search, not a string.
        if (const void* newline = std::memchr(pos, '\n', step)) return static_cast<const char*>(newline);
        pos += step;
        if (pos == end) return nullptr;
        dropper.read_up_to(pos);
        step = static_cast<std::size_t>(end - pos);
        if (step > page_release_step) step = page_release_step;
    }
}

// A SIGBUS in its reads of `data` may leave this loop at any line (see
// check_lines), so it owns nothing that needs releasing and keeps everything
// that must outlive it in `set` and `state`.
void scan_lines(const char* data, std::size_t size, rule_set& set, run_state& state, bool drop_read_pages) {
    report_sink& sink = *set.sink;
    page_dropper dropper{data, drop_read_pages ? static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) : 0};
    char line[max_line_length + 1];
    const char* pos = data;
    const char* const end = data + size;
    while (pos < end) {
        ++state.line_number;
        // The number must be in memory before the file is read, so that a
        // fault in the reads below reports this line.
        std::atomic_signal_fence(std::memory_order_seq_cst);
        const char* newline = find_line_end(pos, end, dropper);
        const char* line_end = newline != nullptr ? newline : end;
        const auto length = static_cast<std::size_t>(line_end - pos);
        sink.begin_line(state.line_number, pos, length);

        if (length > max_line_length) {
            fault f;
            f.kind = fault_kind::line_too_long;
            f.line_number = state.line_number;
            sink.report(f);
            state.clean = false;
        } else {
            // A NUL inside the line ends its text, as it would for strncpy.
            std::memcpy(line, pos, length);
            line[length] = '\0';
            parsed_rule parsed;
            const line_result syntax = parse_rule_line(line, state.line_number, parsed, sink);
            if (syntax == line_result::rejected) {
                state.clean = false;
            } else if (syntax == line_result::parsed) {
                sink.rule_parsed(line, parsed);
                switch (add_rule(set, state.line_number, parsed.package, parsed.thread, parsed.value)) {
                    case add_result::accepted: break;
                    case add_result::rejected: state.clean = false; break;
                    case add_result::table_full:
                        state.clean = false;
                        state.end = loop_end::table_full;
                        return;
                    case add_result::stop: state.end = loop_end::stopped; return;
                }
            }
        }

        if (newline == nullptr) break;
        pos = newline + 1;
        dropper.read_up_to(pos);
    }
}

}  // namespace

namespace {

// What the SIGBUS handler needs while check_lines runs: the pages it may take
// a fault back from, where to jump, its own disposition and the one it
// replaced. The handler can reach nothing but a global. Each is written
// before the handler is installed; what it reads as a value is a lock-free
// atomic or a volatile sig_atomic_t, the rest it only passes to the kernel.
struct read_guard {
    std::atomic<std::uintptr_t> start{0};
    std::atomic<std::uintptr_t> end{0};  // rounded up to a whole page
    sigjmp_buf resume{};
    struct sigaction own {};
    struct sigaction previous {};
    volatile std::sig_atomic_t previous_ignores = 0;  // the tool was started with SIGBUS ignored
};
static_assert(std::atomic<std::uintptr_t>::is_always_lock_free, "the SIGBUS handler reads the guarded range");
read_guard guard;

// A read of a mapped file faults with SIGBUS when the page lies past the
// file's end (it shrank) or cannot be read in. Only such a fault inside the
// guarded pages is taken back; it comes from a read in scan_lines or in the
// sink it calls (the C library's reads there are async-signal-safe, and a
// sink holds nothing across such a read: see report_sink), so the jump
// leaves no state half-changed. A signal sent by another process
// (si_code <= 0) is dropped when the tool was started ignoring SIGBUS, as it
// would have been without the guard, and otherwise delivered to the previous
// disposition at once, after which the guard is put back. A fault outside
// the guarded pages goes to the previous disposition: it recurs when the
// instruction is retried.
void on_bus_error(int signal_number, siginfo_t* info, void* /*context*/) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    if (info->si_code == BUS_ADRERR && address >= guard.start.load() && address < guard.end.load())
        siglongjmp(guard.resume, 1);
    if (info->si_code <= 0 && guard.previous_ignores != 0) return;
    (void)sigaction(signal_number, &guard.previous, nullptr);
    if (info->si_code > 0) return;
    // The signal is blocked while this handler runs: raised and unblocked,
    // it reaches the previous disposition now (a default one ends the
    // process), and the guard is back before the loop goes on.
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal_number);
    (void)raise(signal_number);
    // cppcheck-suppress unreachableCode ; raise returns: the signal is blocked until the next line.
    (void)sigprocmask(SIG_UNBLOCK, &only, nullptr);
    (void)sigaction(signal_number, &guard.own, nullptr);
}

}  // namespace

bool run_guarded(const char* data, std::size_t size, void (*read)(void*), void* context) {
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    guard.start = start;
    guard.end = (start + size + page - 1) / page * page;
    guard.own = {};
    guard.own.sa_sigaction = on_bus_error;
    // SA_RESTART: a write that a sent SIGBUS interrupts goes on, rather
    // than failing and losing what stdio had buffered.
    guard.own.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&guard.own.sa_mask);
    struct sigaction previous {};
    const bool guarded = sigaction(SIGBUS, nullptr, &previous) == 0;
    guard.previous = previous;
    guard.previous_ignores = guarded && (previous.sa_flags & SA_SIGINFO) == 0 && previous.sa_handler == SIG_IGN ? 1 : 0;
    const bool installed = guarded && sigaction(SIGBUS, &guard.own, nullptr) == 0;
    // A SIGBUS blocked by whoever started the tool would make a read fault
    // fatal, handler or not.
    sigset_t bus;
    sigset_t inherited;
    sigemptyset(&bus);
    sigaddset(&bus, SIGBUS);
    const bool unblocked = sigprocmask(SIG_UNBLOCK, &bus, &inherited) == 0;

    // Nothing below changes a local after sigsetjmp but `finished`, which is
    // volatile; the jump crosses only `read` (scan_lines and the sink it
    // calls, say) and the C library's reads.
    volatile bool finished = false;
    if (sigsetjmp(guard.resume, 1) == 0) {
        read(context);
        finished = true;
    }

    if (unblocked) (void)sigprocmask(SIG_SETMASK, &inherited, nullptr);
    if (installed) (void)sigaction(SIGBUS, &previous, nullptr);
    return finished;
}

void check_lines(const char* data, std::size_t size, rule_set& set, run_state& state, bool drop_read_pages) {
    struct scan {
        const char* data;
        std::size_t size;
        rule_set& set;
        run_state& state;
        bool drop_read_pages;
    } args{data, size, set, state, drop_read_pages};
    const auto read = [](void* context) {
        auto& a = *static_cast<scan*>(context);
        scan_lines(a.data, a.size, a.set, a.state, a.drop_read_pages);
    };
    if (!run_guarded(data, size, read, &args)) state.end = loop_end::read_failed;
}
