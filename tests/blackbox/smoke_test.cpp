#include <gtest/gtest.h>

#include "support/tool_runner.h"

TEST(Smoke, Usage) {
    const tool_run r = run_tool({"-h"});
    EXPECT_EQ(r.out, "用法: " + tool_path() + " [-c <配置文件>]\n");
    EXPECT_EQ(r.status, 0);
}
