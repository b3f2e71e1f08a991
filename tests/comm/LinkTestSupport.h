#pragma once
// Shared pieces of the manikin link tests: a simulated manikin mapped to a
// COM port (with the station's port open on it, or scanned, calibrated and
// opened as the station opens it), loopback addresses of their own for wireless manikins, a clock
// that can jump ahead, and a start-up state with the recorded data.

#include "app/shell/CprTrainingAppState.h"
#include "comm/ports/CalibrateManager.h"
#include "comm/reader/ManikinReader.h"
#include "comm/link/SerialPort.h"
#include "manikin-sim/ManikinSimulator.h"
#include "platform/SystemClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>
#include <string>
#include <unistd.h>

namespace linktest {

constexpr int SIM_COM_PORT = 5;

// The real clock, moved ahead on demand: handshakes run against a real peer
// while an idle time-out can still be reached at once. It counts the sleeps
// asked of it: every wait of the station goes through its clock, so a step
// that asked none did not wait.
class JumpClock final : public platform::Clock {
public:
    std::uint32_t tickCount() override { return system_.tickCount() + offset_; }
    void sleep(std::uint32_t milliseconds) override
    {
        ++sleeps_;
        system_.sleep(milliseconds);
    }
    void jump(std::uint32_t milliseconds) { offset_ += milliseconds; }
    int sleeps() const { return sleeps_; }

private:
    platform::SystemClock system_;
    std::atomic<std::uint32_t> offset_{0};
    std::atomic<int> sleeps_{0};
};

// The real clock with short sleeps: every sleep lasts at most 2 ms but moves
// the tick count on by all it was asked for. Fixed waits pass at once while
// reads still wait for a real peer.
class ShortSleepClock final : public platform::Clock {
public:
    std::uint32_t tickCount() override { return system_.tickCount() + offset_; }
    void sleep(std::uint32_t milliseconds) override
    {
        const std::uint32_t real = std::min<std::uint32_t>(milliseconds, 2);
        system_.sleep(real);
        offset_ += milliseconds - real;
    }

private:
    platform::SystemClock system_;
    std::uint32_t offset_ = 0;
};

// The real clock, keeping a list of every sleep asked of it.
class RecordingClock final : public platform::Clock {
public:
    std::uint32_t tickCount() override { return system_.tickCount(); }
    void sleep(std::uint32_t milliseconds) override
    {
        {
            std::lock_guard lock(mutex_);
            sleeps_.push_back(milliseconds);
        }
        system_.sleep(milliseconds);
    }
    std::vector<std::uint32_t> sleeps() const
    {
        std::lock_guard lock(mutex_);
        return sleeps_;
    }

private:
    platform::SystemClock system_;
    mutable std::mutex mutex_;
    std::vector<std::uint32_t> sleeps_;
};

// Maps COM 5 to the simulator's pseudo-terminal for the life of the object.
class ScopedPortMap {
public:
    explicit ScopedPortMap(const std::string& map) { ::setenv("KOVA_PORT_MAP", map.c_str(), 1); }
    ~ScopedPortMap() { ::setenv("KOVA_PORT_MAP", "", 1); }
};

// Starts a simulator on a pseudo-terminal mapped to COM 5.
inline std::unique_ptr<manikinsim::ManikinSimulator> startOnPseudoTerminal(manikinsim::SimulatorOptions options)
{
    options.transport = manikinsim::Transport::PseudoTerminal;
    auto simulator = std::make_unique<manikinsim::ManikinSimulator>(std::move(options));
    if (!simulator->start())
        return nullptr;
    return simulator;
}

// A simulated manikin on a pseudo-terminal mapped to COM 5 with the
// station's port open on it; what the manikin received after the handshake
// is what the test sent.
class ComPortManikin {
public:
    // Fails the test fatally when the manikin, the port or the handshake does
    // not come up: call it under ASSERT_NO_FATAL_FAILURE.
    void startManikin(manikinsim::SimulatorOptions options)
    {
        simulator = startOnPseudoTerminal(std::move(options));
        ASSERT_NE(simulator, nullptr);
        portMap = std::make_unique<ScopedPortMap>("5=" + simulator->devicePath());
        ASSERT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
        ASSERT_TRUE(manikinsim::ManikinSimulator::waitUntil(
            [&] { return simulator->receivedBytes().size() >= 11; }, 2000));
        handshakeFrames = simulator->receivedFrames().size();
    }

