#pragma once
// The simulated hand-held controller on a pseudo-terminal, the COM port the
// station opens. It serves the line on a thread of its own (start), or only
// when asked (pump), so that a test can run the station's waits on a clock
// that pumps the controller instead of sleeping.

#include "controller-sim/ControllerDevice.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace controllersim {

class ControllerSimulator {
public:
    explicit ControllerSimulator(ControllerOptions options = {});
    ~ControllerSimulator();
    ControllerSimulator(const ControllerSimulator&) = delete;
    ControllerSimulator& operator=(const ControllerSimulator&) = delete;

    // Makes the pseudo-terminal; nothing is served until pump or start.
    bool open(std::string* error = nullptr);
    // Opens and serves on a thread of its own.
    bool start(std::string* error = nullptr);
    // Stops the thread and closes the line.
    void stop();

    // Takes in everything the station has sent and sends the answers.
    void pump();

    // The station's side of the pseudo-terminal ("/dev/pts/N").
    const std::string& devicePath() const { return devicePath_; }
    // True while the line is there (until stop, or until the line is cut).
    bool lineOpen() const;

    // A copy of the controller as it is now (memory, log, counters).
    ControllerDevice device() const;
    // Changes the controller (memory, misbehaviours) under the line's lock.
    void change(const std::function<void(ControllerDevice&)>& edit);

    // Polls the condition every millisecond until it holds or the time is up.
    static bool waitUntil(const std::function<bool()>& condition, int timeoutMs);

private:
    void serve();
    void closeLine();

    ControllerDevice device_;
    std::string devicePath_;
    int masterFd_ = -1;
    int slaveFd_ = -1;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
};

} // namespace controllersim
