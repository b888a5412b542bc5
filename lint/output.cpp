// The formats: one finding becomes one line of gcc's form, one GitHub
// Actions workflow command, or one object of the JSON document. Every text
// from a file or the command line is escaped first (see append_escaped), so
// each finding is one line of valid UTF-8 in every format.
#include <cstdio>
#include <cstring>
#include <string>

#include <nlohmann/json.hpp>

#include "lint/lint.h"

namespace {

// GitHub's escaping of a workflow command's message, and with `property`
// that of a property value.
std::string github_escaped(const std::string& text, bool property) {
    std::string out;
    out.reserve(text.size());
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
    return out;
}

void write(const std::string& text) { (void)std::fwrite(text.data(), 1, text.size(), stdout); }

}  // namespace

const char* unit_name(column_unit unit) {
    switch (unit) {
        case column_unit::byte: return "byte";
        case column_unit::character: return "char";
        case column_unit::utf16: return "utf16";
    }
    return "byte";  // not reached: the switch names every unit
}

void begin_output(const output_state& out) {
    if (out.format == output_format::json)
        std::printf("{\"column_unit\":\"%s\",\"diagnostics\":[", unit_name(out.unit));
}

void end_output(const output_state& out) {
    if (out.format == output_format::json) std::fputs(out.any ? "\n]}\n" : "]}\n", stdout);
}

void write_finding(output_state& out, const char* name, std::size_t line, std::size_t column, lint_code code,
                   const char* text, std::size_t length) {
    std::string file;
    append_escaped(file, name, std::strlen(name), escape_mode::name);
    // The texts of E020 and E022 hold the name and nothing else to escape.
    std::string message;
    append_escaped(message, text, length,
                   code == lint_code::e020 || code == lint_code::e022 ? escape_mode::name : escape_mode::text);
    const char* level = level_name(code);
    // A finding of the whole file is placed at its start.
    const bool whole_file = line == 0;
    if (whole_file) {
        line = 1;
        column = 1;
    }
    std::string line_out;
    switch (out.format) {
        case output_format::gcc: {
            char where[64] = "";
            std::snprintf(where, sizeof where, ":%zu:%zu", line, column);
            line_out = file + where + ": " + level + ": " + message + " [" + code_name(code) + "]\n";
            break;
        }
        case output_format::github: {
            char where[64] = "";
            std::snprintf(where, sizeof where, ",line=%zu,col=%zu", line, column);
            line_out = std::string("::") + level + " file=" + github_escaped(file, true) + where +
                       ",title=" + code_name(code) + "::" + github_escaped(message, false) + "\n";
            break;
        }
        case output_format::json: {
            nlohmann::ordered_json object;
            object["file"] = file;
            object["line"] = line;
            object["column"] = column;
            object["whole_file"] = whole_file;
            object["level"] = level;
            object["code"] = code_name(code);
            object["message"] = message;
            line_out = (out.any ? ",\n" : "\n") + object.dump();
            break;
        }
    }
    out.any = true;
    write(line_out);
}
