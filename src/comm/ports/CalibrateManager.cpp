#include "comm/ports/CalibrateManager.h"

#include "Rodezir/LogStream.h"
#include "comm/link/LinkEnvironment.h"
#include "comm/reader/ManikinReader.h"
#include "comm/link/SerialPort.h"
#include "comm/ports/WirelessDiscovery.h"
#include "platform/Clock.h"

#include <cerrno>
#include <cstdlib>

namespace {

std::unique_ptr<CalibrateManager>& theInstance()
{
    static std::unique_ptr<CalibrateManager> instance;
    return instance;
}

// How a scan reads the result of opening a port.
enum class OpenOutcome { Ready, NotReady, Absent };

OpenOutcome classifyComOpen(int openError)
{
    switch (openError) {
    case SerialPort::OPEN_SUCCESS:
        return OpenOutcome::Ready;
    case SerialPort::OPEN_FAILED:
    case SerialPort::OPEN_TIMEOUTS_FAILED:
    case SerialPort::OPEN_STATE_FAILED:
    case SerialPort::OPEN_SETTINGS_REFUSED:
    case SerialPort::OPEN_ALREADY_OPEN:
    case SerialPort::OPEN_NO_DATA:
    case SerialPort::OPEN_NO_ANSWER:
    case SerialPort::OPEN_WRONG_ANSWER:
    case SerialPort::OPEN_NO_CRLF:
        return OpenOutcome::NotReady;
    default:
        return OpenOutcome::Absent;
    }
}

// The wireless scan knows one result fewer: a reply without CR LF counts as no manikin.
OpenOutcome classifyWirelessOpen(int openError)
{
    return openError == SerialPort::OPEN_NO_CRLF ? OpenOutcome::Absent : classifyComOpen(openError);
}

bool isKnownAbsence(int openError)
{
    return openError == SerialPort::OPEN_PORT_NOT_AVAILABLE;
}

// A controller needs a moment after its identification before the next port is opened.
constexpr std::uint32_t CONTROLLER_SETTLE_MS = 100;

} // namespace

CalibrateManager& CalibrateManager::get()
{
    auto& instance = theInstance();
    if (!instance)
        instance = std::make_unique<CalibrateManager>();
    return *instance;
}

void CalibrateManager::destroy()
{
    theInstance().reset();
}

CalibrateManager::CalibrateManager(std::unique_ptr<WirelessDiscovery> discovery)
    : discovery_(discovery ? std::move(discovery) : std::make_unique<WirelessDiscovery>())
{
    for (int port = 1; port <= COM_PORTS; ++port)
        portInformation[port].serPort = std::make_unique<SerialPort>();
}

CalibrateManager::~CalibrateManager()
{
    // Readers go first: a reader never owns its link but reads it to the end.
    for (auto& reader : commList)
        reader.reset();
    for (PortInformation& information : portInformation) {
        if (information.serPort)
            information.serPort->close();
        information.serPort.reset();
    }
    changed.disconnectAll();
}

void CalibrateManager::setWirelessDiscovery(std::unique_ptr<WirelessDiscovery> discovery)
{
    discovery_ = discovery ? std::move(discovery) : std::make_unique<WirelessDiscovery>();
}

bool CalibrateManager::validPort(int port)
{
    KOVA_ASSERT(port>0 && port <= COM_PORTS);
    return port > 0 && port <= COM_PORTS;
}

bool CalibrateManager::getIsValid(int port) const
{
    return validPort(port) && portInformation[port].isValid;
}

bool CalibrateManager::getIsAvailable(int port) const
{
    if (!validPort(port))
        return false;
    const bool available = portInformation[port].isAvailable;
    if (available)
        KOVA_ASSERT(portInformation[port].serPort!=0);
    return available;
}

bool CalibrateManager::getIsCPB(int port) const
{
    return validPort(port) && portInformation[port].isCPB;
}

bool CalibrateManager::getIsCalibrated(int port) const
{
    return validPort(port) && portInformation[port].calibrated;
}

void CalibrateManager::setIsCalibrated(bool calibrated, int port)
{
    if (!validPort(port) || portInformation[port].calibrated == calibrated)
        return;
    portInformation[port].calibrated = calibrated;
    changed.notify();
}

SerialPort* CalibrateManager::getSerPort(int port)
{
    if (!validPort(port))
        return nullptr;
    KOVA_ASSERT(portInformation[port].serPort!=0);
    return portInformation[port].serPort.get();
}

