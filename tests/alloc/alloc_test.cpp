// What the tool prints and returns when one of its allocations fails, with
// the failalloc library preloaded to refuse exactly one request, chosen by
// its byte size (from the tool's own records) and its rank among requests of
// that size. Also the package index on files with many thread rules.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <uthash.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "rules/rules.h"
#include "support/tool_runner.h"

namespace {

// Storage obtained when the rule set is created; each grows by doubling.
constexpr std::size_t table_bytes = initial_rule_capacity * sizeof(rule);
constexpr std::size_t wildcard_bytes = initial_wildcard_capacity * sizeof(std::size_t);
constexpr std::size_t duplicate_bytes = initial_duplicate_slots * sizeof(duplicate_slot);
// The duplicate set is kept at most half full.
constexpr std::size_t rules_before_duplicate_growth = initial_duplicate_slots / 2;
constexpr std::size_t hash_table_bytes = sizeof(UT_hash_table);
constexpr std::size_t first_bucket_growth_bytes = 2 * HASH_INITIAL_NUM_BUCKETS * sizeof(UT_hash_bucket);
constexpr int uthash_fatal_status = 255;  // uthash's fatal exit: exit(-1)

bool runner_set() { return std::getenv("APPLIST_CHECK_RUNNER") != nullptr && *std::getenv("APPLIST_CHECK_RUNNER"); }

std::string read_file(const std::string& path) {
    std::ostringstream data;
    data << std::ifstream(path, std::ios::binary).rdbuf();
    return data.str();
}

// `count` rules "<prefix>NNNNN<suffix>=0" with distinct packages.
std::string numbered_rules(std::size_t count, const std::string& prefix, const std::string& suffix = "") {
    std::string text;
    char digits[24];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(digits, sizeof digits, "%05zu", i);
        text += prefix + digits + suffix + "=0\n";
    }
    return text;
}

struct injection {
    std::size_t size;
    unsigned long nth;
    std::string function;  // empty: any
};

// Runs the tool on `rules` with failalloc preloaded; `log` gets what it logged.
tool_run run_preloaded(const std::string& rules, const injection* fail, std::string& log, bool stdout_to_file = false) {
    temp_dir dir;
    run_options options;
    options.stdout_to_file = stdout_to_file;
    options.env = {"LD_PRELOAD=" FAILALLOC_LIBRARY, "FAILALLOC_LOG=" + dir.path() + "/log"};
    if (fail != nullptr) {
        options.env.push_back("FAILALLOC_SIZE=" + std::to_string(fail->size));
        options.env.push_back("FAILALLOC_NTH=" + std::to_string(fail->nth));
        if (!fail->function.empty()) options.env.push_back("FAILALLOC_FUNC=" + fail->function);
    }
    const tool_run r = rules.empty() ? run_tool({"-h"}, options)
                                     : run_tool({"-c", dir.write("applist.conf", rules)}, options);
    log = read_file(dir.path() + "/log");
    return r;
}

// Empty when the interposer reaches the tool's allocations here, else why not.
std::string interposer_unavailable_reason() {
#ifdef APPLIST_SANITIZE_BUILD
    return "sanitizer build: the sanitizer runtime owns the allocator and refuses a preloaded one";
#else
    if (runner_set()) return "APPLIST_CHECK_RUNNER is set: a preloaded library would load into the runner";
    std::string log;
    const tool_run probe = run_preloaded("", nullptr, log);
    if (probe.status != 0) return "the tool does not run with the interposer preloaded: " + probe.err;
    if (log != "loaded\n") return "the interposer did not load into the tool (a static binary?)";
    return "";
#endif
}

struct failure_case {
    const char* name;
    std::string rules;
    injection fail;
    std::string out;
    int status;
};

