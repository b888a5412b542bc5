// The read guard around the line loop unblocks SIGBUS and installs its
// handler only for the loop: both are as they were afterwards.
#include <gtest/gtest.h>

#include <csignal>

#include "cli/cli.h"
#include "cpuset/cpuset.h"
#include "rules/rules.h"

TEST(ReadGuard, LeavesMaskAndDispositionAsTheyWere) {
    sigset_t bus, before, after;
    sigemptyset(&bus);
    sigaddset(&bus, SIGBUS);
    ASSERT_EQ(sigprocmask(SIG_BLOCK, &bus, &before), 0);
    cpu_set_t present;
    CPU_ZERO(&present);
    rule_set set;
    ASSERT_TRUE(create_rule_set(set, present, ""));
    run_state state;
    check_lines("\n", 1, set, state);
    EXPECT_EQ(state.line_number, 1u);
    ASSERT_EQ(sigprocmask(SIG_SETMASK, &before, &after), 0);
    EXPECT_EQ(sigismember(&after, SIGBUS), 1);
    struct sigaction now {};
    ASSERT_EQ(sigaction(SIGBUS, nullptr, &now), 0);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}