bool CalibrateManager::isReady(int port) const
{
    const PortInformation& information = portInformation[port];
    return information.isAvailable && information.calibrated;
}

int CalibrateManager::countReadyManikins() const
{
    int count = 0;
    for (int port = 1; port <= COM_PORTS; ++port) {
        const PortInformation& information = portInformation[port];
        if (information.isValid && isReady(port) && !information.isCPB)
            ++count;
    }
    return count;
}

int CalibrateManager::countCPB() const
{
    int count = 0;
    for (int port = 1; port <= COM_PORTS; ++port) {
        if (portInformation[port].isValid && portInformation[port].isCPB)
            ++count;
    }
    return count;
}

std::vector<int> CalibrateManager::getCPBList() const
{
    std::vector<int> list;
    for (int port = 1; port <= COM_PORTS; ++port) {
        if (portInformation[port].isCPB)
            list.push_back(port);
    }
    KOVA_ASSERT(list.size() == static_cast<std::size_t>(countCPB()));
    return list;
}

void CalibrateManager::takePort(int port)
{
    if (!validPort(port))
        return;
    KOVA_ASSERT(portInformation[port].isAvailable);
    KOVA_ASSERT(portInformation[port].serPort!=0);
    portInformation[port].isAvailable = false;
    changed.notify();
}

void CalibrateManager::releasePort(int port)
{
    if (!validPort(port))
        return;
    KOVA_ASSERT(portInformation[port].serPort!=0);
    KOVA_ASSERT(portInformation[port].isAvailable==false);
    portInformation[port].isAvailable = true;
    changed.notify();
}

void CalibrateManager::recordOpenResult(int port, int openError, bool wireless)
{
    PortInformation& information = portInformation[port];
    const OpenOutcome outcome = wireless ? classifyWirelessOpen(openError) : classifyComOpen(openError);
    if (outcome == OpenOutcome::Absent && !isKnownAbsence(openError))
        KOVA_ASSERT(openError == SerialPort::OPEN_PORT_NOT_AVAILABLE);

    switch (outcome) {
    case OpenOutcome::Ready:
        information.isValid = true;
        if (wireless) {
            // Wireless manikins report their kind in the handshake and need no measurement.
            information.calibrated = true;
            information.isAvailable = true;
            information.isCPB = false;
        } else {
            if (information.serPort->getKindIs3or4())
                information.calibrated = true;
            information.isCPB = information.serPort->getLinkType() == SerialPort::LINK_CONTROLLER;
            if (information.isCPB)
                platform::Clock::instance().sleep(CONTROLLER_SETTLE_MS);
        }
        break;
    case OpenOutcome::NotReady:
        information.isValid = true;
        information.calibrated = false;
        information.isCPB = false;
        break;
    case OpenOutcome::Absent:
        information.isValid = false;
        information.calibrated = false;
        information.isCPB = false;
        break;
    }
}

void CalibrateManager::scanComPort(int port, bool demoMode)
{
    PortInformation& information = portInformation[port];
    SerialPort* comm = information.serPort.get();
    KOVA_ASSERT(comm!=0);
    if (comm == nullptr)
        return;
    if (demoMode && port >= FIRST_RECORDED_DATA_PORT && port <= LAST_RECORDED_DATA_PORT) {
        // Recorded data answers at once; it is calibrated by its first values.
        information.isValid = true;
        information.calibrated = false;
        information.isCPB = false;
        comm->setKindFlags(true, true);
        return;
    }
    if (!information.isAvailable)
        return;
    recordOpenResult(port, comm->open(port), false);
    comm->close();
}

void CalibrateManager::scanComPorts()
{
    const bool demoMode = LinkEnvironment::demoSwitch();
    for (int port = 1; port <= LAST_COM_PORT; ++port)
        scanComPort(port, demoMode);
    changed.notify();
}

bool CalibrateManager::holdsWirelessAddress(std::uint32_t address) const
{
    for (int port = FIRST_WIRELESS_PORT; port <= COM_PORTS; ++port) {
        if (portInformation[port].serPort->getIpAddress() == address)
            return true;
    }
    return false;
}

int CalibrateManager::freeWirelessSlot() const
{
    for (int port = FIRST_WIRELESS_PORT; port <= COM_PORTS; ++port) {
        if (portInformation[port].serPort->getIpAddress() == 0)
            return port;
    }
    return NO_PORT;
}

