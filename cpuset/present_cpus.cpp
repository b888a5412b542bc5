// The CPUs this machine has (or the phone a rule file is checked for), and
// the check of one rule's CPU list against them.
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "core/core.h"
#include "cpuset/cpuset.h"
#include "rules/rules.h"

namespace {

// Takes the text now in `present_text` as the present-CPU list: trailing
// blanks are cut, and whatever items can be read are present.
void take_present_text(cpu_set_t& present_cpus, char (&present_text)[present_text_size]) {
    char* first = present_text;
    while (is_blank(*first)) ++first;
    if (*first == '\0') return;  // blanks only: the text keeps them, no CPU is present

    char* last = first + std::strlen(first) - 1;
    while (is_blank(*last)) --last;
    last[1] = '\0';

    // A failing item changes nothing, so the result says nothing here.
    (void)parse_cpu_ranges(first, &present_cpus, nullptr, nullptr, 0);
}

}  // namespace

void read_present_cpus(cpu_set_t& present_cpus, char (&present_text)[present_text_size], const char* path) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    const ssize_t got = read(fd, present_text, present_text_size - 1);
    close(fd);
    if (got <= 0) return;  // nothing was written to the text
    present_text[got] = '\0';
    take_present_text(present_cpus, present_text);
}

void set_present_cpus(cpu_set_t& present_cpus, char (&present_text)[present_text_size], const char* list) {
    copy_field(present_text, list);
    take_present_text(present_cpus, present_text);
}

bool check_rule_cpus(const rule_set& set, std::size_t line_number, const char* package, const char* thread,
                     const char* value, rule& out) {
    char error_text[cpu_error_size] = {};
    fault f;
    f.line_number = line_number;
    f.package = package;
    f.thread = thread;
    f.value = value;
    if (parse_cpu_ranges(value, &out.cpus, set.present_cpus, error_text, sizeof error_text,
                         set.sink->cpu_observer()) == 0) {
        f.kind = fault_kind::cpus_not_present;
        f.cpu_text = error_text;
        f.present_text = set.present_text;
        set.sink->report(f);
        return false;
    }
    if (CPU_COUNT(&out.cpus) == 0) {
        f.kind = fault_kind::no_valid_cpu;
        set.sink->report(f);
        return false;
    }
    return true;
}