TEST(AllocationFailure, EachStorageOfTheTool) {
    static const std::string unavailable = interposer_unavailable_reason();
    if (!unavailable.empty()) GTEST_SKIP() << "allocation failures cannot be injected: " << unavailable;
    // The first bucket growth has the wildcard list's size on 64-bit
    // machines; that list was requested first.
    const unsigned long bucket_rank = first_bucket_growth_bytes == wildcard_bytes ? 2 : 1;
    const std::size_t wildcards = initial_wildcard_capacity + 1;
    // No line before the failure is faulty, so the status comes from it
    // alone; the 'bad' line after it is never read.
    const failure_case cases[] = {
        {"rule table", "bad\ngame=0\n", {table_bytes, 1, ""}, "", 1},
        {"wildcard list", "bad\ngame=0\n", {wildcard_bytes, 1, ""}, "", 1},
        {"duplicate set", "bad\ngame=0\n", {duplicate_bytes, 1, ""}, "", 1},
        {"table growth", numbered_rules(initial_rule_capacity + 1, "app") + "bad\n", {2 * table_bytes, 1, ""},
         summary(initial_rule_capacity, 0), 1},
        {"duplicate set growth", numbered_rules(rules_before_duplicate_growth + 1, "app") + "bad\n",
         {2 * duplicate_bytes, 1, ""}, summary(rules_before_duplicate_growth, 0), 1},
        // Only the wildcard list and the table are ever reallocated. The
        // rule is counted, but not as a wildcard.
        {"wildcard list growth", numbered_rules(5, "app") + numbered_rules(wildcards, "vendor", ".*") + "bad\nlate=0\n",
         {2 * wildcard_bytes, 1, "realloc"}, summary(5 + wildcards, wildcards - 1), 1},
        // Three rules share the entry for "game": the second is for "other".
        {"package entry", "game{a}=0\ngame{b}=0\ngame=0\ncom.*=0\nother=0\nbad\nlate=0\n",
         {sizeof(package_entry), 2, ""}, summary(5, 1), 1},
        // uthash ends the process: no summary, but the earlier message
        // reaches the reader.
        {"uthash table", "bad\nvendor.*=0\ngame=0\nlate=0\n", {hash_table_bytes, 1, ""}, no_equals(1, "bad"),
         uthash_fatal_status},
        {"uthash bucket growth", "bad\n" + numbered_rules(1000, "app") + "bad\n",
         {first_bucket_growth_bytes, bucket_rank, ""}, no_equals(1, "bad"), uthash_fatal_status},
    };
    for (const failure_case& c : cases) {
        for (const bool to_file : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (to_file ? ", stdout to a file" : ", stdout to a pipe"));
            std::string log;
            const tool_run r = run_preloaded(c.rules, &c.fail, log, to_file);
            EXPECT_EQ(log, "loaded\nrefused\n") << "size " << c.fail.size << ", request " << c.fail.nth;
            EXPECT_EQ(r.out, c.out);
            EXPECT_EQ(r.status, c.status);
            EXPECT_EQ(r.err, "");
        }
    }
}

// Each exact package name is indexed once, so a package with many thread
// rules never piles equal keys into one uthash chain (which made uthash
// double its buckets into hundreds of MB for a valid file of 540 lines).
// Where the tool runs directly and without sanitizers, it must fit in an
// address space far below that.
TEST(PackageIndex, ManyThreadRulesPerPackageLoadInBoundedMemory) {
    bool limited = !runner_set();
#ifdef APPLIST_SANITIZE_BUILD
    limited = false;  // shadow memory needs far more address space than the tool
#endif
    for (const auto& [apps, games] : {std::pair<std::size_t, std::size_t>{300, 20}, {19800, 200}}) {
        SCOPED_TRACE(std::to_string(apps) + " apps, " + std::to_string(games) + " games of 12 threads");
        std::string rules = numbered_rules(apps, "com.example.app");
        for (std::size_t g = 0; g < games; ++g)
            rules += numbered_rules(12, "com.example.game" + std::to_string(100000 + g) + "{Thread", "}");
        temp_dir dir;
        const std::string config = dir.write("applist.conf", rules);
        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_AS, &saved), 0);
        rlimit lowered = saved;
        lowered.rlim_cur = rlim_t{256} << 20;
        ASSERT_TRUE(!limited || setrlimit(RLIMIT_AS, &lowered) == 0);
        const tool_run r = run_tool({"-c", config});
        ASSERT_EQ(setrlimit(RLIMIT_AS, &saved), 0);
        EXPECT_EQ(r.out, summary(apps + games * 12, 0));
        EXPECT_EQ(r.status, 0);
    }
}

}  // namespace