void CalibrateManager::placeWirelessReply(const WirelessReply& reply)
{
    // Every slot that still has an address after the reset is either held
    // by a connected link or was given out earlier in this scan: a manikin
    // that answers on two interfaces keeps one slot.
    if (reply.address == 0 || holdsWirelessAddress(reply.address))
        return;
    const int port = freeWirelessSlot();
    if (port == NO_PORT) {
        LogStream::instance() << "No free wireless port for the manikin at "
                              << WirelessDiscovery::dotted(reply.address) << "\n";
        return;
    }
    PortInformation& information = portInformation[port];
    SerialPort& link = *information.serPort;
    link.setIpAddress(reply.address);
    link.setInfo(reply.name.data());
    if (!information.isAvailable)
        return;
    recordOpenResult(port, link.openWireless(port), true);
    link.close();
}

void CalibrateManager::scanWireless()
{
    const std::vector<WirelessReply> replies = discovery_->searchWireless();
    for (int port = FIRST_WIRELESS_PORT; port <= COM_PORTS; ++port) {
        PortInformation& information = portInformation[port];
        if (information.serPort->isConnected())
            continue;
        information.serPort->reset();
        // A slot that lost its manikin must not stay on offer as calibrated.
        information.isValid = false;
        information.calibrated = false;
        information.isCPB = false;
    }
    for (const WirelessReply& reply : replies)
        placeWirelessReply(reply);
    changed.notify();
}

void CalibrateManager::dropCalibrationReader(int port)
{
    if (!commList[port])
        return;
    commList[port]->stop();
    portInformation[port].serPort->close();
    commList[port].reset();
}

bool CalibrateManager::startCalibration(int port)
{
    if (!getIsValid(port) || !getIsAvailable(port) || getIsCPB(port))
        return false;
    SerialPort* link = getSerPort(port);
    if (link == nullptr)
        return false;
    dropCalibrationReader(port);
    commList[port] = std::make_unique<ManikinReader>(*link);
    if (commList[port]->open(port) != ManikinReader::OPEN_SUCCESS) {
        // The reader stays to report "not connected"; the link must not stay
        // half open, or the port's next session could not open it.
        link->close();
        return false;
    }
    commList[port]->startCalibration();
    return true;
}

int CalibrateManager::getCalibrationStatus(int port)
{
    if (!validPort(port))
        return ManikinReader::CALIBRATION_NOT_CONNECTED;
    KOVA_ASSERT(commList[port] != 0);
    if (!commList[port])
        return ManikinReader::CALIBRATION_NOT_CONNECTED;
    const int status = commList[port]->getCalibrationStatus();
    // Every status but "measuring" ends the measurement: the link is closed
    // again so a session can open it, also after a failed calibration.
    if (status != ManikinReader::CALIBRATION_MEASURING) {
        portInformation[port].serPort->close();
        commList[port].reset();
    }
    return status;
}

std::string CalibrateManager::portText(int port) const
{
    const std::string number = std::to_string(port);
    if (isWirelessPortNumber(port))
        return number + " - " + portInformation[port].serPort->getManikinName();
    return number + " - USB";
}

std::string CalibrateManager::manikinText(int port) const
{
    if (port < 1 || port > COM_PORTS)
        return {};
    if (isWirelessPortNumber(port) && !portInformation[port].serPort)
        return std::to_string(port) + " - ";
    return portText(port);
}

std::vector<PortChoice> CalibrateManager::usbChoices() const
{
    std::vector<PortChoice> choices;
    for (int port = 1; port <= COM_PORTS; ++port) {
        if (!isReady(port))
            continue;
        const std::string text = isWirelessPortNumber(port)
            ? std::string(portInformation[port].serPort->getManikinName())
            : "USB " + std::to_string(port);
        choices.push_back({port, text});
    }
    return choices;
}

std::vector<PortChoice> CalibrateManager::portChoices() const
{
    std::vector<PortChoice> choices;
    for (int port = 1; port <= COM_PORTS; ++port) {
        if (isReady(port))
            choices.push_back({port, portText(port)});
    }
    return choices;
}

int CalibrateManager::findPort(const std::string& text) const
{
    // The leading number of the text, as the port choices begin with it.
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (end != text.c_str() && errno == 0 && value > 0 && value <= COM_PORTS)
        return static_cast<int>(value);
    return getFirstReadyPort();
}

int CalibrateManager::getFirstReadyPort() const
{
    for (int port = 1; port <= COM_PORTS; ++port) {
        if (isReady(port))
            return port;
    }
    return 1;
}

std::string CalibrateManager::getFirstReadyPortText() const
{
    for (int port = 1; port <= COM_PORTS; ++port) {
        if (isReady(port))
            return portText(port);
    }
    return " ";
}
