// The package index: a uthash table of the exact package names of the
// accepted rules that are not wildcard rules. Each name is held once; a
// package with many thread rules would otherwise pile equal keys into one
// bucket chain and make uthash double its buckets again and again.
#include <uthash.h>

#include <cstdlib>

#include "rules/rules.h"

struct package_entry {
    char name[package_size];
    UT_hash_handle hh;
};

bool index_package(package_entry*& index, const char* package) {
    package_entry* found = nullptr;
    HASH_FIND_STR(index, package, found);
    if (found != nullptr) return true;

    auto* entry = static_cast<package_entry*>(std::malloc(sizeof(package_entry)));
    if (entry == nullptr) return false;
    copy_field(entry->name, package);
    HASH_ADD_STR(index, name, entry);
    return true;
}

void release_package_index(package_entry*& index) {
    package_entry* entry = nullptr;
    package_entry* next = nullptr;
    // NOLINTNEXTLINE(clang-analyzer-unix.Malloc): HASH_ITER reads `next` before the body frees `entry`.
    HASH_ITER(hh, index, entry, next) {
        HASH_DEL(index, entry);
        std::free(entry);
    }
}
