#pragma once
// The training records (SQLite through unixODBC) with the station's data
// folder inside the test's folder, where sessions write their data files.

#include "TablesFixture.h"

#include "Database/SessionRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

class SessionRecordsFixture : public TablesFixture {
protected:
    void SetUp() override
    {
        TablesFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        dataFolder = makeDataFolder();
    }

    std::filesystem::path dataFolder;
};

// The evaluation's figures of two records agree. The database hands doubles
// back through text, and a data file keeps its measurements rounded, so a
// figure may differ in its last digits: `relative` says how much.
inline void expectSameResults(const SessionRecord& actual, const SessionRecord& expected, double relative = 1e-9)
{
    const std::pair<const char*, double SessionRecord::*> figures[] = {
        {"VentilationRate", &SessionRecord::VentilationRate},
        {"VentilationVolume", &SessionRecord::VentilationVolume},
        {"ECCrate", &SessionRecord::ECCrate},
        {"CompRelaxRatio", &SessionRecord::CompRelaxRatio},
        {"CompDepth", &SessionRecord::CompDepth},
        {"VentCompRatioVent", &SessionRecord::VentCompRatioVent},
        {"VentCompRatioComp", &SessionRecord::VentCompRatioComp},
        {"InterfaceFrequency", &SessionRecord::InterfaceFrequency},
        {"PauseECC", &SessionRecord::PauseECC},
        {"StomachInflation", &SessionRecord::StomachInflation},
        {"WrongHandPosition", &SessionRecord::WrongHandPosition},
        {"Leaning", &SessionRecord::Leaning},
    };
    for (const auto& [name, field] : figures)
        EXPECT_NEAR(actual.*field, expected.*field, relative * std::fabs(expected.*field) + 1e-12) << name;
    EXPECT_EQ(actual.InitialVentilations, expected.InitialVentilations);
}
