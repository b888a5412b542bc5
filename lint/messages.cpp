// Every text of applist-lint but the checker's own messages, worded here and
// nowhere else: usage and its errors, the warnings, and the texts of the
// errors the checker has no message for.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/cli.h"
#include "lint/lint.h"

namespace {

constexpr const char usage_line[] = "用法: %s [选项] 文件...\n";

// A text from the command line as the lint shows every text: one line of
// valid UTF-8 (see append_escaped).
std::string shown(const char* text, std::size_t length) {
    std::string out;
    append_escaped(out, text, length);
    return out;
}
std::string shown(const char* text) { return shown(text, std::strlen(text)); }

// A usage error: its message, then the usage line, on standard error. The
// message's first argument is the program's name.
template <typename... Args>
void usage_error(const char* me, const char* format, Args... args) {
    std::fprintf(stderr, format, shown(me).c_str(), args...);
    print_usage(stderr, me);
}

// Writes a text with `format` and its arguments into `out`, cut to fit.
// Returns its length.
template <typename... Args>
std::size_t write_text(text_buffer& out, const char* format, Args... args) {
    const int length = std::snprintf(out, sizeof out, format, args...);
    if (length < 0) {
        out[0] = '\0';
        return 0;
    }
    return static_cast<std::size_t>(length) < sizeof out ? static_cast<std::size_t>(length) : sizeof out - 1;
}

// A text without arguments: never read as a format.
std::size_t write_text(text_buffer& out, const char* text) { return write_text(out, "%s", text); }

}  // namespace

void print_usage(std::FILE* stream, const char* me) { std::fprintf(stream, usage_line, shown(me).c_str()); }

void print_help(const char* me) {
    struct row {
        const char* option;
        const char* text;
    };
    static const row rows[] = {
        {"-p, --cpus=LIST", "按 present CPU 列表为 LIST 的设备检查"},
        {"", "不给出时读取本机内核的 present 文件"},
        {"-f, --format=FORMAT", "输出格式：gcc（默认）、json、github 或 sarif"},
        {"-e, --exclude=CODES", "不报告这些警告（逗号分隔，可多次给出）"},
        {"-s, -S, --severity=LEVEL", "warning（默认），或 error：只报告错误"},
        {"    --exit-zero", "有报告时退出状态也为 0"},
        {"    --column-unit=UNIT", "列号按 byte（默认）、char 或 utf16 计"},
        {"    --stdin-filename=NAME", "输出中文件 - 的名字"},
        {"    --packages=FILE", "按 pm list packages 的输出检查包名（W130、W131）"},
        {"    --threads=FILE", "按 ps -A -T -o CMD,NAME 的输出检查线程名（W132、W133）"},
        {"    --adb", "通过 adb 从手机读取上面两项和 present CPU 列表"},
        {"-h, --help", "显示本帮助"},
        {"    --version", "显示版本"},
    };
    print_usage(stdout, me);
    std::puts("报告 applist-check 的每个错误，和含义与字面不同的规则。");
    std::puts("");
    for (const row& r : rows) std::printf("  %-27s%s\n", r.option, r.text);
    std::puts("");
    std::puts("文件为 - 时读取标准输入。");
    std::puts("退出状态：0 没有报告，1 有报告，2 用法错误、手机数据没能读取或文件没能检查完。");
}

void print_version() { std::printf("applist-lint %s\n", APPLIST_VERSION); }

void report_dash_c(const char* me) {
    usage_error(me, "%s: 没有 -c 选项：-c 是 applist-check 指定配置文件的选项，applist-lint 直接给出文件名\n");
}

void report_unknown_option(const char* me, const char* option) { usage_error(me, "%s: 未知选项: %s\n", shown(option).c_str()); }

void report_missing_argument(const char* me, const char* option) {
    usage_error(me, "%s: 选项 %s 需要参数\n", shown(option).c_str());
}

void report_unknown_format(const char* me, const char* format) {
    usage_error(me, "%s: 未知的输出格式: %s（可用 gcc、json、github、sarif）\n", shown(format).c_str());
}

void report_unknown_column_unit(const char* me, const char* unit) {
    usage_error(me, "%s: 未知的列单位: %s（可用 byte、char、utf16）\n", shown(unit).c_str());
}

void report_unknown_severity(const char* me, const char* severity) {
    usage_error(me, "%s: 未知的级别: %s（可用 warning、error）\n", shown(severity).c_str());
}

