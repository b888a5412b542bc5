// Entry point of applist-lint: every fault applist-check reports and every
// rule that passes but does not mean what it seems, located for editors and
// CI. Usage errors go to standard error with status 2, so that standard
// output stays one document in every format.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "cli/cli.h"
#include "lint/lint.h"

namespace {

constexpr int usage_error_status = 2;
constexpr int unwritten_status = 2;

// Memory for a text being written ran out: the output is incomplete, which
// status 2 says, rather than an abort.
[[noreturn]] void on_out_of_memory() {
    print_out_of_memory();
    (void)std::fflush(stdout);
    std::_Exit(unwritten_status);
}

}  // namespace

int main(int argc, char** argv) {
    prepare_output();
    // A reader that goes away makes the write fail, which the status shows.
    (void)std::signal(SIGPIPE, SIG_IGN);
    std::set_new_handler(on_out_of_memory);

    lint_options options;
    int status = 0;
    switch (read_lint_options(argc, argv, options)) {
        case options_result::run: status = run_lint(options); break;
        case options_result::help: print_help(argc > 0 ? argv[0] : "applist-lint"); break;
        case options_result::version: print_version(); break;
        case options_result::usage_error: return usage_error_status;
    }
    const bool written = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
    return written ? status : unwritten_status;
}
