// Sending the set-up to a simulated controller on a pseudo-terminal and
// fetching it back, with the algorithms in the training records (SQLite, and
// the throwaway PostgreSQL server under its own prefix).

#include "RecordsFixture.h"
#include "TransferTestSupport.h"

#include "CPB/BarGenerator.h"
#include "CPB/CPBAlgorithmBlock.h"
#include "CPB/CPBGet.h"
#include "CPB/CPBIcon.h"
#include "CPB/CPBIconStrip.h"
#include "CPB/CPBSend.h"
#include "CPB/DebriefGenerator.h"
#include "CPB/GraphGenerator.h"
#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Rodezir/LogStream.h"
#include "comm/link/SerialPort.h"
#include "config/LangStruct.h"
#include "config/PropertyModel.h"
#include "platform/ScopedClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <set>

using namespace transfertest;

namespace {

constexpr int PORT = 5;

std::string readable(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

class SetupTransfer : public RecordsFixture {
protected:
    void SetUp() override
    {
        LogStream::destroy();
        RecordsFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        openRecords();
        startController({});
    }

    void TearDown() override
    {
        port.close();
        ::setenv("KOVA_PORT_MAP", "", 1);
        RecordsFixture::TearDown();
        LogStream::destroy();
    }

    // A new controller on the port, found as the registry's scan finds it.
    void startController(controllersim::ControllerOptions options)
    {
        port.close();
        controller = std::make_unique<controllersim::ControllerSimulator>(options);
        ASSERT_TRUE(controller->open());
        clock.controllers = {controller.get()};
        ::setenv("KOVA_PORT_MAP", (std::to_string(PORT) + "=" + controller->devicePath()).c_str(), 1);
        ASSERT_EQ(port.open(PORT), SerialPort::OPEN_SUCCESS);
        ASSERT_EQ(port.getLinkType(), SerialPort::LINK_CONTROLLER);
        port.close();
        controller->pump();
        progress = RecordingProgress();
    }

    bool send(const PropertyModel& settings)
    {
        progress = RecordingProgress();
        return CPBSend(settings, progress).send(port);
    }
    bool get(PropertyModel& settings)
    {
        progress = RecordingProgress();
        return CPBGet(settings, progress).get(port);
    }

    controllersim::ControllerDevice device() const { return controller->device(); }

    static void addAlgorithm(const AlgorithmRecord& record)
    {
        AlgorithmTable table(theDatabase);
        table.open("");
        ASSERT_TRUE(table.isOpen);
        table.addNew();
        table.setRecord(record);
        ASSERT_TRUE(table.update()) << table.lastError();
    }
    // The stored row, and how many rows carry the name.
    static AlgorithmRecord stored(const std::string& name, int* count = nullptr)
    {
        AlgorithmTable table(theDatabase);
        table.open("");
        if (count)
            *count = table.countKey(name);
        return table.getByName(name);
    }

    void putAlgorithm(int a, const std::string& name, const std::vector<float>& limits)
    {
        controller->change([&](controllersim::ControllerDevice& d) { transfertest::putAlgorithm(d, a, name, limits); });
    }

    kovatest::TempDir station;
    kovatest::ScopedCwd inStation{station.path()};
    ControllersClock clock;
    platform::ScopedClock clockInUse{clock};
    std::unique_ptr<controllersim::ControllerSimulator> controller;
    SerialPort port;
    RecordingProgress progress;
};

const std::vector<std::wstring> SEND_STEPS = {L"Sending icons...",     L"Sending configuration...",
                                              L"Sending algorithms...", L"Sending company name...",
                                              L"Sending languages...", L"Sending plot data...",
                                              L"Sending debriefing..."};
const std::wstring FAILED = L"An error occured, please try again.";

Bytes floats(std::vector<float> values) { return CPBAlgorithmBlock::encodeFloats(values); }

} // namespace

TEST_F(SetupTransfer, sendingWritesTheWholeSetUpAsTheGeneratorsMakeIt)
{
    const PropertyModel settings;
    ASSERT_TRUE(send(settings));
    const auto d = device();
    EXPECT_EQ(d.faultyRequests(), 0);
    EXPECT_FALSE(port.isConnected());

    std::vector<std::wstring> shown;
    for (const auto& [text, at] : progress.texts)
        shown.push_back(text);
    std::vector<std::wstring> expectedTexts = SEND_STEPS;
    expectedTexts.push_back(L"Transfer done.");
    EXPECT_EQ(shown, expectedTexts);
    EXPECT_TRUE(progress.neverMovedBack());
    EXPECT_EQ(progress.position, 1000);
    // Where each step starts: icons 138, configuration 1, algorithms 34, company 11, languages 1, plots 17.
    const int starts[] = {0, 138, 139, 173, 184, 185, 202};
    for (std::size_t i = 0; i < SEND_STEPS.size(); ++i)
        EXPECT_EQ(progress.positionAt(SEND_STEPS[i]), starts[i]) << readable(SEND_STEPS[i]);

    EXPECT_EQ(area(d, Pointer::ICON_SELECTION), (Bytes{0, 1, 2, 3, 4, 5}));
#ifdef KOVA_STATION_PICTURES
    // The station's own pictures, so the bytes below are real icons and not blank ones compared with blank ones.
    ASSERT_EQ(CPBIconStrip::forSide(32).count(), CPBIconStrip::ICON_COUNT);
    ASSERT_EQ(CPBIconStrip::forSide(24).count(), CPBIconStrip::ICON_COUNT);
    const CPBIconStrip blankLarge(nullptr, 0, 32);
    const CPBIconStrip blankSmall(nullptr, 0, 24);
    std::set<Bytes> differentIcons;
#endif
    for (int slot = 0; slot < NUMBER_OF_ICONS; ++slot) {
        const Bytes large = area(d, Pointer::ICON_LARGE_1 + slot);
        const Bytes small = area(d, Pointer::ICON_SMALL_1 + slot);
        EXPECT_EQ(large, CPBIcon::encodeLarge(CPBIconStrip::forSide(32).icon(slot))) << slot;
        EXPECT_EQ(small, CPBIcon::encodeSmall(CPBIconStrip::forSide(24).icon(slot))) << slot;
#ifdef KOVA_STATION_PICTURES
        EXPECT_NE(large, CPBIcon::encodeLarge(blankLarge.icon(slot))) << slot;
        EXPECT_NE(small, CPBIcon::encodeSmall(blankSmall.icon(slot))) << slot;
        differentIcons.insert(large);
        differentIcons.insert(small);
#endif
    }
#ifdef KOVA_STATION_PICTURES
    EXPECT_EQ(differentIcons.size(), 2u * NUMBER_OF_ICONS) << "six pictures, each large and small";
#endif
    EXPECT_EQ(area(d, Pointer::CONFIGURATION), (Bytes{0xFF, 0xBF, 0xE0}));

    const AlgorithmRecord limits; // neither name is in the records: the default limits go
    for (const auto& [a, name] : {std::pair{0, std::string("AHA 2010")}, std::pair{1, std::string("ERC 2010")}}) {
        const int block = a == 0 ? Pointer::ALGORITHM_1 : Pointer::ALGORITHM_2;
        EXPECT_EQ(area(d, a == 0 ? Pointer::ALGORITHM_NAME_1 : Pointer::ALGORITHM_NAME_2),
                  text(name + std::string(40 - name.size(), ' ')));
        Bytes blockName = text(name);
        blockName.push_back(0);
        EXPECT_EQ(area(d, block, 0x80, static_cast<int>(blockName.size())), blockName);
        EXPECT_EQ(area(d, block, 0x00, 4), floats({2.0f}));
        EXPECT_EQ(area(d, block, 0x04, 8), floats({6.0f, 9.0f}));
        EXPECT_EQ(area(d, block, 0x0C, 8), floats({0.4f, 0.6f}));
        EXPECT_EQ(area(d, block, 0x28, 8), floats({90.0f, 110.0f}));
        EXPECT_EQ(area(d, block, 0x40, 8), floats({40.0f, 50.0f}));
        EXPECT_EQ(area(d, block, 0x14, 20), Bytes(20, 0xFF)) << "bytes the station does not write";

        const BarGenerator bars(settings, a + 1);
        EXPECT_EQ(area(d, a == 0 ? Pointer::BARS_1 : Pointer::BARS_2), bars.getBarData());
        const Bytes plot = GraphGenerator(40.0f, 50.0f, 0.4f, 0.6f).getData();
        EXPECT_EQ(area(d, a == 0 ? Pointer::PLOT_1 : Pointer::PLOT_2, 0, static_cast<int>(plot.size())), plot);
        for (int k = 0; k < NUMBER_OF_LANGS; ++k) {
            const DebriefGenerator page(settings, k, bars, name);
            EXPECT_EQ(area(d, CPBSetup::pageArea(a, k), 0, static_cast<int>(page.size())), page.getData());
        }
    }
    EXPECT_EQ(area(d, Pointer::COMPANY_NAME, 0, 2), (Bytes{0x00, 0xFF}));
    EXPECT_EQ(area(d, Pointer::LANGUAGES), (Bytes{0, 1, 2}));
    EXPECT_EQ(area(d, Pointer::LANGUAGE_NAME_1), text("English   "));
    EXPECT_EQ(area(d, Pointer::LANGUAGE_NAME_2), text("German    "));
    EXPECT_EQ(area(d, Pointer::LANGUAGE_NAME_3), text("French    "));

    // Again: the controller already shows these icons, so only their numbers are read and written back.
    const std::size_t before = d.requests().size();
    ASSERT_TRUE(send(settings));
    const auto again = device();
    for (std::size_t i = before; i < again.requests().size(); ++i)
        EXPECT_NE(again.requests()[i].bank, Pointer::ICON_BANK) << i;
    const auto& first = again.requests()[before];
    const auto& second = again.requests()[before + 1];
    EXPECT_EQ(std::tuple(first.command, first.offset, first.length), std::tuple(std::uint8_t{2}, std::uint16_t{0x7FF0}, 6));
    EXPECT_EQ(std::tuple(second.command, second.offset, second.length), std::tuple(std::uint8_t{1}, std::uint16_t{0x7FF0}, 6));
    EXPECT_EQ(progress.positionAt(L"Sending configuration..."), 138);
    EXPECT_EQ(progress.position, 1000);
}

TEST_F(SetupTransfer, namesLongerThanTheirSlotsAreCutAndNothingBesideIsOverwritten)
{
    PropertyModel settings;
    settings.setAlgorithm1(std::string(140, 'A'));
    settings.setAlgorithm2("B\xC3\xA5rd " + std::string(50, 'b'));
    settings.printHeading = std::wstring(300, L'K');
    settings.setIcon(0, 96);
    ASSERT_TRUE(send(settings)) << readable(progress.lastText());
    const auto d = device();

    EXPECT_EQ(area(d, Pointer::ALGORITHM_NAME_1), text(std::string(40, 'A')));
    EXPECT_EQ(area(d, Pointer::ALGORITHM_NAME_2), text("B\xE5rd " + std::string(35, 'b')));
    Bytes blockName = text(std::string(127, 'A'));
    blockName.push_back(0);
    EXPECT_EQ(area(d, Pointer::ALGORITHM_1, 0x80, 128), blockName);
    EXPECT_EQ(area(d, Pointer::ALGORITHM_2, 0x00, 4), floats({2.0f})) << "algorithm 1's name stops at its block";
    Bytes company(255, 'K');
    company.push_back(0);
    EXPECT_EQ(area(d, Pointer::COMPANY_NAME), company);
    EXPECT_EQ(area(d, Pointer::ALGORITHM_1, 0x00, 4), floats({2.0f})) << "the company name stops at its area";
    EXPECT_EQ(area(d, Pointer::ICON_SELECTION)[0], 96);
    EXPECT_EQ(area(d, Pointer::ICON_LARGE_1), CPBIcon::encodeLarge(CPBIconStrip::forSide(32).icon(96)));
}

TEST_F(SetupTransfer, aSetUpTheControllerCannotHoldIsRefusedBeforeTheLinkOpens)
{
    const struct {
        const char* name;
        std::function<void(PropertyModel&)> change;
        std::wstring cause;
    } cases[] = {
        {"language", [](PropertyModel& s) { s.setLanguage(1, "xx"); },
         L"Language 2: \"xx\" is no language the controller can show."},
        {"empty language", [](PropertyModel& s) { s.setLanguage(2, ""); },
         L"Language 3: \"\" is no language the controller can show."},
        {"icon past the last", [](PropertyModel& s) { s.setIcon(3, 97); }, L"Icon 4: there is no icon number 97."},
        {"no icon", [](PropertyModel& s) { s.setIcon(0, -1); }, L"Icon 1: there is no icon number -1."},
        {"unnamed algorithm", [](PropertyModel& s) { s.setAlgorithm2(""); }, L"Algorithm 2 has no name."},
        {"page too large", [](PropertyModel& s) { s.printHeading = std::wstring(1500, L'K'); },
         L"The debriefing page of algorithm 1 in English takes "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PropertyModel settings;
        c.change(settings);
        EXPECT_FALSE(send(settings));
        EXPECT_TRUE(device().requests().empty());
        EXPECT_EQ(progress.lastText().rfind(FAILED + L"\n" + c.cause, 0), 0u) << readable(progress.lastText());
        EXPECT_EQ(progress.texts.size(), SEND_STEPS.size() + 1) << "every step text still passes";
        EXPECT_EQ(progress.position, 0);
    }
}

TEST_F(SetupTransfer, aLineCutWhileSendingEndsTheTransferWhereItBroke)
{
    const PropertyModel settings;
    ASSERT_TRUE(send(settings));
    const auto reference = device();
    const struct {
        const char* name;
        int area;
    } cases[] = {
        {"icons", Pointer::ICON_LARGE_3},
        {"algorithms", Pointer::ALGORITHM_NAME_2},
        {"pages", Pointer::DEBRIEF_A1_L2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int cut = firstRequestInto(reference, c.area);
        ASSERT_GT(cut, 0);
        controllersim::ControllerOptions options;
        options.cutAfterRequests = cut;
        startController(options);
        const std::uint32_t start = clock.tickCount();
        EXPECT_FALSE(send(settings));
        // One block's ten tries, each with its waits, and nothing after it.
        EXPECT_LT(clock.tickCount() - start, 10000u);
        EXPECT_FALSE(port.isConnected());
        EXPECT_EQ(progress.lastText(), FAILED);
        EXPECT_TRUE(progress.neverMovedBack());
        const auto d = device();
        EXPECT_EQ(static_cast<int>(d.requests().size()), cut + 1);
        // What went before the cut stays in the controller.
        EXPECT_EQ(area(d, Pointer::ICON_LARGE_1), area(reference, Pointer::ICON_LARGE_1));
    }
}

TEST_F(SetupTransfer, fetchingTakesBackWhatASendWrote)
{
    AlgorithmRecord guideline;
    guideline.Name = "AHA 2010 (American Heart Association)";
    guideline.builtIn = true;
    guideline.ventCompRatioSingleComp = 30;
    guideline.compRelaxRecc = 45;
    guideline.pauseEccMax = 7;
    addAlgorithm(guideline);

    PropertyModel sent;
    sent.setAlgorithm1("AHA 2010 (American Heart Association)");
    sent.setAlgorithm2("Hjerte-Lunge \xC3\x85rhus");
    sent.setLanguage(0, "da");
    sent.setLanguage(1, "en");
    sent.setLanguage(2, "nl");
    for (int slot = 0; slot < NUMBER_OF_ICONS; ++slot)
        sent.setIcon(slot, 90 - slot);
    sent.printHeading = L"Kursus \u00C5lborg";
    sent.showStomachInflations = false;
    sent.printApprovalFields = false;
    ASSERT_TRUE(send(sent)) << readable(progress.lastText());

    // The controller's limits of the guideline differ from the station's.
    putAlgorithm(0, "AHA 2010 (American Heart Association)", {2.0f, 8, 12, 0.4000001f, 0.7f, 100, 120, 50, 60});
    PropertyModel fetched;
    ASSERT_TRUE(get(fetched)) << readable(progress.lastText());
    EXPECT_FALSE(port.isConnected());
    EXPECT_EQ(progress.lastText(), L"Transfer done.");
    EXPECT_TRUE(progress.neverMovedBack());
    EXPECT_EQ(progress.positionAt(L"Receiving company name..."), 800);
    EXPECT_EQ(progress.position, 1000);

    EXPECT_EQ(fetched.getAlgorithm1(), sent.getAlgorithm1());
    EXPECT_EQ(fetched.getAlgorithm2(), sent.getAlgorithm2());
    EXPECT_EQ(fetched.languages, sent.languages);
    EXPECT_EQ(fetched.icons, sent.icons);
    EXPECT_EQ(fetched.printHeading, sent.printHeading);
    EXPECT_FALSE(fetched.showStomachInflations);
    EXPECT_FALSE(fetched.printApprovalFields);

    // The built-in guideline keeps what the controller does not carry: 30:2 stays 30:2.
    AlgorithmRecord expected = guideline;
    expected.initVent = 2;
    expected.vRateLow = 8;
    expected.vRateHigh = 12;
    expected.vVolLow = 0.4;
    expected.vVolHigh = 0.7;
    expected.eccRateLow = 100;
    expected.eccRateHigh = 120;
    expected.compDepthLow = 50;
    expected.compDepthHigh = 60;
    int rows = 0;
    EXPECT_EQ(stored(guideline.Name, &rows), expected);
    EXPECT_EQ(rows, 1);

    // The new guideline is the user's, with the default ratios.
    AlgorithmRecord added;
    added.Name = "Hjerte-Lunge \xC3\x85rhus";
    EXPECT_EQ(stored(added.Name, &rows), added);
    EXPECT_EQ(rows, 1);
}

TEST_F(SetupTransfer, aControllerNeverWrittenLeavesTheSetUp)
{
    // A fresh controller answers FF everywhere; a name area cleared to 00 is as empty.
    for (const std::uint8_t nameStart : {std::uint8_t{0xFF}, std::uint8_t{0x00}}) {
        SCOPED_TRACE(static_cast<int>(nameStart));
        controller->change([&](controllersim::ControllerDevice& d) {
            for (int block : {Pointer::ALGORITHM_1, Pointer::ALGORITHM_2}) {
                setArea(d, block, CPBAlgorithmBlock::NAME, {nameStart, 'X', 'Y', 0});
                setArea(d, block, 0x00, floats({3.0f}));
            }
        });
        PropertyModel settings;
        settings.printHeading = L"Kova Training Centre";
        settings.setAlgorithm2("Own guideline");
        const PropertyModel before = settings;
        ASSERT_TRUE(get(settings)) << readable(progress.lastText());
        // Only the eight switches follow the controller's configuration bytes, all on here.
        EXPECT_TRUE(settings == before);
        EXPECT_EQ(progress.positionAt(L"Receiving company name..."), 30 + 15 + 15 + 2 * (170 + 200));
        int rows = 0;
        stored("Own guideline", &rows);
        EXPECT_EQ(rows, 0);
        stored("XY", &rows);
        EXPECT_EQ(rows, 0);
    }
}

TEST_F(SetupTransfer, bytesOutsideTheTablesLeaveTheirSlots)
{
    const struct {
        Bytes icons;
        Bytes languages;
        std::vector<int> expectedIcons;
        std::vector<std::string> expectedLanguages;
    } cases[] = {
        {{7, 0xFF, 97, 96, 0, 1}, {3, 12, 5}, {7, 1, 2, 96, 0, 1}, {"es", "de", "pt"}},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {0xFF, 1, 1}, {0, 1, 2, 3, 4, 5}, {"en", "de", "fr"}},
        {{9, 9, 9, 9, 9, 9}, {11, 0xFF, 0x80}, {9, 9, 9, 9, 9, 9}, {"ko", "de", "fr"}},
    };
    for (const auto& c : cases) {
        controller->change([&](controllersim::ControllerDevice& d) {
            setArea(d, Pointer::ICON_SELECTION, 0, c.icons);
            setArea(d, Pointer::LANGUAGES, 0, c.languages);
        });
        PropertyModel settings;
        ASSERT_TRUE(get(settings));
        EXPECT_EQ(std::vector<int>(settings.icons.begin(), settings.icons.end()), c.expectedIcons);
        EXPECT_EQ(settings.languages, c.expectedLanguages);
    }
}

TEST_F(SetupTransfer, rowsTheAlgorithmEditorWouldNotKeepAreNotTakenOver)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const std::vector<float> good = {2, 6, 9, 0.4f, 0.6f, 90, 110, 40, 50};
    const std::wstring notANumber = L"The controller's algorithm \"Broken guideline\" holds limits the station does not accept.";
    const auto outside = [](const std::wstring& limit) {
        return L"The controller's algorithm \"Broken guideline\" holds " + limit + L" the station accepts.";
    };
    const auto crossed = [](const std::wstring& limits) {
        return L"The controller's algorithm \"Broken guideline\" holds " + limits
            + L": its low limit is above its high one.";
    };
    const std::wstring unnamed = L"Algorithm 1 of the controller has a name of only blanks or control characters.";
    const struct {
        const char* what;
        std::string name;
        std::vector<std::pair<int, float>> changes;
        std::wstring why;
    } cases[] = {
        {"not a number", "Broken guideline", {{3, nan}}, notANumber},
        {"infinite", "Broken guideline", {{8, infinity}}, notANumber},
        {"ventilation rate", "Broken guideline", {{2, 101}}, outside(L"Ventilation rate 101, outside the range 0 to 100")},
        {"initial ventilations", "Broken guideline", {{0, 21.0f}},
         outside(L"Initial ventilations 21, outside the range 0 to 20")},
        {"volume", "Broken guideline", {{4, 5.01f}}, outside(L"Ventilation volume 5.01, outside the range 0 to 5")},
        {"ECC rate", "Broken guideline", {{5, 0.5f}}, outside(L"ECC rate 0.5, outside the range 1 to 250")},
        {"depth", "Broken guideline", {{8, 250.01f}}, outside(L"Compression depth 250.01, outside the range 1 to 250")},
        // Low limits above their high ones, as a controller gave them back.
        {"ventilation rate crossed", "Broken guideline", {{1, 60}, {2, 6}}, crossed(L"Ventilation rate 60 - 6")},
        {"ECC rate crossed", "Broken guideline", {{5, 200}, {6, 91}}, crossed(L"ECC rate 200 - 91")},
        {"depth crossed", "Broken guideline", {{7, 200}, {8, 41}}, crossed(L"Compression depth 200 - 41")},
        {"blank name", "    ", {}, unnamed},
        {"control bytes", std::string("\x01\x02\x1F\x7F", 4), {}, unnamed},
        {"blanks and control bytes", std::string("\t \x03 \r", 5), {}, unnamed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<float> limits = good;
        for (const auto& [index, value] : c.changes)
            limits[static_cast<std::size_t>(index)] = value;
        putAlgorithm(0, c.name, limits);
        PropertyModel settings;
        EXPECT_FALSE(get(settings));
        EXPECT_EQ(progress.lastText(), FAILED + L"\n" + c.why);
        EXPECT_EQ(settings.getAlgorithm1(), "AHA 2010");
        EXPECT_TRUE(column("Algorithm", "Name").empty());
    }
    // At the ends of the editor's ranges the limits are taken, a low limit
    // equal to its high one too; the name loses its blanks as a typed one does.
    putAlgorithm(0, " \x01" "Edge rule\t ", {20, 0, 0, 5, 0, 250, 250, 1, 250});
    PropertyModel settings;
    EXPECT_TRUE(get(settings)) << readable(progress.lastText());
    EXPECT_EQ(settings.getAlgorithm1(), "Edge rule");
    const AlgorithmRecord edge = stored("Edge rule");
    EXPECT_EQ(edge.compDepthHigh, 250.0);
    EXPECT_EQ(edge.eccRateLow, 250.0);
    EXPECT_EQ(edge.vVolLow, 5.0) << "the volumes may cross";
    EXPECT_EQ(column("Algorithm", "Name"), std::vector<std::string>{"Edge rule"});
}

TEST_F(SetupTransfer, aFetchWhosePortWillNotCloseHasFailed)
{
    // The line goes the moment the last step is done, so the station's farewell finds no one.
    PropertyModel settings;
    bool cut = false;
    progress.onPosition = [&](int position) {
        if (position == 1000 && !cut) {
            cut = true;
            controller->stop();
        }
    };
    EXPECT_FALSE(CPBGet(settings, progress).get(port));
    EXPECT_TRUE(cut);
    EXPECT_EQ(progress.lastText(), FAILED);
    EXPECT_EQ(progress.position, 1000);
}

TEST_F(SetupTransfer, aLineCutDuringTheSecondAlgorithmKeepsWhatCameBefore)
{
    putAlgorithm(0, "First guideline", {3, 7, 10, 0.5f, 0.8f, 95, 115, 45, 55});
    putAlgorithm(1, "Second guideline", {2, 6, 9, 0.4f, 0.6f, 90, 110, 40, 50});
    controller->change([](controllersim::ControllerDevice& d) {
        setArea(d, Pointer::ICON_SELECTION, 0, {10, 11, 12, 13, 14, 15});
        setArea(d, Pointer::COMPANY_NAME, 0, {'X', 0});
    });
    PropertyModel reference;
    ASSERT_TRUE(get(reference));
    const auto full = device();
    // Past the name's 16 characters, its end and the initial ventilations: in the limits.
    const int cut = firstRequestInto(full, Pointer::ALGORITHM_2) + 18;
    ASSERT_GT(cut, 18);

    controllersim::ControllerOptions options;
    options.cutAfterRequests = cut;
    const auto memory = full;
    startController(options);
    controller->change([&](controllersim::ControllerDevice& d) {
        for (int name : {Pointer::ALGORITHM_1, Pointer::ALGORITHM_2, Pointer::ICON_SELECTION, Pointer::COMPANY_NAME})
            setArea(d, name, 0, area(memory, name));
    });
    theDatabase.execute("DELETE FROM \"Algorithm\"");

    PropertyModel settings;
    settings.printHeading = L"Kept";
    const std::uint32_t start = clock.tickCount();
    EXPECT_FALSE(get(settings));
    EXPECT_LT(clock.tickCount() - start, 10000u);
    EXPECT_FALSE(port.isConnected());
    EXPECT_EQ(progress.lastText(), FAILED);
    EXPECT_EQ(settings.getIcon(0), 10);
    EXPECT_EQ(settings.getAlgorithm1(), "First guideline");
    EXPECT_EQ(settings.getAlgorithm2(), "ERC 2010");
    EXPECT_EQ(settings.printHeading, L"Kept");
    EXPECT_EQ(stored("First guideline").initVent, 3);
    int rows = 0;
    stored("Second guideline", &rows);
    EXPECT_EQ(rows, 0);
}

TEST(SetupFetching, floatsAreTakenWithTwoDecimals)
{
    EXPECT_EQ(CPBGet::twoDecimals(0.4000001f), 0.4);
    EXPECT_EQ(CPBGet::twoDecimals(2.0f), 2.0);
    EXPECT_EQ(CPBGet::twoDecimals(0.125f), 0.13);
    EXPECT_EQ(CPBGet::twoDecimals(109.994f), 109.99);
}
