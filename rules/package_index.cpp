// The package index: a uthash table of the exact package names of the
// accepted rules that are not wildcard rules. Each name is held once; a
// package with many thread rules would otherwise pile equal keys into one
// bucket chain and make uthash double its buckets again and again.
#include <cstdlib>

#include "rules/rules.h"

bool index_package(package_entry*& index, const char* package) {
    // The rules of one package usually stand together, so the name entered
    // last is the likeliest match, and its entry is still in the cache.
    if (index != nullptr) {
        const auto* last = static_cast<const package_entry*>(ELMT_FROM_HH(index->hh.tbl, index->hh.tbl->tail));
        if (std::strcmp(last->name, package) == 0) return true;
    }

    // The name's hash serves both the lookup and the insertion.
    const auto length = static_cast<unsigned>(std::strlen(package));
    unsigned hash = 0;
    HASH_VALUE(package, length, hash);
    package_entry* found = nullptr;
    HASH_FIND_BYHASHVALUE(hh, index, package, length, hash, found);
    if (found != nullptr) return true;

    auto* entry = static_cast<package_entry*>(std::malloc(sizeof(package_entry)));
    if (entry == nullptr) return false;
    std::memset(entry, 0, sizeof *entry);
    copy_field(entry->name, package);
    // What HASH_ADD_STR does, without hashing the name again unless the copy
    // cut it.
    const auto key_length = static_cast<unsigned>(std::strlen(entry->name));
    if (key_length != length) HASH_VALUE(entry->name, key_length, hash);
    HASH_ADD_KEYPTR_BYHASHVALUE(hh, index, entry->name, key_length, hash, entry);
    return true;
}

void release_package_index(package_entry*& index) {
    // Every entry goes, so none is unlinked on its own (that would visit its
    // bucket): the table's own storage is freed first, then the entries along
    // their insertion order.
    package_entry* entry = index;
    HASH_CLEAR(hh, index);
    while (entry != nullptr) {
        auto* next = static_cast<package_entry*>(entry->hh.next);
        std::free(entry);
        entry = next;
    }
}
