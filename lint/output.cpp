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

void begin_output(const output_state& out) {
    if (out.format == output_format::json) std::fputs("{\"diagnostics\":[", stdout);
}

void end_output(const output_state& out) {
    if (out.format == output_format::json) std::fputs(out.any ? "\n]}\n" : "]}\n", stdout);
}

void write_finding(output_state& out, const char* name, std::size_t line, std::size_t column, lint_code code,
                   const char* text, std::size_t length) {
    std::string file;
    append_escaped(file, name, std::strlen(name));
    std::string message;
    append_escaped(message, text, length);
    const char* level = level_name(code);
    std::string line_out;
    switch (out.format) {
        case output_format::gcc: {
            char where[64] = "";
            if (line != 0) std::snprintf(where, sizeof where, ":%zu:%zu", line, column);
            line_out = file + where + ": " + level + ": " + message + " [" + code_name(code) + "]\n";
            break;
        }
        case output_format::github: {
            char where[64] = "";
            if (line != 0) std::snprintf(where, sizeof where, ",line=%zu,col=%zu", line, column);
            line_out = std::string("::") + level + " file=" + github_escaped(file, true) + where +
                       ",title=" + code_name(code) + "::" + github_escaped(message, false) + "\n";
            break;
        }
        case output_format::json: {
            nlohmann::ordered_json object;
            object["file"] = file;
            object["line"] = line;
            object["column"] = column;
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
