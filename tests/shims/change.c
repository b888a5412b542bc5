/* change: an LD_PRELOAD library that changes the rule file under the tool,
 * as another process rewriting or replacing it would.
 * - TRUNCATE_FILE, TRUNCATE_AT: right after the first mapping of a file
 *   succeeds (the tool maps only the rule file), TRUNCATE_FILE is truncated
 *   to TRUNCATE_AT bytes (default 0).
 * - SWAP_FILE, SWAP_WITH: once the first stat of SWAP_FILE returns, SWAP_WITH
 *   is renamed over it. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

void* mmap(void* address, size_t length, int protection, int flags, int fd, off_t offset) {
    static int done;
    void* (*real_mmap)(void*, size_t, int, int, int, off_t) =
        (void* (*)(void*, size_t, int, int, int, off_t))dlsym(RTLD_NEXT, "mmap");
    void* start = real_mmap(address, length, protection, flags, fd, offset);
    const char* path = getenv("TRUNCATE_FILE");
    const char* at = getenv("TRUNCATE_AT");
    if (!done && start != MAP_FAILED && fd >= 0 && path != NULL) {  /* the tool maps no other file */
        done = 1;
        if (truncate(path, at != NULL ? strtoll(at, NULL, 10) : 0) != 0) _exit(99);
    }
    return start;
}

int stat(const char* path, struct stat* info) {
    static int done;
    int (*real_stat)(const char*, struct stat*) = (int (*)(const char*, struct stat*))dlsym(RTLD_NEXT, "stat");
    const int result = real_stat(path, info);
    const char* name = getenv("SWAP_FILE");
    const char* with = getenv("SWAP_WITH");
    if (!done && name != NULL && with != NULL && strcmp(path, name) == 0) {
        done = 1;
        if (rename(with, name) != 0) _exit(99);
    }
    return result;
}
