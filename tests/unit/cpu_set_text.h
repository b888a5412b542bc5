// Test helpers: CPU sets written and read as plain lists ("0-3,6"), without
// the parser under test.
#pragma once

#include <sched.h>

#include <cstdlib>
#include <string>

// "0-3,6" for CPUs 0, 1, 2, 3 and 6; "" for the empty set.
inline std::string cpu_list_text(const cpu_set_t& set) {
    std::string text;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (!CPU_ISSET(cpu, &set)) continue;
        int last = cpu;
        while (last + 1 < CPU_SETSIZE && CPU_ISSET(last + 1, &set)) ++last;
        if (!text.empty()) text += ',';
        text += std::to_string(cpu);
        if (last != cpu) text += '-' + std::to_string(last);
        cpu = last;
    }
    return text;
}

// The set of a well-formed decimal list such as "0-3,6" ("" is empty).
inline cpu_set_t make_cpu_set(const std::string& list) {
    cpu_set_t set;
    CPU_ZERO(&set);
    const char* p = list.c_str();
    while (*p != '\0') {
        char* end = nullptr;
        const long first = std::strtol(p, &end, 10);
        long last = first;
        if (*end == '-') last = std::strtol(end + 1, &end, 10);
        for (long cpu = first; cpu <= last; ++cpu) CPU_SET(static_cast<int>(cpu), &set);
        p = *end == ',' ? end + 1 : end;
    }
    return set;
}
