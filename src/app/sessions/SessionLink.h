#pragma once
// The manikin link of one live session as the session uses it: the reader
// that collects the samples, the state of the link, the battery, the few
// commands a session sends, and reopening after the link was lost. The
// station's link is SessionPortLink (a port of the port registry); a test or
// benchmark hands the session a link of its own.

#include <string>

class ManikinReader;
class SerialPort;

class SessionLink {
public:
    virtual ~SessionLink() = default;

    virtual int portNumber() const = 0;
    virtual ManikinReader& reader() = 0;
    virtual bool isAlive() = 0;

    // The level the manikin last reported (255 before any report).
    virtual int batteryLevel() const = 0;
    virtual void requestBatteryLevel() = 0;
    // The manikin's name record, for wireless manikins.
    virtual std::string manikinName() const = 0;
    // Kinds 3 and 4: the manikins that send the ECG byte and take the pulse command.
    virtual bool sendsEcg() const = 0;
    // The station's port under the link, for the ECG rhythm panel that
    // drives the manikin's ECG; null for a link of a test's own.
    virtual SerialPort* serialPort() const { return nullptr; }

    virtual void sendCommand24(bool on) = 0;
    // Sends the pulse command and remembers it as the link's pulse flag.
    virtual void setPulse(bool on) = 0;
    virtual bool pulseOn() const = 0;

    // Gives the device back, even when it refused the farewell; the close result.
    virtual bool release() = 0;
    // Opens the link again on its port (a wireless manikin at its stored
    // address); the open result, 10 when it works.
    virtual int reopen() = 0;
};
