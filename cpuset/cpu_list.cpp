// The CPU list parser. The syntax is whatever strtoul reads: base 0 for the
// first number of an item (so "0x10" is 16 and "010" is 8), base 10 after a
// '-', blanks and signs accepted by strtoul itself. Bytes where nothing
// converts act as separators, one byte at a time.
#include <cstdio>
#include <cstdlib>

#include "cpuset/cpuset.h"

namespace {

// The first problem of an item, as the rule's message shows it.
void write_item_error(char* err_buf, std::size_t err_size, unsigned long first, unsigned long last,
                      unsigned long cpu) {
    if (err_buf == nullptr || err_size == 0) return;
    if (first != last)
        std::snprintf(err_buf, err_size, "%lu-%lu", first, last);
    else
        std::snprintf(err_buf, err_size, "%lu", cpu);
}

// Sets CPUs first..last (cut at max_cpu) in `out_set`. With a `check_set`,
// stops at the first CPU missing from it and returns that CPU's number through
// `missing`. Returns false when a CPU was missing.
bool set_item(unsigned long first, unsigned long last, cpu_set_t* out_set, const cpu_set_t* check_set,
              unsigned long* missing) {
    if (first > max_cpu) return true;  // cannot be held: dropped, not an error
    const unsigned long top = last < max_cpu ? last : max_cpu;
    for (unsigned long cpu = first; cpu <= top; ++cpu) {
        if (check_set != nullptr && !CPU_ISSET(cpu, check_set)) {
            *missing = cpu;
            return false;
        }
        CPU_SET(cpu, out_set);
    }
    return true;
}

}  // namespace

int parse_cpu_ranges(const char* text, cpu_set_t* out_set, const cpu_set_t* check_set, char* err_buf,
                     std::size_t err_size, cpu_list_observer* observer) {
    // strtoul only reads, so the text itself is scanned: no working copy.
    int result = 1;
    const char* pos = text;
    while (*pos != '\0') {
        // A number, or a byte to pass over.
        char* end = nullptr;
        const unsigned long first = std::strtoul(pos, &end, 0);
        if (end == pos) {
            if (observer != nullptr) observer->skipped(static_cast<std::size_t>(pos - text));
            ++pos;
            continue;
        }
        const char* const start = pos;
        pos = end;

        // Maybe a range end, always decimal. Where none follows the '-',
        // the scan goes on at the '-', which then converts to nothing.
        unsigned long last = first;
        const char* last_start = nullptr;
        if (*pos == '-') {
            const unsigned long upper = std::strtoul(pos + 1, &end, 10);
            if (end != pos + 1) {
                last = upper;
                last_start = pos + 1;
                pos = end;
            }
        }
        if (observer != nullptr) {
            const auto offset = [text](const char* p) { return static_cast<std::size_t>(p - text); };
            const bool has_last = last_start != nullptr;
            observer->item(cpu_item{offset(start), offset(has_last ? last_start - 1 : pos), first, has_last,
                                    has_last ? offset(last_start) : 0, has_last ? offset(pos) : 0, last});
        }

        // Check and set.
        if (first > last) {
            write_item_error(err_buf, err_size, first, last, first);
            result = 0;
        } else {
            unsigned long missing = 0;
            if (!set_item(first, last, out_set, check_set, &missing)) {
                write_item_error(err_buf, err_size, first, last, missing);
                result = 0;
            }
        }

        // The separator.
        if (*pos == ',') {
            if (observer != nullptr) observer->comma(static_cast<std::size_t>(pos - text));
            ++pos;
        }
    }
    return result;
}
