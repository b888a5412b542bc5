#include <gtest/gtest.h>

#include "rules/rules.h"

TEST(Priority, ExactName) { EXPECT_EQ(calculate_rule_priority("RenderThread"), 1012u); }
