// cli: the applist-check and applist-check-for commands.
//
// Owns the command line, the start-up order, the rule file in memory (its
// mapping and the guard on reading it), the split into numbered lines, the
// syntax of one rule line, the summary and the exit status. Everything a run
// acquires is owned here and released on every path.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "core/core.h"

struct rule_set;

// Longest path kept from -c; longer ones are cut.
constexpr std::size_t max_path_length = 4095;

// Room for any message: a path of max_path_length bytes and its reason, or a
// line's texts, each far shorter.
constexpr std::size_t max_message_size = 8192;

// What of a message format_message writes: all of it, or its body, without
// the line feed and without the "第 N 行" that starts a message about a line
// (the lint shows the line's number its own way).
enum class message_part : std::uint8_t { whole, body };

// Writes the checker's message for `f` (or its body) into `out`. With
// `printable`, every control character of the texts taken from the file or
// the command line shows as '?' (see make_printable). Returns its length.
std::size_t format_message(char (&out)[max_message_size], const fault& f, bool printable,
                           message_part part = message_part::whole);

// Copies `text` into `out` (at most `out_size` - 1 bytes and a NUL), showing
// each control character (see control_length) as one '?', with `keep_tab`
// but a tab. What a terminal would act on cannot pass. `out` may be `text`.
void make_printable(const char* text, char* out, std::size_t out_size, bool keep_tab = true);

// Prints the usage line `format` with the program's name `me` on standard
// output, the name made printable when standard output is `terminal` (through
// a pipe it is printed as it is, however long).
void print_usage_line(const char* format, const char* me, bool terminal);

// The checker's sink: prints each message on standard output, its texts made
// printable when standard output is a terminal.
class print_sink final : public report_sink {
public:
    print_sink();
    void report(const fault& f) override;
    bool terminal() const { return terminal_; }

private:
    bool terminal_;
};

// Parses one NUL-terminated line in place (it writes NULs over '=', '{', '}'
// and the trimmed end). Reports exactly one fault for `line_number` when the
// line is rejected.
[[nodiscard]] line_result parse_rule_line(char* buffer, std::size_t line_number, parsed_rule& out,
                                          report_sink& sink);

// How the line loop ended.
enum class loop_end : std::uint8_t {
    finished,     // at the end of the file
    table_full,   // the table could not grow: the rule of line `line_number` was not added
    stopped,      // an allocation failed after the rule of line `line_number` was committed
    read_failed,  // line `line_number` could not be read from the file
};

// Where one run stands.
struct run_state {
    std::size_t line_number = 0;
    bool clean = true;  // no line rejected, the table never refused to grow
    loop_end end = loop_end::finished;
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
// Returns false when it cannot be examined, opened or mapped, after reporting
// the one fault that says which.
[[nodiscard]] bool map_rule_file(const char* path, file_mapping& mapping, report_sink& sink);

// Bytes of a mapped file read between two drops of its pages.
constexpr std::size_t page_release_step = std::size_t{256} << 10;

// Drops the pages of a private file mapping that lie wholly between `start`
// (page-aligned) and `read_up_to`, once another page_release_step of them
// has been read since the last drop (`released` bytes from `start` were
// dropped so far). A touched page would simply be read from the file again.
void release_read_pages(const char* start, const char* read_up_to, std::size_t page_size,
                        std::size_t& released);

// Runs `read(context)` under the read guard of the `size` bytes at `data`
// (see check_lines, which runs the line loop so). Returns false when a read
// of them faulted and cut `read` short.
[[nodiscard]] bool run_guarded(const char* data, std::size_t size, void (*read)(void*), void* context);

// The line loop: walks `size` bytes of rule file line by line, reporting
// faulty lines to the set's sink and adding parsed rules to `set`, and ends
// early when an allocation fails. With `drop_read_pages`, `data` must be a
// private file mapping: its pages are dropped once the loop has read past
// them, also inside a line that has no end in sight.
//
// It runs under a guard: a SIGBUS from reading `data` (a mapped file that
// shrank under the run, or whose pages cannot be read) ends the loop, sets
// `state.end` to read_failed and reports nothing; `state.line_number` is then the
// line being read. SIGBUS is unblocked for the loop, whatever mask the
// process inherited; the mask and the previous disposition are restored after
// it. A SIGBUS sent by another process is ignored when the process inherited
// it ignored, and goes to the inherited disposition otherwise (the guard
// stays for the rest of the loop when that is a handler); calls it
// interrupts are restarted. Not reentrant.
void check_lines(const char* data, std::size_t size, rule_set& set, run_state& state,
                 bool drop_read_pages = false);

// Prints the closing line for the released `set`: "no rule loaded" (through
// `sink`), or the summary with both counts. Returns the exit status: 0 when
// rules loaded and the run was clean, else 1.
[[nodiscard]] int print_summary(const rule_set& set, const run_state& state, report_sink& sink);

// The whole command: options, start-up, the line loop, the summary. The
// present CPUs come from the kernel's file, or from `present_list` when it is
// given. Returns the exit status.
[[nodiscard]] int run_applist_check(int argc, char** argv, const char* present_list = nullptr);

// Checks a CPU list given on the command line as the kernel writes one:
// items N or N-M separated by ',', decimal without leading zeros, N <= M, at
// most 127 bytes; the empty list means no CPU. Each of its control
// characters, tab included, is first shown as one '?' in place. Returns
// whether it is one, after writing to `out` (unless it is null) the one
// message that says why not.
[[nodiscard]] bool check_cpu_list(char* list, std::FILE* out);

// Makes a write past the file-size limit fail (EFBIG) instead of ending the
// process with SIGXFSZ, so finish_output sees it. Called first by both
// commands.
void prepare_output();

// Flushes standard output. Returns `status`, or 1 in place of 0 when any of
// the output could not be written.
[[nodiscard]] int finish_output(int status);
