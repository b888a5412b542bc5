// libFuzzer entry point for check_whole_run (see fuzz_checks.h).
#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return run_fuzz_check(check_whole_run, data, size);
}
