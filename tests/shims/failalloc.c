/* failalloc: an LD_PRELOAD library for the allocation-failure cases.
 *
 * It hands every malloc, calloc and realloc request to glibc's allocator,
 * except the FAILALLOC_NTH-th (default 1) of FAILALLOC_SIZE bytes, which gets
 * NULL with errno ENOMEM. A calloc request counts as nmemb * size bytes.
 *
 * Requests made before the constructor ran (the dynamic loader's) are not
 * counted. The tool is single-threaded, so the counter needs no lock.
 * Nothing here may allocate. */
#include <errno.h>
#include <stdlib.h>

extern void* __libc_malloc(size_t size);
extern void* __libc_calloc(size_t nmemb, size_t size);
extern void* __libc_realloc(void* ptr, size_t size);

static size_t fail_size; /* 0: refuse nothing */
static unsigned long fail_nth = 1;
static unsigned long seen;

__attribute__((constructor(101))) static void read_settings(void) {
    const char* size = getenv("FAILALLOC_SIZE");
    const char* nth = getenv("FAILALLOC_NTH");
    if (size != NULL) fail_size = strtoul(size, NULL, 10);
    if (nth != NULL && strtoul(nth, NULL, 10) > 0) fail_nth = strtoul(nth, NULL, 10);
}

/* True, with errno set, when this request is the one to refuse. */
static int refuse(size_t size) {
    if (fail_size == 0 || size != fail_size || ++seen != fail_nth) return 0;
    errno = ENOMEM;
    return 1;
}

void* malloc(size_t size) { return refuse(size) ? NULL : __libc_malloc(size); }

void* calloc(size_t nmemb, size_t size) {
    size_t total = 0;
    if (!__builtin_mul_overflow(nmemb, size, &total) && refuse(total)) return NULL;
    return __libc_calloc(nmemb, size);
}

void* realloc(void* ptr, size_t size) { return refuse(size) ? NULL : __libc_realloc(ptr, size); }
