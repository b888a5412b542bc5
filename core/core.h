// core: the vocabulary every part of the tool shares, below all of them.
//
// Owns what a fault is (its kind and its arguments), the sink faults go to
// and its contract, the parsed rule a sink is shown, the longest line the
// checker parses, what counts as a control character, and the one way
// storage grows. Header only; it includes nothing of the tool's own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

class cpu_list_observer;

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

// Where the faults of a run go. The checker prints each one; the lint keeps
// them, with what else it learns of each line, for its own findings.
//
// A sink is called from inside the line loop, which runs under the read
// guard (see check_lines): a SIGBUS from reading the rule file's mapping,
// in the loop or in a sink reading the bytes it was shown, jumps out of the
// loop and out of the sink with siglongjmp, running no destructor. So a sink
// must hold no resource across a read of the mapping (nothing allocated,
// locked or half-updated that only the rest of the call would release or
// finish), and must leave its state usable at every such read.
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

// The length of the control character at `p` (at most `available` bytes are
// read): 1 for a C0 control (0x00-0x1F) or DEL, 2 for the UTF-8 form of a C1
// control (U+0080-U+009F), 0 for anything else. What a terminal would act on
// is one of these; every text the tool shows hides or escapes them.
constexpr std::size_t control_length(const char* p, std::size_t available) {
    if (available == 0) return 0;
    const auto c = static_cast<unsigned char>(*p);
    if (c < 0x20 || c == 0x7F) return 1;
    if (c == 0xC2 && available >= 2 && static_cast<unsigned char>(p[1]) >= 0x80 &&
        static_cast<unsigned char>(p[1]) <= 0x9F)
        return 2;
    return 0;
}

// Makes room for `needed` items in `items` (malloc'd storage for `capacity`
// of them, or null and 0): doubles the capacity, from `initial` when there is
// none yet, until they fit, never beyond `limit` items. Returns false, with
// both as they were, when the limit is reached or the storage cannot be had.
template <typename T>
[[nodiscard]] bool grow_to_fit(T*& items, std::size_t& capacity, std::size_t needed, std::size_t initial,
                               std::size_t limit = SIZE_MAX / sizeof(T)) {
    if (needed <= capacity) return true;
    std::size_t new_capacity = capacity != 0 ? capacity : initial;
    while (new_capacity < needed) {
        if (new_capacity > limit / 2) return false;
        new_capacity *= 2;
    }
    void* moved = std::realloc(items, new_capacity * sizeof(T));
    if (moved == nullptr) return false;
    items = static_cast<T*>(moved);
    capacity = new_capacity;
    return true;
}
