// The warnings about a rule's names: W110, W113 and W114 on the package,
// W111 and W112 on the thread, W117 on braces that name no thread. Each is found in
// the texts the checker parsed, with offsets into the line as it was read.
#include <cstring>

#include "lint/lint.h"
#include "rules/rules.h"

void lint_sink::check_names(const char* buffer, const parsed_rule& rule) {
    text_buffer message;
    const char* package = rule.package;
    const std::size_t package_length = std::strlen(package);
    const std::size_t name_end = without_trailing_blanks(package, package_length);
    if (name_end < package_length)
        add(lint_code::w110, column(package_offset_ + name_end), message, text_w110(message, package));

    // W113: a byte no name holds, before the trailing blanks; bytes another
    // code has taken are not looked at.
    for (std::size_t i = 0; i < name_end; ++i) {
        const auto c = static_cast<unsigned char>(package[i]);
        if (claimed(package_offset_ + i)) continue;
        if (c < 0x20 || c >= 0x7F || c == ' ' || std::strchr("#,;\"'}", c) != nullptr) {
            char byte[8];
            copy_character(package + i, package_length - i, byte);
            add(lint_code::w113, column(package_offset_ + i), message, text_w113(message, byte, package));
            break;
        }
    }

    // W114: a '[' after the last ']'.
    const char* close = std::strrchr(package, ']');
    if (const char* open = std::strchr(close != nullptr ? close : package, '['))
        add(lint_code::w114, column(package_offset_ + static_cast<std::size_t>(open - package)), message,
            text_w114(message));

    const char* thread = rule.thread;
    // W117: braces that hold blanks only name no thread.
    if (thread[0] == '\0' && text_[package_offset_ + package_length] == '{')
        add(lint_code::w117, column(package_offset_ + package_length + 1), message,
            text_w117(message, package, value_, value_end_));
    if (thread[0] == '\0') return;
    const auto thread_offset = static_cast<std::size_t>(thread - buffer);
    const std::size_t thread_length = std::strlen(thread);
    const std::size_t thread_end = without_trailing_blanks(thread, thread_length);
    if (thread_end < thread_length)
        add(lint_code::w111, column(thread_offset + thread_end), message, text_w111(message, thread));
    if (thread_length > thread_name_kept && !has_wildcard(thread)) {
        char shown[thread_name_kept + 1];
        shown_thread_name(thread, thread_length).copy(shown, thread_name_kept);
        shown[thread_name_kept] = '\0';
        add(lint_code::w112, column(thread_offset), message, text_w112(message, thread, thread_length, shown));
    }
}
