#pragma once
// Reads the set-up back from one hand-held controller into a settings
// record: the icon numbers, the languages, the debriefing switches the
// controller carries, both algorithms (names into the record, limits into
// the training records) and the company name. Each step reports its text
// and advances the progress. What a step took over stays when a later one
// fails; an algorithm is stored whole or not at all.

#include <cstdint>
#include <string>
#include <vector>

class CPBMemory;
class CPBProgress;
class PropertyModel;
class SerialPort;
struct AlgorithmRecord;

class CPBGet {
public:
    CPBGet(PropertyModel& settings, CPBProgress& progress);

    // The whole fetch from the controller on the port, which it opens and
    // closes again; true when every step and the closing succeeded. The
    // progress ends with the outcome's text.
    bool get(SerialPort& port);

    // A float from the controller with two decimals, as the station keeps limits.
    static double twoDecimals(float value);

private:
    using Bytes = std::vector<std::uint8_t>;

    bool receiveIcons(CPBMemory& memory);
    bool receiveLanguages(CPBMemory& memory);
    bool receiveConfiguration(CPBMemory& memory);
    bool receiveAlgorithms(CPBMemory& memory);
    bool receiveAlgorithm(CPBMemory& memory, int a, const std::string& name);
    bool storeAlgorithm(AlgorithmRecord limits, std::string& storedName);
    bool receiveCompanyName(CPBMemory& memory);

    // The text from `offset` in the area, byte by byte up to a 0x00 or 0xFF
    // (not kept) or the area's end; `end` is the byte that ended it (0x00 at
    // the area's end).
    bool readText(CPBMemory& memory, int area, int offset, Bytes& out, std::uint8_t& end);
    bool readFloats(CPBMemory& memory, int area, int offset, int count, std::vector<float>& out);

    PropertyModel& settings_;
    CPBProgress& progress_;
    std::wstring problem_;
};
