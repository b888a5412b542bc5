// lint: the applist-lint command.
//
// Owns the lint's codes and their texts, its command line, the findings of
// each line (kept, filtered by directives, -e and -s, ordered and written as
// the line ends), the checks that go beyond the checker's verdict (the
// warnings), and the formats that write findings for people, editors and CI. The verdict itself comes from
// the checker's core through a report_sink; nothing here parses a rule or a
// CPU list a second way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "cli/cli.h"
#include "cpuset/cpuset.h"

// ---- Codes (lint/codes.cpp): their names, the checker's faults each stands
// for, and what may silence each.

// Every code the lint reports: the checker's verdict (E...) and the warnings
// (W...). The order is that of their numbers; the table of their names in
// lint/codes.cpp is checked against it when it compiles.
enum class lint_code : std::uint8_t {
    e001, e002, e003, e004, e005, e006, e007, e008, e009, e010, e011, e012,
    e020, e021, e022, e023,
    w101, w102, w103, w104, w105,
    w110, w111, w112, w113, w114, w115, w116, w117,
    w130, w131, w132, w133,
    w199,
};
constexpr std::size_t code_count = static_cast<std::size_t>(lint_code::w199) + 1;

// A set of codes, one bit each.
using code_mask = std::uint64_t;
static_assert(code_count <= 64, "a set of codes is one 64-bit mask");
constexpr code_mask bit(lint_code code) { return code_mask{1} << static_cast<unsigned>(code); }
constexpr bool is_error(lint_code code) { return code <= lint_code::e023; }

// "E001" and so on.
[[nodiscard]] const char* code_name(lint_code code);
// Finds the code named by the `length` bytes at `name`. Returns false when no
// code has that name.
[[nodiscard]] bool find_code(const char* name, std::size_t length, lint_code& out);
// The code of the checker's fault `kind`: E001-E012 for a line's faults, E020
// for a file that could not be examined, opened or mapped, E021 and E022.
[[nodiscard]] lint_code code_of(fault_kind kind);
// Whether a directive or -e may silence `code`: any warning but W199, which
// is about the directives themselves.
[[nodiscard]] bool directive_may_silence(lint_code code);
// Whether `code` goes unreported: never an error; a warning under -s error,
// when -e names it (`excluded`), or when a directive in force names it
// (`disabled`) and may.
[[nodiscard]] bool is_silenced(lint_code code, code_mask excluded, bool errors_only, code_mask disabled);

// One finding: where, what, and its text (in the owning list's text store).
// Line 0 is the whole file; column 0 goes with it.
struct finding {
    std::size_t line;
    std::size_t column;
    std::size_t text_offset;
    std::size_t text_length;
    lint_code code;
};

enum class output_format : std::uint8_t { gcc, json, github, sarif };
// What a column counts: bytes, characters, or UTF-16 code units.
enum class column_unit : std::uint8_t { byte, character, utf16 };

struct phone_data;

// What the command line asked for.
struct lint_options {
    char* cpus = nullptr;  // --cpus; null: the kernel's present file
    output_format format = output_format::gcc;
    column_unit unit = column_unit::byte;  // --column-unit
    code_mask excluded = 0;    // -e
    bool errors_only = false;  // -s error
    bool exit_zero = false;    // --exit-zero: 1 becomes 0
    const char* stdin_name = nullptr;
    char** files = nullptr;
    int file_count = 0;
    const char* packages_file = nullptr;  // --packages
    const char* threads_file = nullptr;   // --threads
    bool adb = false;                     // --adb
    phone_data* phone = nullptr;          // what the run read of them; null: none
};

enum class options_result { run, help, version, usage_error };

// Reads the command line with getopt_long. A usage error has been written to
// standard error, with the usage line, when it returns usage_error.
[[nodiscard]] options_result read_lint_options(int argc, char** argv, lint_options& out);

// Lints every file of `options`, writing the findings to standard output.
// Returns the exit status: 0 nothing reported, 1 something reported, 2 a
// file could not be checked to its end.
[[nodiscard]] int run_lint(const lint_options& options);

// Lints the `size` bytes at `data` as the file `name` (its files ignored),
// as run_lint lints one file: the fuzz target's way in.
[[nodiscard]] int lint_buffer(const lint_options& options, const char* name, const char* data, std::size_t size);

// ---- Texts (lint/messages.cpp): every message of the command is worded there.

// Room for one finding's text.
constexpr std::size_t finding_text_size = 8192;
using text_buffer = char[finding_text_size];

