// One rule file, from memory, through the whole run: the line loop, the rule
// set with CPUs 0 to 7 present, its release and the summary. It looks for
// crashes, memory errors and undefined behaviour, which the sanitizers turn
// into findings. Built as the libFuzzer target fuzz_whole_run
// (APPLIST_LIBFUZZER) and as fuzz_replay, which runs every file it is given,
// so that an input once found stays fixed in every build.
#include <dirent.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "cli/cli.h"
#include "rules/rules.h"

namespace {

void run_whole_file(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy, so a read past the end is a sanitizer report.
    const std::unique_ptr<char[]> bytes(new char[size]);
    if (size > 0) std::memcpy(bytes.get(), data, size);
    cpu_set_t present;
    CPU_ZERO(&present);
    for (int cpu = 0; cpu < 8; ++cpu) CPU_SET(cpu, &present);
    rule_set set;
    if (!create_rule_set(set, present, "0-7")) std::abort();
    run_state state;
    check_lines(bytes.get(), size, set, state);
    release_rule_set(set);
    (void)print_summary(set, state);
}

bool quiet_stdout() { return std::freopen("/dev/null", "w", stdout) != nullptr; }

}  // namespace

#ifdef APPLIST_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = quiet_stdout();
    (void)quiet;
    run_whole_file(data, size);
    return 0;
}
#else
// fuzz_replay DIR...: runs every regular file in each directory.
int main(int argc, char** argv) {
    if (!quiet_stdout()) return 1;
    std::size_t files = 0;
    for (int i = 1; i < argc; ++i) {
        DIR* dir = opendir(argv[i]);
        if (dir == nullptr) {
            std::fprintf(stderr, "fuzz_replay: cannot read %s\n", argv[i]);
            return 1;
        }
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            std::ifstream in(std::string(argv[i]) + "/" + entry->d_name, std::ios::binary);
            const std::string input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            run_whole_file(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
            ++files;
        }
        closedir(dir);
    }
    std::fprintf(stderr, "fuzz_replay: %zu files ran\n", files);
    return files > 0 ? 0 : 1;
}
#endif
