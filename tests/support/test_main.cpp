#include "support/test_main.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace testsupport {

int RunAllTestsShowingSkips() {
    const int failed = RUN_ALL_TESTS();
    const testing::UnitTest& run = *testing::UnitTest::GetInstance();
    if (failed == 0 && run.Passed() && run.skipped_test_count() > 0) {
        std::printf("[  SKIPPED ] %d of %d tests skipped, none failed\n", run.skipped_test_count(),
                    run.test_to_run_count());
        std::fflush(stdout);
    }
    return failed;
}

} // namespace testsupport
