// The controller's memory map: where each area lies, access that never
// leaves an area, and the byte formats the station writes into the areas.

#include "ControllerTestSupport.h"

#include "CPB/CPBAlgorithmBlock.h"
#include "CPB/CPBComm.h"
#include "CPB/CPBConfiguration.h"
#include "CPB/CPBIcon.h"
#include "CPB/CPBLanguages.h"
#include "CPB/CPBMemory.h"
#include "CPB/CPBText.h"
#include "CPB/Pointer.h"
#include "config/AlgorithmRecord.h"
#include "config/PropertyModel.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace cpbtest;

Bytes text(const char* ascii)
{
    return Bytes(ascii, ascii + std::char_traits<char>::length(ascii));
}

} // namespace

TEST(MemoryMap, everyAreaLiesWhereTheControllerKeepsIt)
{
    const struct {
        int name;
        std::uint8_t bank;
        int offset;
        int size;
    } areas[] = {
        {Pointer::ICON_SELECTION, 0x51, 0x7FF0, 6},   {Pointer::ICON_LARGE_1, 0x50, 0x0380, 128},
        {Pointer::ICON_LARGE_2, 0x50, 0x0400, 128},   {Pointer::ICON_LARGE_3, 0x50, 0x0580, 128},
        {Pointer::ICON_LARGE_4, 0x50, 0x0600, 128},   {Pointer::ICON_LARGE_5, 0x50, 0x0780, 128},
        {Pointer::ICON_LARGE_6, 0x50, 0x0800, 128},   {Pointer::ICON_SMALL_1, 0x50, 0x3580, 72},
        {Pointer::ICON_SMALL_2, 0x50, 0x3600, 72},    {Pointer::ICON_SMALL_3, 0x50, 0x3680, 72},
        {Pointer::ICON_SMALL_4, 0x50, 0x3700, 72},    {Pointer::ICON_SMALL_5, 0x50, 0x3780, 72},
        {Pointer::ICON_SMALL_6, 0x50, 0x3800, 72},    {Pointer::LANGUAGES, 0x51, 0x7FE0, 3},
        {Pointer::LANGUAGE_NAME_1, 0x51, 0x0050, 10}, {Pointer::LANGUAGE_NAME_2, 0x51, 0x005A, 10},
        {Pointer::LANGUAGE_NAME_3, 0x51, 0x0064, 10}, {Pointer::DEBRIEF_A1_L1, 0x51, 0x0800, 2048},
        {Pointer::DEBRIEF_A2_L1, 0x51, 0x1000, 2048}, {Pointer::DEBRIEF_A1_L2, 0x51, 0x1800, 2048},
        {Pointer::DEBRIEF_A2_L2, 0x51, 0x2000, 2048}, {Pointer::DEBRIEF_A1_L3, 0x51, 0x2800, 2048},
        {Pointer::DEBRIEF_A2_L3, 0x51, 0x3000, 2048}, {Pointer::BARS_1, 0x51, 0x3800, 0x480},
        {Pointer::BARS_2, 0x51, 0x4000, 0x480},       {Pointer::ALGORITHM_1, 0x51, 0x7D00, 256},
        {Pointer::ALGORITHM_2, 0x51, 0x7E00, 256},    {Pointer::ALGORITHM_NAME_1, 0x51, 0x0000, 40},
        {Pointer::ALGORITHM_NAME_2, 0x51, 0x0028, 40}, {Pointer::PLOT_1, 0x51, 0x4480, 128},
        {Pointer::PLOT_2, 0x51, 0x4500, 128},         {Pointer::COMPANY_NAME, 0x51, 0x7C00, 256},
        {Pointer::CONFIGURATION, 0x51, 0x7FB0, 3},
    };
    ASSERT_EQ(std::size(areas), std::size_t(Pointer::SIZE_OF));
    for (const auto& area : areas) {
        EXPECT_EQ(Pointer::get(area.name), CPBAdr(area.bank, 0, 0) + area.offset) << Pointer::label(area.name);
        EXPECT_EQ(Pointer::size(area.name), area.size) << Pointer::label(area.name);
    }
    // No area reaches into another: a write that fills one never touches its neighbour.
    for (const auto& a : areas) {
        for (const auto& b : areas) {
            const bool apart = a.bank != b.bank || a.offset + a.size <= b.offset || b.offset + b.size <= a.offset;
            EXPECT_TRUE(&a == &b || apart) << Pointer::label(a.name) << " and " << Pointer::label(b.name);
        }
    }
    // The algorithm names inside the blocks.
    EXPECT_EQ(Pointer::get(Pointer::ALGORITHM_1) + CPBAlgorithmBlock::NAME, CPBAdr(0x51, 0x7D, 0x80));
    EXPECT_EQ(Pointer::get(Pointer::ALGORITHM_2) + CPBAlgorithmBlock::NAME, CPBAdr(0x51, 0x7E, 0x80));
}

