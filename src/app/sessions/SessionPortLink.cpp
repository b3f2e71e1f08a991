#include "app/sessions/SessionPortLink.h"

#include "Rodezir/LogStream.h"
#include "comm/ports/CalibrateManager.h"
#include "comm/reader/ManikinReader.h"
#include "comm/link/SerialPort.h"

namespace {

// The link of a port the registry does not know: nothing is open on it, so
// the session finds it lost at its first step.
SerialPort& orphanPort()
{
    static SerialPort port;
    return port;
}

} // namespace

SessionPortLink::SessionPortLink(CalibrateManager& ports, int port)
    : ports_(ports), port_(port), serial_(ports.getSerPort(port))
{
    KOVA_ASSERT(ports_.getIsValid(port_));
    KOVA_ASSERT(ports_.getIsAvailable(port_));
    KOVA_ASSERT(ports_.getIsCalibrated(port_));
    KOVA_ASSERT(serial_!=0);
    if (!serial_)
        serial_ = &orphanPort();
    ports_.takePort(port_);
    reader_ = std::make_unique<ManikinReader>(*serial_);
}

SessionPortLink::~SessionPortLink()
{
    reader_.reset();
    if (serial_ != &orphanPort())
        serial_->close();
    ports_.releasePort(port_);
}

bool SessionPortLink::isAlive() { return serial_->isAlive(); }

int SessionPortLink::batteryLevel() const { return serial_->getBatteryLevel(); }

void SessionPortLink::requestBatteryLevel() { serial_->requestBatteryLevel(); }

std::string SessionPortLink::manikinName() const { return serial_->getManikinName(); }

bool SessionPortLink::sendsEcg() const { return serial_->getKindIs3or4(); }

void SessionPortLink::sendCommand24(bool on) { serial_->sendCommand24(on); }

void SessionPortLink::setPulse(bool on)
{
    serial_->setPulse(on);
    serial_->setPulseOn(on);
}

bool SessionPortLink::pulseOn() const { return serial_->getPulseOn(); }

bool SessionPortLink::release() { return serial_->release(); }

int SessionPortLink::reopen()
{
    // Through the session's reader, wireless manikins too: the reader starts
    // afresh on the reopened link and asks for the data streams again.
    return reader_->open(port_);
}
