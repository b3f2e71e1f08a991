#pragma once
// The training records (SQLite through unixODBC) with the station's data
// folder inside the test's folder, where sessions write their data files.

#include "TablesFixture.h"

#include "Database/SessionRecord.h"

#include <filesystem>

class SessionRecordsFixture : public TablesFixture {
protected:
    void SetUp() override
    {
        TablesFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        forgetDataFolderWarning();
        dataFolder = folder.path() / "data";
        std::filesystem::create_directory(dataFolder);
        setMachineString("Data Folder", dataFolder.string());
    }

    std::filesystem::path dataFolder;
};
