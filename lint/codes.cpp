// The lint's codes: the one table of their names, checked against the
// enumeration when it compiles, the code of each of the checker's faults,
// and what may silence a code.
#include <cstring>
#include <iterator>

#include "lint/lint.h"

namespace {

struct code_entry {
    lint_code code;
    const char* name;
};

constexpr code_entry codes[] = {
    {lint_code::e001, "E001"}, {lint_code::e002, "E002"}, {lint_code::e003, "E003"}, {lint_code::e004, "E004"},
    {lint_code::e005, "E005"}, {lint_code::e006, "E006"}, {lint_code::e007, "E007"}, {lint_code::e008, "E008"},
    {lint_code::e009, "E009"}, {lint_code::e010, "E010"}, {lint_code::e011, "E011"}, {lint_code::e012, "E012"},
    {lint_code::e020, "E020"}, {lint_code::e021, "E021"}, {lint_code::e022, "E022"}, {lint_code::e023, "E023"},
    {lint_code::w101, "W101"}, {lint_code::w102, "W102"}, {lint_code::w103, "W103"}, {lint_code::w104, "W104"},
    {lint_code::w105, "W105"}, {lint_code::w110, "W110"}, {lint_code::w111, "W111"}, {lint_code::w112, "W112"},
    {lint_code::w113, "W113"}, {lint_code::w114, "W114"}, {lint_code::w115, "W115"}, {lint_code::w116, "W116"},
    {lint_code::w117, "W117"}, {lint_code::w130, "W130"}, {lint_code::w131, "W131"}, {lint_code::w132, "W132"},
    {lint_code::w133, "W133"}, {lint_code::w199, "W199"},
};

// Each code in its place, named with four characters, 'E' for an error and
// 'W' for a warning, the names rising as the codes do.
constexpr bool table_in_step() {
    for (std::size_t i = 0; i < std::size(codes); ++i) {
        const char* name = codes[i].name;
        if (static_cast<std::size_t>(codes[i].code) != i || name[4] != '\0') return false;
        if (name[0] != (is_error(codes[i].code) ? 'E' : 'W')) return false;
        for (std::size_t k = 0; i > 0 && k < 4; ++k) {
            if (codes[i - 1].name[k] < name[k]) break;
            if (codes[i - 1].name[k] > name[k] || k == 3) return false;
        }
    }
    return true;
}
static_assert(std::size(codes) == code_count, "one name for each code");
static_assert(table_in_step(), "the names follow the codes' order");

}  // namespace

const char* code_name(lint_code code) { return codes[static_cast<std::size_t>(code)].name; }

bool find_code(const char* name, std::size_t length, lint_code& out) {
    if (length != 4) return false;
    for (const code_entry& entry : codes) {
        if (std::memcmp(entry.name, name, 4) == 0) {
            out = entry.code;
            return true;
        }
    }
    return false;
}

lint_code code_of(fault_kind kind) {
    switch (kind) {
        case fault_kind::line_too_long: return lint_code::e001;
        case fault_kind::missing_equals: return lint_code::e002;
        case fault_kind::empty_key: return lint_code::e003;
        case fault_kind::empty_value: return lint_code::e004;
        case fault_kind::missing_close_brace: return lint_code::e005;
        case fault_kind::empty_thread: return lint_code::e006;
        case fault_kind::bytes_after_brace: return lint_code::e007;
        case fault_kind::missing_open_brace: return lint_code::e008;
        case fault_kind::name_too_long: return lint_code::e009;
        case fault_kind::duplicate: return lint_code::e010;
        case fault_kind::cpus_not_present: return lint_code::e011;
        case fault_kind::no_valid_cpu: return lint_code::e012;
        case fault_kind::file_missing:
        case fault_kind::file_not_opened:
        case fault_kind::file_not_mapped: return lint_code::e020;
        case fault_kind::no_rule_loaded: return lint_code::e021;
        case fault_kind::file_read_failed: return lint_code::e022;
    }
    return lint_code::e001;  // not reached: the switch names every kind
}

bool directive_may_silence(lint_code code) { return !is_error(code) && code != lint_code::w199; }

bool is_silenced(lint_code code, code_mask excluded, bool errors_only, code_mask disabled) {
    if (is_error(code)) return false;
    if (errors_only || (excluded & bit(code)) != 0) return true;
    return directive_may_silence(code) && (disabled & bit(code)) != 0;
}
