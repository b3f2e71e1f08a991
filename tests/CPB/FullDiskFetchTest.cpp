// Fetching the set-up from a simulated controller while the records sit on a
// full disk (a small tmpfs in a mount namespace of the test's own): the
// transfer says the algorithm could not be stored and why, the station goes
// on, the stored algorithm stays as it was, and with room again the fetch
// stores it.

#include "FullDiskFixture.h"
#include "TransferTestSupport.h"

#include "CPB/CPBAlgorithmBlock.h"
#include "CPB/CPBGet.h"
#include "Database/AlgorithmTable.h"
#include "Rodezir/LogStream.h"
#include "comm/link/SerialPort.h"
#include "config/PropertyModel.h"
#include "platform/ScopedClock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace transfertest;

namespace {

constexpr int PORT = 5;

class FullDiskFetch : public OnSmallDisk<> {
protected:
    void SetUp() override
    {
        OnSmallDisk::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        controller = std::make_unique<controllersim::ControllerSimulator>(controllersim::ControllerOptions{});
        ASSERT_TRUE(controller->open());
        controllers.controllers = {controller.get()};
        ::setenv("KOVA_PORT_MAP", (std::to_string(PORT) + "=" + controller->devicePath()).c_str(), 1);
        // Found as the port registry's scan finds it.
        ASSERT_EQ(port.open(PORT), SerialPort::OPEN_SUCCESS);
        ASSERT_EQ(port.getLinkType(), SerialPort::LINK_CONTROLLER);
        port.close();
        controller->pump();
    }
    void TearDown() override
    {
        port.close();
        ::setenv("KOVA_PORT_MAP", "", 1);
        OnSmallDisk::TearDown();
    }

    // The controller's first algorithm: the name, then the limits in their
    // order (initial ventilations, rate, volume, ECC rate, depth, low before high).
    void putAlgorithm(const std::string& name, const std::vector<float>& limits)
    {
        controller->change([&](controllersim::ControllerDevice& d) {
            Bytes nameBytes = text(name);
            nameBytes.push_back(0);
            setArea(d, Pointer::ALGORITHM_1, CPBAlgorithmBlock::NAME, nameBytes);
            const int offsets[] = {0x00, 0x04, 0x0C, 0x28, 0x40};
            setArea(d, Pointer::ALGORITHM_1, offsets[0], CPBAlgorithmBlock::encodeFloats({limits[0]}));
            for (int k = 0; k < 4; ++k)
                setArea(d, Pointer::ALGORITHM_1, offsets[k + 1],
                        CPBAlgorithmBlock::encodeFloats({limits[1 + 2 * k], limits[2 + 2 * k]}));
        });
    }
    bool fetch()
    {
        progress = RecordingProgress();
        PropertyModel settings;
        return CPBGet(settings, progress).get(port);
    }
    static AlgorithmRecord stored(const std::string& name)
    {
        AlgorithmTable table(theDatabase);
        table.open("");
        return table.getByName(name);
    }

    ControllersClock controllers;
    platform::ScopedClock clockInUse{controllers};
    std::unique_ptr<controllersim::ControllerSimulator> controller;
    SerialPort port;
    RecordingProgress progress;
};

TEST_F(FullDiskFetch, anAlgorithmTheFullDiskRefusesIsToldAndTheStoredOneStays)
{
    AlgorithmRecord guideline;
    guideline.Name = "Guideline";
    {
        AlgorithmTable table(theDatabase);
        table.open("");
        table.addNew();
        table.setRecord(guideline);
        ASSERT_TRUE(table.update()) << table.lastError();
    }
    putAlgorithm("Guideline", {2, 8, 12, 0.4f, 0.7f, 100, 120, 50, 60});

    disk->fill();
    EXPECT_FALSE(fetch());
    const std::wstring told = progress.lastText();
    EXPECT_NE(told.find(L"could not be stored"), std::wstring::npos);
    EXPECT_NE(told.find(L"disk is full"), std::wstring::npos);
    EXPECT_NE(kovatest::readFile(LogStream::instance().path()).find("disk is full"), std::string::npos);
    EXPECT_EQ(stored("Guideline"), guideline);

    disk->makeRoom();
    EXPECT_TRUE(fetch()) << std::string(told.begin(), told.end());
    EXPECT_EQ(stored("Guideline").vRateLow, 8.0);
}

} // namespace
