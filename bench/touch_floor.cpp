// The memory-touch floor: allocates and writes N rule records' worth of bytes,
// the least work any run that keeps N rules must do, since each accepted rule
// is a fixed-size record. Page faults dominate its time.
//
//   applist_touch_floor N          touch N records
//   applist_touch_floor --record   print sizeof(rule)
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "rules/rules.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RULES\n", argv[0]);
        return 2;
    }
    if (std::strcmp(argv[1], "--record") == 0) {
        std::printf("%zu\n", sizeof(rule));
        return 0;
    }
    const std::size_t count = std::strtoull(argv[1], nullptr, 10);
    const std::size_t bytes = count * sizeof(rule);
    auto* memory = static_cast<unsigned char*>(std::malloc(bytes == 0 ? 1 : bytes));
    if (memory == nullptr) return 1;
    // A non-zero fill: a zero fill after malloc may be turned into calloc,
    // which touches nothing.
    std::memset(memory, 0x5a, bytes);
    // Read something back so the writes cannot be dropped.
    const int status = bytes != 0 && memory[bytes / 2] != 0x5a ? 1 : 0;
    std::free(memory);
    return status;
}
