// The syntax of one rule line: 'package=cpulist' or 'package{thread}=cpulist',
// '#' comments, blank lines. The first failing check decides the message, and
// each message shows the part of the line in front of the first NUL written so
// far.
#include <cstring>

#include "cli/cli.h"
#include "rules/rules.h"

namespace {

char* skip_blanks(char* p) {
    while (is_blank(*p)) ++p;
    return p;
}

line_result reject(report_sink& sink, fault_kind kind, std::size_t line_number, const char* text) {
    fault f;
    f.kind = kind;
    f.line_number = line_number;
    f.text = text;
    sink.report(f);
    return line_result::rejected;
}

}  // namespace

line_result parse_rule_line(char* buffer, std::size_t line_number, parsed_rule& out, report_sink& sink) {
    char* line = skip_blanks(buffer);
    if (*line == '\0') return line_result::skip;

    // Drop trailing blanks and '#', never the first byte.
    char* last = line + std::strlen(line) - 1;
    while (last > line && (is_blank(*last) || *last == '#')) --last;
    last[1] = '\0';

    if (*line == '#') return line_result::skip;

    char* equals = std::strchr(line, '=');
    if (equals == nullptr) return reject(sink, fault_kind::missing_equals, line_number, line);
    *equals = '\0';
    char* key = line;
    if (*key == '\0') return reject(sink, fault_kind::empty_key, line_number, key);

    char* value = skip_blanks(equals + 1);
    if (char* comment = std::strchr(value, '#')) *comment = '\0';
    if (*value == '\0') return reject(sink, fault_kind::empty_value, line_number, key);

    char* package = key;
    const char* thread = "";
    if (char* open = std::strchr(key, '{')) {
        *open = '\0';
        char* close = std::strchr(open + 1, '}');
        if (close == nullptr) return reject(sink, fault_kind::missing_close_brace, line_number, package);
        if (close == open + 1) return reject(sink, fault_kind::empty_thread, line_number, package);
        *close = '\0';
        if (*skip_blanks(close + 1) != '\0')
            return reject(sink, fault_kind::bytes_after_brace, line_number, package);
        thread = skip_blanks(open + 1);
    } else if (std::strchr(key, '}') != nullptr) {
        return reject(sink, fault_kind::missing_open_brace, line_number, key);
    }

    if (std::strlen(package) > package_size - 1 || std::strlen(thread) > thread_size - 1)
        return reject(sink, fault_kind::name_too_long, line_number, package);

    out.package = package;
    out.thread = thread;
    out.value = value;
    return line_result::parsed;
}
