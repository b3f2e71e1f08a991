// The curve documents of a session: toolbar buttons and their ids, marks set
// on a curve and kept in the session data file, the curve descriptions over
// the measurement store, and the shared display switches.

#include "app/graphs/GraphDoc.h"
#include "app/graphs/GraphPane.h"
#include "app/graphs/GraphSource.h"
#include "app/graphs/GraphToggles.h"
#include "app/graphs/MarkSection.h"

#include "Database/EventRecord.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/SlotHolder.h"
#include "TempDir.h"
#include "comm/session/CommSession.h"
#include "config/AlgorithmRecord.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace {

std::string errorLog() { return kovatest::readFile(LogStream::instance().path()); }

// A pane that remembers the marks it was handed.
class MarkRecorder final : public GraphPane {
public:
    void onMark(const GraphEvent& mark) override { marks.push_back(mark); }
    bool isPaneCreated() const override { return false; }
    void redrawAll() override {}
    void drawNewSamples(int, int) override {}
    void showZoomSelection(int, int) override {}
    void showSpanSelection(int, int) override {}
    std::optional<int> indexUnderCursor() const override { return std::nullopt; }
    void captureMouse() override {}
    void releaseMouseCapture() override {}
    void onAxisDestroyed() override {}

    std::vector<GraphEvent> marks;
};

// A session's measurement store with a compression and a ventilation document.
struct Curves {
    Curves()
    {
        data.sampleRate = 20.0;
    }
    void addSamples(int n)
    {
        for (int i = 0; i < n; ++i)
            data.manData.push_back(Measurement{});
    }

    AlgorithmRecord algorithm;
    CommSession data;
    GraphSource compressionSource = GraphSource::compression(data, algorithm);
    GraphSource ventilationSource = GraphSource::ventilation(data, algorithm);
    GraphDoc compression{compressionSource};
    GraphDoc ventilation{ventilationSource};
};

ToolbarButton button(int image) { return ToolbarButton(L"Airway", L"Open the airway", image); }

std::vector<std::pair<int, int>> samplesAndImages(const std::vector<GraphEvent>& marks)
{
    std::vector<std::pair<int, int>> pairs;
    for (const GraphEvent& mark : marks)
        pairs.emplace_back(mark.sampleIndex, mark.image);
    return pairs;
}

// The fields in the order of the measurement text.
Measurement measurement(double depth, int ventMark, int compMark, int stomach, double volume, int wrongHand, int ecg,
                        int error66)
{
    Measurement m;
    m.depth = depth;
    m.ventilationMark = static_cast<std::uint8_t>(ventMark);
    m.compressionMark = static_cast<std::uint8_t>(compMark);
    m.stomachInflation = static_cast<std::uint8_t>(stomach);
    m.volume = volume;
    m.wrongHandPosition = static_cast<std::uint8_t>(wrongHand);
    m.ecg = ecg;
    m.error66 = static_cast<std::uint8_t>(error66);
    return m;
}

} // namespace

TEST(ToolbarButton, commandIdsKeepGrowingAcrossSessionsAndCopiesKeepTheirs)
{
    const int before = ToolbarButton::lastIssuedId();
    EXPECT_GE(before, 100000);
    const ToolbarButton firstSession = button(1);
    const ToolbarButton secondSession = button(1);
    EXPECT_EQ(firstSession.id, before + 1);
    EXPECT_EQ(secondSession.id, before + 2);
    EXPECT_NE(secondSession.id, 100001);
    const ToolbarButton copy = secondSession;
    EXPECT_EQ(copy.id, secondSession.id);
    EXPECT_EQ(ToolbarButton::lastIssuedId(), before + 2);

    EXPECT_TRUE(ToolbarButton::separator().isSeparator());
    EXPECT_EQ(ToolbarButton::lastIssuedId(), before + 2) << "a separator takes no command id";
}

TEST(ToolbarButton, anEventsAmpersandsAreDoubledInTheCaptionAloneSoBothShowThemAsWritten)
{
    EventRecord event;
    event.name = "A&B";
    event.tooltip = "Check & clear the airway";
    event.icon = 3;
    const ToolbarButton item = ToolbarButton::fromEvent(event);
    EXPECT_EQ(item.name, L"A&&B");
    EXPECT_EQ(item.toolTip, L"Check & clear the airway") << "a tooltip has no mnemonics";
    EXPECT_EQ(item.image, 3);
    EXPECT_EQ(item.id, ToolbarButton::lastIssuedId());

    event.name = "Ätemkontrolle";
    EXPECT_EQ(ToolbarButton::fromEvent(event).name, L"Ätemkontrolle");
}

