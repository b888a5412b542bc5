// Checks shared by the libFuzzer targets and the corpus replay test. Each
// check runs one input through the tool's code and verifies what must hold
// for every input, not only that nothing crashed. Buffers handed to the code
// are sized exactly, so a sanitizer build sees any access past their end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Sends standard output to an anonymous file while it lives, so a check can
// read back exactly what the code under test printed. One capture can serve
// many inputs: take() empties it.
class stdout_capture {
public:
    stdout_capture();
    ~stdout_capture();
    stdout_capture(const stdout_capture&) = delete;
    stdout_capture& operator=(const stdout_capture&) = delete;

    // Everything printed since the last take().
    [[nodiscard]] std::string take();

private:
    int saved_stdout_ = -1;
    int capture_fd_ = -1;
};

// Returns an empty string when every invariant held for the input, else a
// description of the first one broken.
using fuzz_check = std::string (*)(const std::uint8_t* data, std::size_t size, stdout_capture& capture);

// parse_rule_line on the input as one line: cut at the first line feed and at
// max_line_length bytes, copied into a writable buffer.
[[nodiscard]] std::string check_rule_line(const std::uint8_t* data, std::size_t size, stdout_capture& capture);

// parse_cpu_ranges with and without a check set. The first four bytes choose
// the error buffer, the pre-set bits and the check set; the rest is the text.
[[nodiscard]] std::string check_cpu_list(const std::uint8_t* data, std::size_t size, stdout_capture& capture);

// The line loop over the input as a whole rule file, the release of the rule
// set and the summary, with CPUs 0 to 7 present.
[[nodiscard]] std::string check_whole_run(const std::uint8_t* data, std::size_t size, stdout_capture& capture);

struct fuzz_target {
    const char* name;  // also the name of its corpus directory
    fuzz_check check;
};

constexpr fuzz_target fuzz_targets[] = {
    {"rule_line", check_rule_line},
    {"cpu_list", check_cpu_list},
    {"whole_run", check_whole_run},
};

// Runs `check` on the input and aborts with the broken invariant on standard
// error, which is how a libFuzzer target reports a finding.
int run_fuzz_check(fuzz_check check, const std::uint8_t* data, std::size_t size);
