// rules: the in-memory rule set built from a rule file.
//
// Owns the `rule` record, the rule table (every accepted rule in file order,
// with duplicate detection and priorities), the wildcard list (which rules
// have a wildcard package) and the package index (a uthash table of the exact
// package names). The set is filled by add_rule, read back only for its two
// counts, and released at the end of the run.
#pragma once

#include <sched.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

// Widths of the fixed character fields, NUL included.
constexpr std::size_t package_size = 128;
constexpr std::size_t thread_size = 32;
// Storage obtained when the set is created; each grows by doubling.
constexpr std::size_t initial_rule_capacity = 2560;
constexpr std::size_t initial_wildcard_capacity = 128;
constexpr std::size_t initial_duplicate_slots = 8192;
// Rule positions are kept as 32-bit numbers in the duplicate set.
constexpr std::size_t max_rules = UINT32_MAX - 1;

// Copies `text` into a fixed field: at most N - 1 bytes, the rest of the field
// zero-filled, so the field is always NUL-terminated. Every fixed field of the
// tool, the -c path included, is filled by this one helper.
template <std::size_t N>
void copy_field(char (&field)[N], const char* text) {
    std::strncpy(field, text, N - 1);
    field[N - 1] = '\0';
}

// A blank, wherever the tool trims or skips white space (rule lines and the
// present-CPU text alike): tab, line feed, vertical tab, form feed, carriage
// return and space, and nothing else (not even what the locale calls space).
constexpr bool is_blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Whether `name` is a pattern: it holds '*', '?' or '['.
inline bool has_wildcard(const char* name) { return std::strpbrk(name, "*?[") != nullptr; }

// One accepted rule.
struct rule {
    char package[package_size];  // may hold '*', '?', '['; may be empty
    char thread[thread_size];    // empty when the rule names no thread
    cpu_set_t cpus;              // never empty once accepted
    bool is_wildcard;            // the package holds '*', '?' or '['
    std::uint32_t priority;      // from calculate_rule_priority
};

// Every accepted rule, in the order of its line.
struct rule_table {
    rule* rules = nullptr;
    std::size_t count = 0;
    std::size_t capacity = 0;
};

// One entry per accepted wildcard rule: the rule's position in the table
// (positions stay valid when the table moves as it grows).
struct wildcard_list {
    std::size_t* entries = nullptr;
    std::size_t count = 0;
    std::size_t capacity = 0;
};

// Open-addressing hash set over the (package, thread) pairs of the committed
// rules, so a duplicate is found without scanning the table. A slot holds the
// pair's hash and the rule's position plus one (0 marks an empty slot).
struct duplicate_slot {
    std::uint32_t hash;
    std::uint32_t position_plus_one;
};
struct duplicate_set {
    duplicate_slot* slots = nullptr;
    std::size_t slot_count = 0;  // a power of two, at least twice the rule count
};

// One exact package name in the package index (a uthash record, defined
// where the index is kept).
struct package_entry;

class report_sink;
struct rule_set;
// Empties the package index, then frees the table, the wildcard list and the
// duplicate set. The two counts stay readable. Safe to call more than once.
void release_rule_set(rule_set& set);

// The loaded rules. Owned by the driver for the whole run; its destructor
// releases whatever a path left unreleased.
struct rule_set {
    rule_table table;
    wildcard_list wildcards;
    duplicate_set duplicates;
    package_entry* package_index = nullptr;  // uthash head; null while empty
    const cpu_set_t* present_cpus = nullptr;
    const char* present_text = nullptr;
    report_sink* sink = nullptr;  // where add_rule reports faults

    rule_set() = default;
    rule_set(const rule_set&) = delete;
    rule_set& operator=(const rule_set&) = delete;
    ~rule_set() { release_rule_set(*this); }
};

// Obtains storage for initial_rule_capacity rules, initial_wildcard_capacity
// wildcard entries and the duplicate set, and keeps references to the present
// CPUs for the CPU check and to the sink its faults go to. Returns false,
// with nothing left allocated, when any of the storage could not be obtained.
[[nodiscard]] bool create_rule_set(rule_set& set, const cpu_set_t& present_cpus, const char* present_text,
                                   report_sink& sink);

enum class add_result {
    accepted,    // committed and entered in the wildcard list or the index
    rejected,    // a fault was reported; nothing changed
    table_full,  // the table could not grow; nothing changed, nothing printed
    stop,        // committed, but the wildcard list or the index could not take it
};

// Checks one parsed rule and, when it passes, commits it: duplicate check,
// room, record, CPU check, wildcard flag, priority, commit, then the wildcard
// list or the package index. Faults go to the set's sink.
[[nodiscard]] add_result add_rule(rule_set& set, std::size_t line_number, const char* package,
                                  const char* thread, const char* value);

// Priority of a thread or package name: 200 for none or the empty name,
// 1000 + length for an exact name, else the count of bytes other than '*',
// '?' and '[' plus 500 (has '['), 300 (has '?') or 100 (only '*').
[[nodiscard]] std::uint32_t calculate_rule_priority(const char* name);

// Enters `package` in the index unless it is already there. Returns true when
// it is there now, false when a new entry could not be allocated. A failure
// inside uthash's own tables ends the process with status 255.
[[nodiscard]] bool index_package(package_entry*& index, const char* package);

// Removes and frees every entry; the head is null afterwards.
void release_package_index(package_entry*& index);