void print_usage(std::FILE* stream, const char* me);
void print_help(const char* me);
void print_version();
// The usage errors, each followed by the usage line, on standard error.
void report_dash_c(const char* me);
void report_unknown_option(const char* me, const char* option);
void report_missing_argument(const char* me, const char* option);
void report_unknown_format(const char* me, const char* format);
void report_unknown_severity(const char* me, const char* severity);
void report_unknown_column_unit(const char* me, const char* unit);
void report_unknown_excluded_code(const char* me, const char* code, std::size_t length);
void report_excluded_error_code(const char* me, const char* code);
void report_excluded_w199(const char* me);
void report_no_file(const char* me);
void report_stdin_twice(const char* me);
void report_stdin_name_without_stdin(const char* me);
void report_bad_cpu_list(const char* me, const char* list);
// E010's text: the checker's, and the line of the rule that stays.
std::size_t text_kept_rule(text_buffer& out, const char* checker_text, std::size_t kept_line);
std::size_t text_stdin_unreadable(text_buffer& out, const char* reason);
std::size_t text_stdin_empty(text_buffer& out);
std::size_t text_out_of_memory(text_buffer& out, std::size_t line_number);
void print_out_of_memory();

// Why a byte of a CPU list is W105.
enum class list_oddity : std::uint8_t { stepped_over, trailing_comma, dash_without_end, sign_or_blank };
std::size_t text_w101(text_buffer& out, const char* number, const char* cpus);
std::size_t text_w102(text_buffer& out, const char* number, const char* value, const char* cpus);
std::size_t text_w103(text_buffer& out, const char* item, const char* cpus);
std::size_t text_w104(text_buffer& out, const char* item, const char* cpus);
std::size_t text_w105(text_buffer& out, const char* byte, list_oddity why, const char* cpus);
std::size_t text_w110(text_buffer& out, const char* package);
std::size_t text_w111(text_buffer& out, const char* thread);
std::size_t text_w112(text_buffer& out, const char* thread, std::size_t length, const char* shown);
std::size_t text_w113(text_buffer& out, const char* byte, const char* package);
std::size_t text_w114(text_buffer& out);
std::size_t text_w115(text_buffer& out);
std::size_t text_w116(text_buffer& out, const char* form, const char* code_point, const char* meant);
std::size_t text_w117(text_buffer& out, const char* package, const char* value, std::size_t value_length);
std::size_t text_w199_unknown(text_buffer& out, const char* code);
std::size_t text_w199_error(text_buffer& out, const char* code);
std::size_t text_w199_itself(text_buffer& out);
const char* level_name(lint_code code);

// ---- Text helpers (lint/text.cpp).

// The length of the valid UTF-8 sequence at `p` (1 to 4; at most `available`
// bytes are read), or 0 when the byte there starts none.
[[nodiscard]] std::size_t utf8_length(const unsigned char* p, std::size_t available);
// The columns a character of `sequence` bytes (0: a byte that is not part of
// valid UTF-8, which counts as one in every unit) takes in `unit`.
[[nodiscard]] std::size_t columns_of(std::size_t sequence, column_unit unit);
// The column of byte `offset` of a line: 1 plus the columns before it.
[[nodiscard]] std::size_t column_of(const char* line, std::size_t offset, column_unit unit);
// The length of the line separator U+2028 or U+2029 at `p`, or 0.
[[nodiscard]] std::size_t line_separator_length(const char* p, std::size_t available);
// How a text is shown: a text of the lint's doubles a backslash, so that an
// escape tells from the same bytes in the file; a name is shown as given.
enum class escape_mode : std::uint8_t { text, name };
// Appends `text` to `out`, showing each byte of every control character (see
// control_length), line separator and byte that is not part of valid UTF-8
// as \xHH, and in a text a backslash as \\. The result is valid UTF-8 on one
// line that every reader takes for one line.
void append_escaped(std::string& out, const char* text, std::size_t length, escape_mode mode = escape_mode::text);
// Copies the character at `p` (its whole UTF-8 sequence, or the one byte;
// at most `available` bytes are read) into `out` as a text.
void copy_character(const char* p, std::size_t available, char (&out)[8]);
// The `length` bytes at `p` as a text, cut to max_line_length bytes.
void copy_text(char (&out)[max_line_length + 1], const char* p, std::size_t length);
// Whether the `length` bytes of `line` start with UTF-8's byte-order mark.
[[nodiscard]] bool starts_with_bom(const char* line, std::size_t length);
// The length of the `length` bytes of `text` without the blanks at their end.
[[nodiscard]] std::size_t without_trailing_blanks(const char* text, std::size_t length);
// Room for any CPU set written as a list: every other CPU is about 2000 bytes.
constexpr std::size_t cpu_list_text_size = 4096;
// The CPUs the list `text` sets, as the kernel writes a list ("0,8",
// "5-1023"), or the empty text.
void kernel_list(const char* text, char (&out)[cpu_list_text_size]);

