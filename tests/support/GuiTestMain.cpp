// The main of every windowed test program: one QApplication on the offscreen platform.

#include "TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    kovatest::enterFolderOfSingleTest(::testing::GTEST_FLAG(filter));
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
