// The checker's messages: each one worded here, once, and the sink that
// prints them. Texts taken from the rule file or the command line are made
// printable when standard output is a terminal, so a shared rule file cannot
// move the cursor, erase lines or change colours there.
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "cli/cli.h"
#include "cpuset/cpuset.h"

namespace {

// Room for one text of a message once made printable: a path is the longest.
constexpr std::size_t printable_text_size = max_path_length + 1;

// How every message about one line starts; the body follows it.
constexpr const char line_prefix[] = "第 %zu 行";

// One text argument of a message, made printable when asked.
struct message_text {
    char printable[printable_text_size];
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

}  // namespace

void make_printable(const char* text, char* out, std::size_t out_size, bool keep_tab) {
    if (out_size == 0) return;
    std::size_t n = 0;
    const char* p = text;
    while (*p != '\0' && n + 1 < out_size) {
        const std::size_t control = *p == '\t' && keep_tab ? 0 : control_length(p, 2);
        if (control != 0) {
            out[n++] = '?';
            p += control;
        } else {
            out[n++] = *p++;
        }
    }
    out[n] = '\0';
}

std::size_t format_message(char (&out)[max_message_size], const fault& f, bool printable, message_part part) {
    const message_text text(f.text, printable);
    const message_text package(f.package, printable);
    const message_text thread(f.thread, printable);
    const message_text value(f.value, printable);
    const message_text cpus(f.cpu_text, printable);
    const message_text present(f.present_text, printable);
    const std::size_t n = f.line_number;
    const char* t = text.shown;
    const char* p = package.shown;
    const char* th = thread.shown;
    const char* v = value.shown;
    bool about_line = true;  // the message starts with line_prefix
    int length = 0;
    switch (f.kind) {
        case fault_kind::line_too_long: length = std::snprintf(out, sizeof out, "第 %zu 行过长\n", n); break;
        case fault_kind::missing_equals:
            length = std::snprintf(out, sizeof out, "第 %zu 行无效规则：缺少 '=': %s\n", n, t);
            break;
        case fault_kind::empty_key: length = std::snprintf(out, sizeof out, "第 %zu 行无效规则：键为空: %s\n", n, t); break;
        case fault_kind::empty_value:
            length = std::snprintf(out, sizeof out, "第 %zu 行无效规则：值为空: %s\n", n, t);
            break;
        case fault_kind::missing_close_brace:
            length = std::snprintf(out, sizeof out, "第 %zu 行无效规则：缺少闭合 '}': %s\n", n, t);
            break;
        case fault_kind::empty_thread:
            length = std::snprintf(out, sizeof out, "第 %zu 行无效规则：线程名为空: %s\n", n, t);
            break;
        case fault_kind::bytes_after_brace:
            length = std::snprintf(out, sizeof out, "第 %zu 行无效规则：'}' 后包含非法字符: %s\n", n, t);
            break;
        case fault_kind::missing_open_brace:
            length = std::snprintf(out, sizeof out, "第 %zu 行无效规则：缺少 '{': %s\n", n, t);
            break;
        case fault_kind::name_too_long:
            length = std::snprintf(out, sizeof out, "第 %zu 行无效规则：包名或线程名过长: %s\n", n, t);
            break;
        case fault_kind::duplicate:
            length = std::snprintf(out, sizeof out, "第 %zu 行重复规则：%s{%s}=%s\n", n, p, th, v);
            break;
        case fault_kind::cpus_not_present:
            length = std::snprintf(out, sizeof out, "第 %zu 行无效 CPU 范围：%s 在规则 %s{%s}=%s，超出可用 CPU (%s)\n", n,
                                   cpus.shown, p, th, v, present.shown);
            break;
        case fault_kind::no_valid_cpu:
            length = std::snprintf(out, sizeof out, "第 %zu 行无效 CPU 范围：%s 在规则 %s{%s}=%s，无有效 CPU\n", n, v, p,
                                   th, v);
            break;
        case fault_kind::file_missing:
            about_line = false;
            length = std::snprintf(out, sizeof out, "配置文件不存在: %s\n", t);
            break;
        case fault_kind::file_not_opened:
            about_line = false;
            length = std::snprintf(out, sizeof out, "无法打开配置文件 %s: %s\n", t, f.reason);
            break;
        case fault_kind::file_not_mapped:
            about_line = false;
            length = std::snprintf(out, sizeof out, "无法映射配置文件 %s: %s\n", t, f.reason);
            break;
        case fault_kind::file_read_failed:
            about_line = false;
            length = std::snprintf(out, sizeof out, "无法读取配置文件 %s: 第 %zu 行读取失败\n", t, n);
            break;
        case fault_kind::no_rule_loaded:
            about_line = false;
            length = std::snprintf(out, sizeof out, "未加载有效规则\n");
            break;
    }
    if (length < 0) length = 0;
    std::size_t size = static_cast<std::size_t>(length) < sizeof out ? static_cast<std::size_t>(length) : sizeof out - 1;
    if (part == message_part::whole) return size;
    if (size > 0 && out[size - 1] == '\n') out[--size] = '\0';
    if (!about_line) return size;
    // The prefix is line_prefix with the digits of n in place of its "%zu".
    std::size_t digits = 1;
    for (std::size_t rest = n; rest >= 10; rest /= 10) ++digits;
    const std::size_t prefix = sizeof line_prefix - 1 - (sizeof "%zu" - 1) + digits;
    const std::size_t skipped = prefix < size ? prefix : size;
    std::memmove(out, out + skipped, size - skipped + 1);
    return size - skipped;
}

void print_usage_line(const char* format, const char* me, bool terminal) {
    char printable[max_path_length + present_text_size + 4];
    if (terminal) {
        make_printable(me, printable, sizeof printable);
        me = printable;
    }
    std::printf(format, me);
}

print_sink::print_sink() : terminal_(isatty(STDOUT_FILENO) == 1) {}

void print_sink::report(const fault& f) {
    char message[max_message_size];
    const std::size_t length = format_message(message, f, terminal_);
    (void)std::fwrite(message, 1, length, stdout);
}
