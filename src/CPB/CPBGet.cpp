#include "CPB/CPBGet.h"

#include "CPB/CPBAlgorithmBlock.h"
#include "CPB/CPBComm.h"
#include "CPB/CPBConfiguration.h"
#include "CPB/CPBIconStrip.h"
#include "CPB/CPBMemory.h"
#include "CPB/CPBMessage.h"
#include "CPB/CPBProgress.h"
#include "CPB/CPBText.h"
#include "CPB/Pointer.h"
#include "Database/AlgorithmRules.h"
#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Database/DatabaseError.h"
#include "Database/DatabaseTransaction.h"
#include "Database/TablePool.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "comm/link/SerialPort.h"
#include "config/LangStruct.h"
#include "config/PropertyModel.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

namespace {

// What each step adds to the progress; the company name then fills the bar.
constexpr int ICONS_DONE = 30;
constexpr int LANGUAGES_DONE = 15;
constexpr int CONFIGURATION_DONE = 15;
constexpr int INITIAL_VENTILATIONS_READ = 18;
constexpr int LIMITS_READ = 38;
constexpr int UNNAMED_ALGORITHM = INITIAL_VENTILATIONS_READ + 4 * LIMITS_READ;
constexpr int ALGORITHM_DONE = 200;

constexpr std::uint8_t NEVER_WRITTEN = 0xFF;
constexpr int ALGORITHM_AREAS[] = {Pointer::ALGORITHM_1, Pointer::ALGORITHM_2};

// A pair of limits in the controller's block.
struct LimitPair {
    int offset;
    double AlgorithmRecord::*low;
    double AlgorithmRecord::*high;
};
constexpr LimitPair LIMIT_PAIRS[] = {
    {CPBAlgorithmBlock::VENTILATION_RATE, &AlgorithmRecord::vRateLow, &AlgorithmRecord::vRateHigh},
    {CPBAlgorithmBlock::VENTILATION_VOLUME, &AlgorithmRecord::vVolLow, &AlgorithmRecord::vVolHigh},
    {CPBAlgorithmBlock::COMPRESSION_RATE, &AlgorithmRecord::eccRateLow, &AlgorithmRecord::eccRateHigh},
    {CPBAlgorithmBlock::COMPRESSION_DEPTH, &AlgorithmRecord::compDepthLow, &AlgorithmRecord::compDepthHigh},
};

// The switches the controller's configuration gives back; the station keeps
// its own value of the others.
constexpr bool PropertyModel::*TAKEN_BACK[] = {
    &PropertyModel::showInitialVentilations, &PropertyModel::showVentilationRate,
    &PropertyModel::showAverageVolume,       &PropertyModel::showStomachInflations,
    &PropertyModel::showCompressionRate,     &PropertyModel::showCompressionDepth,
    &PropertyModel::showWrongHandPositions,  &PropertyModel::printApprovalFields,
};

// Why a row the algorithm editor would not keep is not taken over.
std::wstring refusal(const AlgorithmRules::Fault& fault, int a, const std::string& name)
{
    const std::wstring quoted = toWide(name, CP_UTF8);
    const std::wstring limit = CPBMessage::text(fault.label);
    switch (fault.kind) {
    case AlgorithmRules::Fault::NO_NAME:
        return CPBMessage::text("Algorithm %s of the controller has a name of only blanks or control characters.",
                                {CPBMessage::number(a + 1)});
    case AlgorithmRules::Fault::OUT_OF_RANGE:
        return CPBMessage::text(
            "The controller's algorithm \"%s\" holds %s %s, outside the range %s to %s the station accepts.",
            {quoted, limit, doubleToWide(fault.value), doubleToWide(fault.least), doubleToWide(fault.most)});
    case AlgorithmRules::Fault::CROSSED:
        break;
    }
    return CPBMessage::text("The controller's algorithm \"%s\" holds %s %s - %s: its low limit is above its high one.",
                            {quoted, limit, doubleToWide(fault.value), doubleToWide(fault.high)});
}

} // namespace

CPBGet::CPBGet(PropertyModel& settings, CPBProgress& progress)
    : settings_(settings)
    , progress_(progress)
{
}

double CPBGet::twoDecimals(float value)
{
    return std::trunc(static_cast<double>(value) * 100.0 + 0.5) / 100.0;
}

