// What parse_rule_line must do with any line: skip exactly the blank and
// comment lines, reject with exactly one message naming the line, or yield
// texts that lie inside the buffer, fit their fields and were cut out only by
// writing NULs.
#include <cstring>
#include <memory>

#include "cli/cli.h"
#include "fuzz/check_support.h"
#include "fuzz/fuzz_checks.h"
#include "rules/rules.h"

using namespace fuzz_support;

namespace {

constexpr std::size_t fuzz_line_number = 4242;

// The reasons a message may give, each followed by the text argument.
constexpr const char* rejection_reasons[] = {
    "缺少 '=': ",         "键为空: ",    "值为空: ",           "缺少闭合 '}': ",
    "线程名为空: ",       "'}' 后包含非法字符: ", "缺少 '{': ", "包名或线程名过长: ",
};
constexpr const char missing_equals_reason[] = "缺少 '=': ";
constexpr const char empty_key_reason[] = "键为空: ";

bool points_into(const char* text, const char* buffer, std::size_t length) {
    return text >= buffer && text <= buffer + length;
}

std::string check_rejection(const std::string& printed, const std::string& text) {
    const std::string prefix = "第 " + decimal(fuzz_line_number) + " 行无效规则：";
    if (!starts_with(printed, prefix)) return "rejection message has the wrong start: " + printed;
    if (printed.back() != '\n' || printed.find('\n') != printed.size() - 1)
        return "rejection printed other than exactly one line: " + printed;
    const std::string rest = printed.substr(prefix.size(), printed.size() - prefix.size() - 1);

    const char* reason = nullptr;
    for (const char* candidate : rejection_reasons)
        if (starts_with(rest, candidate)) reason = candidate;
    if (reason == nullptr) return "rejection with an unknown reason: " + printed;

    // The text argument is the line from its first non-blank byte up to a
    // NUL the parser wrote, so it is always a prefix of that part.
    const std::string argument = rest.substr(std::strlen(reason));
    const std::string from_start = text.substr(first_non_blank(text));
    if (!starts_with(from_start, argument)) return "message text is not a prefix of the line: " + printed;

    const bool has_equals = text.find('=') != std::string::npos;
    const bool missing_equals = std::strcmp(reason, missing_equals_reason) == 0;
    const bool empty_key = std::strcmp(reason, empty_key_reason) == 0;
    if (missing_equals == has_equals)
        return "missing-'=' message does not match whether the line has '=': " + printed;
    if (empty_key != (from_start[0] == '='))
        return "empty-key message does not match whether the line starts with '=': " + printed;
    if (empty_key && !argument.empty()) return "empty-key message shows a key: " + printed;
    return {};
}

std::string check_parsed(const parsed_rule& parsed, const char* buffer, std::size_t length, const std::string& text) {
    if (parsed.package == nullptr || parsed.thread == nullptr || parsed.value == nullptr)
        return "a parsed text is missing";
    if (!points_into(parsed.package, buffer, length) || !points_into(parsed.value, buffer, length))
        return "package or value lies outside the line buffer";
    // The thread is in the buffer, or the empty text of a key without braces.
    if (!points_into(parsed.thread, buffer, length) && parsed.thread[0] != '\0')
        return "a non-empty thread lies outside the line buffer";

    const std::size_t start = first_non_blank(text);
    if (parsed.package != buffer + start) return "package does not start at the first non-blank byte";
    const std::size_t package_length = std::strlen(parsed.package);
    const std::size_t thread_length = std::strlen(parsed.thread);
    if (package_length > package_size - 1) return "package longer than its field";
    if (thread_length > thread_size - 1) return "thread longer than its field";
    if (std::strpbrk(parsed.package, "={") != nullptr) return "package holds '=' or '{'";
    if (std::strpbrk(parsed.thread, "=}") != nullptr) return "thread holds '=' or '}'";
    if (thread_length > 0 && is_blank(parsed.thread[0])) return "thread starts with a blank";

    const std::size_t value_length = std::strlen(parsed.value);
    if (value_length == 0) return "value is empty";
    if (is_blank(parsed.value[0])) return "value starts with a blank";
    if (std::strchr(parsed.value, '#') != nullptr) return "value holds a comment";
    const auto value_offset = static_cast<std::size_t>(parsed.value - buffer);
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || value_offset <= equals) return "value does not follow the first '='";
    // Only blanks stand between the '=' and the value, and the value is the
    // line's own bytes from there.
    for (std::size_t i = equals + 1; i < value_offset; ++i)
        if (!is_blank(text[i])) return "value skipped a non-blank byte";
    if (text.compare(value_offset, value_length, parsed.value) != 0) return "value differs from the line";
    return {};
}

}  // namespace

std::string check_rule_line(const std::uint8_t* data, std::size_t size, stdout_capture& capture) {
    // The line loop hands over no line feed and at most max_line_length bytes.
    std::size_t length = size < max_line_length ? size : max_line_length;
    if (const void* newline = std::memchr(data, '\n', length))
        length = static_cast<std::size_t>(static_cast<const std::uint8_t*>(newline) - data);

    std::unique_ptr<char[]> buffer(new char[length + 1]);
    if (length > 0) std::memcpy(buffer.get(), data, length);
    buffer[length] = '\0';
    const std::string before(buffer.get(), length);
    const std::string text = line_text(buffer.get(), length);

    parsed_rule parsed;
    const line_result result = parse_rule_line(buffer.get(), fuzz_line_number, parsed);
    const std::string printed = capture.take();

    for (std::size_t i = 0; i < length; ++i)
        if (buffer[i] != before[i] && buffer[i] != '\0') return "the parser wrote a byte other than NUL";
    for (std::size_t i = text.size(); i < length; ++i)
        if (buffer[i] != before[i]) return "the parser wrote past the line's text";

    const bool skipped = is_skipped_line(text);
    switch (result) {
        case line_result::skip:
            if (!skipped) return "skipped a line that is neither blank nor a comment";
            if (!printed.empty()) return "a skipped line printed: " + printed;
            return {};
        case line_result::rejected:
            if (skipped) return "rejected a blank or comment line";
            return check_rejection(printed, text);
        case line_result::parsed:
            if (skipped) return "parsed a blank or comment line";
            if (!printed.empty()) return "a parsed line printed: " + printed;
            return check_parsed(parsed, buffer.get(), length, text);
    }
    return "parse_rule_line returned an unknown result";
}
