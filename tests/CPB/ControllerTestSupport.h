#pragma once
// Shared pieces of the controller link tests: a simulated controller on a
// pseudo-terminal mapped to COM 5, and a clock whose sleeps pump that
// controller, so every wait of the link passes at once yet each answer
// arrives exactly when the station would first look for it.

#include "Rodezir/LogStream.h"
#include "TempDir.h"
#include "comm/link/SerialPort.h"
#include "controller-sim/ControllerSimulator.h"
#include "platform/Clock.h"
#include "platform/ScopedClock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace cpbtest {

using Bytes = std::vector<std::uint8_t>;

constexpr int CONTROLLER_PORT = 5;

// Manual time: a sleep moves the tick count on by what was asked and lets
// the controller answer what it has received so far.
class PumpingClock final : public platform::Clock {
public:
    explicit PumpingClock(controllersim::ControllerSimulator& controller)
        : controller_(controller)
    {
    }
    std::uint32_t tickCount() override { return now_; }
    void sleep(std::uint32_t milliseconds) override
    {
        now_ += milliseconds;
        sleeps_.push_back(milliseconds);
        controller_.pump();
    }
    const std::vector<std::uint32_t>& sleeps() const { return sleeps_; }
    void forgetSleeps() { sleeps_.clear(); }

private:
    controllersim::ControllerSimulator& controller_;
    std::uint32_t now_ = 1000;
    std::vector<std::uint32_t> sleeps_;
};

// Maps COM ports to devices for the life of the object.
class ScopedPortMap {
public:
    explicit ScopedPortMap(const std::string& map) { ::setenv("KOVA_PORT_MAP", map.c_str(), 1); }
    ~ScopedPortMap() { ::setenv("KOVA_PORT_MAP", "", 1); }
    ScopedPortMap(const ScopedPortMap&) = delete;
    ScopedPortMap& operator=(const ScopedPortMap&) = delete;
};

// The error log written so far (the log is closed to read it whole).
inline std::string logText()
{
    LogStream::destroy();
    return kovatest::readFile("errors.txt");
}

// A controller on COM 5, served only when the station's clock sleeps, and the
// port the station reaches it through. The port holds its number as after
// the registry's scan: opened once and closed again.
class PumpedController : public ::testing::Test {
protected:
    PumpedController() { LogStream::destroy(); }
    ~PumpedController() override { LogStream::destroy(); }

    void SetUp() override { startController({}); }

    void startController(controllersim::ControllerOptions options)
    {
        port.close();
        portMap.reset();
        clockInUse.reset();
        controller = std::make_unique<controllersim::ControllerSimulator>(options);
        ASSERT_TRUE(controller->open());
        clock = std::make_unique<PumpingClock>(*controller);
        clockInUse = std::make_unique<platform::ScopedClock>(*clock);
        portMap = std::make_unique<ScopedPortMap>(std::to_string(CONTROLLER_PORT) + "=" + controller->devicePath());
        ASSERT_EQ(port.open(CONTROLLER_PORT), SerialPort::OPEN_SUCCESS);
        ASSERT_EQ(port.getLinkType(), SerialPort::LINK_CONTROLLER);
        port.close();
        controller->pump();
        clock->forgetSleeps();
    }

    controllersim::ControllerDevice device() const { return controller->device(); }
    // The offset and length of every request the controller received.
    std::vector<std::pair<int, int>> requestSpans() const
    {
        std::vector<std::pair<int, int>> spans;
        const controllersim::ControllerDevice now = device();
        for (const auto& request : now.requests())
            spans.emplace_back(request.offset, request.length);
        return spans;
    }

    kovatest::TempDir logFolder;
    kovatest::ScopedCwd inLogFolder{logFolder.path()};
    std::unique_ptr<controllersim::ControllerSimulator> controller;
    std::unique_ptr<PumpingClock> clock;
    std::unique_ptr<platform::ScopedClock> clockInUse;
    std::unique_ptr<ScopedPortMap> portMap;
    SerialPort port;
};

} // namespace cpbtest