    // The frames sent since the handshake, once `count` of them are there.
    std::vector<manikinsim::ReceivedFrame> sent(std::size_t count)
    {
        manikinsim::ManikinSimulator::waitUntil(
            [&] { return simulator->receivedFrames().size() >= handshakeFrames + count; }, 2000);
        const std::vector<manikinsim::ReceivedFrame> all = simulator->receivedFrames();
        return {all.begin() + static_cast<std::ptrdiff_t>(handshakeFrames), all.end()};
    }

    std::unique_ptr<manikinsim::ManikinSimulator> simulator;
    std::unique_ptr<ScopedPortMap> portMap;
    SerialPort port;
    std::size_t handshakeFrames = 0;
};

// A simulated manikin on a pseudo-terminal as COM 5, found by the station's
// port scan, calibrated and opened, as the new-session dialog leaves it.
class CalibratedComManikin {
public:
    // Fails the test fatally when the manikin does not come up or its port is
    // not found or not opened: call it under ASSERT_NO_FATAL_FAILURE.
    void connectManikin(manikinsim::SimulatorOptions options)
    {
        simulator = startOnPseudoTerminal(std::move(options));
        ASSERT_TRUE(simulator);
        // The old map goes first: its end clears the variable the new one sets.
        portMap.reset();
        portMap = std::make_unique<ScopedPortMap>(std::to_string(SIM_COM_PORT) + "=" + simulator->devicePath());
        CalibrateManager& ports = CalibrateManager::get();
        ports.scanComPorts();
        ASSERT_TRUE(ports.getIsValid(SIM_COM_PORT));
        ports.setIsCalibrated(true, SIM_COM_PORT);
        ManikinReader opener(*ports.getSerPort(SIM_COM_PORT));
        ASSERT_EQ(opener.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    }
    // The station's ports go, then the manikin stops.
    void disconnectManikin()
    {
        CalibrateManager::destroy();
        if (simulator)
            simulator->stop();
    }

    std::unique_ptr<manikinsim::ManikinSimulator> simulator;
    std::unique_ptr<ScopedPortMap> portMap;
};

// A wireless manikin on a loopback address no other test process uses
// (port 2000 is fixed, so the address tells the manikins apart).
inline std::unique_ptr<manikinsim::ManikinSimulator> startWireless(manikinsim::SimulatorOptions options,
                                                                   std::uint32_t& address)
{
    static int serial = 0;
    options.transport = manikinsim::Transport::Tcp;
    for (int attempt = 0; attempt < 20; ++attempt) {
        const unsigned pid = static_cast<unsigned>(::getpid());
        const std::string text = "127." + std::to_string(100 + pid % 150) + "." + std::to_string((pid / 150) % 250)
            + "." + std::to_string(1 + (serial++ % 250));
        options.tcpAddress = text;
        auto simulator = std::make_unique<manikinsim::ManikinSimulator>(options);
        if (simulator->start()) {
            address = ::inet_addr(text.c_str());
            return simulator;
        }
    }
    return nullptr;
}

// The application's start-up state with the recorded data sets loaded.
class DemoState {
public:
    explicit DemoState(const std::string& commandLine = "demo")
        : state_(commandLine)
    {
        state_.loadRecordedData();
        CprTrainingAppState::setInstance(&state_);
    }
    ~DemoState() { CprTrainingAppState::setInstance(nullptr); }
    CprTrainingAppState& state() { return state_; }

private:
    CprTrainingAppState state_;
};

} // namespace linktest