// ---- Directives (lint/directives.cpp).

// Where the comment of a line's text (its `end` bytes, up to any NUL) starts
// when its first byte that is not blank, at `first`, is not '#': at the
// first '#' after a rule's '='. `end` when there is none.
[[nodiscard]] std::size_t comment_at(const char* text, std::size_t first, std::size_t end);
// The codes that disable-file directives of the `size` bytes at `data`
// silence, read as the scan reads them, in a quick pass that looks only at
// the lines that hold "disable-file". With `drop_read_pages` (`data` is a
// private file mapping) it drops the pages it has read as the scan does; a
// read fault ends the pass, with the codes found before it.
[[nodiscard]] code_mask file_directives(const char* data, std::size_t size, bool drop_read_pages);

// ---- Findings of one line (lint/findings.cpp).

// The findings of one line and their texts, in storage of their own that
// grows by doubling (grow_to_fit); a failed growth is reported, never fatal.
struct finding_list {
    finding* items = nullptr;
    std::size_t count = 0;
    std::size_t capacity = 0;
    char* texts = nullptr;  // every text, one after another, no NUL between
    std::size_t text_size = 0;
    std::size_t text_capacity = 0;

    finding_list() = default;
    finding_list(const finding_list&) = delete;
    finding_list& operator=(const finding_list&) = delete;
    ~finding_list();
};

// Appends a finding with a copy of its text. Returns false, with the list as
// it was, when the storage could not grow.
[[nodiscard]] bool add_finding(finding_list& list, std::size_t line, std::size_t column, lint_code code,
                               const char* text, std::size_t length);
// Whether `a` is written before `b`: by line, column and code.
[[nodiscard]] bool comes_before(const finding& a, const finding& b);
// Orders the findings so.
void sort_findings(finding_list& list);
// Forgets every finding, keeping the storage.
void clear_findings(finding_list& list);

// Where the output stands across files (see lint/output.cpp).
struct output_state {
    output_format format = output_format::gcc;
    column_unit unit = column_unit::byte;
    bool any = false;  // a finding was written
    const char* name = nullptr;  // the file whose name is in shown_name
    std::string shown_name;      // as the format shows it
    std::string message;         // storage kept from one finding to the next
    std::string line;
};

// ---- The lint's sink (lint/sink.cpp) and its checks, each in a file of its
// own: directives.cpp, full_width.cpp, names.cpp, cpu_list_warnings.cpp.

// The lint's sink: told everything the checker sees of each line, it keeps
// the checker's faults as errors and adds the warnings, each at its column,
// filtered by -e, -s and the file's directives. Findings of a line are kept
// in `list` until the line ends (finish_line), then written in order to
// `out` as findings of the file `name` (write_line), the faults of the file
// itself apart: no finding is held longer. A check of a rule's names starts
// from check_names, called once the rule is parsed.
class lint_sink final : public report_sink, public cpu_list_observer {
public:
    lint_sink(const lint_options& options, finding_list& list, output_state& out, const char* name);
    lint_sink(const lint_sink&) = delete;
    lint_sink& operator=(const lint_sink&) = delete;
    ~lint_sink();

    void begin_line(std::size_t line_number, const char* bytes, std::size_t length) override;
    void report(const fault& f) override;
    void rule_parsed(const char* buffer, const parsed_rule& rule) override;
    void rule_accepted(std::size_t position) override;
    cpu_list_observer* cpu_observer() override;

    void skipped(std::size_t offset) override;
    void item(const cpu_item& item) override;
    void comma(std::size_t offset) override;

    // Ends the last line: its CPU list warnings, which wait for the whole
    // list, are kept now. Called once the scan is over.
    void finish_line();
    // Writes the findings kept for the current line, by column then code,
    // but those a disable-file directive silences, and forgets them.
    void write_line();
    // E022 with `text`: line `line_number` could not be read. Written with
    // that line's findings, at column 1.
    void add_read_failure(std::size_t line_number, const char* text, std::size_t length);
    // The codes that disable-file directives silence, found before the scan
    // (see file_directives).
    void silence_for_file(code_mask codes) { file_disabled_ |= codes; }
    // Whether a finding was written.
    [[nodiscard]] bool reported() const { return reported_; }
    // The bytes come from a private file mapping, whose pages may be dropped
    // once read (never memory of the lint's own, such as standard input).
    void read_from_mapping(bool mapped);

