/* failalloc: an LD_PRELOAD library for the allocation-failure tests.
 *
 * It hands every malloc, calloc and realloc request to glibc's allocator,
 * except the FAILALLOC_NTH-th (default 1) of FAILALLOC_SIZE bytes, which gets
 * NULL with errno ENOMEM. A calloc request counts as nmemb * size bytes. With
 * FAILALLOC_FUNC set to "malloc", "calloc" or "realloc" only that function's
 * requests count. With FAILALLOC_LOG naming a file, "loaded\n" is appended
 * to it at start and "refused\n" when the request is refused.
 *
 * Requests made before the constructor ran (the dynamic loader's) are not
 * counted. The tool is single-threaded, so the counter needs no lock.
 * Nothing here may allocate. */
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

extern void* __libc_malloc(size_t size);
extern void* __libc_calloc(size_t nmemb, size_t size);
extern void* __libc_realloc(void* ptr, size_t size);

static int armed;
static size_t fail_size;
static unsigned long fail_nth = 1;
static unsigned long seen;
static const char* only; /* count only this function's requests; NULL: all */
static int log_fd = -1;

static void log_text(const char* text) {
    if (log_fd >= 0 && write(log_fd, text, strlen(text)) < 0) {
        /* A lost log line changes nothing for the tool under test. */
    }
}

__attribute__((constructor(101))) static void read_settings(void) {
    const char* size = getenv("FAILALLOC_SIZE");
    const char* nth = getenv("FAILALLOC_NTH");
    const char* log_path = getenv("FAILALLOC_LOG");
    if (size != NULL && *size != '\0') {
        armed = 1;
        fail_size = strtoul(size, NULL, 10);
    }
    if (nth != NULL && strtoul(nth, NULL, 10) > 0) fail_nth = strtoul(nth, NULL, 10);
    only = getenv("FAILALLOC_FUNC");
    if (log_path != NULL && *log_path != '\0') log_fd = open(log_path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    log_text("loaded\n");
}

/* True, with errno set, when this request is the one to refuse. */
static int refuse(const char* function, size_t size) {
    if (!armed || size != fail_size || (only != NULL && strcmp(only, function) != 0) || ++seen != fail_nth) return 0;
    log_text("refused\n");
    errno = ENOMEM;
    return 1;
}

void* malloc(size_t size) { return refuse("malloc", size) ? NULL : __libc_malloc(size); }

void* calloc(size_t nmemb, size_t size) {
    size_t total = 0;
    if (!__builtin_mul_overflow(nmemb, size, &total) && refuse("calloc", total)) return NULL;
    return __libc_calloc(nmemb, size);
}

void* realloc(void* ptr, size_t size) { return refuse("realloc", size) ? NULL : __libc_realloc(ptr, size); }
