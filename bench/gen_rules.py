#!/usr/bin/env python3
# Writes a rule file of N rules, all of which applist-check accepts when CPUs
# 0-7 are present: packages with a package rule and up to three thread rules,
# about 5% wildcard packages, a few comments and blank lines. The output
# depends only on N and SEED (random.Random is stable across Python 3).
#
#   bench/gen_rules.py N [SEED] >FILE
import random
import sys

TLDS = ["com", "com", "com", "net", "org", "cn", "io"]
VENDORS = ["acme", "bluefox", "redpanda", "northwind", "starfield", "pixelworks", "cloudberry",
           "ironleaf", "moonbeam", "quickbit", "tinytiger", "goldcrest", "nightowl", "firefly",
           "happybee", "wildcat", "maplesoft", "dreamforge", "playmint", "zenbyte"]
PRODUCTS = ["tmgp", "game", "app", "mobile", "client", "play", "global", "video", "music", "shop"]
TITLES = ["skyrace", "mythland", "railstar", "warsong", "brawlers", "sweetmatch", "metrorun",
          "blockcraft", "legends", "racing", "chess", "puzzle", "kingdom", "dragon", "galaxy",
          "tower", "arena", "runner", "mahjong", "soccer"]
THREADS = ["RenderThread", "UnityMain", "GameThread", "UnityGfxDeviceW", "RHIThread", "AudioThread",
           "GLThread", "Thread-2", "hwuiTask0", "Compositor", "Job.Worker 0", "Cocos2dxThread"]
CPUS = ["0-7", "4-7", "0-3", "7", "6,7", "0,2,4-5", "1-6"]
COMMENTS = ["# games", "# big cores for the render threads", "", "#"]

n = int(sys.argv[1])
rng = random.Random(int(sys.argv[2]) if len(sys.argv) > 2 else 1)
pick = rng.choice
seen = set()
out = sys.stdout
out.write("# generated rule file\n")
while len(seen) < n:
    if rng.random() < 0.05:
        package = f"{pick(TLDS)}.{pick(VENDORS)}.{pick(TITLES)}{rng.randrange(100)}*"
    else:
        package = f"{pick(TLDS)}.{pick(VENDORS)}.{pick(PRODUCTS)}.{pick(TITLES)}{rng.randrange(1000)}"
    for thread in [""] + rng.sample(THREADS, rng.randrange(4)):
        key = f"{package}{{{thread}}}"
        if len(seen) < n and key not in seen:
            seen.add(key)
            out.write(f"{key if thread else package}={pick(CPUS)}\n")
    if rng.random() < 0.03:
        out.write(pick(COMMENTS) + "\n")
