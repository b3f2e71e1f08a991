// The main of the wireless search tests: the program moves into a network of
// its own before anything else runs, so its broadcasts never reach the host's
// interfaces.

#include "PrivateNetwork.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    searchtest::enterPrivateNetwork();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
