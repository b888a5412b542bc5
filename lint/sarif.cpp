// SARIF 2.1.0 for code scanning: one run of the lint, its rules (one per
// code, described with the words of the manual page's entry for it), and one
// result per finding. The fixed parts are written with the JSON library; a
// result is written by write_finding, as the other formats are.
#include <cstdio>
#include <iterator>
#include <string>

#include <nlohmann/json.hpp>

#include "lint/lint.h"

namespace {

// A code's heading in the manual page, and the first sentence of its entry
// (its example and fix where the entry has no more).
struct code_description {
    lint_code code;
    const char* short_text;
    const char* full_text;
};

constexpr code_description descriptions[] = {
    {lint_code::e001, "line too long",
     "A line of more than 254 bytes, comments included; the line feed does not count, a carriage return before it does."},
    {lint_code::e002, "no '='",
     "A line that is neither blank nor a comment holds no =."},
    {lint_code::e003, "empty key",
     "The line's first non-blank character is =."},
    {lint_code::e004, "empty value",
     "Nothing but blanks, or only a comment, follows the =."},
    {lint_code::e005, "'{' without '}'",
     "Example: game{main=0. Fix: game{main}=0."},
    {lint_code::e006, "empty thread name",
     "Example: game{}=0. Fix: name the thread, or write game=0 for the whole package."},
    {lint_code::e007, "bytes after '}'",
     "Only blanks may stand between the } and the =."},
    {lint_code::e008, "'}' without '{'",
     "Example: game}=0. Fix: game=0 or game{main}=0."},
    {lint_code::e009, "name too long",
     "A package of more than 127 bytes, or a thread of more than 31 (after its leading blanks)."},
    {lint_code::e010, "duplicate rule",
     "An earlier rule that applist-check accepted has the same package and thread, byte for byte; the values play no part."},
    {lint_code::e011, "CPU not present, or a reversed range",
     "An item of the value names a CPU below 1024 that the device does not have (CPULIST is its present-CPU list), or is a range whose start is above its end."},
    {lint_code::e012, "no CPU at all",
     "The value names no CPU that the set of CPUs 0 to 1023 can hold: only letters, or only numbers above 1023 or negative."},
    {lint_code::e020, "file cannot be checked",
     "The file does not exist, cannot be opened, or cannot be mapped into memory: it is empty, or not a regular file (a directory, a FIFO, a device)."},
    {lint_code::e021, "no rule loaded",
     "The file holds no rule that applist-check accepts (only comments and blank lines, say, or only faulty lines)."},
    {lint_code::e022, "file shrank while it was read",
     "The file became shorter while the lint read it (another program rewrote it), or a page of it could not be read."},
    {lint_code::e023, "memory ran out",
     "Memory ran out: the findings before line N are reported, not those from it on."},
    {lint_code::w101, "octal number",
     "The first number of an item is written with a leading 0 and a digit after it, which strtoul(3) reads as octal: 010 is CPU 8, and 08 is CPU 0 followed by an item 8."},
    {lint_code::w102, "hexadecimal number",
     "The first number of an item is written 0x or 0X and a hexadecimal digit."},
    {lint_code::w103, "item dropped",
     "An item that is not a reversed range, whose first number is above 1023 or negative: applist-check drops it without a word."},
    {lint_code::w104, "range cut at 1023",
     "A range whose start is at most 1023 and whose end is above it, or negative."},
    {lint_code::w105, "list syntax the kernel never writes",
     "A byte of the CPU list that a list written by the kernel never holds; the column is that of the byte."},
    {lint_code::w110, "package ends with blanks",
     "The package ends with one or more blanks, which stay part of its name; the column is that of the first."},
    {lint_code::w111, "thread ends with blanks",
     "The thread ends with one or more blanks, which stay part of its name; the column is that of the first."},
    {lint_code::w112, "thread name longer than Linux keeps",
     "A thread name without *, ? or [ of more than 15 bytes."},
    {lint_code::w113, "byte no package name holds",
     "The package holds, before its trailing blanks, a blank, a control byte, a byte above 0x7F, or one of # , ; \" ' }."},
    {lint_code::w114, "'[' without ']'",
     "A [ in the package with no ] after it; the column is that of the [."},
    {lint_code::w115, "byte-order mark",
     "A line starts with the bytes EF BB BF, which editors on Windows write at the start of a file saved as UTF-8 with BOM: the line does not start where it seems."},
    {lint_code::w116, "full-width character",
     "Outside comments, a full-width form that a Chinese or Japanese input method types: U+FF01 to U+FF5E, U+3000 (a space), U+3001 (\u3001 for ,) or U+3002 (\u3002 for .)."},
    {lint_code::w117, "thread of blanks only",
     "The braces hold blanks only."},
    {lint_code::w130, "package not on the phone",
     "With --packages or --adb: a package without *, ? or [ that is not installed, is no process of an installed package (NAME:suffix), and is no process the threads show."},
    {lint_code::w131, "pattern matches no package",
     "With --packages or --adb: a package pattern that matches no installed package and no process the threads show, matched as fnmatch(3) matches with no flags."},
    {lint_code::w132, "thread not in the app",
     "With --threads or --adb: a thread name without *, ? or [ that no thread of the package's processes shows: the process named as the package and its package:suffix processes, or every process a package pattern matches."},
    {lint_code::w133, "thread pattern matches no thread of the app",
     "As W132, for a thread pattern: it matches (fnmatch(3), no flags) none of the package's threads, as the phone shows them."},
    {lint_code::w199, "directive names a code it cannot silence",
     "A directive (see SILENCING A WARNING) names an unknown code, an error code or W199; nothing is silenced for that code."},
};

constexpr bool descriptions_in_step() {
    for (std::size_t i = 0; i < std::size(descriptions); ++i)
        if (static_cast<std::size_t>(descriptions[i].code) != i) return false;
    return true;
}
static_assert(std::size(descriptions) == code_count && descriptions_in_step(), "one description for each code");

// What comes before the first result: every line is one line of output.
std::string sarif_opening() {
    nlohmann::ordered_json rules = nlohmann::ordered_json::array();
    for (const code_description& d : descriptions) {
        nlohmann::ordered_json rule;
        rule["id"] = code_name(d.code);
        rule["shortDescription"]["text"] = d.short_text;
        rule["fullDescription"]["text"] = d.full_text;
        rule["defaultConfiguration"]["level"] = level_name(d.code);
        rules.push_back(rule);
    }
    nlohmann::ordered_json driver;
    driver["name"] = "applist-lint";
    driver["version"] = APPLIST_VERSION;
    driver["rules"] = rules;
    const std::string tool = driver.dump();
    return "{\"$schema\":\"https://json.schemastore.org/sarif-2.1.0.json\",\"version\":\"2.1.0\",\"runs\":[\n"
           "{\"tool\":{\"driver\":" + tool + "},\"columnKind\":\"utf16CodeUnits\",\"results\":[";
}

bool is_unreserved(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '/';
}

}  // namespace

void begin_sarif() { std::fputs(sarif_opening().c_str(), stdout); }

void end_sarif(bool any) { std::fputs(any ? "\n]}]}\n" : "]}]}\n", stdout); }

std::size_t rule_index(lint_code code) { return static_cast<std::size_t>(code); }

void append_uri(std::string& out, const char* name) {
    static constexpr char hex_digits[] = "0123456789ABCDEF";
    // An absolute name becomes a file URI; any other stays relative.
    if (name[0] == '/') out += "file://";
    for (const auto* p = reinterpret_cast<const unsigned char*>(name); *p != '\0'; ++p) {
        if (is_unreserved(*p)) {
            out += static_cast<char>(*p);
        } else {
            out += '%';
            out += hex_digits[*p >> 4];
            out += hex_digits[*p & 0xF];
        }
    }
}
