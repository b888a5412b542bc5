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

struct rule_set;
class cpu_list_observer;

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

// Every message the checker prints about a rule file, each worded once, in
// format_message.
enum class fault_kind : std::uint8_t {
    line_too_long,        // the line is 255 bytes or longer
    missing_equals,       // syntax faults: `text` is the line, key or package
    empty_key,            //   as cut so far
    empty_value,
    missing_close_brace,
    empty_thread,
    bytes_after_brace,
    missing_open_brace,
    name_too_long,
    duplicate,            // `package`, `thread`, `value`; `kept_position`
    cpus_not_present,     // a CPU not present or a reversed range: `cpu_text`
    no_valid_cpu,         // no CPU left
    file_missing,         // file faults: `text` is the path
    file_not_opened,      //   with `reason`, strerror's text
    file_not_mapped,      //   with `reason`
    file_read_failed,     // the file shrank: line `line_number` could not be read
    no_rule_loaded,       // the file's closing line when nothing loaded
};

// One fault, as data: which message and its arguments. Texts not used by the
// kind stay empty.
struct fault {
    fault_kind kind = fault_kind::line_too_long;
    std::size_t line_number = 0;  // 0 for a fault of the whole file
    const char* text = "";
    const char* package = "";
    const char* thread = "";
    const char* value = "";
    const char* cpu_text = "";
    const char* present_text = "";
    const char* reason = "";
    std::size_t kept_position = 0;  // duplicate: table position of the rule that stays
};

// Room for any message: a path of max_path_length bytes and its reason, or a
// line's texts, each far shorter.
constexpr std::size_t max_message_size = 8192;

// Writes the checker's message for `f`, line feed included, into `out`. With
// `printable`, every control character of the texts taken from the file or
// the command line shows as '?' (see make_printable). Returns its length.
std::size_t format_message(char (&out)[max_message_size], const fault& f, bool printable);

// Copies `text` into `out` (at most `out_size` - 1 bytes and a NUL), showing
// each control character as '?': the bytes 0x00-0x1F but tab, 0x7F, and the
// UTF-8 forms of U+0080-U+009F. What a terminal would act on cannot pass.
void make_printable(const char* text, char* out, std::size_t out_size);

// Where the faults of a run go. The checker prints each one; the lint keeps
// them, with what else it learns of each line, for its own findings.
class report_sink {
public:
    // Line `line_number` is about to be examined: its bytes, without the line
    // feed (they stay readable until the next line begins).
    virtual void begin_line(std::size_t /*line_number*/, const char* /*bytes*/, std::size_t /*length*/) {}
    // One fault.
    virtual void report(const fault& f) = 0;
    // The line in `buffer` parsed into `rule`, whose texts point into it (but
    // an empty thread). Called before the rule goes to add_rule.
    virtual void rule_parsed(const char* /*buffer*/, const parsed_rule& /*rule*/) {}
    // The rule of the current line was committed at table position `position`.
    virtual void rule_accepted(std::size_t /*position*/) {}
    // Told each step of the CPU list scan of a rule's value, if anyone is.
    virtual cpu_list_observer* cpu_observer() { return nullptr; }

protected:
    report_sink() = default;
    report_sink(const report_sink&) = default;
    report_sink& operator=(const report_sink&) = default;
    ~report_sink() = default;
};

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

// Where one run stands.
struct run_state {
    std::size_t line_number = 0;
    bool clean = true;     // no line rejected, the table never refused to grow
    bool stopped = false;  // an allocation failed after a rule was committed
    bool table_full = false;   // the table could not grow: the loop ended there
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
// Returns false when it cannot be examined, opened or mapped, after reporting
// the one fault that says which.
[[nodiscard]] bool map_rule_file(const char* path, file_mapping& mapping, report_sink& sink);

// Drops the pages of the private file mapping at `start` that lie wholly
// before `read_up_to`, once another step of them has been read since the last
// drop (`released` bytes were dropped so far). A touched page would simply be
// read from the file again.
void release_read_pages(const char* start, const char* read_up_to, std::size_t page_size,
                        std::size_t& released);

// The line loop: walks `size` bytes of rule file line by line, reporting
// faulty lines to the set's sink and adding parsed rules to `set`, and ends
// early when an allocation fails. With `drop_read_pages`, `data` must be a
// private file mapping: its pages are dropped once the loop has read past
// them, also inside a line that has no end in sight.
//
// It runs under a guard: a SIGBUS from reading `data` (a mapped file that
// shrank under the run, or whose pages cannot be read) ends the loop, sets
// `state.read_failed` and reports nothing; `state.line_number` is then the
// line being read. SIGBUS is unblocked for the loop, whatever mask the
// process inherited; the mask and the previous disposition are restored after
// it. A SIGBUS sent by another process is ignored when the process inherited
// it ignored, and goes to the inherited disposition otherwise; calls it
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

// Makes a write past the file-size limit fail (EFBIG) instead of ending the
// process with SIGXFSZ, so finish_output sees it. Called first by both
// commands.
void prepare_output();

// Flushes standard output. Returns `status`, or 1 in place of 0 when any of
// the output could not be written.
[[nodiscard]] int finish_output(int status);
