// What parse_cpu_ranges must do with any text, checked by parsing it twice,
// plainly and against a check set: results of 0 or 1 only, the text left as
// it was, bits only ever added, checked CPUs always in the check set, the two
// parses agreeing, and error texts that fit their buffer and name a real
// failure. Nothing is printed.
#include <cstdlib>
#include <cstring>
#include <memory>

#include "cpuset/cpuset.h"
#include "fuzz/fuzz_checks.h"

namespace {

// Layout of an input: a mode byte, the check set's highest CPU (two bytes,
// little-endian, 10 bits used), a mask byte, then the text. Missing header
// bytes read as 0.
constexpr std::size_t header_size = 4;
constexpr std::size_t error_sizes[] = {0, 1, 6, cpu_error_size};
constexpr unsigned preset_bit = 4;
// Pre-set bits put in the output set before the checked parse; they are
// partly outside any check set, and none may be cleared.
constexpr unsigned long preset_step = 5;

struct cpu_list_input {
    std::size_t error_size;
    bool preset;
    cpu_set_t check_set;
    std::string text;
};

cpu_list_input read_input(const std::uint8_t* data, std::size_t size) {
    std::uint8_t header[header_size] = {};
    std::memcpy(header, data, size < header_size ? size : header_size);
    cpu_list_input input{};
    input.error_size = error_sizes[header[0] & 3u];
    input.preset = (header[0] & preset_bit) != 0;
    // CPU c is in the check set when c <= highest and bit c % 8 of the mask is set.
    const unsigned long highest = (header[1] | (static_cast<unsigned long>(header[2]) << 8)) & max_cpu;
    CPU_ZERO(&input.check_set);
    for (unsigned long cpu = 0; cpu <= highest; ++cpu)
        if ((header[3] >> (cpu % 8)) & 1u) CPU_SET(cpu, &input.check_set);
    if (size > header_size)
        input.text.assign(reinterpret_cast<const char*>(data + header_size), size - header_size);
    input.text.resize(std::strlen(input.text.c_str()));
    return input;
}

// The result and the set of one parse. The text, the set and the error buffer
// live on the heap at their exact sizes, so any access beyond them is seen.
struct parse_outcome {
    int result;
    cpu_set_t before;
    cpu_set_t after;
    std::string error;  // up to its NUL; empty without a buffer
    std::string broken;
};

parse_outcome parse(const std::string& text, const cpu_set_t* check_set, const cpu_set_t& preset,
                    std::size_t error_size) {
    parse_outcome outcome{};
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    std::unique_ptr<cpu_set_t> out(new cpu_set_t(preset));
    std::unique_ptr<cpu_set_t> check(check_set != nullptr ? new cpu_set_t(*check_set) : nullptr);
    std::unique_ptr<char[]> error(error_size > 0 ? new char[error_size] : nullptr);
    if (error) std::memset(error.get(), 'Z', error_size);

    outcome.before = preset;
    outcome.result = parse_cpu_ranges(copy.get(), out.get(), check.get(), error.get(), error_size);
    outcome.after = *out;

    if (outcome.result != 0 && outcome.result != 1) outcome.broken = "result other than 0 or 1";
    else if (std::memcmp(copy.get(), text.c_str(), text.size() + 1) != 0) outcome.broken = "the text was changed";
    else if (check && !CPU_EQUAL(check.get(), check_set)) outcome.broken = "the check set was changed";
    if (!outcome.broken.empty() || !error) return outcome;

    const void* nul = std::memchr(error.get(), '\0', error_size);
    if (outcome.result == 1) {
        for (std::size_t i = 0; i < error_size; ++i)
            if (error[i] != 'Z') outcome.broken = "error buffer written although no item failed";
    } else if (nul == nullptr) {
        outcome.broken = "error text not terminated inside its buffer";
    } else {
        outcome.error = error.get();
        if (outcome.error.find_first_not_of("0123456789-") != std::string::npos)
            outcome.broken = "error text is not a CPU or a range: " + outcome.error;
    }
    return outcome;
}

bool is_subset(const cpu_set_t& part, const cpu_set_t& whole) {
    cpu_set_t both;
    CPU_AND(&both, &part, &whole);
    return CPU_EQUAL(&both, &part);
}

// `a` without the bits of `b`.
cpu_set_t minus(const cpu_set_t& a, const cpu_set_t& b) {
    cpu_set_t common;
    CPU_AND(&common, &a, &b);
    cpu_set_t result;
    CPU_XOR(&result, &a, &common);
    return result;
}

// A full-sized error text names the last failing item: a reversed range
// "N-M", or with a check set a range "N-M" or a CPU "C" that was not in it.
std::string check_error_text(const std::string& error, const cpu_set_t* check_set) {
    char* end = nullptr;
    const unsigned long first = std::strtoul(error.c_str(), &end, 10);
    if (end == error.c_str()) return "error text does not start with a number: " + error;
    if (*end == '\0') {
        if (check_set == nullptr) return "error text names a single CPU without a check set: " + error;
        if (first > max_cpu || CPU_ISSET(first, check_set)) return "error text names an acceptable CPU: " + error;
        return {};
    }
    const char* after_dash = end + 1;
    const unsigned long last = std::strtoul(after_dash, &end, 10);
    if (*(after_dash - 1) != '-' || end == after_dash || *end != '\0') return "error text is malformed: " + error;
    if (first == last) return "error text shows a range of one CPU: " + error;
    if (first > last) return {};
    if (check_set == nullptr || first > max_cpu) return "error text names a range that cannot fail: " + error;
    for (unsigned long cpu = first; cpu <= last && cpu <= max_cpu; ++cpu)
        if (!CPU_ISSET(cpu, check_set)) return {};
    return "error text names a range inside the check set: " + error;
}

}  // namespace

