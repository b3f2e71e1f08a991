// What the manikin search window decides without a window: the line of each
// port, the wait for a calibration and the texts of its failures.

#include "app/search/CalibrationRun.h"
#include "app/search/PortLine.h"

#include "platform/ManualClock.h"
#include "platform/ScopedClock.h"

#include <gtest/gtest.h>

#include <string>

namespace {

PortLine::Flags openedWith(int result)
{
    PortLine::Flags flags;
    flags.lastOpenResult = result;
    return flags;
}

} // namespace

TEST(PortLine, comPortStateFollowsTheFlagsAndTheLastOpenResult)
{
    struct Case {
        PortLine::Flags flags;
        const wchar_t* text;
        bool checked;
        bool enabled;
        bool counted;
    };
    PortLine::Flags calibrated = openedWith(10);
    calibrated.calibrated = true;
    PortLine::Flags controller = openedWith(10);
    controller.controller = true;
    PortLine::Flags taken = openedWith(10);
    taken.available = false;
    taken.calibrated = true;
    const Case cases[] = {
        {openedWith(10), L"COM 5: - Need calibration", true, true, true},
        {calibrated, L"COM 5: - Calibrated", false, true, true},
        {controller, L"COM 5: - REV Evezodidaz", false, false, true},
        {taken, L"COM 5: - Is in use", false, false, false},
        {openedWith(8), L"COM 5: - No interface", false, true, true},
        {openedWith(1), L"COM 5: - Problem with COM port", false, true, false},
        {openedWith(2), L"COM 5: - Problem with COM port", false, true, false},
        {openedWith(3), L"COM 5: - Problem with COM port", false, true, false},
        {openedWith(6), L"COM 5: - Problem with interface", false, true, false},
        {openedWith(9), L"COM 5: - Problem with interface", false, true, false},
        {openedWith(0), L"COM 5: - Used by other application", false, true, false},
        {openedWith(5), L"COM 5: - Used by other application", false, true, false},
        {openedWith(4), L"COM 5:", false, false, false},
        {openedWith(7), L"COM 5:", false, false, false},
        {openedWith(11), L"COM 5:", false, false, false},
        {openedWith(12), L"COM 5:", false, false, false},
    };
    for (const Case& c : cases) {
        const PortLine line = PortLine::forComPort(5, c.flags);
        SCOPED_TRACE(std::to_string(c.flags.lastOpenResult));
        EXPECT_EQ(line.text, c.text);
        EXPECT_EQ(line.checked, c.checked);
        EXPECT_EQ(line.enabled, c.enabled);
        EXPECT_EQ(line.counted, c.counted);
    }
    // A session's port stays "in use" whatever its last open said.
    taken.lastOpenResult = 4;
    EXPECT_EQ(PortLine::forComPort(256, taken).text, L"COM 256: - Is in use");
}

TEST(PortLine, wirelessManikinsShowTheirNameAndAreNeverCheckable)
{
    const std::string record = std::string("Anne") + std::string(29, '\0');
    PortLine::Flags ready = openedWith(10);
    ready.calibrated = true;
    PortLine::Flags controller = openedWith(10);
    controller.controller = true;
    PortLine::Flags held = ready;
    held.available = false;
    struct Case {
        PortLine::Flags flags;
        const wchar_t* text;
        bool counted;
    };
    const Case cases[] = {
        {ready, L"Anne : - Ready to use", true},
        {controller, L"Anne : - REV Evezodidaz", true},
        {openedWith(10), L"Anne : - Unknown device", true},
        {held, L"Anne : - Is in use", false},
    };
    for (const Case& c : cases) {
        const PortLine line = PortLine::forWirelessPort(record, c.flags);
        EXPECT_EQ(line.text, c.text);
        EXPECT_FALSE(line.checked) << line.text.size();
        EXPECT_FALSE(line.enabled);
        EXPECT_EQ(line.counted, c.counted);
    }
}

TEST(PortLine, aManikinNameIsReadWithinItsRecordEvenWithoutAnEndingZero)
{
    // 33 name bytes and no zero among them: the name stops at the record's end.
    const std::string full(33, 'M');
    const std::string beyond = full + "TRAILING";
    EXPECT_EQ(PortLine::manikinName(beyond), full);
    EXPECT_EQ(PortLine::manikinName(std::string("Ann\0Old name", 12)), "Ann");
    EXPECT_EQ(PortLine::manikinName(""), "");
    // UTF-8 names come through as they are.
    EXPECT_EQ(PortLine::forWirelessPort("Bj\xc3\xb6rn", openedWith(10)).text, L"Bj\u00f6rn : - Unknown device");
}

TEST(CalibrationRun, waitsOneSecondBetweenPollsAndGivesUpAfterAHundred)
{
    struct Case {
        const char* what;
        int measuringPolls; // polls that answer 5 before `then`
        int then;
        int status;
        int sleeps;
    };
    const Case cases[] = {
        {"done at once", 0, 6, 6, 0},
        {"done after three seconds", 3, 6, 6, 3},
        {"moved on the hundredth poll", 100, 3, 4, 100},
        {"done on the hundredth poll", 100, 6, 6, 100},
        {"moved before the limit", 99, 3, 3, 99},
        {"never done", 1000, 6, 4, 100},
    };
    for (const Case& c : cases) {
        platform::ManualClock clock;
        platform::ScopedClock inForce(clock);
        int polls = 0;
        int hooks = 0;
        const int status = CalibrationRun::waitForStatus(
            [&] { return polls++ < c.measuringPolls ? 5 : c.then; }, [&] { ++hooks; });
        EXPECT_EQ(status, c.status) << c.what;
        EXPECT_EQ(clock.sleeps(), c.sleeps) << c.what;
        EXPECT_EQ(clock.sleptTotal(), 1000u * static_cast<unsigned>(c.sleeps)) << c.what;
        EXPECT_EQ(hooks, c.sleeps) << c.what;
    }
}

TEST(CalibrationRun, eachFailureNamesItsPortAndReason)
{
    const std::wstring notFound = L": Could not find manikin. Make sure the manikin is connected correctly.\n";
    const std::wstring moved = L": The manikin was probably moved during calibration, or the cable is not connected.\n";
    EXPECT_EQ(CalibrationRun::failureLine(5, 0), L"Error calibrating COM5" + notFound);
    EXPECT_EQ(CalibrationRun::failureLine(5, 1), L"Error calibrating COM5" + notFound);
    EXPECT_EQ(CalibrationRun::failureLine(12, 2), L"Error calibrating COM12" + moved);
    EXPECT_EQ(CalibrationRun::failureLine(12, 3), L"Error calibrating COM12" + moved);
    EXPECT_EQ(CalibrationRun::failureLine(247, 4),
              L"Error calibrating COM247: Interface problem. Make sure the manikin is connected correctly.\n");
    EXPECT_EQ(CalibrationRun::failureLine(7, 9), L"Error calibrating COM7\n");
}
