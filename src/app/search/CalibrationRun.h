#pragma once
// One calibration of the ports the instructor checked in the manikin search
// window: every measurement is started, then each port is waited for in turn
// (one-second polls, at most a hundred), marked calibrated or not, and its
// link closed again; every failure adds one line to a single error text.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CalibrateManager;

class CalibrationRun {
public:
    // The pause between starting the measurements and the first poll.
    static constexpr std::uint32_t SETTLE_MS = 100;
    static constexpr std::uint32_t POLL_MS = 1000;
    static constexpr int MAX_POLLS = 100;

    // Called before every wait, so a window can show that it is still busy.
    using WaitHook = std::function<void()>;

    explicit CalibrationRun(CalibrateManager& manager);

    // Starts the measurement of every port.
    void start(const std::vector<int>& ports);
    // Waits for each started port in order and records its outcome.
    void finish(const WaitHook& beforeWait = {});

    bool hasError() const { return error_; }
    // At least one port was calibrated by this run.
    bool calibratedAny() const { return calibratedAny_; }
    // "An error occured during calibration.\n" and one line per failed port (translated).
    const std::wstring& errorText() const { return errorText_; }

    // Polls until the status is no longer "measuring" or MAX_POLLS further
    // polls were made; a port still not done then counts as too little data.
    static int waitForStatus(const std::function<int()>& poll, const WaitHook& beforeWait = {});
    // "Error calibrating COM<port>" and the reason of the status, ending in "\n".
    static std::wstring failureLine(int port, int status);

private:
    CalibrateManager& manager_;
    std::vector<int> ports_;
    std::wstring errorText_;
    bool error_ = false;
    bool calibratedAny_ = false;
};