bool CPBGet::get(SerialPort& port)
{
    problem_.clear();
    CPBComm link(port);
    bool succeeded = link.open() == CPBComm::OPEN_ANSWERED;
    CPBMemory memory(link);

    using Step = bool (CPBGet::*)(CPBMemory&);
    static const struct {
        const char* text;
        Step operation;
    } steps[] = {
        {"Receiving icons...", &CPBGet::receiveIcons},
        {"Receiving languages...", &CPBGet::receiveLanguages},
        {"Receiving configuration...", &CPBGet::receiveConfiguration},
        {"Receiving algorithms...", &CPBGet::receiveAlgorithms},
        {"Receiving company name...", &CPBGet::receiveCompanyName},
    };
    for (const auto& step : steps) {
        progress_.setText(CPBMessage::text(step.text));
        if (succeeded)
            succeeded = (this->*step.operation)(memory);
    }
    // A port that could not be given back may have lost the last bytes too.
    // Released even when a controller that went away cannot be told
    // goodbye, or every later try would find its port still open.
    const bool closed = port.release();
    succeeded = succeeded && closed;
    progress_.setText(CPBMessage::outcome(succeeded, problem_));
    return succeeded;
}

bool CPBGet::receiveIcons(CPBMemory& memory)
{
    Bytes selection;
    if (!memory.read(Pointer::ICON_SELECTION, 0, NUMBER_OF_ICONS, selection))
        return false;
    KOVA_ASSERT(selection.size() == NUMBER_OF_ICONS);
    if (selection.size() != NUMBER_OF_ICONS)
        return false;
    // A slot never written holds 0xFF, no icon of the station: it keeps the station's icon.
    for (int slot = 0; slot < NUMBER_OF_ICONS; ++slot)
        if (selection[static_cast<std::size_t>(slot)] < CPBIconStrip::ICON_COUNT)
            settings_.setIcon(slot, selection[static_cast<std::size_t>(slot)]);
    progress_.step(ICONS_DONE);
    return true;
}

bool CPBGet::receiveLanguages(CPBMemory& memory)
{
    Bytes positions;
    if (!memory.read(Pointer::LANGUAGES, 0, NUMBER_OF_LANGS, positions))
        return false;
    KOVA_ASSERT(positions.size() == NUMBER_OF_LANGS);
    if (positions.size() != NUMBER_OF_LANGS)
        return false;
    if (positions[0] != NEVER_WRITTEN) {
        for (int slot = 0; slot < NUMBER_OF_LANGS; ++slot) {
            const int index = positions[static_cast<std::size_t>(slot)];
            if (index < LangStruct::ENTRY_COUNT - 1)
                settings_.setLanguage(slot, LangStruct::getCode(index));
        }
    }
    progress_.step(LANGUAGES_DONE);
    return true;
}

bool CPBGet::receiveConfiguration(CPBMemory& memory)
{
    Bytes bytes;
    if (!memory.read(Pointer::CONFIGURATION, 0, CPBConfiguration::BYTES, bytes))
        return false;
    KOVA_ASSERT(bytes.size() == CPBConfiguration::BYTES);
    if (bytes.size() != CPBConfiguration::BYTES)
        return false;
    for (const CPBConfiguration::Flag& flag : CPBConfiguration::flags()) {
        if (std::find(std::begin(TAKEN_BACK), std::end(TAKEN_BACK), flag.setting) == std::end(TAKEN_BACK))
            continue;
        settings_.*flag.setting = (bytes[static_cast<std::size_t>(flag.byte)] >> flag.bit) & 1;
    }
    progress_.step(CONFIGURATION_DONE);
    return true;
}

bool CPBGet::receiveAlgorithms(CPBMemory& memory)
{
    bool succeeded = true;
    for (int a = 0; a < 2; ++a) {
        if (succeeded) {
            Bytes nameBytes;
            std::uint8_t end = 0;
            if (!readText(memory, ALGORITHM_AREAS[a], CPBAlgorithmBlock::NAME, nameBytes, end))
                succeeded = false;
            else if (nameBytes.empty())
                progress_.step(UNNAMED_ALGORITHM); // never written: the station's algorithm stays
            else
                succeeded = receiveAlgorithm(memory, a, CPBText::toUtf8(nameBytes));
        }
        // Counted for a skipped algorithm too, so the bar never runs short.
        progress_.step(ALGORITHM_DONE);
    }
    return succeeded;
}

