// cli: the applist-check and applist-check-for commands.
//
// Owns the command line, the start-up order, the rule file in memory (its
// mapping and the guard on reading it), the split into numbered lines, the
// syntax of one rule line, the summary and the exit status. Everything a run
// acquires is owned here and released on every path.
#pragma once

#include <sys/mman.h>

#include <cstddef>

struct rule_set;

// Longest path kept from -c; longer ones are cut.
constexpr std::size_t max_path_length = 4095;
// Longest line examined; longer lines are reported as too long.
constexpr std::size_t max_line_length = 254;

enum class line_result {
    skip,      // blank or comment line
    rejected,  // malformed: one message was printed
    parsed,    // package, thread and value were found
};

// The three texts of a parsed rule line. Each points into the line buffer,
// except the empty thread of a key without braces.
struct parsed_rule {
    const char* package = nullptr;
    const char* thread = nullptr;
    const char* value = nullptr;
};

// Parses one NUL-terminated line in place (it writes NULs over '=', '{', '}'
// and the trimmed end). Prints exactly one message for `line_number` when the
// line is rejected.
[[nodiscard]] line_result parse_rule_line(char* buffer, std::size_t line_number, parsed_rule& out);

// Where one run stands.
struct run_state {
    std::size_t line_number = 0;
    bool clean = true;     // no line rejected, the table never refused to grow
    bool stopped = false;  // an allocation failed after a rule was committed
    bool read_failed = false;  // line `line_number` could not be read from the file
};

// The read-only mapping of the rule file; unmapped when it goes out of scope.
struct file_mapping {
    void* start = MAP_FAILED;
    std::size_t length = 0;
    file_mapping() = default;
    file_mapping(const file_mapping&) = delete;
    file_mapping& operator=(const file_mapping&) = delete;
    ~file_mapping() { reset(); }
    void reset();
};

// Maps the whole rule file at `path`, as long as the file that open() gave is.
// Returns false when it cannot be examined, opened or mapped, after printing
// the one message that says which.
[[nodiscard]] bool map_rule_file(const char* path, file_mapping& mapping);

// Drops the pages of the private file mapping at `start` that lie wholly
// before `read_up_to`, once another step of them has been read since the last
// drop (`released` bytes were dropped so far). A touched page would simply be
// read from the file again.
void release_read_pages(const char* start, const char* read_up_to, std::size_t page_size,
                        std::size_t& released);

// The line loop: walks `size` bytes of rule file line by line, reporting
// faulty lines and adding parsed rules to `set`, and returns early when an
// allocation fails. With `drop_read_pages`, `data` must be a private file
// mapping: its pages are dropped once the loop has read past them.
void scan_lines(const char* data, std::size_t size, rule_set& set, run_state& state, bool drop_read_pages);

// scan_lines under a guard: a SIGBUS from reading `data` (a mapped file that
// shrank under the run, or whose pages cannot be read) ends the loop, sets
// `state.read_failed` and prints nothing; `state.line_number` is then the line
// being read. SIGBUS is unblocked for the loop, whatever mask the process
// inherited; the mask and the previous disposition are restored after it, and
// any other SIGBUS goes to that disposition. Not reentrant.
void check_lines(const char* data, std::size_t size, rule_set& set, run_state& state,
                 bool drop_read_pages = false);

// Prints the closing line for the released `set`: "no rule loaded", or the
// summary with both counts. Returns the exit status: 0 when rules loaded and
// the run was clean, else 1.
[[nodiscard]] int print_summary(const rule_set& set, const run_state& state);

// The whole command: options, start-up, the line loop, the summary. The
// present CPUs come from the kernel's file, or from `present_list` when it is
// given. Returns the exit status.
[[nodiscard]] int run_applist_check(int argc, char** argv, const char* present_list = nullptr);

// Makes a write past the file-size limit fail (EFBIG) instead of ending the
// process with SIGXFSZ, so finish_output sees it. Called first by both
// commands.
void prepare_output();

// Flushes standard output. Returns `status`, or 1 in place of 0 when any of
// the output could not be written.
[[nodiscard]] int finish_output(int status);
