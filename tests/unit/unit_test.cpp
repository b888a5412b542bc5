// What the tool computes but never prints, or holds only inside one call:
// rule priorities and wildcard flags, the present-CPU text of every shape of
// file, and the signal state around the guarded line loop.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>

#include "cli/cli.h"
#include "cpuset/cpuset.h"
#include "rules/rules.h"

TEST(RulePriority, EachKindOfName) {
    EXPECT_EQ(calculate_rule_priority(nullptr), 200u);
    const struct { const char* name; unsigned priority; } rows[] = {
        {"", 200},           {"RenderThread", 1012}, {"com.example.game", 1016}, {"x", 1001},
        {"com.[ab]*", 507},  {"com.[ab]?x", 508},    {"com.[ab", 506},           {"a]b", 1003},
        {"Render?hread", 311}, {"a?*", 301},         {"??", 300},                {"com.example.*", 112},
        {"*", 100},          {"**a", 101},           {"[", 500},                 {"a*[", 501},
    };
    for (const auto& row : rows) EXPECT_EQ(calculate_rule_priority(row.name), row.priority) << row.name;
}

// The thread's name decides the priority when there is one; only the package
// makes a wildcard rule.
TEST(RuleTable, PriorityAndWildcardFlagOfEachRule) {
    cpu_set_t present;
    CPU_ZERO(&present);
    CPU_SET(0, &present);
    print_sink sink;
    rule_set set;
    ASSERT_TRUE(create_rule_set(set, present, "0", sink));
    const struct { const char* package; const char* thread; bool is_wildcard; unsigned priority; } rows[] = {
        {"com.*", "Render", true, 1006}, {"com.*", "", true, 104}, {"game", "Render*", false, 106},
        {"game", "", false, 1004},       {"", "", false, 200},     {"[ab].c", "", true, 505},
        {"game", "x", false, 1001},
    };
    for (const auto& row : rows) ASSERT_EQ(add_rule(set, 1, row.package, row.thread, "0"), add_result::accepted);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(set.table.rules[i].is_wildcard, rows[i].is_wildcard) << i;
        EXPECT_EQ(set.table.rules[i].priority, rows[i].priority) << i;
    }
}

// read_present_cpus on every shape of file: what it keeps of the text and
// which CPUs it finds.
TEST(PresentCpus, EachFileShape) {
    char dir[] = "/tmp/present-cpus-test.XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string file = std::string(dir) + "/present";
    const std::string absent = std::string(dir) + "/absent";
    const std::string unopenable = file + "/present";  // below a regular file: fails for root too
    std::string ones;                                 // 126 bytes
    for (int i = 0; i < 63; ++i) ones += "1,";
    const struct { std::string bytes, path, text; int count; } rows[] = {  // count: CPUs present
        {"0-3,6-7\n", file, "0-3,6-7", 6}, {"  0-3 \t\r\n", file, "  0-3", 4}, {" \n\t ", file, " \n\t ", 0},
        {"", file, "", 0},                 {"x\n", file, "x", 0},              {ones + "5,7\n", file, ones + "5", 2},
        {"0", file, "0", 1},               {"0\n", absent, "", 0},             {"0\n", unopenable, "", 0},
        {"0\n", dir, "", 0},  // a directory opens, but its read fails
    };
    for (const auto& row : rows) {
        std::ofstream(file, std::ios::binary) << row.bytes;
        cpu_set_t set;
        CPU_ZERO(&set);
        char text[128] = {};
        read_present_cpus(set, text, row.path.c_str());
        EXPECT_EQ(std::string(text), row.text) << "file '" << row.bytes << "' at " << row.path;
        EXPECT_EQ(CPU_COUNT(&set), row.count) << "file '" << row.bytes << "' at " << row.path;
    }
    std::remove(file.c_str());
    rmdir(dir);
}

// The read guard unblocks SIGBUS and installs its handler only for the
// loop: both are as they were afterwards. A SIGBUS sent during the loop
// reaches the handler the process had, and the guard is back for the next line.
volatile std::sig_atomic_t sent_count = 0;
struct raising_sink final : report_sink {
    bool guarded = false;
    void begin_line(std::size_t line, const char*, std::size_t) override {
        struct sigaction now {};
        if (line == 1) (void)raise(SIGBUS);
        else guarded = sigaction(SIGBUS, nullptr, &now) == 0 && (now.sa_flags & SA_SIGINFO) != 0;
    }
    void report(const fault&) override {}
};
TEST(ReadGuard, LeavesMaskAndDispositionAsTheyWere) {
    sigset_t bus, before, after;
    sigemptyset(&bus);
    sigaddset(&bus, SIGBUS);
    ASSERT_EQ(sigprocmask(SIG_BLOCK, &bus, &before), 0);
    struct sigaction counting {}, then {}, now {};
    counting.sa_handler = [](int) { ++sent_count; };
    ASSERT_EQ(sigaction(SIGBUS, &counting, &then), 0);
    cpu_set_t present;
    CPU_ZERO(&present);
    raising_sink sink;
    rule_set set;
    ASSERT_TRUE(create_rule_set(set, present, "", sink));
    run_state state;
    check_lines("\n\n", 2, set, state);
    EXPECT_EQ(state.line_number, 2u);
    EXPECT_EQ(sent_count, 1);
    EXPECT_TRUE(sink.guarded);
    ASSERT_EQ(sigprocmask(SIG_SETMASK, &before, &after), 0);
    EXPECT_EQ(sigismember(&after, SIGBUS), 1);
    ASSERT_EQ(sigaction(SIGBUS, &then, &now), 0);
    EXPECT_EQ(now.sa_handler, counting.sa_handler);
}
