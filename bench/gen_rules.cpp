// Writes a realistic rule file for benchmarks and large tests: Android-style
// package names grouped the way people keep them (a package rule, then a few
// thread rules of the same package), common engine and UI thread names, a
// share of wildcard rules, comments and blank lines, and on request
// duplicates and faulty lines mixed in.
//
// The output depends only on the options: the random numbers come from a
// seeded splitmix64, never from the standard library's distributions, whose
// results differ between library versions.
//
//   applist_gen_rules -n RULES [-s SEED] [-w WILDCARD%] [-d DUPLICATE%]
//                     [-f FAULTY%] [-k COMMENT%] [-m MAX_CPU] [-o FILE]
//
// RULES is the number of lines the tool accepts (as long as CPUs 0 to MAX_CPU
// are present): every valid rule line has a (package, thread) pair of its
// own. Duplicate and faulty lines come on top, as a share of RULES, and never
// change which valid lines are accepted. A summary goes to standard error.
#include <unistd.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

constexpr int max_attempts_per_name = 1000;

struct random_source {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15u);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return z ^ (z >> 31);
    }
    // 0 <= result < bound
    std::size_t below(std::size_t bound) { return static_cast<std::size_t>(next() % bound); }
    // true with the given chance, in percent
    bool chance(double percent) { return static_cast<double>(next() >> 11) * 0x1.0p-53 * 100.0 < percent; }
    template <std::size_t N>
    const char* pick(const char* const (&words)[N]) { return words[below(N)]; }
};

constexpr const char* top_levels[] = {"com", "com", "com", "com", "net", "org", "cn", "io", "tv", "jp"};
// Made-up makers, products and titles in the shape Android packages have.
constexpr const char* vendors[] = {
    "example", "acme", "bluefox", "redpanda", "northwind", "starfield", "pixelworks", "cloudberry",
    "ironleaf", "moonbeam", "sunpeak", "riverstone", "quickbit", "brightlabs", "tinytiger", "goldcrest",
    "silverline", "deepsea", "greenhill", "nightowl", "firefly", "stormcloud", "happybee", "wildcat",
    "oakridge", "maplesoft", "coralreef", "snowpeak", "sparkplay", "dreamforge", "playmint", "lumina",
    "orbitware", "kitelabs", "zenbyte", "hexagon", "cobalt", "pinetree", "blueharbor", "redkite",
    "ambergames", "jadeworks", "copperhead", "velvet", "nimbus", "tundra", "savanna", "harbor",
    "lantern", "compass", "meridian", "horizon", "summit", "glacier", "ember", "quartz", "topaz",
    "onyx", "cedar", "willow"};
constexpr const char* products[] = {
    "tmgp", "game", "games", "app", "android", "mobile", "client", "play", "gp", "global", "cn", "sea",
    "music", "video", "reader", "browser", "camera", "gallery", "launcher", "weather", "maps", "mail",
    "chat", "wallet", "shop", "news", "notes", "keyboard", "calendar", "clock", "fitness", "health",
    "player", "radio", "podcast", "social", "live", "stream", "cloud", "drive", "photos", "translate"};
constexpr const char* titles[] = {
    "skyrace", "starwar", "speed", "mythland", "railstar", "zonez", "skyknights", "bluesky", "warsong",
    "clanwars", "clanroyal", "brawlers", "sweetmatch", "metrorun", "templedash", "blockcraft", "pe",
    "crewmates", "legends", "heroes", "racing", "chess", "puzzle", "tactics", "rpg", "moba", "fps",
    "card", "farm", "city", "kingdom", "dragon", "knight", "ninja", "pirate", "zombie", "galaxy",
    "planet", "ocean", "island", "tower", "castle", "arena", "league", "battle", "rush", "runner",
    "jump", "fruit", "bubble", "tile", "word", "sudoku", "mahjong", "poker", "slots", "bingo",
    "golf", "soccer", "basketball", "tennis", "drift", "moto", "truck", "train", "plane", "tank"};
// Store and channel builds append a suffix.
constexpr const char* suffixes[] = {"", "", "", "", "", "", ".store", ".mi", ".partner.gamecenter",
                                    ".channel", ".ads", ".uc", ".community", ".lite", ".hd", ".global",
                                    ".beta", ".mini", ".pro", ".free"};
// Thread names an app pinning file names most: render and game loops of the
// common engines, UI and audio threads.
constexpr const char* threads[] = {
    "RenderThread", "UnityMain", "GameThread", "UnityGfxDeviceW", "UnityPreload", "UnityChoreograp",
    "RHIThread", "RenderThread 1", "MainThread-UE4", "TaskGraphThreadHP", "AudioThread",
    "FAsyncLoadingThread", "GLThread", "Thread-2", "Thread-3", "Thread-7", "hwuiTask0", "hwuiTask1",
    "JNISurfaceTextu", "Chrome_InProcGp", "CrRendererMain", "Compositor", "AudioTrack", "FMOD mixer",
    "mali-cmar-backe", "Job.Worker 0", "Job.Worker 1", "Worker Thread", "android.ui", "HeapTaskDaemon",
    "NativeThread", "CoreThread", "LogicThread", "NetThread", "Cocos2dxThread", "mainloop"};
