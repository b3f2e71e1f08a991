#include "app/search/CalibrationRun.h"

#include "comm/ports/CalibrateManager.h"
#include "comm/reader/ManikinReader.h"
#include "comm/link/SerialPort.h"
#include "gettext/Gettext.h"
#include "platform/Clock.h"

CalibrationRun::CalibrationRun(CalibrateManager& manager) : manager_(manager) {}

void CalibrationRun::start(const std::vector<int>& ports)
{
    ports_ = ports;
    // Every measurement runs at once, so the manikins are measured side by side.
    for (const int port : ports_)
        manager_.startCalibration(port);
}

int CalibrationRun::waitForStatus(const std::function<int()>& poll, const WaitHook& beforeWait)
{
    int status = poll();
    int polls = 0;
    while (status == ManikinReader::CALIBRATION_MEASURING && polls < MAX_POLLS) {
        if (beforeWait)
            beforeWait();
        platform::Clock::instance().sleep(POLL_MS);
        status = poll();
        ++polls;
    }
    if (polls == MAX_POLLS && status != ManikinReader::CALIBRATION_DONE)
        return ManikinReader::CALIBRATION_TOO_LITTLE_DATA;
    return status;
}

std::wstring CalibrationRun::failureLine(int port, int status)
{
    const char* reason = nullptr;
    switch (status) {
    case 0:
    case 1:
        reason = ": Could not find manikin. Make sure the manikin is connected correctly.";
        break;
    case ManikinReader::CALIBRATION_VENTILATION_MOVED:
    case ManikinReader::CALIBRATION_COMPRESSION_MOVED:
        reason = ": The manikin was probably moved during calibration, or the cable is not connected.";
        break;
    case ManikinReader::CALIBRATION_TOO_LITTLE_DATA:
        reason = ": Interface problem. Make sure the manikin is connected correctly.";
        break;
    default:
        break;
    }
    std::wstring line = Gettext::translate("Error calibrating COM") + std::to_wstring(port);
    if (reason)
        line += Gettext::translate(reason);
    return line + L"\n";
}

void CalibrationRun::finish(const WaitHook& beforeWait)
{
    if (beforeWait)
        beforeWait();
    platform::Clock::instance().sleep(SETTLE_MS);
    error_ = false;
    calibratedAny_ = false;
    errorText_ = Gettext::translate("An error occured during calibration.\n");
    for (const int port : ports_) {
        const int status = waitForStatus([&] { return manager_.getCalibrationStatus(port); }, beforeWait);
        const bool done = status == ManikinReader::CALIBRATION_DONE;
        if (done) {
            calibratedAny_ = true;
        } else {
            error_ = true;
            errorText_ += failureLine(port, status);
        }
        manager_.setIsCalibrated(done, port);
        // A measurement that never ended still holds its link open.
        if (SerialPort* link = manager_.getSerPort(port))
            link->close();
    }
}
