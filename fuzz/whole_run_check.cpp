// What a whole run must do with any rule file: number every line, print one
// message per rejected line in line order and nothing for blank, comment or
// accepted lines, build a rule set that is consistent with itself, release
// it completely, and close with a summary and a status that match.
#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cpuset/cpuset.h"
#include "fuzz/check_support.h"
#include "fuzz/fuzz_checks.h"
#include "rules/rules.h"

using namespace fuzz_support;

namespace {

constexpr const char fuzz_present_text[] = "0-7";
constexpr unsigned long fuzz_highest_present = 7;

// How the line loop must see each line of the file.
enum class expected_line { too_long, skipped, examined };

std::vector<expected_line> split_lines(const char* data, std::size_t size) {
    std::vector<expected_line> lines;
    std::size_t start = 0;
    while (start < size) {
        const void* newline = std::memchr(data + start, '\n', size - start);
        const std::size_t end = newline != nullptr ? static_cast<std::size_t>(static_cast<const char*>(newline) - data) : size;
        const std::size_t length = end - start;
        if (length > max_line_length)
            lines.push_back(expected_line::too_long);
        else
            lines.push_back(is_skipped_line(line_text(data + start, length)) ? expected_line::skipped
                                                                               : expected_line::examined);
        start = end + 1;
    }
    return lines;
}

// The rule set as the loop left it, before it is released.
std::string check_rule_set(const rule_set& set, const cpu_set_t& present) {
    std::set<std::string> pairs;
    std::set<std::string> exact_packages;
    std::size_t wildcard_rules = 0;
    for (std::size_t i = 0; i < set.table.count; ++i) {
        const rule& r = set.table.rules[i];
        if (std::memchr(r.package, '\0', sizeof r.package) == nullptr) return "a package field is not terminated";
        if (std::memchr(r.thread, '\0', sizeof r.thread) == nullptr) return "a thread field is not terminated";
        if (CPU_COUNT(&r.cpus) == 0) return "an accepted rule has no CPU";
        cpu_set_t within_present;
        CPU_AND(&within_present, &r.cpus, &present);
        if (!CPU_EQUAL(&within_present, &r.cpus)) return "an accepted rule names a CPU that is not present";
        if (r.is_wildcard != (std::strpbrk(r.package, "*?[") != nullptr)) return "a wildcard flag is wrong";
        if (r.priority != calculate_rule_priority(r.thread[0] != '\0' ? r.thread : r.package))
            return "a priority is wrong";
        if (!pairs.insert(std::string(r.package) + '\0' + r.thread).second) return "a duplicate rule was accepted";
        if (r.is_wildcard)
            ++wildcard_rules;
        else
            exact_packages.insert(r.package);
    }

    if (set.wildcards.count != wildcard_rules) return "the wildcard list does not hold every wildcard rule";
    for (std::size_t i = 0; i < set.wildcards.count; ++i) {
        const std::size_t position = set.wildcards.entries[i];
        if (position >= set.table.count || !set.table.rules[position].is_wildcard)
            return "a wildcard list entry names no wildcard rule";
        if (i > 0 && position <= set.wildcards.entries[i - 1]) return "the wildcard list is out of line order";
    }

    if (HASH_COUNT(set.package_index) != exact_packages.size())
        return "the package index does not hold each exact package once";
    for (const std::string& name : exact_packages) {
        package_entry* found = nullptr;
        HASH_FIND_STR(set.package_index, name.c_str(), found);
        if (found == nullptr) return "an exact package is missing from the index";
    }
    return {};
}

// Checks the printed messages against the lines and returns the number of
// rejected lines through `rejected`.
std::string check_messages(const std::vector<std::string>& messages, const std::vector<expected_line>& lines,
                           std::size_t& rejected) {
    static const char* const kinds[] = {"无效规则：", "重复规则：", "无效 CPU 范围："};
    std::size_t previous = 0;
    std::vector<bool> has_message(lines.size() + 1, false);
    for (const std::string& message : messages) {
        if (!starts_with(message, "第 ")) return "a message does not start with its line number: " + message;
        char* end = nullptr;
        const unsigned long long number = std::strtoull(message.c_str() + std::strlen("第 "), &end, 10);
        if (number <= previous || number > lines.size())
            return "message line numbers are not increasing lines of the file: " + message;
        previous = static_cast<std::size_t>(number);
        has_message[previous] = true;
        const std::string rest(end);
        const expected_line kind = lines[previous - 1];
        if (kind == expected_line::too_long) {
            if (rest != " 行过长") return "a too-long line got another message: " + message;
            continue;
        }
        if (kind == expected_line::skipped) return "a blank or comment line got a message: " + message;
        bool known = false;
        for (const char* known_kind : kinds) known = known || starts_with(rest, std::string(" 行") + known_kind);
        if (!known) return "a message of unknown kind: " + message;
    }
    for (std::size_t number = 1; number <= lines.size(); ++number)
        if (lines[number - 1] == expected_line::too_long && !has_message[number])
            return "a too-long line got no message: line " + decimal(number);
    rejected = messages.size();
    return {};
}

}  // namespace