void report_unknown_excluded_code(const char* me, const char* code, std::size_t length) {
    usage_error(me, "%s: -e 中的代码未知: \"%s\"\n", shown(code, length).c_str());
}

void report_excluded_error_code(const char* me, const char* code) {
    usage_error(me, "%s: -e 不能排除错误 %s：错误是 applist-check 的结论，只有警告可以排除\n", code);
}

void report_excluded_w199(const char* me) {
    usage_error(me, "%s: -e 不能排除 W199：它报告的是 applist-lint 指令本身的问题\n");
}

void report_no_file(const char* me) { usage_error(me, "%s: 没有给出要检查的文件（标准输入写作 -）\n"); }

void report_stdin_twice(const char* me) { usage_error(me, "%s: 标准输入 - 只能给出一次\n"); }

void report_stdin_name_without_stdin(const char* me) {
    usage_error(me, "%s: --stdin-filename 只用于文件 -（标准输入），但没有给出 -\n");
}

void report_bad_cpu_list(const char* me, const char* list) {
    // The list's own message, shown as every usage error shows a text. The
    // verdict is the list's own: a byte that is escaped is never part of a
    // valid list, and its escape holds no ',' or '-' and is no number.
    std::string shown_list = shown(list);
    (void)check_cpu_list(&shown_list[0], stderr);
    print_usage(stderr, me);
}

std::size_t text_kept_rule(text_buffer& out, const char* checker_text, std::size_t kept_line) {
    return write_text(out, "%s（保留的是第 %zu 行的规则）", checker_text, kept_line);
}

std::size_t text_stdin_unreadable(text_buffer& out, const char* reason) {
    return write_text(out, "无法读取标准输入: %s", reason);
}

std::size_t text_stdin_empty(text_buffer& out) { return write_text(out, "标准输入为空"); }

std::size_t text_out_of_memory(text_buffer& out, std::size_t line_number) {
    return write_text(out, "内存不足：第 %zu 行及以后的行没有检查完", line_number);
}

void print_out_of_memory() { std::fputs("applist-lint: 内存不足\n", stderr); }

std::size_t text_w101(text_buffer& out, const char* number, const char* cpus) {
    return write_text(out, "\"%s\" 以 0 开头，按八进制读取：规则实际的 CPU 为 \"%s\"", number, cpus);
}

std::size_t text_w102(text_buffer& out, const char* number, const char* value, const char* cpus) {
    return write_text(out, "\"%s\" 是十六进制数 %s：规则实际的 CPU 为 \"%s\"", number, value, cpus);
}

std::size_t text_w103(text_buffer& out, const char* item, const char* cpus) {
    return write_text(out, "\"%s\" 大于 1023 或为负数，整项被丢弃：规则实际的 CPU 为 \"%s\"", item, cpus);
}

std::size_t text_w104(text_buffer& out, const char* item, const char* cpus) {
    return write_text(out, "范围 \"%s\" 的终点大于 1023 或为负数，只取到 1023：规则实际的 CPU 为 \"%s\"", item, cpus);
}

std::size_t text_w105(text_buffer& out, const char* byte, list_oddity why, const char* cpus) {
    switch (why) {
        case list_oddity::stepped_over:
            return write_text(out, "CPU 列表中的 '%s' 不是数字，被逐字节跳过：规则实际的 CPU 为 \"%s\"", byte, cpus);
        case list_oddity::trailing_comma:
            return write_text(out, "CPU 列表以 ',' 结尾：规则实际的 CPU 为 \"%s\"", cpus);
        case list_oddity::dash_without_end:
            return write_text(out, "'-' 后没有终点，只取起点：规则实际的 CPU 为 \"%s\"", cpus);
        case list_oddity::sign_or_blank:
            return write_text(out, "strtoul 接受数字前的 '%s'，内核从不这样写：规则实际的 CPU 为 \"%s\"", byte, cpus);
    }
    return 0;
}

std::size_t text_w110(text_buffer& out, const char* package) {
    return write_text(out, "包名以空白结尾：包名是 \"%s\"，没有应用叫这个名字", package);
}

std::size_t text_w111(text_buffer& out, const char* thread) {
    return write_text(out, "线程名以空白结尾：线程名是 \"%s\"，没有线程叫这个名字", thread);
}

std::size_t text_w112(text_buffer& out, const char* thread, std::size_t length, const char* shown) {
    return write_text(out, "线程名 \"%s\" 有 %zu 字节，Linux 只保留 15 字节，手机上显示为 \"%s\"",
                      thread, length, shown);
}

