// The checks of a rule against the phone's data: a package no app has
// (W130), a pattern that matches none (W131), a thread the app's running
// processes do not have (W132) or a thread pattern none of them matches
// (W133), with the nearest name when one is close.
#include <fnmatch.h>

#include <algorithm>
#include <iterator>
#include <cstring>

#include "lint/lint.h"

namespace {

constexpr const char wildcard_bytes[] = "*?[";
// fnmatch's own bytes, its escape among them: a pattern's fixed start ends
// at the first.
constexpr const char pattern_bytes[] = "*?[\\";
// A close name is at most this many edits away, and at most a third of the
// name's length.
constexpr std::size_t max_edits = 2;
constexpr std::size_t edits_per_length = 3;

bool is_pattern(const char* name) { return std::strpbrk(name, wildcard_bytes) != nullptr; }

bool starts_with(std::string_view name, std::string_view start) { return name.substr(0, start.size()) == start; }

std::string lower_case(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), ascii_lower);
    return lower;
}

// Shaped like an app's package: letters, digits, '_' and '.' with at least
// one '.', then an optional ":suffix" of the same bytes.
bool app_shaped(std::string_view name) {
    const std::size_t colon = name.find(':');
    const std::string_view package = name.substr(0, colon);
    const auto plain = [](std::string_view part) {
        return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) {
                   return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                          c == '.';
               });
    };
    return plain(package) && package.find('.') != std::string_view::npos &&
           (colon == std::string_view::npos || plain(name.substr(colon + 1)));
}

// Calls `take(name)` for each name of the sorted `names` that the fnmatch
// pattern `pattern` matches, until it returns true. Only the names that
// start with the pattern's fixed bytes are tried. Returns whether one did.
template <typename Take>
bool each_match(const std::vector<std::string_view>& names, const char* pattern, Take take) {
    const std::string_view start(pattern, std::strcspn(pattern, pattern_bytes));
    for (auto it = std::lower_bound(names.begin(), names.end(), start); it != names.end() && starts_with(*it, start);
         ++it)
        if (fnmatch(pattern, it->data(), 0) == 0 && take(*it)) return true;
    return false;
}

// How the sorted, distinct `names` share their starts: shared[k] is the
// count of first bytes names[k] has in common with names[k - 1] (at most
// 65535), next[k] the first index after k with a smaller count. The names
// that start with the first d bytes of names[i] then run up to the first
// k > i with shared[k] < d, which `next` reaches in at most d steps.
void find_shared_starts(const std::vector<std::string_view>& names, std::vector<std::uint16_t>& shared,
                        std::vector<std::uint32_t>& next) {
    const std::size_t count = names.size();
    shared.assign(count, 0);
    next.assign(count, static_cast<std::uint32_t>(count));
    for (std::size_t k = 1; k < count; ++k) {
        const std::size_t most = std::min({names[k].size(), names[k - 1].size(), std::size_t{UINT16_MAX}});
        std::size_t same = 0;
        while (same < most && names[k][same] == names[k - 1][same]) ++same;
        shared[k] = static_cast<std::uint16_t>(same);
    }
    std::vector<std::uint32_t> waiting;  // indices whose next is not known yet, counts rising
    for (std::size_t k = 0; k < count; ++k) {
        while (!waiting.empty() && shared[k] < shared[waiting.back()]) {
            next[waiting.back()] = static_cast<std::uint32_t>(k);
            waiting.pop_back();
        }
        waiting.push_back(static_cast<std::uint32_t>(k));
    }
}

