// The checker's messages: each one worded here, once, and the sink that
// prints them. Texts taken from the rule file or the command line are made
// printable when standard output is a terminal, so a shared rule file cannot
// move the cursor, erase lines or change colours there.
#include <unistd.h>

#include <cstdio>

#include "cli/cli.h"

namespace {

// Room for one text of a message once made printable: a path is the longest.
constexpr std::size_t max_text_size = max_path_length + 1;

// One text argument of a message, made printable when asked.
struct message_text {
    char printable[max_text_size];
    const char* shown;
    // The buffer is filled only when it is used: most messages are not made
    // printable, and a fault-ridden file has many.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-member-init)
    message_text(const char* text, bool make) : shown(text) {
        if (!make) return;
        make_printable(text, printable, sizeof printable);
        shown = printable;
    }
};

// The format of each fault of a line's syntax, all of which show the line
// number and one text; null for the other faults.
const char* syntax_format(fault_kind kind) {
    switch (kind) {
        case fault_kind::missing_equals: return "第 %zu 行无效规则：缺少 '=': %s\n";
        case fault_kind::empty_key: return "第 %zu 行无效规则：键为空: %s\n";
        case fault_kind::empty_value: return "第 %zu 行无效规则：值为空: %s\n";
        case fault_kind::missing_close_brace: return "第 %zu 行无效规则：缺少闭合 '}': %s\n";
        case fault_kind::empty_thread: return "第 %zu 行无效规则：线程名为空: %s\n";
        case fault_kind::bytes_after_brace: return "第 %zu 行无效规则：'}' 后包含非法字符: %s\n";
        case fault_kind::missing_open_brace: return "第 %zu 行无效规则：缺少 '{': %s\n";
        case fault_kind::name_too_long: return "第 %zu 行无效规则：包名或线程名过长: %s\n";
        default: return nullptr;
    }
}

}  // namespace

void make_printable(const char* text, char* out, std::size_t out_size) {
    if (out_size == 0) return;
    std::size_t n = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p != 0 && n + 1 < out_size) {
        if ((*p < 0x20 && *p != '\t') || *p == 0x7f) {
            out[n++] = '?';
            ++p;
        } else if (*p == 0xc2 && p[1] >= 0x80 && p[1] <= 0x9f) {  // U+0080-U+009F
            out[n++] = '?';
            p += 2;
        } else {
            out[n++] = static_cast<char>(*p++);
        }
    }
    out[n] = '\0';
}

std::size_t format_message(char (&out)[max_message_size], const fault& f, bool printable) {
    const message_text text(f.text, printable);
    const message_text package(f.package, printable);
    const message_text thread(f.thread, printable);
    const message_text value(f.value, printable);
    const message_text cpus(f.cpu_text, printable);
    const message_text present(f.present_text, printable);
    const std::size_t n = f.line_number;
    const char* t = text.shown;
    int length = 0;
    if (const char* format = syntax_format(f.kind)) length = std::snprintf(out, sizeof out, format, n, t);
    switch (f.kind) {
        case fault_kind::line_too_long: length = std::snprintf(out, sizeof out, "第 %zu 行过长\n", n); break;
        default: break;  // the syntax faults, above
        case fault_kind::duplicate:
            length = std::snprintf(out, sizeof out, "第 %zu 行重复规则：%s{%s}=%s\n", n, package.shown, thread.shown,
                                   value.shown);
            break;
        case fault_kind::cpus_not_present:
            length = std::snprintf(out, sizeof out, "第 %zu 行无效 CPU 范围：%s 在规则 %s{%s}=%s，超出可用 CPU (%s)\n", n,
                                   cpus.shown, package.shown, thread.shown, value.shown, present.shown);
            break;
        case fault_kind::no_valid_cpu:
            length = std::snprintf(out, sizeof out, "第 %zu 行无效 CPU 范围：%s 在规则 %s{%s}=%s，无有效 CPU\n", n,
                                   value.shown, package.shown, thread.shown, value.shown);
            break;
        case fault_kind::file_missing: length = std::snprintf(out, sizeof out, "配置文件不存在: %s\n", t); break;
        case fault_kind::file_not_opened:
            length = std::snprintf(out, sizeof out, "无法打开配置文件 %s: %s\n", t, f.reason);
            break;
        case fault_kind::file_not_mapped:
            length = std::snprintf(out, sizeof out, "无法映射配置文件 %s: %s\n", t, f.reason);
            break;
        case fault_kind::file_read_failed:
            length = std::snprintf(out, sizeof out, "无法读取配置文件 %s: 第 %zu 行读取失败\n", t, n);
            break;
        case fault_kind::no_rule_loaded: length = std::snprintf(out, sizeof out, "未加载有效规则\n"); break;
    }
    if (length < 0) length = 0;
    return static_cast<std::size_t>(length) < sizeof out ? static_cast<std::size_t>(length) : sizeof out - 1;
}

print_sink::print_sink() : terminal_(isatty(STDOUT_FILENO) == 1) {}

void print_sink::report(const fault& f) {
    char message[max_message_size];
    const std::size_t length = format_message(message, f, terminal_);
    (void)std::fwrite(message, 1, length, stdout);
}