    // The text of the fault of the whole file (it could not be examined,
    // opened or mapped), or the empty text.
    [[nodiscard]] const char* file_fault_text() const { return file_fault_text_; }
    // The lint's own storage could not grow: findings from `out_of_memory_line`
    // on are missing.
    [[nodiscard]] bool out_of_memory() const { return out_of_memory_; }
    [[nodiscard]] std::size_t out_of_memory_line() const { return out_of_memory_line_; }
    // The codes silenced for the whole file by disable-file directives.
    [[nodiscard]] code_mask file_disabled() const { return file_disabled_; }

private:
    // A CPU list warning of the current line, waiting for the whole list.
    struct list_warning {
        lint_code code;
        std::size_t column;
        list_oddity why;
        unsigned long value;
        char detail[max_line_length + 1];
    };

    // sink.cpp: a finding of the current line, at most one per code.
    void add(lint_code code, std::size_t column, const char* text, std::size_t length);
    [[nodiscard]] bool silenced(lint_code code) const;
    // directives.cpp
    void apply_directive(const char* comment, std::size_t length, std::size_t at, bool for_this_line);
    // full_width.cpp
    void check_full_width(std::size_t end);
    void check_long_line();
    void add_full_width(std::size_t at, const char* form, unsigned code_point);
    // names.cpp
    void check_names(const char* buffer, const parsed_rule& rule);
    void check_phone(const char* buffer, const parsed_rule& rule);  // phone_checks.cpp
    // cpu_list_warnings.cpp
    void note(lint_code code, std::size_t offset, list_oddity why, const char* detail, std::size_t detail_length,
              unsigned long value = 0);
    void note_oddity(std::size_t offset, list_oddity why);
    // sink.cpp: bytes a code that wins over others has reported.
    void claim(std::size_t offset, std::size_t count);
    [[nodiscard]] bool claimed(std::size_t offset) const;
    [[nodiscard]] std::size_t column(std::size_t offset) const;
    void out_of_storage();

    finding_list& list_;
    phone_data* phone_;
    output_state& out_;
    const char* name_;
    bool reported_ = false;
    code_mask excluded_;
    bool errors_only_;
    column_unit unit_;
    bool list_warnings_wanted_;

    // The current line: its number, its bytes (a copy when it is short
    // enough to be parsed), what has been reported on it, what is silenced.
    std::size_t line_ = 0;
    const char* text_ = nullptr;
    std::size_t text_length_ = 0;
    std::size_t page_size_ = 0;  // 0: pages are never dropped
    char copy_[max_line_length + 1] = {};
    code_mask seen_ = 0;
    code_mask line_disabled_ = 0;
    code_mask pending_disabled_ = 0;  // from comment lines, for the next rule line
    code_mask file_disabled_ = 0;
    std::uint64_t claimed_[4] = {};  // bytes reported under a code that wins over others
    bool any_claimed_ = false;

    // The parsed rule of the current line.
    std::size_t package_offset_ = 0;
    std::size_t value_offset_ = 0;
    const char* value_ = nullptr;
    std::size_t value_end_ = 0;  // before the blanks at the end of the value
    std::size_t last_item_end_ = 0;
    bool last_item_open_ = false;  // the last item had no range end
    list_warning warnings_[5] = {};
    std::size_t warning_count_ = 0;
    code_mask noted_ = 0;
    char value_copy_[max_line_length + 1] = {};

    // Line of each committed rule, by table position, for E010.
    std::size_t* rule_lines_ = nullptr;
    std::size_t rule_line_capacity_ = 0;

    char file_fault_text_[finding_text_size] = {};
    bool out_of_memory_ = false;
    std::size_t out_of_memory_line_ = 0;
};

// ---- Output (lint/output.cpp).

// ---- SARIF (lint/sarif.cpp).

// The document's opening, with the tool and its rules, and its closing
// (`any`: a result was written).
void begin_sarif();
void end_sarif(bool any);
// The index of `code`'s rule in the document.
[[nodiscard]] std::size_t rule_index(lint_code code);
// Appends the name of a file as a URI: percent-encoded but for letters,
// digits, "-._~" and '/'; relative, or a file URI where the name is absolute.
void append_uri(std::string& out, const char* name);

// The unit the columns of a run count: --column-unit's, but UTF-16 code
// units for SARIF, whatever it says.
[[nodiscard]] column_unit unit_of(const lint_options& options);
// "byte", "char" or "utf16", as --column-unit names it.
[[nodiscard]] const char* unit_name(column_unit unit);
// Writes what comes before the first file's findings (the JSON document's
// opening) and after the last.
void begin_output(const output_state& out);
void end_output(const output_state& out);
// Writes one finding of the file `name` (line 0: the whole file).
void write_finding(output_state& out, const char* name, std::size_t line, std::size_t column, lint_code code,
                   const char* text, std::size_t length);

