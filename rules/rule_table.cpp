// The rule table, the wildcard list and the duplicate set, and add_rule, which
// decides for each parsed rule whether it joins them.
#include <cstdlib>
#include <cstring>

#include "core/core.h"
#include "cpuset/cpuset.h"
#include "rules/rules.h"

namespace {

// FNV-1a over "package NUL thread": names hold no NUL, so the pair is
// unambiguous. Folded to 32 bits, which both place and filter slots.
std::uint32_t hash_pair(const char* package, const char* thread) {
    std::uint64_t h = 0xcbf29ce484222325u;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(package); *p != 0; ++p)
        h = (h ^ *p) * 0x100000001b3u;
    h *= 0x100000001b3u;  // the NUL between the two names
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(thread); *p != 0; ++p)
        h = (h ^ *p) * 0x100000001b3u;
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

// Returns true when a committed rule has exactly this package and thread, and
// its table position through `position`.
bool is_duplicate(const rule_set& set, std::uint32_t hash, const char* package, const char* thread,
                  std::size_t& position) {
    const duplicate_set& dups = set.duplicates;
    const std::size_t mask = dups.slot_count - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const duplicate_slot& slot = dups.slots[i];
        if (slot.position_plus_one == 0) return false;
        if (slot.hash != hash) continue;
        const rule& r = set.table.rules[slot.position_plus_one - 1];
        if (std::strcmp(r.package, package) == 0 && std::strcmp(r.thread, thread) == 0) {
            position = slot.position_plus_one - 1;
            return true;
        }
    }
}

// Puts `entry` in the first empty slot from its hash on. The caller keeps the
// array at most half full, so there always is one.
void insert_slot(duplicate_slot* slots, std::size_t slot_count, duplicate_slot entry) {
    const std::size_t mask = slot_count - 1;
    std::size_t i = entry.hash & mask;
    while (slots[i].position_plus_one != 0) i = (i + 1) & mask;
    slots[i] = entry;
}

// Doubles the slot array and moves every entry over. False when the new
// array cannot be had; the old one is kept.
bool grow_duplicate_set(duplicate_set& dups) {
    const std::size_t new_count = dups.slot_count * 2;
    auto* slots = static_cast<duplicate_slot*>(std::calloc(new_count, sizeof(duplicate_slot)));
    if (slots == nullptr) return false;
    for (std::size_t i = 0; i < dups.slot_count; ++i)
        if (dups.slots[i].position_plus_one != 0) insert_slot(slots, new_count, dups.slots[i]);
    std::free(dups.slots);
    dups.slots = slots;
    dups.slot_count = new_count;
    return true;
}

// Makes room for one more rule: doubles the table when it is full (never
// beyond max_rules), then the duplicate set when one more rule would fill
// more than half of it. Returns false when the storage cannot be had or the
// table already holds max_rules; the table may then have grown already, the
// duplicate set is as it was, and the rule is not added either way.
bool make_room(rule_set& set) {
    rule_table& table = set.table;
    if (!grow_to_fit(table.rules, table.capacity, table.count + 1, initial_rule_capacity, max_rules)) return false;
    // Keep the set at most half full, so probe runs stay short.
    if ((table.count + 1) * 2 > set.duplicates.slot_count) return grow_duplicate_set(set.duplicates);
    return true;
}

// Appends the rule at `position` to the wildcard list, doubling it when full.
// Returns false, with the list as it was, when the larger storage cannot be had.
bool add_wildcard(wildcard_list& list, std::size_t position) {
    if (!grow_to_fit(list.entries, list.capacity, list.count + 1, initial_wildcard_capacity)) return false;
    list.entries[list.count++] = position;
    return true;
}

}  // namespace

bool create_rule_set(rule_set& set, const cpu_set_t& present_cpus, const char* present_text,
                     report_sink& sink) {
    auto* rules = static_cast<rule*>(std::malloc(initial_rule_capacity * sizeof(rule)));
    auto* entries = static_cast<std::size_t*>(std::malloc(initial_wildcard_capacity * sizeof(std::size_t)));
    auto* slots = static_cast<duplicate_slot*>(std::calloc(initial_duplicate_slots, sizeof(duplicate_slot)));
    if (rules == nullptr || entries == nullptr || slots == nullptr) {
        std::free(rules);
        std::free(entries);
        std::free(slots);
        return false;
    }
    set.table = rule_table{rules, 0, initial_rule_capacity};
    set.wildcards = wildcard_list{entries, 0, initial_wildcard_capacity};
    set.duplicates = duplicate_set{slots, initial_duplicate_slots};
    set.package_index = nullptr;
    set.present_cpus = &present_cpus;
    set.present_text = present_text;
    set.sink = &sink;
    return true;
}

add_result add_rule(rule_set& set, std::size_t line_number, const char* package, const char* thread,
                    const char* value) {
    const std::uint32_t hash = hash_pair(package, thread);
    std::size_t kept = 0;
    if (is_duplicate(set, hash, package, thread, kept)) {
        fault f;
        f.kind = fault_kind::duplicate;
        f.line_number = line_number;
        f.package = package;
        f.thread = thread;
        f.value = value;
        f.kept_position = kept;
        set.sink->report(f);
        return add_result::rejected;
    }

    if (!make_room(set)) return add_result::table_full;

    // The record past the last committed rule; a rejected rule leaves it to
    // the next one.
    const std::size_t position = set.table.count;
    rule& r = set.table.rules[position];
    copy_field(r.package, package);
    copy_field(r.thread, thread);
    CPU_ZERO(&r.cpus);

    if (!check_rule_cpus(set, line_number, package, thread, value, r)) return add_result::rejected;

    r.is_wildcard = has_wildcard(r.package);
    r.priority = calculate_rule_priority(r.thread[0] != '\0' ? r.thread : r.package);

    set.table.count = position + 1;
    insert_slot(set.duplicates.slots, set.duplicates.slot_count,
                duplicate_slot{hash, static_cast<std::uint32_t>(position + 1)});
    set.sink->rule_accepted(position);

    if (r.is_wildcard) return add_wildcard(set.wildcards, position) ? add_result::accepted : add_result::stop;
    return index_package(set.package_index, r.package) ? add_result::accepted : add_result::stop;
}

void release_rule_set(rule_set& set) {
    release_package_index(set.package_index);
    std::free(set.table.rules);
    set.table.rules = nullptr;
    set.table.capacity = 0;
    std::free(set.wildcards.entries);
    set.wildcards.entries = nullptr;
    set.wildcards.capacity = 0;
    std::free(set.duplicates.slots);
    set.duplicates = duplicate_set{};
}
