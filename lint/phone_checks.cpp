// The checks of a rule against the phone's data: a package no app has
// (W130), a pattern that matches none (W131), a thread the app's running
// processes do not have (W132) or a thread pattern none of them matches
// (W133), with the nearest name when one is close.
#include <fnmatch.h>

#include <algorithm>
#include <cctype>
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

bool is_pattern(std::string_view name) { return name.find_first_of(wildcard_bytes) != std::string_view::npos; }

bool starts_with(std::string_view name, std::string_view start) { return name.substr(0, start.size()) == start; }

std::string lower_case(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// Shaped like an app's package: letters, digits, '_' and '.' with at least
// one '.', then an optional ":suffix" of the same bytes.
bool app_shaped(std::string_view name) {
    const std::size_t colon = name.find(':');
    const std::string_view package = name.substr(0, colon);
    const auto plain = [](std::string_view part) {
        return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) {
                   return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '.';
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

// The name of the sorted, distinct `names` nearest to `word` in edits (a
// byte inserted, removed or changed, or two neighbours swapped), at most
// `limit` away; the first in byte order among the nearest. The names are
// walked as a trie: rows of the distance table are shared by names with a
// common start, and every name past a start already too far is skipped.
std::string_view nearest_name(const std::vector<std::string_view>& names, std::string_view word, std::size_t limit) {
    const std::size_t width = word.size() + 1;
    const std::size_t deepest = word.size() + limit;
    std::vector<std::size_t> rows((deepest + 1) * width);
    for (std::size_t j = 0; j < width; ++j) rows[j] = j;
    std::string_view previous;
    std::size_t valid = 0;  // rows 1..valid hold `previous`'s first bytes
    std::string_view best;
    std::size_t best_distance = limit + 1;
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
            const char c = name[depth - 1];
            row[0] = depth;
            std::size_t least = depth;
            for (std::size_t j = 1; j < width; ++j) {
                std::size_t d = std::min({above[j] + 1, row[j - 1] + 1, above[j - 1] + (word[j - 1] != c ? 1 : 0)});
                if (depth > 1 && j > 1 && c == word[j - 2] && name[depth - 2] == word[j - 1])
                    d = std::min(d, rows[(depth - 2) * width + j - 2] + 1);
                row[j] = d;
                least = std::min(least, d);
            }
            valid = depth;
            if (least > limit) {
                too_far = true;
                break;
            }
        }
        previous = name;
        if (!too_far) {
            if (rows[name.size() * width + word.size()] < best_distance) {
                best_distance = rows[name.size() * width + word.size()];
                best = name;
            }
            ++i;
            continue;
        }
        valid = std::min(valid, depth - 1);
        const std::string_view start = name.substr(0, depth);
        i = static_cast<std::size_t>(std::partition_point(names.begin() + static_cast<std::ptrdiff_t>(i), names.end(),
                                                          [&](std::string_view n) { return starts_with(n, start); }) -
                                     names.begin());
    }
    return best;
}

// The most edits a name close to `word` may be away.
std::size_t edit_limit(std::string_view word) { return std::min(max_edits, word.size() / edits_per_length); }

// Whether `package` is installed, a process of an installed package, or a
// process seen running.
bool on_phone(const phone_data& phone, std::string_view package) {
    return phone.packages.count(package) != 0 || phone.processes.count(package) != 0 ||
           (package.find(':') != std::string_view::npos && phone.packages.count(package.substr(0, package.find(':'))) != 0);
}

// The package's running processes: the one named as the package and its
// "package:suffix" ones, or every one a pattern matches.
std::vector<std::string_view> processes_of(const phone_data& phone, const char* package) {
    std::vector<std::string_view> found;
    const std::string_view name(package);
    if (is_pattern(name)) {
        (void)each_match(phone.process_names, package, [&](std::string_view p) { return found.push_back(p), false; });
        return found;
    }
    const auto app = phone.processes_of.find(name.substr(0, name.find(':')));
    if (app == phone.processes_of.end()) return found;
    for (const std::string_view p : app->second)
        if (p == name || (starts_with(p, name) && p[name.size()] == ':')) found.push_back(p);
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
    if (phone.have_packages && is_pattern(package)) {
        auto cached = phone.pattern_found.find(rule.package);
        if (cached == phone.pattern_found.end()) {
            const bool found = each_match(phone.names, rule.package, [](std::string_view) { return true; });
            cached = phone.pattern_found.emplace(rule.package, found).first;
        }
        if (!cached->second) add(lint_code::w131, column(package_offset_), message, text_w131(message, rule.package));
    } else if (phone.have_packages && (seen_ & (bit(lint_code::w110) | bit(lint_code::w113) | bit(lint_code::w115))) == 0 &&
               (phone.have_threads || app_shaped(package)) && !on_phone(phone, package)) {
        auto cached = phone.package_nearest.find(rule.package);
        if (cached == phone.package_nearest.end()) {
            const auto folded = phone.folded.find(lower_case(package));
            const std::string_view close = folded != phone.folded.end()
                                               ? folded->second
                                               : nearest_name(phone.names, package, edit_limit(package));
            cached = phone.package_nearest.emplace(rule.package, close).first;
        }
        const char* close = cached->second.empty() ? nullptr : cached->second.c_str();
        add(lint_code::w130, column(package_offset_), message, text_w130(message, rule.package, close));
    }

    if (!phone.have_threads || rule.thread[0] == '\0') return;
    const std::vector<std::string_view> processes = processes_of(phone, rule.package);
    if (processes.empty()) return;  // not running: nothing to compare
    const auto thread_offset = static_cast<std::size_t>(rule.thread - buffer);
    if (is_pattern(rule.thread)) {
        for (const std::string_view p : processes)
            for (const std::string_view thread : phone.threads_of.at(p))
                if (fnmatch(rule.thread, thread.data(), 0) == 0) return;
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
        const std::string_view close = same != threads.end() ? *same : nearest_name(threads, shown, edit_limit(shown));
        cached = phone.thread_nearest.emplace(key, close).first;
    }
    const std::string shown_text(shown);
    const char* close = cached->second.empty() ? nullptr : cached->second.c_str();
    add(lint_code::w132, column(thread_offset), message, text_w132(message, rule.package, shown_text.c_str(), close));
}
