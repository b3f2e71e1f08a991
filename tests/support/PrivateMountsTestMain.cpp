// The main of the full-disk test programs: the process moves into a mount
// namespace of its own before anything else runs (no thread may exist yet),
// where each test mounts its small disk.

#include "SmallDisk.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#ifdef KOVA_PRIVATE_MOUNTS_GUI
#include <QApplication>
#endif

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv)
{
    kovatest::enterPrivateMounts();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    kovatest::enterFolderOfSingleTest(::testing::GTEST_FLAG(filter));
#ifdef KOVA_PRIVATE_MOUNTS_GUI
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
#endif
    return RUN_ALL_TESTS();
}
