#!/usr/bin/env python3
"""Finds rule names for the hash rows of tests/cases/table.t.

The duplicate set hashes "package NUL thread" with FNV-1a (64-bit), folds it
to 32 bits and places it at hash % SLOTS (8192 when the set is created).
After a change to either, run this and put its names in the case:

    python3 tools/hash_pairs.py [SLOTS]

It prints the names appN that take the last slot, names that share one slot
and the two slots after it, two threads of one package with equal 32-bit
hashes, and two packages with equal hashes behind a long common prefix.
"""
import sys

PRIME, MASK = 0x100000001B3, (1 << 64) - 1


def pair_hash(package, thread=b""):
    h = 0xCBF29CE484222325
    for byte in package:
        h = ((h ^ byte) * PRIME) & MASK
    h = (h * PRIME) & MASK  # the NUL between the two names
    for byte in thread:
        h = ((h ^ byte) * PRIME) & MASK
    return (h ^ (h >> 32)) & 0xFFFFFFFF


slots = int(sys.argv[1]) if len(sys.argv) > 1 else 8192
by_slot = {}
for i in range(200000):
    by_slot.setdefault(pair_hash(b"app%d" % i) % slots, []).append("app%d" % i)
print("last slot:", " ".join(by_slot[slots - 1][:2]))
for slot in range(100, slots - 2):
    if len(by_slot.get(slot, [])) >= 3 and by_slot.get(slot + 1) and by_slot.get(slot + 2):
        print("slot %d:" % slot, " ".join(by_slot[slot][:3]), "then", by_slot[slot + 1][0], by_slot[slot + 2][0])
        break
seen = {}
for i in range(10000000):
    thread = b"t%d" % i
    other = seen.setdefault(pair_hash(b"game", thread), thread)
    if other != thread:
        print("equal hashes: game{%s} game{%s}" % (other.decode(), thread.decode()))
        break
prefix, seen = b"com.example.a.long.shared.package.prefix.", {}
for i in range(10000000):
    name = prefix + b"%d" % i
    other = seen.setdefault(pair_hash(name), name)
    if other != name:
        print("equal hashes:", other.decode(), name.decode())
        break
