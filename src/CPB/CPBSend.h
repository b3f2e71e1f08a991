#pragma once
// Writes the station's set-up into one hand-held controller: icons,
// configuration, both algorithms, company name, languages, plot data and
// debriefing pages, in seven steps that each report their text and advance
// the progress, so a complete transfer ends exactly at its end. The set-up is
// made and checked whole before the link opens; the first failing step ends
// the transfer, and what went before stays in the controller.

#include "CPB/CPBSetup.h"

#include <string>

class CPBMemory;
class CPBProgress;
class PropertyModel;
class SerialPort;

class CPBSend {
public:
    CPBSend(const PropertyModel& settings, CPBProgress& progress);

    // The whole transfer to the controller on the port, which it opens and
    // closes again; true when every step succeeded. The progress ends with
    // the outcome's text.
    bool send(SerialPort& port);

    // The cause of a set-up that could not be sent (empty otherwise).
    const std::wstring& problem() const { return setup_.problem(); }

private:
    bool sendIcons(CPBMemory& memory);
    bool sendOneIcon(CPBMemory& memory, int slot, int number);
    bool sendConfiguration(CPBMemory& memory);
    bool sendAlgorithms(CPBMemory& memory);
    bool sendAlgorithmBlock(CPBMemory& memory, int a);
    bool sendCompanyName(CPBMemory& memory);
    bool sendLanguages(CPBMemory& memory);
    bool sendPlotData(CPBMemory& memory);
    bool sendDebriefing(CPBMemory& memory);
    bool sendBars(CPBMemory& memory, int a);

    const PropertyModel& settings_;
    CPBProgress& progress_;
    CPBSetup setup_;
};
