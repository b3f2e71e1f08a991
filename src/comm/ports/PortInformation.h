#pragma once
// What the port registry knows of one port number: whether a device answered
// there, whether a session holds it, whether its manikin is calibrated, whether
// it is a hand-held controller, and the port's link.

#include "comm/link/SerialPort.h"

#include <memory>

struct PortInformation {
    bool isValid = false;
    bool isAvailable = true;
    bool calibrated = false;
    bool isCPB = false;
    std::unique_ptr<SerialPort> serPort;
};
