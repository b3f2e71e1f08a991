#include "CPB/CPBSend.h"

#include "CPB/BarGenerator.h"
#include "CPB/CPBAlgorithmBlock.h"
#include "CPB/CPBComm.h"
#include "CPB/CPBIcon.h"
#include "CPB/CPBIconStrip.h"
#include "CPB/CPBMemory.h"
#include "CPB/CPBMessage.h"
#include "CPB/CPBProgress.h"
#include "CPB/Pointer.h"
#include "Rodezir/LogStream.h"
#include "comm/link/SerialPort.h"

#include <array>

namespace {

// What each step adds to the progress; the whole transfer adds up to CPBProgress::RANGE.
constexpr int ICON_SLOT = 23;      // 14 for the large image, 9 for the small one
constexpr int LARGE_ICON = 14;
constexpr int SMALL_ICON = 9;
constexpr int CONFIGURATION = 1;
constexpr int ALGORITHM = 17;
constexpr int COMPANY_NAME = 11;
constexpr int LANGUAGES = 1;
constexpr int PLOTS[CPBSetup::ALGORITHMS] = {8, 9};
constexpr int PAGE = 88;
constexpr std::array<int, BarGenerator::ROWS> BAR_BLOCKS = {15, 15, 30, 15, 30, 15, 15};

constexpr int ALGORITHM_AREAS[CPBSetup::ALGORITHMS] = {Pointer::ALGORITHM_1, Pointer::ALGORITHM_2};
constexpr int NAME_AREAS[CPBSetup::ALGORITHMS] = {Pointer::ALGORITHM_NAME_1, Pointer::ALGORITHM_NAME_2};
constexpr int PLOT_AREAS[CPBSetup::ALGORITHMS] = {Pointer::PLOT_1, Pointer::PLOT_2};
constexpr int BAR_AREAS[CPBSetup::ALGORITHMS] = {Pointer::BARS_1, Pointer::BARS_2};

} // namespace

CPBSend::CPBSend(const PropertyModel& settings, CPBProgress& progress)
    : settings_(settings)
    , progress_(progress)
{
}

bool CPBSend::send(SerialPort& port)
{
    // Made before the link opens: a set-up the controller cannot hold writes nothing.
    bool succeeded = setup_.make(settings_);
    CPBComm link(port);
    if (succeeded)
        succeeded = link.open() == CPBComm::OPEN_ANSWERED;
    CPBMemory memory(link);

    using Step = bool (CPBSend::*)(CPBMemory&);
    static const struct {
        const char* text;
        Step operation;
    } steps[] = {
        {"Sending icons...", &CPBSend::sendIcons},
        {"Sending configuration...", &CPBSend::sendConfiguration},
        {"Sending algorithms...", &CPBSend::sendAlgorithms},
        {"Sending company name...", &CPBSend::sendCompanyName},
        {"Sending languages...", &CPBSend::sendLanguages},
        {"Sending plot data...", &CPBSend::sendPlotData},
        {"Sending debriefing...", &CPBSend::sendDebriefing},
    };
    for (const auto& step : steps) {
        progress_.setText(CPBMessage::text(step.text));
        if (succeeded)
            succeeded = (this->*step.operation)(memory);
    }
    // Released even when a controller that went away mid-transfer cannot be
    // told goodbye, or every later try would find its port still open.
    port.release();
    progress_.setText(CPBMessage::outcome(succeeded, setup_.problem()));
    return succeeded;
}

bool CPBSend::sendIcons(CPBMemory& memory)
{
    CPBMemory::Bytes selection;
    if (!memory.read(Pointer::ICON_SELECTION, 0, NUMBER_OF_ICONS, selection))
        return false;
    KOVA_ASSERT(selection.size() == NUMBER_OF_ICONS);
    if (selection.size() != NUMBER_OF_ICONS)
        return false;
    for (int slot = 0; slot < NUMBER_OF_ICONS; ++slot) {
        const int number = setup_.icons[static_cast<std::size_t>(slot)];
        auto& shown = selection[static_cast<std::size_t>(slot)];
        // The images already there are not sent again.
        if (shown == number) {
            progress_.step(ICON_SLOT);
            continue;
        }
        if (!sendOneIcon(memory, slot, number))
            return false;
        shown = static_cast<std::uint8_t>(number);
    }
    return memory.write(Pointer::ICON_SELECTION, 0, selection);
}

