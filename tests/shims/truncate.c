/* truncate: an LD_PRELOAD library that shrinks a file under the tool.
 *
 * It passes every mmap call to the C library. Right after the first mapping
 * of the file named by TRUNCATE_FILE succeeds, it truncates that file to
 * TRUNCATE_AT bytes (default 0), as another process rewriting it would. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

void* mmap(void* address, size_t length, int protection, int flags, int fd, off_t offset) {
    static int done;
    void* (*real_mmap)(void*, size_t, int, int, int, off_t) =
        (void* (*)(void*, size_t, int, int, int, off_t))dlsym(RTLD_NEXT, "mmap");
    void* start = real_mmap(address, length, protection, flags, fd, offset);
    const char* path = getenv("TRUNCATE_FILE");
    struct stat mapped, named;
    if (!done && start != MAP_FAILED && fd >= 0 && path != NULL && fstat(fd, &mapped) == 0 &&
        stat(path, &named) == 0 && mapped.st_dev == named.st_dev && mapped.st_ino == named.st_ino) {
        const char* at = getenv("TRUNCATE_AT");
        done = 1;
        if (truncate(path, at != NULL ? strtoll(at, NULL, 10) : 0) != 0) _exit(99);
    }
    return start;
}