TEST(MemoryMap, unknownNamesAreLoggedAndHaveNoRoom)
{
    kovatest::TempDir folder;
    kovatest::ScopedCwd inFolder(folder.path());
    LogStream::destroy();
    for (const int name : {int(Pointer::SIZE_OF), -1}) {
        EXPECT_EQ(Pointer::get(name), CPBAdr()) << name;
        EXPECT_EQ(Pointer::size(name), 0) << name;
        EXPECT_FALSE(CPBMemory::fits(name, 0, 1)) << name;
    }
    EXPECT_NE(logText().find("name >= 0 && name < SIZE_OF"), std::string::npos);
}

TEST(MemoryMap, addressesMoveOnWithinTheirBank)
{
    EXPECT_EQ(CPBAdr(0x51, 0x7D, 0x00) + 0x80, CPBAdr(0x51, 0x7D, 0x80));
    EXPECT_EQ(CPBAdr(0x51, 0x00, 0xFF) + 1, CPBAdr(0x51, 0x01, 0x00));
    EXPECT_EQ(CPBAdr(0x50, 0xFF, 0xF8) + 0x10, CPBAdr(0x50, 0x00, 0x08));
    EXPECT_EQ(CPBAdr(0x51, 0x7F, 0xB0).getAdr(), 0x7FB0);
    EXPECT_NE(CPBAdr(0x50, 0x7F, 0xB0), CPBAdr(0x51, 0x7F, 0xB0));
}

class MemoryAreas : public PumpedController {
protected:
    void SetUp() override
    {
        PumpedController::SetUp();
        ASSERT_EQ(link.open(), CPBComm::OPEN_ANSWERED);
    }
    CPBComm link{port};
    CPBMemory memory{link};
};

