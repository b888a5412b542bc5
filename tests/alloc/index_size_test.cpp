// The package index holds each exact package name once, so a package with
// many thread rules costs one entry and never piles equal keys into one
// uthash bucket chain (which made uthash double its bucket array again and
// again, into hundreds of megabytes for a valid file of a few hundred lines).
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <string>

#include "rules/rules.h"
#include "support/failalloc_runner.h"

namespace {

struct game_file {
    const char* name;
    std::size_t apps;  // single-rule packages
    std::size_t games;  // packages with `threads` thread rules each
    std::size_t threads;
};

// A phone-sized game list, and a large one.
const game_file game_files[] = {
    {"300 apps and 20 games of 12 threads", 300, 20, 12},
    {"19800 apps and 200 games of 12 threads", 19800, 200, 12},
};

// Lowers this process's address-space limit for the tool it starts next,
// and restores it when it goes out of scope.
class address_space_limit {
public:
    explicit address_space_limit(rlim_t bytes) {
        getrlimit(RLIMIT_AS, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        applied_ = setrlimit(RLIMIT_AS, &lowered) == 0;
    }
    ~address_space_limit() { setrlimit(RLIMIT_AS, &saved_); }
    address_space_limit(const address_space_limit&) = delete;
    address_space_limit& operator=(const address_space_limit&) = delete;
    bool applied() const { return applied_; }

private:
    rlimit saved_{};
    bool applied_ = false;
};

// Far above what the tool needs for these files (a few MB), far below what
// an index with one entry per rule makes uthash take on the small one.
constexpr rlim_t tool_address_space = rlim_t{256} << 20;

}  // namespace

TEST(PackageIndexSize, ManyThreadRulesPerPackageLoadCompletely) {
    REQUIRE_CPU0();
    for (const game_file& f : game_files) {
        SCOPED_TRACE(f.name);
        temp_dir dir;
        const tool_run r =
            run_tool({"-c", dir.write("applist.conf", apps_and_games(f.apps, f.games, f.threads))});
        EXPECT_EQ(r.out, summary(f.apps + f.games * f.threads, 0));
        EXPECT_EQ(r.status, 0);
    }
}

TEST(PackageIndexSize, ManyThreadRulesPerPackageFitInASmallAddressSpace) {
    REQUIRE_CPU0();
#ifdef APPLIST_SANITIZE_BUILD
    GTEST_SKIP() << "sanitizer build: its shadow memory needs far more address space than the tool";
#endif
    const char* runner = std::getenv("APPLIST_CHECK_RUNNER");
    if (runner != nullptr && *runner != '\0')
        GTEST_SKIP() << "APPLIST_CHECK_RUNNER is set: the limit would bind the runner, not the tool";
    for (const game_file& f : game_files) {
        SCOPED_TRACE(f.name);
        temp_dir dir;
        const std::string config = dir.write("applist.conf", apps_and_games(f.apps, f.games, f.threads));
        tool_run r;
        {
            address_space_limit limit(tool_address_space);
            ASSERT_TRUE(limit.applied());
            r = run_tool({"-c", config});
        }
        // A failed allocation inside uthash would end the run with 255 and
        // no summary.
        EXPECT_EQ(r.out, summary(f.apps + f.games * f.threads, 0));
        EXPECT_EQ(r.status, 0);
    }
}

TEST(PackageIndexSize, OneEntryPerDistinctPackageName) {
    REQUIRE_INTERPOSER();
    REQUIRE_CPU0();
    for (const game_file& f : game_files) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(count_requests(apps_and_games(f.apps, f.games, f.threads), sizeof(package_entry)),
                  static_cast<int>(f.apps + f.games));
    }
}