bool CPBGet::receiveAlgorithm(CPBMemory& memory, int a, const std::string& name)
{
    const int area = ALGORITHM_AREAS[a];
    std::vector<float> values;
    if (!readFloats(memory, area, CPBAlgorithmBlock::INIT_VENT, 1, values))
        return false;
    progress_.step(INITIAL_VENTILATIONS_READ);
    for (const LimitPair& pair : LIMIT_PAIRS) {
        if (!readFloats(memory, area, pair.offset, 2, values))
            return false;
        progress_.step(LIMITS_READ);
    }

    // Every value first, so the row is stored whole or not at all.
    const auto refuse = [this](std::wstring why) {
        problem_ = std::move(why);
        LogStream::instance() << toNarrow(problem_, CP_UTF8) << " Not taken over.\n";
        return false;
    };
    if (!std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); }))
        return refuse(CPBMessage::text("The controller's algorithm \"%s\" holds limits the station does not accept.",
                                       {toWide(name, CP_UTF8)}));
    // The row as the algorithm editor reads what a user typed: the whole
    // initial ventilations, the name without blanks at its ends; then
    // nothing the editor would not let a user keep.
    AlgorithmRecord limits;
    limits.Name = AlgorithmRules::storedName(name);
    limits.initVent = static_cast<std::int32_t>(std::clamp(twoDecimals(values[0]), double{INT32_MIN}, double{INT32_MAX}));
    for (std::size_t k = 0; k < std::size(LIMIT_PAIRS); ++k) {
        limits.*LIMIT_PAIRS[k].low = twoDecimals(values[1 + 2 * k]);
        limits.*LIMIT_PAIRS[k].high = twoDecimals(values[2 + 2 * k]);
    }
    if (const auto fault = AlgorithmRules::firstFault(limits))
        return refuse(refusal(*fault, a, limits.Name));
    std::string storedName;
    if (!storeAlgorithm(limits, storedName))
        return false;
    // Named only now: the record never names an algorithm the table lacks.
    if (a == 0)
        settings_.setAlgorithm1(storedName);
    else
        settings_.setAlgorithm2(storedName);
    return true;
}

// The controller carries nine limits; a row the station has keeps the rest
// (ratios, relaxation shares, pauses), a new one takes the defaults.
bool CPBGet::storeAlgorithm(AlgorithmRecord limits, std::string& storedName)
{
    const std::wstring failed = CPBMessage::text("The algorithm \"%s\" could not be stored.", {toWide(limits.Name, CP_UTF8)});
    try {
        AlgorithmTable table(theDatabase);
        table.open("");
        if (!table.isOpen) {
            problem_ = failed;
            return false;
        }
        const bool exists = table.countKey(limits.Name) > 0;
        // getByName leaves the cursor on the row it found, which edit() changes.
        AlgorithmRecord record = exists ? table.getByName(limits.Name) : AlgorithmRecord();
        if (!exists)
            record.Name = limits.Name;
        record.initVent = limits.initVent;
        for (const LimitPair& pair : LIMIT_PAIRS) {
            record.*pair.low = limits.*pair.low;
            record.*pair.high = limits.*pair.high;
        }
        DatabaseTransaction transaction(theDatabase);
        if (exists)
            table.edit();
        else
            table.addNew();
        table.setRecord(record);
        if (!table.update()) {
            table.cancelUpdate();
            problem_ = failed + L" " + toWide(table.lastError(), CP_UTF8);
            return false;
        }
        transaction.commit();
        storedName = record.Name;
    } catch (const DatabaseError& error) {
        LogStream::instance() << "The fetched algorithm " << limits.Name << " was not stored: " << error.what();
        problem_ = failed + L" " + toWide(error.what(), CP_UTF8);
        return false;
    } catch (const std::bad_alloc&) {
        KOVA_ASSERT(false);
        return false;
    }
    TablePool::refresh(TableKind::Algorithm);
    return true;
}

bool CPBGet::receiveCompanyName(CPBMemory& memory)
{
    Bytes text;
    std::uint8_t end = 0;
    if (!readText(memory, Pointer::COMPANY_NAME, 0, text, end))
        return false;
    // A controller that never got a company name must not wipe the station's.
    if (!text.empty() || end != NEVER_WRITTEN)
        settings_.printHeading = CPBText::toWide(text);
    progress_.setPos(CPBProgress::RANGE);
    return true;
}

bool CPBGet::readText(CPBMemory& memory, int area, int offset, Bytes& out, std::uint8_t& end)
{
    out.clear();
    end = 0x00;
    // Never past the area, whatever the controller holds there.
    const int room = Pointer::size(area) - offset;
    for (int at = 0; at < room; ++at) {
        Bytes byte;
        if (!memory.read(area, offset + at, 1, byte) || byte.size() != 1)
            return false;
        if (byte[0] == 0x00 || byte[0] == NEVER_WRITTEN) {
            end = byte[0];
            return true;
        }
        out.push_back(byte[0]);
    }
    return true;
}

bool CPBGet::readFloats(CPBMemory& memory, int area, int offset, int count, std::vector<float>& out)
{
    Bytes bytes;
    if (!memory.read(area, offset, 4 * count, bytes) || bytes.size() != static_cast<std::size_t>(4 * count))
        return false;
    const std::vector<float> values = CPBAlgorithmBlock::decodeFloats(bytes);
    out.insert(out.end(), values.begin(), values.end());
    return true;
}
