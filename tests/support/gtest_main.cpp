// The main of every test program.
#include <gtest/gtest.h>

#include "support/test_main.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return testsupport::RunAllTestsShowingSkips();
}
