// Tests that pass, skip or fail, picked by --gtest_filter, for the harness test.
#include <gtest/gtest.h>

TEST(Probe, Passes) {}
TEST(Probe, Skips) { GTEST_SKIP() << "nothing to check here"; }
TEST(Probe, Fails) { FAIL() << "as asked"; }