std::string check_whole_run(const std::uint8_t* data, std::size_t size, stdout_capture& capture) {
    // The mapping has no NUL after it; neither has this copy.
    std::unique_ptr<char[]> file(new char[size]);
    if (size > 0) std::memcpy(file.get(), data, size);

    cpu_set_t present;
    CPU_ZERO(&present);
    for (unsigned long cpu = 0; cpu <= fuzz_highest_present; ++cpu) CPU_SET(cpu, &present);

    rule_set set;
    if (!create_rule_set(set, present, fuzz_present_text)) return "create_rule_set failed";
    run_state state;
    check_lines(file.get(), size, set, state);
    std::string set_broken = check_rule_set(set, present);
    release_rule_set(set);
    const int status = print_summary(set, state);
    const std::string printed = capture.take();
    if (!set_broken.empty()) return set_broken;
    if (set.package_index != nullptr || set.table.rules != nullptr || set.wildcards.entries != nullptr)
        return "the rule set was not released";

    const std::vector<expected_line> lines = split_lines(file.get(), size);
    if (state.line_number != lines.size()) return "line count " + decimal(state.line_number) + ", file has " + decimal(lines.size());
    if (state.stopped) return "the loop stopped early";

    if (printed.empty() || printed.back() != '\n') return "output does not end with a full line";
    std::vector<std::string> messages;
    for (std::size_t start = 0; start < printed.size();) {
        const std::size_t end = printed.find('\n', start);
        messages.push_back(printed.substr(start, end - start));
        start = end + 1;
    }
    const std::string summary = messages.back();
    messages.pop_back();

    std::size_t rejected = 0;
    std::string messages_broken = check_messages(messages, lines, rejected);
    if (!messages_broken.empty()) return messages_broken;

    const auto skipped = static_cast<std::size_t>(std::count(lines.begin(), lines.end(), expected_line::skipped));
    const std::size_t accepted = lines.size() - skipped - rejected;
    if (set.table.count != accepted)
        return decimal(set.table.count) + " rules loaded, but " + decimal(accepted) + " lines were neither skipped nor rejected";

    const std::string expected_summary =
        accepted == 0 ? std::string("未加载有效规则")
                      : "配置文件解析完成，共加载 " + decimal(accepted) + " 条规则，" + decimal(set.wildcards.count) + " 条通配符规则";
    if (summary != expected_summary) return "summary is \"" + summary + "\", expected \"" + expected_summary + "\"";
    if (state.clean != (rejected == 0)) return "the clean flag does not match the rejected lines";
    const int expected_status = rejected == 0 && accepted > 0 ? 0 : 1;
    if (status != expected_status) return "status " + decimal(static_cast<std::size_t>(status)) + ", expected " + decimal(static_cast<std::size_t>(expected_status));
    return {};
}