// The name of the sorted, distinct `names` nearest to `word` in edits (a
// byte inserted, removed or changed, or two neighbours swapped), at most
// `limit` away; the first in byte order among the nearest. The names are
// walked as a trie: rows of the distance table are shared by names with a
// common start, only the cells within `limit` of the diagonal are worked
// out, and every name past a start already no nearer than the best so far
// is skipped.
std::string_view nearest_name(const std::vector<std::string_view>& names, const std::vector<std::uint16_t>& shared,
                              const std::vector<std::uint32_t>& next, std::string_view word, std::size_t limit) {
    const std::size_t length = word.size();
    const std::size_t width = length + 1;
    const std::size_t deepest = length + limit;
    const std::size_t far = limit + 1;  // any distance beyond the limit
    std::vector<std::size_t> rows((deepest + 1) * width, far);
    for (std::size_t j = 0; j <= std::min(length, limit); ++j) rows[j] = j;
    std::string_view previous;
    std::size_t valid = 0;  // rows 1..valid hold `previous`'s first bytes
    std::string_view best;
    std::size_t best_distance = far;
    for (std::size_t i = 0; i < names.size();) {
        const std::string_view name = names[i];
        std::size_t depth = 0;
        while (depth < valid && depth < name.size() && name[depth] == previous[depth]) ++depth;
        bool too_far = false;
        while (depth < name.size()) {
            if (++depth > deepest) {
                too_far = true;
                break;
            }
            std::size_t* row = &rows[depth * width];
            const std::size_t* above = row - width;
            const std::size_t* two_above = depth > 1 ? row - 2 * width : nullptr;
            const char c = name[depth - 1];
            const std::size_t low = depth > limit ? depth - limit : 1;
            const std::size_t high = std::min(length, depth + limit);
            row[0] = depth <= limit ? depth : far;
            if (low > 1) row[low - 1] = far;
            if (high < length) row[high + 1] = far;
            std::size_t least = row[0];
            for (std::size_t j = low; j <= high; ++j) {
                std::size_t d = std::min({above[j] + 1, row[j - 1] + 1, above[j - 1] + (word[j - 1] != c ? 1 : 0)});
                if (two_above != nullptr && j > 1 && c == word[j - 2] && name[depth - 2] == word[j - 1])
                    d = std::min(d, two_above[j - 2] + 1);
                row[j] = std::min(d, far);
                least = std::min(least, row[j]);
            }
            valid = depth;
            if (least >= best_distance) {  // no nearer name starts so; a tie comes later in byte order
                too_far = true;
                break;
            }
        }
        previous = name;
        if (!too_far) {
            if (rows[name.size() * width + length] < best_distance) {
                best_distance = rows[name.size() * width + length];
                best = name;
            }
            ++i;
            continue;
        }
        for (++i; i < names.size() && shared[i] >= depth;) i = next[i];
    }
    return best;
}

// The most edits a name close to `word` may be away.
std::size_t edit_limit(std::string_view word) { return std::min(max_edits, word.size() / edits_per_length); }

// A package of a rule, looked up: its name and hash, and those of the app
// it is a process of (the name before its ':').
struct package_name {
    std::string_view name;
    std::size_t hash;
    std::string_view app;
    std::size_t app_hash;
};

package_name look_up(const char* package) {
    package_name p{package, name_hash(package), {}, 0};
    const std::size_t colon = p.name.find(':');
    p.app = p.name.substr(0, colon);
    p.app_hash = colon == std::string_view::npos ? p.hash : name_hash(p.app);
    return p;
}

// Whether the package is installed, a process of an installed package, or
// a process seen running.
bool on_phone(const phone_data& phone, const package_name& p) {
    return find_name(phone.packages, p.name, p.hash) != SIZE_MAX ||
           find_name(phone.processes, p.name, p.hash) != SIZE_MAX ||
           (p.app.size() < p.name.size() && find_name(phone.packages, p.app, p.app_hash) != SIZE_MAX);
}

// The running processes of the package `package`: the one named as the package and its
// "package:suffix" ones, or every one a pattern matches.
std::vector<std::string_view> processes_of(const phone_data& phone, const char* package, bool pattern,
                                          const package_name& name) {
    std::vector<std::string_view> found;
    if (pattern) {
        (void)each_match(phone.process_names, package, [&](std::string_view p) { return found.push_back(p), false; });
        return found;
    }
    const std::size_t app = find_name(phone.app_table, name.app, name.app_hash);
    if (app == SIZE_MAX) return found;
    const std::vector<std::string_view>& of_app = phone.app_processes[app];
    std::copy_if(of_app.begin(), of_app.end(), std::back_inserter(found), [&](std::string_view p) {
        return p == name.name || (starts_with(p, name.name) && p[name.name.size()] == ':');
    });
    return found;
}

}  // namespace

std::string_view shown_thread_name(const char* name, std::size_t length) {
    if (length <= thread_name_kept) return {name, length};
    const bool keeps_end = std::memchr(name, '.', length) != nullptr && std::memchr(name, '@', length) == nullptr;
    return {keeps_end ? name + length - thread_name_kept : name, thread_name_kept};
}

