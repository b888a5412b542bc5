// cli: the applist-check command.
//
// Owns the command line, the start-up order, access to and mapping of the rule
// file, the split into numbered lines, the syntax of one rule line, the
// summary and the exit status. Everything the run acquires is owned here and
// released on every path.
#pragma once

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

// Walks `size` bytes of rule file line by line, reporting faulty lines and
// adding parsed rules to `set`. Leaves early when an allocation fails, or when
// reading `data` faults with SIGBUS (a mapped file that shrank under the run,
// or whose pages cannot be read): it then sets `state.read_failed`, prints
// nothing, and `state.line_number` is the line it was reading. Any other
// SIGBUS keeps its previous disposition. Not reentrant.
// With `drop_read_pages`, `data` must be a private file mapping: its pages are
// dropped once the loop has read past them.
void check_lines(const char* data, std::size_t size, rule_set& set, run_state& state,
                 bool drop_read_pages = false);

// Prints the closing line for the released `set` and returns the exit status.
[[nodiscard]] int print_summary(const rule_set& set, const run_state& state);

// The whole command: options, start-up, the line loop, the summary. Returns
// the exit status.
[[nodiscard]] int run_applist_check(int argc, char** argv);