TEST(ToolbarButton, aTooltipOfEightyCharactersIsLoggedAndKept)
{
    const std::wstring long80(80, L'x');
    const ToolbarButton item(L"Long", long80, 0);
    EXPECT_EQ(item.toolTip, long80);
    EXPECT_NE(errorLog().find("toolTip.size() < TOOLTIP_LIMIT"), std::string::npos) << errorLog();
}

TEST(GraphDoc, aMarkTakesTheNewestSampleAndReachesEveryPaneOnceInOrder)
{
    Curves curves;
    MarkRecorder first, second;
    curves.compression.addView(first);
    curves.compression.addView(second);

    curves.compression.addMark(button(4)); // before the first sample
    curves.addSamples(1521);
    const ToolbarButton shake = button(1);
    curves.compression.addMark(shake);

    EXPECT_EQ(samplesAndImages(curves.compression.getMarks()), (std::vector<std::pair<int, int>>{{-1, 4}, {1520, 1}}));
    EXPECT_EQ(curves.compression.getMarks()[1].id, shake.id);
    EXPECT_EQ(curves.compression.getMarks()[1].toolTip, L"Open the airway");
    for (const MarkRecorder* pane : {&first, &second})
        EXPECT_EQ(samplesAndImages(pane->marks), samplesAndImages(curves.compression.getMarks()));
    EXPECT_TRUE(curves.ventilation.getMarks().empty());

    curves.compression.removeView(first);
    curves.compression.addMark(shake);
    EXPECT_EQ(first.marks.size(), 2u);
    EXPECT_EQ(second.marks.size(), 3u);
    curves.compression.removeView(second);
}

TEST(GraphDoc, aDocumentDestroyedWithPanesStillListedIsLogged)
{
    MarkRecorder pane;
    {
        Curves curves;
        curves.ventilation.addView(pane);
    }
    EXPECT_NE(errorLog().find("viewList_.size() == 0"), std::string::npos);
}

// The two mark sections and the measurement text, as the session writes its data file.
TEST(GraphDoc, markSectionsAndMeasurementsWriteTheFileBytesAndReadBackBehindEachOther)
{
    kovatest::TempDir dir;
    const std::string path = dir.file("1.dat");
    {
        Curves curves;
        curves.addSamples(1521);
        curves.compression.addMark(button(3));
        curves.data.manData = {measurement(45.678, 0, 1, 0, 0, 0, 128, 0), measurement(0, 1, 0, 0, 0.5234, 0, 17, 1)};
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        EXPECT_TRUE(curves.compression.writeMarks(file));
        EXPECT_TRUE(curves.ventilation.writeMarks(file));
        EXPECT_TRUE(curves.data.save(file));
        EXPECT_EQ(std::fclose(file), 0);
    }
    EXPECT_EQ(kovatest::readFile(path),
              "1\r\n1520 3\r\n0\r\n2\r\n45.68 0 1 0 0 0 128 0\r\n0 1 0 0 0.5234 0 17 1\r\n");

    Curves read;
    MarkRecorder pane;
    read.compression.addView(pane);
    const int idsBefore = ToolbarButton::lastIssuedId();
    std::FILE* file = std::fopen(path.c_str(), "r");
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(read.compression.readMarks(file));
    EXPECT_TRUE(read.ventilation.readMarks(file));
    EXPECT_TRUE(read.data.load(file, 20.0));
    std::fclose(file);
    read.compression.removeView(pane);

    ASSERT_EQ(read.compression.getMarks().size(), 1u);
    const GraphEvent& mark = read.compression.getMarks()[0];
    EXPECT_EQ(mark.sampleIndex, 1520);
    EXPECT_EQ(mark.image, 3);
    EXPECT_TRUE(mark.name.empty());
    EXPECT_TRUE(mark.toolTip.empty());
    EXPECT_GT(mark.id, idsBefore);
    EXPECT_EQ(pane.marks.size(), 1u) << "a read mark reaches the panes too";
    EXPECT_TRUE(read.ventilation.getMarks().empty());
    ASSERT_EQ(read.data.manData.size(), 2u);
    EXPECT_EQ(read.data.manData[1].ecg, 17);
}