void lint_sink::check_phone(const char* buffer, const parsed_rule& rule) {
    phone_data& phone = *phone_;
    text_buffer message;
    const std::string_view package(rule.package);
    const bool pattern = is_pattern(rule.package);
    const package_name name = pattern ? package_name{} : look_up(rule.package);
    if (phone.have_packages && pattern) {
        auto cached = phone.pattern_found.find(rule.package);
        if (cached == phone.pattern_found.end()) {
            const bool found = each_match(phone.names, rule.package, [](std::string_view) { return true; });
            cached = phone.pattern_found.emplace(rule.package, found).first;
        }
        if (!cached->second) add(lint_code::w131, column(package_offset_), message, text_w131(message, rule.package));
    } else if (phone.have_packages && (seen_ & (bit(lint_code::w110) | bit(lint_code::w113) | bit(lint_code::w115))) == 0 &&
               (phone.have_threads || app_shaped(package)) && !on_phone(phone, name)) {
        auto cached = phone.package_nearest.find(rule.package);
        if (cached == phone.package_nearest.end()) {
            const std::string lower = lower_case(package);
            const std::size_t folded = find_name(phone.folded, lower, name_hash(lower));
            if (folded == SIZE_MAX && phone.names_shared.empty())
                find_shared_starts(phone.names, phone.names_shared, phone.names_next);
            const std::string_view close =
                folded != SIZE_MAX ? phone.names[folded]
                                   : nearest_name(phone.names, phone.names_shared, phone.names_next, package,
                                                  edit_limit(package));
            cached = phone.package_nearest.emplace(rule.package, close).first;
        }
        const char* close = cached->second.empty() ? nullptr : cached->second.c_str();
        add(lint_code::w130, column(package_offset_), message, text_w130(message, rule.package, close));
    }

    if (!phone.have_threads || rule.thread[0] == '\0') return;
    const std::vector<std::string_view> processes = processes_of(phone, rule.package, pattern, name);
    if (processes.empty()) return;  // not running: nothing to compare
    const auto thread_offset = static_cast<std::size_t>(rule.thread - buffer);
    if (is_pattern(rule.thread)) {
        const auto matched = [&](std::string_view p) {
            const std::vector<std::string_view>& threads = phone.threads_of.at(p);
            return std::any_of(threads.begin(), threads.end(),
                               [&](std::string_view thread) { return fnmatch(rule.thread, thread.data(), 0) == 0; });
        };
        if (std::any_of(processes.begin(), processes.end(), matched)) return;
        add(lint_code::w133, column(thread_offset), message, text_w133(message, rule.package, rule.thread));
        return;
    }
    if ((seen_ & bit(lint_code::w111)) != 0) return;
    const std::string_view shown = shown_thread_name(rule.thread, std::strlen(rule.thread));
    std::string key;
    for (const std::string_view p : processes) {
        key.assign(p) += '\n';
        key += shown;
        if (phone.process_threads.count(key) != 0) return;
    }
    key.assign(package) += '\n';
    key += shown;
    auto cached = phone.thread_nearest.find(key);
    if (cached == phone.thread_nearest.end()) {
        std::vector<std::string_view> threads;
        for (const std::string_view p : processes) {
            const std::vector<std::string_view>& of = phone.threads_of.at(p);
            threads.insert(threads.end(), of.begin(), of.end());
        }
        std::sort(threads.begin(), threads.end());
        threads.erase(std::unique(threads.begin(), threads.end()), threads.end());
        const std::string lower = lower_case(shown);
        const auto same = std::find_if(threads.begin(), threads.end(),
                                       [&](std::string_view t) { return lower_case(t) == lower; });
        std::vector<std::uint16_t> shared;
        std::vector<std::uint32_t> next;
        find_shared_starts(threads, shared, next);
        const std::string_view close =
            same != threads.end() ? *same : nearest_name(threads, shared, next, shown, edit_limit(shown));
        cached = phone.thread_nearest.emplace(key, close).first;
    }
    const std::string shown_text(shown);
    const char* close = cached->second.empty() ? nullptr : cached->second.c_str();
    add(lint_code::w132, column(thread_offset), message, text_w132(message, rule.package, shown_text.c_str(), close));
}
