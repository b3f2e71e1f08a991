#pragma once
// The training records and the data folder on a small disk of the test's own
// (see SmallDisk.h): the SQLite database "kovacpr" with its data source and
// the session data files live on a tmpfs that a test fills to the last byte.

#include "SmallDisk.h"
#include "TablesFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

// `Base` is TablesFixture or a fixture derived from it.
template <class Base = TablesFixture>
class OnSmallDisk : public Base {
protected:
    static constexpr std::size_t DISK_BYTES = 2 * 1024 * 1024;

    void SetUp() override
    {
        if (!kovatest::inPrivateMounts())
            GTEST_SKIP() << "no mount namespace: " << kovatest::privateMountsProblem();
        // The driver manager reads the data sources once per process: the
        // disk goes under the folder that holds them before the first read.
        disk = std::make_unique<kovatest::SmallDisk>(DISK_BYTES,
                                                     std::filesystem::path(this->odbcIniPath()).parent_path());
        if (!disk->mounted())
            GTEST_SKIP() << "the small disk could not be mounted";
        Base::SetUp();
        if (this->IsSkipped() || this->HasFatalFailure())
            return;
        forgetDataFolderWarning();
        dataFolder = disk->path() / "data";
        std::filesystem::create_directories(dataFolder);
        this->setMachineString("Data Folder", dataFolder.string());
    }
    void TearDown() override
    {
        Base::TearDown();
        disk.reset();
    }

    std::unique_ptr<kovatest::SmallDisk> disk;
    std::filesystem::path dataFolder;
};