TEST(GraphDoc, marksKeepTheirOrderOfAdditionThroughAStreamAndBack)
{
    Curves curves;
    curves.addSamples(2211);
    curves.compression.addMark(button(7));
    curves.data.manData.resize(1521);
    curves.compression.addMark(button(3));
    std::ostringstream out;
    ASSERT_TRUE(curves.compression.writeMarks(out));
    EXPECT_EQ(out.str(), "2\r\n2210 7\r\n1520 3\r\n");

    Curves read;
    std::istringstream in(out.str() + "0\r\n");
    EXPECT_TRUE(read.compression.readMarks(in));
    EXPECT_TRUE(read.ventilation.readMarks(in));
    EXPECT_EQ(samplesAndImages(read.compression.getMarks()), (std::vector<std::pair<int, int>>{{2210, 7}, {1520, 3}}));

    Curves none;
    std::ostringstream empty;
    EXPECT_TRUE(none.ventilation.writeMarks(empty));
    EXPECT_EQ(empty.str(), "0\r\n");
}

TEST(GraphDoc, aDamagedOrShortMarkSectionFailsAndKeepsTheMarksReadBeforeIt)
{
    struct Case {
        const char* text;
        bool ok;
        std::vector<std::pair<int, int>> marks;
    };
    const Case cases[] = {
        {"", false, {}},
        {"\r\n", false, {}},
        {"marks\r\n", false, {}},
        {"-3\r\n", true, {}},
        {"0\r\n5 5\r\n", true, {}},
        {"3\r\n10 1\r\n20 2\r\n", false, {{10, 1}, {20, 2}}},       // the count runs past the end
        {"1000000000\r\n10 1\r\n", false, {{10, 1}}},                // nothing reserved for the count
        {"2\r\n10 1\r\n20 x\r\n", false, {{10, 1}}},
        {"2\r\n10 1\r\n-\r\n", false, {{10, 1}}},
        {"1\r\n99999999999 3\r\n", false, {}},
        {"1\r\n-2147483648 2147483647\r\n", true, {{-2147483647 - 1, 2147483647}}},
        {"1\r\n+5\t-6", true, {{5, -6}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Curves curves;
        EXPECT_EQ(curves.compression.readMarks(std::string_view(c.text)), c.ok);
        EXPECT_EQ(samplesAndImages(curves.compression.getMarks()), c.marks);

        Curves fromStream;
        std::istringstream in(c.text);
        EXPECT_EQ(fromStream.compression.readMarks(in), c.ok);
        EXPECT_EQ(samplesAndImages(fromStream.compression.getMarks()), c.marks);
    }
}

TEST(GraphDoc, aStreamInErrorReadsNothingAndAFailedWriteStopsThere)
{
    Curves curves;
    std::istringstream failed("1\r\n5 5\r\n");
    failed.setstate(std::ios::failbit);
    EXPECT_FALSE(curves.compression.readMarks(failed));
    EXPECT_TRUE(curves.compression.getMarks().empty());

    curves.addSamples(3);
    curves.compression.addMark(button(1));
    std::ostringstream refused;
    refused.setstate(std::ios::badbit);
    EXPECT_FALSE(curves.compression.writeMarks(refused));

    // A full device refuses the first line at once when nothing is buffered.
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    std::setvbuf(full, nullptr, _IONBF, 0);
    EXPECT_FALSE(curves.compression.writeMarks(full));
    std::fclose(full);
}

TEST(GraphDoc, marksNoSampleCanHoldAreDroppedOnceTheMeasurementsAreRead)
{
    Curves curves;
    ASSERT_TRUE(curves.compression.readMarks(
        std::string_view("8\r\n-1 0\r\n-2 0\r\n0 96\r\n9 1\r\n10 1\r\n5 97\r\n5 -1\r\n2147483647 2\r\n")));
    EXPECT_EQ(curves.compression.dropInvalidMarks(10), 5);
    EXPECT_EQ(samplesAndImages(curves.compression.getMarks()),
              (std::vector<std::pair<int, int>>{{-1, 0}, {0, 96}, {9, 1}}));

    // Without any measurement only a mark set before the first sample stays.
    EXPECT_EQ(curves.compression.dropInvalidMarks(0), 2);
    EXPECT_EQ(samplesAndImages(curves.compression.getMarks()), (std::vector<std::pair<int, int>>{{-1, 0}}));
}

TEST(GraphSource, eachCurveReadsItsValueAndFlagFromTheMeasurements)
{
    AlgorithmRecord algorithm;
    algorithm.compDepthLow = 38;
    algorithm.compDepthHigh = 51;
    algorithm.vVolLow = 0.5;
    algorithm.vVolHigh = 0.8;
    CommSession data;
    data.manData = {measurement(42.5, 1, 0, 0, 0.25, 0, 120, 0), measurement(60, 0, 1, 0, 0.9, 0, 33, 1)};

    struct Case {
        GraphSource source;
        const wchar_t* name;
        const wchar_t* unit;
        bool inverted;
        double fullScale, low, high;
        std::uint32_t colour;
        int marker;
        GraphSample first, second;
        Signal<int>* dataSignal;
        bool grouped;
    };
    const Case cases[] = {
        {GraphSource::compression(data, algorithm), L"Chest compression", L"mm.", true, 75.0, 38, 51, 0xC83232, 168,
         {42.5, false}, {60, true}, &data.compressionMarked, true},
        {GraphSource::ecg(data, algorithm), L"ECG signal", L" ", false, 175.0, 38, 51, 0x000000, 306, {120, false},
         {33, true}, &data.curveChanged, false},
        {GraphSource::ventilation(data, algorithm), L"Ventilation", L"L.", false, 1.2, 0.5, 0.8, 0x0000FF, 167,
         {0.25, true}, {0.9, false}, &data.ventilationMarked, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        EXPECT_EQ(c.source.name, c.name);
        EXPECT_EQ(c.source.unit, c.unit);
        EXPECT_EQ(c.source.inverted, c.inverted);
        EXPECT_EQ(c.source.fullScale, c.fullScale);
        EXPECT_EQ(c.source.lowerLimit, c.low);
        EXPECT_EQ(c.source.upperLimit, c.high);
        EXPECT_EQ(c.source.colour, c.colour);
        EXPECT_EQ(c.source.markerBitmap, c.marker);
        EXPECT_EQ(c.source.dataSignal, c.dataSignal);
        EXPECT_EQ(c.source.hasGroup(), c.grouped);
        EXPECT_EQ(c.source.value(0).value, c.first.value);
        EXPECT_EQ(c.source.value(0).flagged, c.first.flagged);
        EXPECT_EQ(c.source.value(1).value, c.second.value);
        EXPECT_EQ(c.source.value(1).flagged, c.second.flagged);
        EXPECT_EQ(c.source.value(2).value, 0.0) << "past the last sample";
        EXPECT_FALSE(c.source.value(-1).flagged);
    }
    EXPECT_NE(errorLog().find("Assert failed"), std::string::npos);
}

TEST(GraphSource, onlyTheCompressionCurveFindsTheEvaluatedSeriesOfASample)
{
    AlgorithmRecord algorithm;
    CommSession data;
    data.manData.resize(400);
    SeriesSummary summary;
    summary.firstStart = 100;
    summary.lastEnd = 200;
    summary.nextStart = 260;
    summary.compressionPercent = 45;
    summary.cardiacOutput = 4.2;
    data.addSeriesSummary(summary);
    GraphSource compression = GraphSource::compression(data, algorithm);
    GraphSource ventilation = GraphSource::ventilation(data, algorithm);
    GraphDoc doc(compression);
    ASSERT_NE(doc.getGroup(150), nullptr);
    EXPECT_EQ(doc.getGroup(259)->compressionPercent, 45);
    EXPECT_EQ(doc.getGroup(99), nullptr);
    EXPECT_EQ(doc.getGroup(260), nullptr);
    EXPECT_EQ(ventilation.group(150), nullptr);
}

namespace {

struct ToggleListener : SlotHolder {
    void onToggle(int id, bool on) { seen.emplace_back(id, on); }
    std::vector<std::pair<int, bool>> seen;
};

} // namespace

TEST(GraphToggles, switchesStartOnButCardiacOutputAndTellTheirListenersWhenSet)
{
    GraphToggles off(false);
    EXPECT_TRUE(off.showProblems());
    EXPECT_TRUE(off.showEvents());
    EXPECT_TRUE(off.showCrRatio());
    EXPECT_TRUE(off.showEcgSignal());
    EXPECT_FALSE(off.showCardiacOutput());
    EXPECT_TRUE(GraphToggles(true).showCardiacOutput());

    ToggleListener listener;
    connect(off.signal(GraphToggles::PROBLEMS), listener, &ToggleListener::onToggle);
    off.set(GraphToggles::PROBLEMS, false);
    off.set(GraphToggles::EVENTS, false);
    EXPECT_FALSE(off.showProblems());
    EXPECT_FALSE(off.showEvents());
    EXPECT_EQ(listener.seen, (std::vector<std::pair<int, bool>>{{GraphToggles::PROBLEMS, false}}));

    EXPECT_FALSE(off.get(1234));
    off.set(1234, true);
    EXPECT_FALSE(off.get(1234));
}