bool CPBSend::sendOneIcon(CPBMemory& memory, int slot, int number)
{
    const auto large = CPBIcon::encodeLarge(CPBIconStrip::forSide(CPBIcon::LARGE_SIDE).icon(number));
    if (!memory.write(Pointer::ICON_LARGE_1 + slot, 0, large))
        return false;
    progress_.step(LARGE_ICON);
    const auto small = CPBIcon::encodeSmall(CPBIconStrip::forSide(CPBIcon::SMALL_SIDE).icon(number));
    if (!memory.write(Pointer::ICON_SMALL_1 + slot, 0, small))
        return false;
    progress_.step(SMALL_ICON);
    return true;
}

bool CPBSend::sendConfiguration(CPBMemory& memory)
{
    progress_.step(CONFIGURATION);
    return memory.write(Pointer::CONFIGURATION, 0, setup_.configuration);
}

bool CPBSend::sendAlgorithms(CPBMemory& memory)
{
    bool succeeded = true;
    for (int a = 0; a < CPBSetup::ALGORITHMS; ++a) {
        const CPBSetup::Algorithm& algorithm = setup_.algorithms[static_cast<std::size_t>(a)];
        if (succeeded)
            succeeded = memory.write(NAME_AREAS[a], 0, algorithm.displayName)
                && memory.write(ALGORITHM_AREAS[a], CPBAlgorithmBlock::NAME, algorithm.blockName)
                && sendAlgorithmBlock(memory, a);
        // Counted for a skipped algorithm too, so the bar never runs short.
        progress_.step(ALGORITHM);
    }
    return succeeded;
}

bool CPBSend::sendAlgorithmBlock(CPBMemory& memory, int a)
{
    for (const CPBAlgorithmBlock::Part& part : CPBAlgorithmBlock::parts(setup_.algorithms[static_cast<std::size_t>(a)].limits))
        if (!memory.write(ALGORITHM_AREAS[a], part.offset, CPBAlgorithmBlock::encodeFloats(part.values)))
            return false;
    return true;
}

bool CPBSend::sendCompanyName(CPBMemory& memory)
{
    progress_.step(COMPANY_NAME);
    return memory.write(Pointer::COMPANY_NAME, 0, setup_.companyName);
}

bool CPBSend::sendLanguages(CPBMemory& memory)
{
    for (int slot = 0; slot < NUMBER_OF_LANGS; ++slot)
        if (!memory.write(Pointer::LANGUAGE_NAME_1 + slot, 0, setup_.languageNames[static_cast<std::size_t>(slot)]))
            return false;
    if (!memory.write(Pointer::LANGUAGES, 0, setup_.languages))
        return false;
    progress_.step(LANGUAGES);
    return true;
}

bool CPBSend::sendPlotData(CPBMemory& memory)
{
    bool succeeded = true;
    for (int a = 0; a < CPBSetup::ALGORITHMS; ++a) {
        if (succeeded)
            succeeded = memory.write(PLOT_AREAS[a], 0, setup_.algorithms[static_cast<std::size_t>(a)].plot);
        progress_.step(PLOTS[a]);
    }
    return succeeded;
}

bool CPBSend::sendDebriefing(CPBMemory& memory)
{
    bool succeeded = true;
    for (int a = 0; a < CPBSetup::ALGORITHMS; ++a) {
        for (int k = 0; k < NUMBER_OF_LANGS; ++k) {
            const auto& page = setup_.algorithms[static_cast<std::size_t>(a)].pages[static_cast<std::size_t>(k)];
            if (succeeded)
                succeeded = memory.write(CPBSetup::pageArea(a, k), 0, page);
            progress_.step(PAGE);
        }
    }
    return succeeded && sendBars(memory, 0) && sendBars(memory, 1);
}

bool CPBSend::sendBars(CPBMemory& memory, int a)
{
    const CPBMemory::Bytes& data = setup_.algorithms[static_cast<std::size_t>(a)].bars;
    for (int row = 0; row < BarGenerator::ROWS; ++row) {
        const std::size_t from = BarGenerator::getMapOffset(row);
        const std::size_t to = row + 1 < BarGenerator::ROWS ? BarGenerator::getMapOffset(row + 1) : data.size();
        const CPBMemory::Bytes block(data.begin() + static_cast<std::ptrdiff_t>(from),
                                     data.begin() + static_cast<std::ptrdiff_t>(to));
        if (!memory.write(BAR_AREAS[a], static_cast<int>(from), block))
            return false;
        progress_.step(BAR_BLOCKS[static_cast<std::size_t>(row)]);
    }
    return true;
}
