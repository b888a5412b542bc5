// One rule file, from memory, through the whole run: the line loop, the rule
// set with CPUs 0 to 7 present, its release and the summary; then through
// applist-lint's run in each of its formats, the same bytes again. It
// looks for crashes, memory errors and undefined behaviour, which the
// sanitizers turn into findings. Built as the libFuzzer target fuzz_whole_run
// (APPLIST_LIBFUZZER) and as fuzz_replay, which runs every file it is given
// (the corpus, in the test run), so an input once found stays fixed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "cli/cli.h"
#include "cpuset/cpuset.h"
#include "lint/lint.h"
#include "rules/rules.h"

namespace {

void run_whole_file(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy, so a read past the end is a sanitizer report.
    const std::unique_ptr<char[]> bytes(new char[size]);
    std::memcpy(bytes.get(), data, size);
    cpu_set_t present;
    CPU_ZERO(&present);
    char text[present_text_size] = {};
    set_present_cpus(present, text, "0-7");
    print_sink sink;
    rule_set set;
    if (!create_rule_set(set, present, text, sink)) std::abort();
    run_state state;
    check_lines(bytes.get(), size, set, state);
    release_rule_set(set);
    (void)print_summary(set, state, sink);
}

// The same bytes through the lint, in each format, from an exact-size copy.
void lint_whole_file(const std::uint8_t* data, std::size_t size) {
    const std::unique_ptr<char[]> bytes(new char[size]);
    std::memcpy(bytes.get(), data, size);
    char cpus[] = "0-7";
    for (const output_format format :
         {output_format::gcc, output_format::json, output_format::github, output_format::sarif}) {
        lint_options options;
        options.cpus = cpus;
        options.format = format;
        (void)lint_buffer(options, "rules.conf", bytes.get(), size);
    }
}

}  // namespace

#ifdef APPLIST_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = std::freopen("/dev/null", "w", stdout) != nullptr;
    (void)quiet;
    run_whole_file(data, size);
    lint_whole_file(data, size);
    return 0;
}
#else
// fuzz_replay FILE...: runs every file given.
int main(int argc, char** argv) {
    if (std::freopen("/dev/null", "w", stdout) == nullptr) return 1;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        const std::string input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) return 1;
        run_whole_file(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        lint_whole_file(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    }
    return argc > 1 ? 0 : 1;  // no file at all: the corpus is missing
}
#endif