// ---- The phone's data (lint/phone.cpp) and the checks against it
// (lint/phone_checks.cpp): W130-W133.

// Linux keeps this many bytes of a thread's name.
constexpr std::size_t thread_name_kept = 15;
// Seconds each adb command may take before its process group is killed.
constexpr int adb_time_limit = 30;

// The name the phone shows for the thread `name` of `length` bytes: the name
// itself up to 15 bytes; beyond, Android's runtime keeps the end of a name
// with a '.' and no '@' (a class name), the start of any other. A view into
// `name`.
[[nodiscard]] std::string_view shown_thread_name(const char* name, std::size_t length);

// A set of names, each an index into a list kept elsewhere, in one
// open-addressed table: no allocation per name.
struct name_table {
    const std::vector<std::string_view>* names = nullptr;
    std::vector<std::uint32_t> slots;  // index + 1; 0 is free
};
// Builds `table` over `names`; of equal names, the first is kept.
void build_name_table(name_table& table, const std::vector<std::string_view>& names);
// The index of `name`, whose name_hash is `hash`, in the table's list, or
// SIZE_MAX.
[[nodiscard]] std::size_t find_name(const name_table& table, std::string_view name, std::size_t hash);
[[nodiscard]] inline std::size_t name_hash(std::string_view name) { return std::hash<std::string_view>{}(name); }
// A letter in lower case, whatever the locale.
constexpr char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// What the phone said: its installed packages (--packages, or pm through
// adb) and its running threads (--threads, or ps through adb), each name a
// NUL-terminated view into the text it was read from, and the lookups the
// checks make, built once. Also the present CPUs when adb gave them.
struct phone_data {
    bool have_cpus = false;
    std::string cpus;
    bool have_packages = false;
    bool have_threads = false;
    std::string package_text;
    std::string thread_text;
    std::vector<std::string_view> package_list;
    name_table packages;
    // The processes of the threads seen, kernel threads aside, sorted.
    std::vector<std::string_view> process_names;
    name_table processes;
    // The apps running (the name before a process's ':') and the processes of each.
    std::vector<std::string_view> apps;
    name_table app_table;
    std::vector<std::vector<std::string_view>> app_processes;
    // The threads of each process, by name as shown, and "process\nthread".
    std::unordered_map<std::string_view, std::vector<std::string_view>> threads_of;
    std::unordered_set<std::string> process_threads;
    // Packages and processes together, sorted: the range a pattern's fixed
    // start allows, and the search for the nearest name. Each in lower case
    // (in its own text), where the first in byte order stands for the rest.
    std::vector<std::string_view> names;
    std::vector<std::uint16_t> names_shared;  // see lint/phone_checks.cpp; filled when first needed
    std::vector<std::uint32_t> names_next;
    std::string folded_text;
    std::vector<std::string_view> folded_names;
    name_table folded;
    // Worked out once per distinct name: the suggestion for a missing
    // package ("" for none), whether a package pattern matches, and the
    // suggestion for a missing thread (by "package\nthread").
    std::unordered_map<std::string, std::string> package_nearest;
    std::unordered_map<std::string, bool> pattern_found;
    std::unordered_map<std::string, std::string> thread_nearest;

    phone_data() = default;
    phone_data(const phone_data&) = delete;
    phone_data& operator=(const phone_data&) = delete;
    ~phone_data() = default;
};

// Reads what the options ask for: the --packages and --threads files, and
// through adb (--adb) what they did not give, the present CPUs too without
// --cpus. Returns false after one message on standard error.
[[nodiscard]] bool load_phone_data(const lint_options& options, phone_data& out);

// The texts (lint/messages.cpp).
std::size_t text_w130(text_buffer& out, const char* package, const char* nearest);
std::size_t text_w131(text_buffer& out, const char* pattern);
std::size_t text_w132(text_buffer& out, const char* package, const char* thread, const char* nearest);
std::size_t text_w133(text_buffer& out, const char* package, const char* pattern);
void report_snapshot_unreadable(const char* source, const char* reason);
void report_snapshot_empty(const char* source);
void report_snapshot_no_thread(const char* source);
void report_adb_bad_cpu_list(const char* source, const char* output);
void report_adb_not_started(const char* reason);
void report_adb_failed(const char* command, const char* line);
void report_adb_status(const char* command, int status);
void report_adb_timed_out(const char* command);