std::size_t text_w113(text_buffer& out, const char* byte, const char* package) {
    return write_text(out, "包名 \"%s\" 含有包名和进程名都不会有的字节 '%s'：没有应用叫这个名字", package,
                      byte);
}

std::size_t text_w114(text_buffer& out) {
    return write_text(out, "包名中的 '[' 之后没有 ']'：字符类没有结束，规则仍是通配符规则");
}

std::size_t text_w115(text_buffer& out) {
    return write_text(out, "行首是 UTF-8 字节顺序标记 (EF BB BF)：注释不再是注释，包名多出三个看不见的字节");
}

std::size_t text_w116(text_buffer& out, const char* form, const char* code_point, const char* meant) {
    return write_text(out, "全角字符 '%s' (%s)：这里应写 ASCII 的 '%s'", form, code_point, meant);
}

std::size_t text_w117(text_buffer& out, const char* package, const char* value, std::size_t value_length) {
    return write_text(out, "线程名只有空白：规则没有指定线程，作用于整个包，读作 \"%s=%.*s\"", package,
                      static_cast<int>(value_length), value);
}

std::size_t text_w199_unknown(text_buffer& out, const char* code) {
    return write_text(out, "applist-lint 指令中的代码 \"%s\" 未知", code);
}

std::size_t text_w199_error(text_buffer& out, const char* code) {
    return write_text(out, "applist-lint 指令不能关闭错误 %s：错误是 applist-check 的结论", code);
}

std::size_t text_w199_itself(text_buffer& out) {
    return write_text(out, "applist-lint 指令不能关闭 W199");
}

std::size_t text_w130(text_buffer& out, const char* package, const char* nearest) {
    if (nearest == nullptr) return write_text(out, "没有已安装的应用或运行中的进程叫 \"%s\"：规则不会生效", package);
    return write_text(out, "没有已安装的应用或运行中的进程叫 \"%s\"：规则不会生效（是不是 \"%s\"？）", package, nearest);
}

std::size_t text_w131(text_buffer& out, const char* pattern) {
    return write_text(out, "通配符 \"%s\" 不匹配任何已安装的应用或运行中的进程：规则不会生效", pattern);
}

std::size_t text_w132(text_buffer& out, const char* package, const char* thread, const char* nearest) {
    if (nearest == nullptr) return write_text(out, "\"%s\" 运行中的进程没有叫 \"%s\" 的线程：规则不会生效", package, thread);
    return write_text(out, "\"%s\" 运行中的进程没有叫 \"%s\" 的线程：规则不会生效（是不是 \"%s\"？）", package, thread,
                      nearest);
}

std::size_t text_w133(text_buffer& out, const char* package, const char* pattern) {
    return write_text(out, "\"%s\" 运行中的进程没有线程匹配 \"%s\"：规则不会生效", package, pattern);
}

void report_snapshot_unreadable(const char* source, const char* reason) {
    std::fprintf(stderr, "applist-lint: 无法读取 %s: %s\n", shown(source).c_str(), reason);
}

void report_snapshot_empty(const char* source) {
    std::fprintf(stderr, "applist-lint: %s 为空：没有包名或线程\n", shown(source).c_str());
}

void report_snapshot_no_thread(const char* source) {
    std::fprintf(stderr, "applist-lint: %s 中没有 ps -A -T -o CMD,NAME 格式的行\n", shown(source).c_str());
}

void report_adb_bad_cpu_list(const char* source, const char* output) {
    std::fprintf(stderr, "applist-lint: %s 的输出不是 CPU 列表: \"%s\"\n", source, shown(output).c_str());
}

void report_adb_not_started(const char* reason) { std::fprintf(stderr, "applist-lint: 无法运行 adb: %s\n", reason); }

void report_adb_failed(const char* command, const char* line) {
    std::fprintf(stderr, "applist-lint: %s 失败: %s\n", command, shown(line).c_str());
}

void report_adb_status(const char* command, int status) {
    std::fprintf(stderr, "applist-lint: %s 失败，退出状态 %d\n", command, status);
}

void report_adb_timed_out(const char* command) {
    std::fprintf(stderr, "applist-lint: %s 在 %d 秒内没有结束，已终止\n", command, adb_time_limit);
}

const char* level_name(lint_code code) { return is_error(code) ? "error" : "warning"; }
