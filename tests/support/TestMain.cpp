// The main of every core test program.

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    kovatest::enterFolderOfSingleTest(::testing::GTEST_FLAG(filter));
    return RUN_ALL_TESTS();
}
