#include "config/PropertyModel.h"

#include "Rodezir/LogStream.h"
#include "SettingsTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

class PropertyModelTest : public ::testing::Test {
protected:
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd{dir.path()};
    void TearDown() override { LogStream::destroy(); }
};

TEST_F(PropertyModelTest, defaultsHoldTheFixedSlots)
{
    PropertyModel model;
    EXPECT_EQ(model.icons, (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(model.languages, (std::vector<std::string>{"en", "de", "fr"}));
    EXPECT_EQ(model.iconLegends, std::vector<std::string>(6));
    EXPECT_EQ(model.getAlgorithm1(), "AHA 2010");
    EXPECT_EQ(model.getAlgorithm2(), "ERC 2010");
    EXPECT_EQ(model.endMarker, 0x1234);
    EXPECT_TRUE(model.hasFixedSizes());
}

TEST_F(PropertyModelTest, comparisonIgnoresOnlyTheEndMarker)
{
    PropertyModel other;
    other.endMarker = 99;
    EXPECT_TRUE(PropertyModel() == other);

    const std::vector<std::pair<const char*, std::function<void(PropertyModel&)>>> changes{
        {"playEndSound", [](PropertyModel& m) { m.playEndSound = false; }},
        {"metronomeRate", [](PropertyModel& m) { m.metronomeRate = 101.0; }},
        {"debriefingAsCounts", [](PropertyModel& m) { m.debriefingAsCounts = false; }},
        {"showCardiacOutput", [](PropertyModel& m) { m.showCardiacOutput = true; }},
        {"showMinuteVolume", [](PropertyModel& m) { m.showMinuteVolume = false; }},
        {"showAverageVolume", [](PropertyModel& m) { m.showAverageVolume = false; }},
        {"showInitialVentilations", [](PropertyModel& m) { m.showInitialVentilations = false; }},
        {"showVentilationRate", [](PropertyModel& m) { m.showVentilationRate = false; }},
        {"showStomachInflations", [](PropertyModel& m) { m.showStomachInflations = false; }},
        {"minuteVolumeLow", [](PropertyModel& m) { m.minuteVolumeLow = 1.6; }},
        {"minuteVolumeHigh", [](PropertyModel& m) { m.minuteVolumeHigh = 6.1; }},
        {"showVentilationCompressionRatio", [](PropertyModel& m) { m.showVentilationCompressionRatio = false; }},
        {"showDebriefingComments", [](PropertyModel& m) { m.showDebriefingComments = false; }},
        {"cardiacOutputPerCompression", [](PropertyModel& m) { m.cardiacOutputPerCompression = 0.04; }},
        {"cardiacOutputPerWrongHand", [](PropertyModel& m) { m.cardiacOutputPerWrongHand = 0.02; }},
        {"cardiacOutputLow", [](PropertyModel& m) { m.cardiacOutputLow = 1.5; }},
        {"cardiacOutputHigh", [](PropertyModel& m) { m.cardiacOutputHigh = 6.5; }},
        {"showCompressionRate", [](PropertyModel& m) { m.showCompressionRate = false; }},
        {"showCompressionDepth", [](PropertyModel& m) { m.showCompressionDepth = false; }},
        {"showCompressionRelaxationRatio", [](PropertyModel& m) { m.showCompressionRelaxationRatio = false; }},
        {"showPauseBetweenCompressions", [](PropertyModel& m) { m.showPauseBetweenCompressions = false; }},
        {"maxPauseBetweenCompressions", [](PropertyModel& m) { m.maxPauseBetweenCompressions = 10; }},
        {"showWrongHandPositions", [](PropertyModel& m) { m.showWrongHandPositions = false; }},
        {"showLeanings", [](PropertyModel& m) { m.showLeanings = false; }},
        {"ratioAsPercent", [](PropertyModel& m) { m.ratioAsPercent = false; }},
        {"overrideCompressionDepth", [](PropertyModel& m) { m.overrideCompressionDepth = true; }},
        {"compressionDepthLow", [](PropertyModel& m) { m.compressionDepthLow = 31.0; }},
        {"compressionDepthHigh", [](PropertyModel& m) { m.compressionDepthHigh = 53.0; }},
        {"printHeading", [](PropertyModel& m) { m.printHeading = L"x"; }},
        {"printGraph", [](PropertyModel& m) { m.printGraph = false; }},
        {"graphMaxPrintTime", [](PropertyModel& m) { m.graphMaxPrintTime = 6; }},
        {"printDebriefingText", [](PropertyModel& m) { m.printDebriefingText = false; }},
        {"printApprovalFields", [](PropertyModel& m) { m.printApprovalFields = false; }},
        {"printEventList", [](PropertyModel& m) { m.printEventList = false; }},
        {"algorithm1", [](PropertyModel& m) { m.setAlgorithm1("AHA 2010x"); }},
        {"algorithm2", [](PropertyModel& m) { m.setAlgorithm2("ERC 2011"); }},
        {"icon", [](PropertyModel& m) { m.setIcon(5, 4); }},
        {"language", [](PropertyModel& m) { m.setLanguage(2, "fx"); }},
        {"one character of a legend", [](PropertyModel& m) { m.setIconLegend(3, "a"); }},
        {"registerEvents", [](PropertyModel& m) { m.registerEvents = false; }},
        {"enableLegends", [](PropertyModel& m) { m.enableLegends = true; }},
        {"ecgEnabled", [](PropertyModel& m) { m.ecgEnabled = false; }},
    };
    for (const auto& [field, change] : changes) {
        PropertyModel changed;
        change(changed);
        EXPECT_FALSE(PropertyModel() == changed) << field;
        EXPECT_FALSE(changed == PropertyModel()) << field;
    }
}

TEST_F(PropertyModelTest, badSlotIsReportedAndThenThrows)
{
    PropertyModel model;
    try {
        (void)model.getIcon(6);
        ADD_FAILURE() << "slot 6 must throw";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid vector<T> subscript");
    }
    EXPECT_THROW(model.setIconLegend(-1, "x"), std::out_of_range);
    EXPECT_THROW((void)model.getLanguage(3), std::out_of_range);
    EXPECT_EQ(model.getIcon(5), 5);

    const auto reports = settingstest::logReports(dir.path());
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_NE(reports[0].find(") : i >=0 && i < 6"), std::string::npos) << reports[0];
    EXPECT_EQ(reports[0].rfind("Assert failed in ", 0), 0u);
    EXPECT_NE(reports[1].find(") : i >=0 && i < 6"), std::string::npos) << reports[1];
    EXPECT_NE(reports[2].find(") : i >=0 && i < 3"), std::string::npos) << reports[2];
}

TEST_F(PropertyModelTest, assignmentCopiesEverythingAndStaysApart)
{
    PropertyModel source;
    source.setAlgorithm1("Our own");
    source.setIconLegend(0, "Airway");
    source.endMarker = 7;
    PropertyModel target;
    target = source;
    source.setAlgorithm1("Changed later");
    source.setIconLegend(0, "Changed later");
    EXPECT_EQ(target.getAlgorithm1(), "Our own");
    EXPECT_EQ(target.getIconLegend(0), "Airway");
    EXPECT_EQ(target.endMarker, 7);
}

} // namespace
