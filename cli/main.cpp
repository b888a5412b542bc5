// Entry point of applist-check.
#include <cstdio>

#include "cli/cli.h"

int main(int argc, char** argv) {
    int status = run_applist_check(argc, argv);
    // Output that could not be written is a failed run, never a success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) status = 1;
    return status;
}
