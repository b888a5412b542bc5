/* failalloc: an LD_PRELOAD library for the allocation-failure tests.
 *
 * It wraps malloc, calloc and realloc and hands every request to glibc's own
 * allocator, except one: the FAILALLOC_NTH-th request (default 1) whose byte
 * size is FAILALLOC_SIZE gets a null result with errno ENOMEM. A calloc
 * request counts as nmemb * size bytes, a realloc request as its new size.
 * With FAILALLOC_FUNC set to "malloc", "calloc" or "realloc" only requests
 * through that function are counted.
 *
 * With FAILALLOC_LOG naming a file, every request is appended to it as
 * "<function> <size>" (and "<function> <size> failed" for the one refused),
 * which also proves that the library was loaded at all.
 *
 * Settings are read once, by a constructor; requests made before it ran
 * (the dynamic loader's own) are passed through and not counted. The tool is
 * single-threaded, so the counter needs no lock. Nothing here may allocate. */
#include <errno.h>
#include <fcntl.h>
#include <stddef.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

extern void* __libc_malloc(size_t size);
extern void* __libc_calloc(size_t nmemb, size_t size);
extern void* __libc_realloc(void* ptr, size_t size);

enum which { any_function, via_malloc, via_calloc, via_realloc };

static int armed;              /* FAILALLOC_SIZE was given */
static size_t fail_size;       /* byte size of the request to refuse */
static unsigned long fail_nth; /* refuse the nth request of that size */
static unsigned long seen;     /* requests of that size so far */
static enum which only;        /* count only this function's requests */
static int log_fd = -1;

static const char* const function_names[] = {"any", "malloc", "calloc", "realloc"};

static int parse_number(const char* text, unsigned long* out) {
    unsigned long value = 0;
    if (text == NULL || *text == '\0') return 0;
    for (; *text != '\0'; ++text) {
        if (*text < '0' || *text > '9') return 0;
        value = value * 10 + (unsigned long)(*text - '0');
    }
    *out = value;
    return 1;
}

__attribute__((constructor(101))) static void read_settings(void) {
    unsigned long number = 0;
    const char* func = getenv("FAILALLOC_FUNC");
    const char* log_path = getenv("FAILALLOC_LOG");

    if (parse_number(getenv("FAILALLOC_SIZE"), &number)) {
        armed = 1;
        fail_size = number;
    }
    fail_nth = parse_number(getenv("FAILALLOC_NTH"), &number) && number > 0 ? number : 1;
    only = any_function;
    if (func != NULL) {
        if (strcmp(func, "malloc") == 0) only = via_malloc;
        if (strcmp(func, "calloc") == 0) only = via_calloc;
        if (strcmp(func, "realloc") == 0) only = via_realloc;
    }
    if (log_path != NULL && *log_path != '\0')
        log_fd = open(log_path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

static void log_request(enum which function, size_t size, int failed) {
    char line[64];
    char digits[24];
    size_t length = 0;
    size_t count = 0;
    const char* name = function_names[function];

    if (log_fd < 0) return;
    while (*name != '\0') line[length++] = *name++;
    line[length++] = ' ';
    do {
        digits[count++] = (char)('0' + size % 10);
        size /= 10;
    } while (size != 0);
    while (count > 0) line[length++] = digits[--count];
    if (failed) {
        memcpy(line + length, " failed", 7);
        length += 7;
    }
    line[length++] = '\n';
    if (write(log_fd, line, length) < 0) {
        /* A lost log line changes nothing for the tool under test. */
    }
}

/* True when this request is the one to refuse. */
static int should_fail(enum which function, size_t size) {
    int fail = 0;
    if (armed && size == fail_size && (only == any_function || only == function)) fail = ++seen == fail_nth;
    log_request(function, size, fail);
    return fail;
}

void* malloc(size_t size) {
    if (should_fail(via_malloc, size)) {
        errno = ENOMEM;
        return NULL;
    }
    return __libc_malloc(size);
}

void* calloc(size_t nmemb, size_t size) {
    size_t total = 0;
    if (!__builtin_mul_overflow(nmemb, size, &total) && should_fail(via_calloc, total)) {
        errno = ENOMEM;
        return NULL;
    }
    return __libc_calloc(nmemb, size);
}

void* realloc(void* ptr, size_t size) {
    if (should_fail(via_realloc, size)) {
        errno = ENOMEM;
        return NULL;
    }
    return __libc_realloc(ptr, size);
}
