/* sigbus: an LD_PRELOAD library that sends the tool SIGBUS, as another
 * process would (no fault of reading the rule file), at every write of
 * standard output: stdout is replaced by a stream whose writes come here.
 * Each write behaves as the kernel's write to a full pipe that the signal
 * interrupts: when a handler without SA_RESTART catches the signal, it fails
 * with EINTR and writes nothing; otherwise (SA_RESTART, ignored, blocked) it
 * writes everything. */
#define _GNU_SOURCE
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <unistd.h>

static ssize_t write_out(void* cookie, const char* data, size_t size) {
    (void)cookie;
    struct sigaction current;
    sigset_t blocked;
    if (sigaction(SIGBUS, NULL, &current) != 0 || sigprocmask(SIG_BLOCK, NULL, &blocked) != 0) return -1;
    const int interrupts = current.sa_handler != SIG_IGN && current.sa_handler != SIG_DFL &&
                           !(current.sa_flags & SA_RESTART) && !sigismember(&blocked, SIGBUS);
    kill(getpid(), SIGBUS);
    if (interrupts) {
        errno = EINTR;
        return -1;
    }
    size_t done = 0;
    while (done < size) {
        const ssize_t written = write(STDOUT_FILENO, data + done, size - done);
        if (written < 0 && errno != EINTR) return done > 0 ? (ssize_t)done : -1;
        if (written > 0) done += (size_t)written;
    }
    return (ssize_t)size;
}

__attribute__((constructor)) static void replace_stdout(void) {
    cookie_io_functions_t functions = {NULL, write_out, NULL, NULL};
    FILE* out = fopencookie(NULL, "w", functions);
    if (out != NULL) stdout = out;
}
