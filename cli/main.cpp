// Entry point of applist-check: the present CPUs are the kernel's.
#include "cli/cli.h"

int main(int argc, char** argv) {
    prepare_output();
    return finish_output(run_applist_check(argc, argv));
}
