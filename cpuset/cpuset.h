// cpuset: CPU lists and the CPUs this machine has.
//
// Owns the CPU list parser (text such as "0-3,6" into a cpu_set_t), the
// present-CPU set read once from the kernel at start-up, and the check of one
// rule's CPU list against that set, which reports its two faults (worded,
// like every fault, by the checker's format_message).
#pragma once

#include <sched.h>

#include <cstddef>

struct rule;
struct rule_set;

// CPU numbers a set can hold: 0 to max_cpu.
constexpr unsigned long max_cpu = 1023;
// Bytes of present-CPU text kept from the kernel's file (plus a NUL).
constexpr std::size_t present_text_size = 128;
// Bytes of a CPU list error text (plus a NUL).
constexpr std::size_t cpu_error_size = 64;
// Where the kernel lists the CPUs that exist.
constexpr const char present_cpus_path[] = "/sys/devices/system/cpu/present";

static_assert(sizeof(unsigned long) == 8, "CPU list numbers are read as 64-bit unsigned long");
static_assert(CPU_SETSIZE == max_cpu + 1, "cpu_set_t must hold exactly CPUs 0 to 1023");
static_assert(sizeof(cpu_set_t) == 128, "cpu_set_t must be 1024 bits");

// One item as the parser read it, in byte offsets from the start of the text.
// strtoul took the bytes from `start` to `first_end` for N: blanks and a sign
// may come before its digits.
struct cpu_item {
    std::size_t start;
    std::size_t first_end;
    unsigned long first;
    bool has_last;           // a '-' followed by a number M that strtoul read
    std::size_t last_start;  // the byte after the '-' (with has_last)
    std::size_t last_end;    // just past M (with has_last)
    unsigned long last;      // M, or N without has_last
};

// Follows the parser's reading of one text, step by step, so that what it
// takes and what it passes over can be shown without a second parser.
class cpu_list_observer {
public:
    // No number starts at `offset`: the byte is stepped over.
    virtual void skipped(std::size_t offset) = 0;
    // An item was read (before it is checked and set).
    virtual void item(const cpu_item& item) = 0;
    // The ',' at `offset`, after an item, is stepped over.
    virtual void comma(std::size_t offset) = 0;

protected:
    cpu_list_observer() = default;
    cpu_list_observer(const cpu_list_observer&) = default;
    cpu_list_observer& operator=(const cpu_list_observer&) = default;
    ~cpu_list_observer() = default;
};

// Reads the CPU list `text` into `out_set`, only ever setting bits. With a
// `check_set`, every CPU named must also be in it. Items starting above 1023
// are dropped; a reversed range or a CPU missing from `check_set` fails its
// item, writes "%lu-%lu" or "%lu" to `err_buf` (when given and err_size > 0)
// and the parse goes on with the next item. `text` is never changed.
// An `observer`, when given, is told every step.
// Returns 1 when no item failed (the empty text included), 0 otherwise.
[[nodiscard]] int parse_cpu_ranges(const char* text, cpu_set_t* out_set, const cpu_set_t* check_set,
                                   char* err_buf, std::size_t err_size, cpu_list_observer* observer = nullptr);

// Fills `present_cpus` and `present_text`, both cleared by the caller, from
// one read of at most 127 bytes of `path` (the kernel's file unless a test
// names another). Trailing blanks are cut from the text. An absent,
// unreadable, empty or blank file leaves the set empty. Prints nothing and
// never fails the run.
void read_present_cpus(cpu_set_t& present_cpus, char (&present_text)[present_text_size],
                       const char* path = present_cpus_path);

// Fills them from `list` instead, as from a present file holding that list
// (its first 127 bytes) and a line feed; the empty list means no CPU, as an
// unreadable file does.
void set_present_cpus(cpu_set_t& present_cpus, char (&present_text)[present_text_size], const char* list);

// Parses `value` into `out.cpus` (already cleared) and checks it against the
// present CPUs of `set`. Returns true when every CPU below 1024 it names is
// present, no range is reversed and at least one CPU is left; otherwise
// reports one fault for `line_number` to the set's sink and returns false.
[[nodiscard]] bool check_rule_cpus(const rule_set& set, std::size_t line_number, const char* package,
                                   const char* thread, const char* value, rule& out);
