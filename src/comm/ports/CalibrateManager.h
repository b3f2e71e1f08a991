#pragma once
// The registry of every manikin and controller port of the station: one link
// and one record per port number 1 to COM_PORTS, the COM and wireless scans,
// the calibration of a port, the hand-over of ports to sessions, the port
// choices of dialogs, and a signal to listeners after every change.

#include "Rodezir/Signal.h"
#include "comm/ports/PortChoice.h"
#include "comm/ports/PortInformation.h"
#include "comm/link/PortNumbers.h"
#include "comm/ports/WirelessDiscovery.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ManikinReader;
class SerialPort;

class CalibrateManager {
public:
    // The station's registry, built on first use.
    static CalibrateManager& get();
    // Ends the station's registry at exit: every link is closed.
    static void destroy();

    // A registry of its own; the wireless scan uses the given search (the
    // real broadcast search when null).
    explicit CalibrateManager(std::unique_ptr<WirelessDiscovery> discovery = nullptr);
    ~CalibrateManager();
    CalibrateManager(const CalibrateManager&) = delete;
    CalibrateManager& operator=(const CalibrateManager&) = delete;

    // Replaces the search the wireless scan runs (null: the broadcast search),
    // so a window test can scan without a network.
    void setWirelessDiscovery(std::unique_ptr<WirelessDiscovery> discovery);

    bool getIsValid(int port) const;
    bool getIsAvailable(int port) const;
    bool getIsCPB(int port) const;
    bool getIsCalibrated(int port) const;
    void setIsCalibrated(bool calibrated, int port);
    SerialPort* getSerPort(int port);

    // Ports that are valid, available, calibrated and not a controller.
    int countReadyManikins() const;
    // Ports that are valid and a controller.
    int countCPB() const;
    std::vector<int> getCPBList() const;

    // A session takes its port when it starts and gives it back at its end.
    void takePort(int port);
    void releasePort(int port);

    // Opens every COM port that no session holds and records what answered.
    void scanComPorts();
    // Searches for wireless manikins and gives each a slot from 257 up.
    void scanWireless();

    // Starts the calibration measurement of a port; false for a port that is
    // not valid, held by a session, a controller, or that cannot be opened.
    bool startCalibration(int port);
    // The measurement's status (5 while it runs, 6 when done; see ManikinReader).
    int getCalibrationStatus(int port);

    // The ports that are available and calibrated, ascending: "USB <n>" for a
    // COM port and the manikin's name for a wireless slot.
    std::vector<PortChoice> usbChoices() const;
    // The same ports as "<n> - USB" and "<n> - <name>".
    std::vector<PortChoice> portChoices() const;
    // The text of any port as portChoices gives it, ready or not; empty for
    // a number that is no port.
    std::string manikinText(int port) const;
    // The port a text names when it is 1 to COM_PORTS, else the first ready
    // port, else 1.
    int findPort(const std::string& text) const;
    int getFirstReadyPort() const;
    // The first ready port in the form of portChoices, or " " when none is ready.
    std::string getFirstReadyPortText() const;

    // Called without arguments after every change of a port's state.
    Signal<> changed;

private:
    static bool validPort(int port);
    bool isReady(int port) const;
    std::string portText(int port) const;
    // Records the outcome of opening a port during a scan.
    void recordOpenResult(int port, int openError, bool wireless);
    void dropCalibrationReader(int port);
    void scanComPort(int port, bool demoMode);
    void placeWirelessReply(const WirelessReply& reply);
    int freeWirelessSlot() const;
    bool holdsWirelessAddress(std::uint32_t address) const;

    std::unique_ptr<WirelessDiscovery> discovery_;
    std::array<PortInformation, COM_PORTS + 1> portInformation;
    std::array<std::unique_ptr<ManikinReader>, COM_PORTS + 1> commList;
};
