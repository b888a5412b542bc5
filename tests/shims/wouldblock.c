/* wouldblock: an LD_PRELOAD library that puts standard output on a
 * non-blocking pipe with a slow reader: stdout is replaced by a stream whose
 * WOULDBLOCK_AT-th write (default 1) fails with EAGAIN and writes nothing, as
 * a write to a full pipe in non-blocking mode does; the reader has caught up
 * by the next one, and every other write goes through whole. */
#define _GNU_SOURCE
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

static unsigned long writes, blocked_at = 1;

static ssize_t write_out(void* cookie, const char* data, size_t size) {
    (void)cookie;
    if (++writes == blocked_at) {
        errno = EAGAIN;
        return -1;
    }
    size_t done = 0;
    while (done < size) {
        const ssize_t written = write(STDOUT_FILENO, data + done, size - done);
        if (written < 0) return done > 0 ? (ssize_t)done : -1;
        done += (size_t)written;
    }
    return (ssize_t)size;
}

__attribute__((constructor)) static void replace_stdout(void) {
    const char* at = getenv("WOULDBLOCK_AT");
    if (at != NULL) blocked_at = strtoul(at, NULL, 10);
    cookie_io_functions_t functions = {NULL, write_out, NULL, NULL};
    FILE* out = fopencookie(NULL, "w", functions);
    if (out != NULL) stdout = out;
}
