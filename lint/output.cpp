// The formats: one finding becomes one line of gcc's form, one GitHub
// Actions workflow command, or one object of the JSON document. Every text
// from a file or the command line is escaped first (see append_escaped), so
// each finding is one line of valid UTF-8 in every format. A finding is
// written as it comes, built in storage kept from one to the next; the
// file's name is shown once per file.
#include <cstdio>
#include <cstring>
#include <string>

#include "lint/lint.h"

namespace {

// GitHub's escaping of a workflow command's message, and with `property`
// that of a property value, appended to `out`.
void append_github(std::string& out, const std::string& text, bool property) {
    for (const char c : text) {
        switch (c) {
            case '%': out += "%25"; break;
            case '\r': out += "%0D"; break;
            case '\n': out += "%0A"; break;
            case ':': out += property ? "%3A" : ":"; break;
            case ',': out += property ? "%2C" : ","; break;
            default: out += c; break;
        }
    }
}

// A JSON string's contents, each byte handed to `put`. The text is escaped
// already (valid UTF-8 without a control character), so only '"' and '\'
// remain.
template <typename Put>
void put_json(const std::string& text, Put&& put) {
    for (const char c : text) {
        if (c == '"' || c == '\\') put('\\');
        put(c);
    }
}

// Writes a line into storage known to be large enough.
struct line_writer {
    char* at;
    void put(char c) { *at++ = c; }
    void put(const char* text, std::size_t length) {
        std::memcpy(at, text, length);
        at += length;
    }
    void put(const char* text) { put(text, std::strlen(text)); }
    void put(const std::string& text) { put(text.data(), text.size()); }
    void put_number(std::size_t n) {
        char digits[24];
        char* p = digits + sizeof digits;
        do {
            *--p = static_cast<char>('0' + n % 10);
            n /= 10;
        } while (n != 0);
        put(p, static_cast<std::size_t>(digits + sizeof digits - p));
    }
};

// The file's name as `format` shows it.
void show_name(std::string& out, output_format format, const char* name) {
    std::string shown;
    append_escaped(shown, name, std::strlen(name), escape_mode::name);
    out.clear();
    switch (format) {
        case output_format::gcc: out = shown; break;
        case output_format::github: append_github(out, shown, true); break;
        case output_format::json: put_json(shown, [&out](char c) { out += c; }); break;
        case output_format::sarif: append_uri(out, name); break;
    }
}

}  // namespace

column_unit unit_of(const lint_options& options) {
    return options.format == output_format::sarif ? column_unit::utf16 : options.unit;
}

const char* unit_name(column_unit unit) {
    switch (unit) {
        case column_unit::byte: return "byte";
        case column_unit::character: return "char";
        case column_unit::utf16: return "utf16";
    }
    return "byte";  // not reached: the switch names every unit
}

void begin_output(const output_state& out) {
    if (out.format == output_format::sarif) begin_sarif();
    if (out.format == output_format::json)
        std::printf("{\"column_unit\":\"%s\",\"diagnostics\":[", unit_name(out.unit));
}

void end_output(const output_state& out) {
    if (out.format == output_format::sarif) end_sarif(out.any);
    if (out.format == output_format::json) std::fputs(out.any ? "\n]}\n" : "]}\n", stdout);
}

void write_finding(output_state& out, const char* name, std::size_t line, std::size_t column, lint_code code,
                   const char* text, std::size_t length) {
    if (name != out.name) {
        show_name(out.shown_name, out.format, name);
        out.name = name;
    }
    // The texts of E020 and E022 hold the name and nothing else to escape.
    std::string& message = out.message;
    message.clear();
    append_escaped(message, text, length,
                   code == lint_code::e020 || code == lint_code::e022 ? escape_mode::name : escape_mode::text);
    const char* level = level_name(code);
    // A finding of the whole file is placed at its start.
    const bool whole_file = line == 0;
    if (whole_file) {
        line = 1;
        column = 1;
    }
    // Room for the name, the message escaped once more (at most three bytes
    // for one), and the rest.
    std::string& s = out.line;
    const std::size_t room = out.shown_name.size() + 3 * message.size() + 320;
    if (s.size() < room) s.resize(room);
    line_writer w{&s[0]};
    switch (out.format) {
        case output_format::gcc:
            w.put(out.shown_name);
            w.put(':');
            w.put_number(line);
            w.put(':');
            w.put_number(column);
            w.put(": ");
            w.put(level);
            w.put(": ");
            w.put(message);
            w.put(" [");
            w.put(code_name(code));
            w.put("]\n");
            break;
        case output_format::github:
            w.put("::");
            w.put(level);
            w.put(" file=");
            w.put(out.shown_name);
            w.put(",line=");
            w.put_number(line);
            w.put(",col=");
            w.put_number(column);
            w.put(",title=");
            w.put(code_name(code));
            w.put("::");
            for (const char c : message) {
                if (c == '%')
                    w.put("%25");
                else
                    w.put(c);  // the text holds no line feed nor carriage return
            }
            w.put('\n');
            break;
        case output_format::json:
            w.put(out.any ? ",\n" : "\n");
            w.put("{\"file\":\"");
            w.put(out.shown_name);
            w.put("\",\"line\":");
            w.put_number(line);
            w.put(",\"column\":");
            w.put_number(column);
            w.put(whole_file ? ",\"whole_file\":true" : ",\"whole_file\":false");
            w.put(",\"level\":\"");
            w.put(level);
            w.put("\",\"code\":\"");
            w.put(code_name(code));
            w.put("\",\"message\":\"");
            put_json(message, [&w](char c) { w.put(c); });
            w.put("\"}");
            break;
        case output_format::sarif:
            w.put(out.any ? ",\n" : "\n");
            w.put("{\"ruleId\":\"");
            w.put(code_name(code));
            w.put("\",\"ruleIndex\":");
            w.put_number(rule_index(code));
            w.put(",\"level\":\"");
            w.put(level);
            w.put("\",\"message\":{\"text\":\"");
            put_json(message, [&w](char c) { w.put(c); });
            w.put("\"},\"locations\":[{\"physicalLocation\":{\"artifactLocation\":{\"uri\":\"");
            w.put(out.shown_name);
            w.put("\"},\"region\":{\"startLine\":");
            w.put_number(line);
            w.put(",\"startColumn\":");
            w.put_number(column);
            w.put("}}}]}");
            break;
    }
    out.any = true;
    (void)std::fwrite(s.data(), 1, static_cast<std::size_t>(w.at - s.data()), stdout);
}
