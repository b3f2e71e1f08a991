// The main of test programs that need a real X display with a window manager
// (tests/support/in-x-display makes one): one QApplication on Qt's xcb
// platform. Without a display the program says so and reports itself skipped.

#include "TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <clocale>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "No X display: run the program through tests/support/in-x-display.\n");
        return 77;
    }
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    kovatest::enterFolderOfSingleTest(::testing::GTEST_FLAG(filter));
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