constexpr const char* comments[] = {
    "# games", "# big cores for the render threads", "# keep the launcher light", "# video and music",
    "# tuned for this phone", "# social apps", "# TODO: check the new version", "#"};

struct options {
    std::size_t rules = 0;
    std::uint64_t seed = 1;
    double wildcard_percent = 5;
    double duplicate_percent = 0;
    double faulty_percent = 0;
    double comment_percent = 3;
    unsigned max_cpu = 1;
    const char* output = nullptr;
};

[[noreturn]] void usage(const char* name) {
    std::fprintf(stderr,
                 "usage: %s -n RULES [-s SEED] [-w WILDCARD%%] [-d DUPLICATE%%] [-f FAULTY%%] "
                 "[-k COMMENT%%] [-m MAX_CPU] [-o FILE]\n",
                 name);
    std::exit(2);
}

bool read_options(int argc, char** argv, options& opts) {
    int option = 0;
    while ((option = getopt(argc, argv, "n:s:w:d:f:k:m:o:")) != -1) {
        switch (option) {
            case 'n': opts.rules = std::strtoull(optarg, nullptr, 10); break;
            case 's': opts.seed = std::strtoull(optarg, nullptr, 10); break;
            case 'w': opts.wildcard_percent = std::strtod(optarg, nullptr); break;
            case 'd': opts.duplicate_percent = std::strtod(optarg, nullptr); break;
            case 'f': opts.faulty_percent = std::strtod(optarg, nullptr); break;
            case 'k': opts.comment_percent = std::strtod(optarg, nullptr); break;
            case 'm': opts.max_cpu = static_cast<unsigned>(std::strtoul(optarg, nullptr, 10)); break;
            case 'o': opts.output = optarg; break;
            default: return false;
        }
    }
    return opts.rules > 0 && opts.max_cpu <= 1023;
}

struct generator {
    options opts;
    random_source rng;
    std::FILE* out;
    std::unordered_set<std::string> used;  // "package\0thread" of every pair written
    std::vector<std::string> valid;        // pairs of the valid rules, for duplicates
    std::size_t valid_count = 0;
    std::size_t wildcard_count = 0;
    std::size_t duplicate_count = 0;
    std::size_t faulty_count = 0;
    std::size_t line_count = 0;

    static std::string pair_key(const std::string& package, const std::string& thread) {
        return package + '\0' + thread;
    }

    void line(const std::string& text) {
        std::fwrite(text.data(), 1, text.size(), out);
        std::fputc('\n', out);
        ++line_count;
    }

    // A CPU list that names only CPUs 0 to max_cpu: one CPU, all of them, a
    // range or a pair.
    std::string value() {
        const unsigned top = opts.max_cpu;
        const unsigned a = static_cast<unsigned>(rng.below(top + 1));
        const std::size_t form = rng.below(4);
        if (form == 0 || top == 0) return std::to_string(a);
        if (form == 1) return "0-" + std::to_string(top);
        const unsigned low = a < top ? a : top - 1;
        const unsigned high = low + 1 + static_cast<unsigned>(rng.below(top - low));
        return std::to_string(low) + (form == 2 ? "-" : ",") + std::to_string(high);
    }

    std::string exact_package() {
        std::string name = rng.pick(top_levels);
        name += '.';
        name += rng.pick(vendors);
        if (rng.chance(60)) {
            name += '.';
            name += rng.pick(products);
        }
        name += '.';
        name += rng.pick(titles);
        if (rng.chance(30)) name += std::to_string(rng.below(100));
        name += rng.pick(suffixes);
        return name;
    }

    std::string wildcard_package() {
        const std::string vendor = std::string(rng.pick(top_levels)) + "." + rng.pick(vendors);
        const std::string title = rng.pick(titles);
        switch (rng.below(5)) {
            case 0: return vendor + ".*";
            case 1: return vendor + "." + title + "*";
            case 2: return vendor + "." + title + "?";
            case 3: return vendor + "." + rng.pick(products) + "." + title + std::to_string(rng.below(10)) + "*";
            default: return std::string("com.[") + static_cast<char>('a' + rng.below(13)) +
                            static_cast<char>('n' + rng.below(13)) + "]*." + title;
        }
    }

    // Writes one valid rule with a pair not seen before; false if none was
    // found (the name space is exhausted).
    bool valid_rule(const std::string& package, const std::string& thread) {
        std::string key = pair_key(package, thread);
        if (!used.insert(key).second) return false;
        std::string text;
        if (rng.chance(3)) text += "  ";  // indented
        text += package;
        if (!thread.empty()) text += "{" + thread + "}";
        text += rng.chance(5) ? "= " : "=";  // a blank before '=' would join the package
        text += value();
        if (rng.chance(4)) text += "  # " + std::string(rng.pick(titles));
        line(text);
        if (opts.duplicate_percent > 0) valid.push_back(std::move(key));
        ++valid_count;
        return true;
    }