TEST_F(MemoryAreas, accessStaysInsideItsArea)
{
    const struct {
        const char* what;
        int name;
        int offset;
        int length;
        bool allowed;
    } cases[] = {
        {"the whole area", Pointer::CONFIGURATION, 0, 3, true},
        {"its end", Pointer::CONFIGURATION, 1, 2, true},
        {"one byte past the end", Pointer::CONFIGURATION, 1, 3, false},
        {"a company name filling its area", Pointer::COMPANY_NAME, 0, 256, true},
        {"a company name one byte too long", Pointer::COMPANY_NAME, 0, 257, false},
        {"the block's name part", Pointer::ALGORITHM_1, CPBAlgorithmBlock::NAME, 128, true},
        {"before the area", Pointer::LANGUAGES, -1, 2, false},
        {"an unknown area", Pointer::SIZE_OF, 0, 1, false},
    };
    for (const auto& c : cases) {
        const std::size_t before = device().requests().size();
        const Bytes data(static_cast<std::size_t>(c.length), 0x41);
        EXPECT_EQ(memory.write(c.name, c.offset, data), c.allowed) << c.what;
        Bytes out;
        EXPECT_EQ(memory.read(c.name, c.offset, c.length, out), c.allowed) << c.what;
        EXPECT_EQ(out, c.allowed ? data : Bytes{}) << c.what;
        if (!c.allowed) {
            EXPECT_EQ(device().requests().size(), before) << c.what << ": nothing may go out";
        }
    }
    // The neighbours of the areas written are untouched.
    EXPECT_EQ(device().memory(0x51, 0x7FB3, 1), Bytes{0xFF});
    EXPECT_EQ(device().memory(0x51, 0x7BFF, 1), Bytes{0xFF});
    const std::string log = logText();
    EXPECT_NE(log.find("Controller area CONFIGURATION (32): 3 bytes at offset 1 do not fit its 3 bytes"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Controller area COMPANY_NAME (31): 257 bytes at offset 0 do not fit its 256 bytes"),
              std::string::npos)
        << log;
}

TEST(ControllerFormats, iconsAreSampledBlackAsOne)
{
    const auto oneBlackPixel = [](int side, int x, int y, std::uint32_t other = 0xFFFFFFFF) {
        CPBIcon::Pixels icon{side, side, std::vector<std::uint32_t>(static_cast<std::size_t>(side * side), other)};
        icon.argb[static_cast<std::size_t>(y * side + x)] = 0xFF000000;
        return icon;
    };
    const struct {
        const char* what;
        bool large;
        int x;
        int y;
        std::size_t byte;
        std::uint8_t value;
    } cases[] = {
        {"large, top left", true, 0, 0, 0, 0x80},
        {"large, bottom right", true, 31, 31, 127, 0x01},
        {"large, second strip", true, 9, 2, 34, 0x40},
        {"small, top left", false, 0, 0, 69, 0x80},
        {"small, bottom right", false, 23, 23, 2, 0x01},
        {"small, bottom row middle", false, 12, 23, 1, 0x08},
    };
    for (const auto& c : cases) {
        const int side = c.large ? 32 : 24;
        const Bytes bytes = c.large ? CPBIcon::encodeLarge(oneBlackPixel(side, c.x, c.y))
                                    : CPBIcon::encodeSmall(oneBlackPixel(side, c.x, c.y));
        Bytes expected(c.large ? 128 : 72, 0);
        expected[c.byte] = c.value;
        EXPECT_EQ(bytes, expected) << c.what;
    }
    // Only black counts: the image list's mask colour and dark grey stay 0,
    // transparency does not matter, and what the image lacks is white.
    EXPECT_EQ(CPBIcon::encodeLarge(oneBlackPixel(32, 5, 5, 0xFF150203)), CPBIcon::encodeLarge(oneBlackPixel(32, 5, 5)));
    EXPECT_EQ(CPBIcon::encodeLarge({32, 32, std::vector<std::uint32_t>(32 * 32, 0xFF010101)}), Bytes(128, 0));
    EXPECT_EQ(CPBIcon::encodeSmall({24, 24, std::vector<std::uint32_t>(24 * 24, 0x00000000)}), Bytes(72, 0xFF));
    EXPECT_EQ(CPBIcon::encodeLarge({16, 16, std::vector<std::uint32_t>(16 * 16, 0)})[15], 0xFF);
    EXPECT_EQ(CPBIcon::encodeLarge({16, 16, std::vector<std::uint32_t>(16 * 16, 0)})[16], 0x00);
    EXPECT_EQ(CPBIcon::encodeSmall({}), Bytes(72, 0));
}

TEST(ControllerFormats, configurationBytesFollowTheSetUp)
{
    EXPECT_EQ(CPBConfiguration::encode(PropertyModel()), (Bytes{0xFF, 0xBF, 0xE0}));

    using Set = std::function<void(PropertyModel&, bool)>;
    const struct {
        const char* setting;
        Set set;
        std::size_t byte;
        std::uint8_t bit;
    } settings[] = {
        {"Show initial ventilations", [](PropertyModel& m, bool on) { m.showInitialVentilations = on; }, 0, 0x80},
        {"Show ventilation rate", [](PropertyModel& m, bool on) { m.showVentilationRate = on; }, 0, 0x40},
        {"Show average ventilation volume", [](PropertyModel& m, bool on) { m.showAverageVolume = on; }, 0, 0x20},
        {"Show ventilation minute volume", [](PropertyModel& m, bool on) { m.showMinuteVolume = on; }, 0, 0x10},
        {"Show stomach inflations", [](PropertyModel& m, bool on) { m.showStomachInflations = on; }, 0, 0x08},
        {"Show compression rate", [](PropertyModel& m, bool on) { m.showCompressionRate = on; }, 0, 0x04},
        {"Show compression/relaxation ratio", [](PropertyModel& m, bool on) { m.showCompressionRelaxationRatio = on; }, 0, 0x02},
        {"Show compression depth", [](PropertyModel& m, bool on) { m.showCompressionDepth = on; }, 0, 0x01},
        {"Show pause between ECC-ECC", [](PropertyModel& m, bool on) { m.showPauseBetweenCompressions = on; }, 1, 0x80},
        {"Show cardiac output volume", [](PropertyModel& m, bool on) { m.showCardiacOutput = on; }, 1, 0x40},
        {"Show wrong hand positions", [](PropertyModel& m, bool on) { m.showWrongHandPositions = on; }, 1, 0x20},
        {"Show leanings", [](PropertyModel& m, bool on) { m.showLeanings = on; }, 1, 0x10},
        {"Show ventilation/compression ratio", [](PropertyModel& m, bool on) { m.showVentilationCompressionRatio = on; }, 1, 0x08},
        {"Register events", [](PropertyModel& m, bool on) { m.registerEvents = on; }, 1, 0x04},
        {"debriefing in counts", [](PropertyModel& m, bool on) { m.debriefingAsCounts = on; }, 1, 0x02},
        {"notation 50%:50%", [](PropertyModel& m, bool on) { m.ratioAsPercent = on; }, 1, 0x01},
        {"Play sound when a session ends", [](PropertyModel& m, bool on) { m.playEndSound = on; }, 2, 0x80},
        {"Show debriefing text on debriefing print", [](PropertyModel& m, bool on) { m.printDebriefingText = on; }, 2, 0x40},
        {"Show approval and comments fields", [](PropertyModel& m, bool on) { m.printApprovalFields = on; }, 2, 0x20},
    };
    PropertyModel allOff;
    for (const auto& s : settings)
        s.set(allOff, false);
    EXPECT_EQ(CPBConfiguration::encode(allOff), Bytes(3, 0));
    for (const auto& s : settings) {
        PropertyModel one = allOff;
        s.set(one, true);
        Bytes expected(3, 0);
        expected[s.byte] = s.bit;
        EXPECT_EQ(CPBConfiguration::encode(one), expected) << s.setting;
    }
}

TEST(ControllerFormats, textsFitTheirSlots)
{
    // Fixed-width slots: padded with spaces, never passed.
    EXPECT_EQ(CPBText::padded(text("Nederlands"), 10), text("Nederlands"));
    EXPECT_EQ(CPBText::padded(text("Dansk"), 10), text("Dansk     "));
    EXPECT_EQ(CPBText::padded(text("Portugues do Brasil"), 10), text("Portugues "));
    EXPECT_EQ(CPBLanguages::encodeName(0), text("English   "));
    EXPECT_TRUE(CPBLanguages::encodeName(12).empty());
    EXPECT_EQ(CPBAlgorithmBlock::encodeDisplayName("ERC 2010"), text("ERC 2010                                "));
    EXPECT_EQ(CPBAlgorithmBlock::encodeDisplayName(std::string(50, 'x')), Bytes(40, 'x'));

    // Free texts end with a zero byte inside their room.
    EXPECT_EQ(CPBAlgorithmBlock::encodeName("AHA 2010"), (Bytes{'A', 'H', 'A', ' ', '2', '0', '1', '0', 0}));
    EXPECT_EQ(CPBAlgorithmBlock::encodeName(std::string(200, 'n')).size(), 128u);
    EXPECT_EQ(CPBAlgorithmBlock::encodeName(std::string(200, 'n')).back(), 0);
    EXPECT_EQ(CPBText::terminated({}, 256), Bytes{0});
    EXPECT_EQ(CPBText::terminated(text("abc"), 0), Bytes{});

    // Windows-1252 on the controller, UTF-8 in the station: a name comes back
    // as it went; what the code page lacks becomes "?".
    const std::string name = "Réanimation Ü 2015 – €";
    const Bytes sent = CPBText::fromUtf8(name);
    EXPECT_EQ(sent.size(), 22u);
    EXPECT_EQ(sent[1], 0xE9);
    EXPECT_EQ(sent[19], 0x96) << "en dash";
    EXPECT_EQ(sent[21], 0x80) << "euro sign";
    EXPECT_EQ(CPBText::toUtf8(sent), name);
    EXPECT_EQ(CPBText::toUtf8(CPBText::fromUtf8("Łódź")), "?ód?");
    EXPECT_EQ(CPBText::toUtf8(CPBText::fromWide(L"Übung", CPBText::PAGE_CODE_PAGE), CPBText::PAGE_CODE_PAGE), "Übung");
    EXPECT_EQ(CPBText::fromWide(L"Ü", CPBText::PAGE_CODE_PAGE), Bytes{0x9A});
}

TEST(ControllerFormats, languagesAreTablePositions)
{
    kovatest::TempDir folder;
    kovatest::ScopedCwd inFolder(folder.path());
    LogStream::destroy();
    PropertyModel setup;
    Bytes out;
    ASSERT_TRUE(CPBLanguages::encodeSelection(setup, out));
    EXPECT_EQ(out, (Bytes{0, 1, 2}));
    setup.setLanguage(1, "ko");
    setup.setLanguage(2, "en");
    ASSERT_TRUE(CPBLanguages::encodeSelection(setup, out));
    EXPECT_EQ(out, (Bytes{0, 11, 0}));

    setup.setLanguage(2, "xx");
    EXPECT_FALSE(CPBLanguages::encodeSelection(setup, out));
    EXPECT_EQ(out, (Bytes{0, 11, 0})) << "left as it was";
    EXPECT_NE(logText().find("Controller language 3: the code \"xx\" is not in the language table"), std::string::npos);
}

TEST(ControllerFormats, algorithmLimitsAreLittleEndianSingles)
{
    EXPECT_EQ(CPBAlgorithmBlock::encodeFloats({0.4f}), (Bytes{0xCD, 0xCC, 0xCC, 0x3E}));
    EXPECT_EQ(CPBAlgorithmBlock::encodeFloats({2.0f, -1.5f}), (Bytes{0, 0, 0, 0x40, 0, 0, 0xC0, 0xBF}));
    EXPECT_EQ(CPBAlgorithmBlock::decodeFloats({0xCD, 0xCC, 0xCC, 0x3E, 0x01}), std::vector<float>{0.4f});

    AlgorithmRecord algorithm;
    algorithm.initVent = 5;
    algorithm.vRateLow = 8;
    algorithm.vRateHigh = 10;
    algorithm.vVolLow = 0.5;
    algorithm.vVolHigh = 0.7;
    algorithm.eccRateLow = 100;
    algorithm.eccRateHigh = 120;
    algorithm.compDepthLow = 50;
    algorithm.compDepthHigh = 60;
    const auto parts = CPBAlgorithmBlock::parts(algorithm);
    ASSERT_EQ(parts.size(), 5u);
    const std::pair<int, std::vector<float>> expected[] = {
        {0x00, {5.0f}}, {0x04, {8.0f, 10.0f}}, {0x0C, {0.5f, 0.7f}}, {0x28, {100.0f, 120.0f}}, {0x40, {50.0f, 60.0f}},
    };
    for (std::size_t i = 0; i < parts.size(); ++i) {
        EXPECT_EQ(parts[i].offset, expected[i].first) << i;
        EXPECT_EQ(parts[i].values, expected[i].second) << i;
        // No part runs into the next or into the name.
        const int end = parts[i].offset + 4 * static_cast<int>(parts[i].values.size());
        EXPECT_LE(end, i + 1 < parts.size() ? parts[i + 1].offset : CPBAlgorithmBlock::NAME) << i;
    }
}
