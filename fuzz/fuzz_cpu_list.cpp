// libFuzzer entry point for check_cpu_list (see fuzz_checks.h).
#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return run_fuzz_check(check_cpu_list, data, size);
}