    // A later line with the pair of an earlier valid rule; the value differs
    // at random, as it plays no part.
    void duplicate_rule() {
        const std::string& key = valid[rng.below(valid.size())];
        const std::size_t split = key.find('\0');
        const std::string package = key.substr(0, split);
        const std::string thread = key.substr(split + 1);
        std::string text = rng.chance(20) ? "\t" + package : package;
        if (!thread.empty())
            text += "{" + (rng.chance(20) ? " " + thread : thread) + "}";
        else if (rng.chance(10))
            text += "{ }";  // a blank thread is the empty thread
        text += "=" + value();
        line(text);
        ++duplicate_count;
    }

    // One line the tool rejects, with a pair no valid rule uses.
    void faulty_rule() {
        std::string package;
        do package = exact_package() + ".broken" + std::to_string(rng.below(1000000));
        while (!used.insert(pair_key(package, "")).second);
        const std::string thread = rng.pick(threads);
        const std::string beyond = std::to_string(opts.max_cpu + 1);
        switch (rng.below(12)) {
            case 0: line(package + " " + value()); break;                      // no '='
            case 1: line(package + "="); break;                                // empty value
            case 2: line(package + "=   # later"); break;                     // empty value after the comment
            case 3: line("=" + value()); break;                                // empty key
            case 4: line(package + "{" + thread + "=" + value()); break;       // no '}'
            case 5: line(package + thread + "}=" + value()); break;            // no '{'
            case 6: line(package + "{}=" + value()); break;                    // empty thread
            case 7: line(package + "{" + thread + "}x=" + value()); break;     // text after '}'
            case 8: line(package + std::string(130, 'x') + "=" + value()); break;  // name too long
            case 9: line(package + "{" + thread + "}=" + std::string(260, '0')); break;  // line too long
            case 10: line(package + "=0-" + beyond); break;                    // CPU not present
            default: line(package + "{" + thread + "}=" + (rng.chance(50) ? "1-0" : ",")); break;  // reversed / none
        }
        ++faulty_count;
    }

    void extras() {
        if (opts.duplicate_percent > 0 && !valid.empty() && rng.chance(opts.duplicate_percent)) duplicate_rule();
        if (opts.faulty_percent > 0 && rng.chance(opts.faulty_percent)) faulty_rule();
        if (rng.chance(opts.comment_percent)) line(rng.chance(30) ? "" : rng.pick(comments));
    }

    // One package and its rules: a wildcard rule, or an exact package with a
    // package rule and a few thread rules.
    bool package_group() {
        // Keep the wildcard share of the rules written so far on target.
        if (static_cast<double>(wildcard_count) * 100 < opts.wildcard_percent * static_cast<double>(valid_count + 1)) {
            for (int attempt = 0; attempt < max_attempts_per_name; ++attempt) {
                const std::string thread = rng.chance(20) ? rng.pick(threads) : "";
                if (valid_rule(wildcard_package(), thread)) {
                    ++wildcard_count;
                    extras();
                    return true;
                }
            }
            return false;
        }
        std::string package;
        for (int attempt = 0;; ++attempt) {
            if (attempt == max_attempts_per_name) return false;
            package = exact_package();
            if (used.count(pair_key(package, "")) == 0) break;
        }
        if (rng.chance(5)) line("# " + package);
        const std::size_t thread_rules = rng.below(4);  // 0 to 3, with a package rule: 1 to 4 rules
        if (thread_rules == 0 || rng.chance(70)) {
            (void)valid_rule(package, "");
            extras();
        } else {
            used.insert(pair_key(package, ""));  // keep the package to this group
        }
        std::size_t first = rng.below(std::size(threads));
        for (std::size_t i = 0; i < thread_rules && valid_count < opts.rules; ++i) {
            if (valid_rule(package, threads[(first + i * 7) % std::size(threads)])) extras();
        }
        return true;
    }
};

}  // namespace

int main(int argc, char** argv) {
    options opts;
    if (!read_options(argc, argv, opts)) usage(argv[0]);

    std::FILE* out = opts.output != nullptr ? std::fopen(opts.output, "wb") : stdout;
    if (out == nullptr) {
        std::perror(opts.output);
        return 1;
    }
    static char buffer[1 << 16];
    std::setvbuf(out, buffer, _IOFBF, sizeof buffer);

    generator gen{opts, random_source{opts.seed}, out, {}, {}};
    gen.used.reserve(opts.rules * 2);
    gen.valid.reserve(opts.duplicate_percent > 0 ? opts.rules : 0);
    gen.line("# Generated rule file, seed " + std::to_string(opts.seed));
    while (gen.valid_count < opts.rules) {
        if (!gen.package_group()) {
            std::fprintf(stderr, "%s: ran out of distinct names after %zu rules\n", argv[0], gen.valid_count);
            return 1;
        }
    }

    const bool failed = std::fflush(out) != 0 || std::ferror(out) != 0;
    if (out != stdout && std::fclose(out) != 0) return 1;
    if (failed) return 1;
    std::fprintf(stderr, "rules=%zu wildcards=%zu duplicates=%zu faulty=%zu lines=%zu\n", gen.valid_count,
                 gen.wildcard_count, gen.duplicate_count, gen.faulty_count, gen.line_count);
    return 0;
}
