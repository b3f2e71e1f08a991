#pragma once
// A session's link on a port of the station's port registry: the port is
// taken from the registry while the session lives, read by a ManikinReader of
// its own, closed and given back when the session goes.

#include "app/sessions/SessionLink.h"

#include <memory>

class CalibrateManager;
class SerialPort;

class SessionPortLink final : public SessionLink {
public:
    // The port must be valid, available and calibrated, and already opened
    // by whoever chose it (the new-session dialog); anything else is logged.
    SessionPortLink(CalibrateManager& ports, int port);
    // Closes the port and gives it back to the registry.
    ~SessionPortLink() override;
    SessionPortLink(const SessionPortLink&) = delete;
    SessionPortLink& operator=(const SessionPortLink&) = delete;

    int portNumber() const override { return port_; }
    ManikinReader& reader() override { return *reader_; }
    bool isAlive() override;
    int batteryLevel() const override;
    void requestBatteryLevel() override;
    std::string manikinName() const override;
    bool sendsEcg() const override;
    SerialPort* serialPort() const override { return serial_; }
    void sendCommand24(bool on) override;
    void setPulse(bool on) override;
    bool pulseOn() const override;
    bool release() override;
    int reopen() override;

private:
    CalibrateManager& ports_;
    int port_;
    SerialPort* serial_;
    std::unique_ptr<ManikinReader> reader_;
};
