/* sigbus: an LD_PRELOAD library that sends the tool SIGBUS, as another
 * process would (no fault of reading the rule file): once, at the first
 * printf, which is the first message of a line. */
#define _POSIX_C_SOURCE 200809L
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <unistd.h>

int printf(const char* format, ...) {
    static int sent;
    if (!sent++) kill(getpid(), SIGBUS);
    va_list arguments;
    va_start(arguments, format);
    const int written = vprintf(format, arguments);
    va_end(arguments);
    return written;
}
