// libFuzzer entry point for check_rule_line (see fuzz_checks.h).
#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return run_fuzz_check(check_rule_line, data, size);
}