std::string check_cpu_list(const std::uint8_t* data, std::size_t size, stdout_capture& capture) {
    const cpu_list_input input = read_input(data, size);
    cpu_set_t empty;
    CPU_ZERO(&empty);
    cpu_set_t preset;
    CPU_ZERO(&preset);
    if (input.preset)
        for (unsigned long cpu = 0; cpu <= max_cpu; cpu += preset_step) CPU_SET(cpu, &preset);

    const parse_outcome plain = parse(input.text, nullptr, empty, input.error_size);
    if (!plain.broken.empty()) return "without a check set: " + plain.broken;
    const parse_outcome checked = parse(input.text, &input.check_set, preset, input.error_size);
    if (!checked.broken.empty()) return "with a check set: " + checked.broken;
    if (!capture.take().empty()) return "the parser printed";

    if (!is_subset(checked.before, checked.after)) return "a pre-set bit was cleared";
    const cpu_set_t added = minus(checked.after, checked.before);
    if (!is_subset(added, input.check_set)) return "a CPU outside the check set was set";
    if (!is_subset(added, plain.after)) return "the checked parse set a CPU the plain parse did not";
    // Only a reversed range fails a plain parse, and it fails a checked one too.
    if (plain.result == 0 && checked.result == 1) return "a reversed range passed the check set";
    const bool all_present = is_subset(plain.after, input.check_set);
    if (plain.result == 1 && all_present && checked.result == 0)
        return "every CPU is in the check set, yet the checked parse failed";
    if (checked.result == 1) {
        if (!all_present) return "the checked parse passed a CPU outside the check set";
        const cpu_set_t expected = minus(plain.after, checked.before);
        if (!CPU_EQUAL(&added, &expected)) return "the checked parse set other CPUs than the plain one";
    }

    if (input.error_size == cpu_error_size) {
        if (plain.result == 0) {
            const std::string broken = check_error_text(plain.error, nullptr);
            if (!broken.empty()) return "without a check set: " + broken;
        }
        if (checked.result == 0) {
            const std::string broken = check_error_text(checked.error, &input.check_set);
            if (!broken.empty()) return "with a check set: " + broken;
        }
    }
    return {};
}
