// The debriefing's judgement row by row, from given figures with the default
// guideline and settings: the texts the instructor reads, the bar markers and
// spans, and which rows the settings and the training mode show.

#include "app/debriefing/DebriefEvaluation.h"

#include "GermanLocale.h"
#include "Rodezir/LogStream.h"
#include "TempDir.h"
#include "config/AlgorithmRecord.h"
#include "config/PropertyModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

// What the caller hands in; a text the kind does not define comes back as this.
const std::wstring UNSET = L"?";

// A session of 4 groups of compressions, 4 cycles and 10 ventilations, with
// some of everything to remark on.
DebriefFigures typicalSession()
{
    DebriefFigures f;
    f.minuteVolume = 3.8;
    f.volumeAverage = 0.51;
    SessionResults& r = f.results;
    r.initialVentilations = 2;
    r.ventilation.count = 10;
    r.ventilation.averageVolume = 0.52;
    r.ventilation.rate = 7.3;
    r.ventilation.volumeLow = 2;
    r.ventilation.stomachInflations = 2;
    CompressionResults& c = r.compression;
    c.count = 120;
    c.seriesCount = 4;
    c.averageRate = 104.6;
    c.averageDepth = 44.4;
    c.rateOK = 3;
    c.rateLow = 1;
    c.pauseOK = 2;
    c.pauseLong = 1;
    c.averagePause = 6;
    c.depthLow = 10;
    c.leanings = 3;
    c.compRelaxRatio = 0.455;
    c.completeCycles = 116;
    c.averageCardiacOutput = 4.26;
    c.cardiacOutputOK = 4;
    r.cycles.count = 4;
    r.cycles.correct = 3;
    r.cycles.averageCompressions = 15.25;
    r.cycles.averageVentilations = 2.0;
    return f;
}

struct Row {
    std::wstring total = UNSET;
    std::wstring average = UNSET;
    std::wstring recommended;
    std::wstring evaluation = UNSET;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& row)
{
    const auto show = [](const std::wstring& text) { return "\"" + std::string(text.begin(), text.end()) + "\""; };
    return out << "{" << show(row.total) << ", " << show(row.average) << ", " << show(row.recommended) << ", "
               << show(row.evaluation) << "}";
}

Row rowOf(const DebriefEvaluation& evaluation, int kind)
{
    Row row;
    evaluation.evaluateRow(kind, row.total, row.average, row.evaluation);
    row.recommended = evaluation.recommendedText(kind);
    return row;
}

std::string errorLog() { return kovatest::readFile(LogStream::instance().path()); }

struct Case {
    const char* what;
    int kind;
    Row expected;
    std::function<void(DebriefFigures&)> change = {};
    std::function<void(PropertyModel&)> settings = {};
    int mode = 0;
};

const std::function<void(PropertyModel&)> PERCENT = [](PropertyModel& s) { s.debriefingAsCounts = false; };
const std::function<void(PropertyModel&)> DECIMAL_RATIO = [](PropertyModel& s) { s.ratioAsPercent = false; };

void noVentilations(DebriefFigures& f)
{
    f.minuteVolume = 0.0;
    f.volumeAverage = 0.0;
    f.results.initialVentilations = 0;
    f.results.ventilation = VentilationResults{};
}

std::vector<Case> cases()
{
    return {
        // The typical session in the count form.
        {"minute volume within its limits", 0, {UNSET, L"3.8 L/min", L"1.5 - 6 L/min", UNSET}},
        {"cardiac output, all groups OK", 1, {UNSET, L"4.3 L/min", L"1.4 - 6.0 L/min", L"4 OK groups"}},
        {"initial ventilations as prescribed", 2, {L"2", UNSET, L"2", UNSET}},
        {"ventilation rate within", 3, {UNSET, L"7 /min", L"6 - 9 /min", UNSET}},
        {"ventilation volume, two low", 4, {L"10", L"0.5 L", L"0.4 - 0.6 L", L"8 OK / 2 low"}},
        {"stomach inflations", 5, {L"2", UNSET, L"0%", L"8 OK / 2 wrong"}},
        {"compression rate by groups", 6, {UNSET, L"105 /min", L"90 - 110 /min", L"3 OK groups / 1 low"}},
        {"compression/relaxation within", 7, {UNSET, L"45% / 55%", L"50% / 50%", UNSET}},
        {"compression depth, some superficial", 8, {L"120", L"44 mm", L"40 - 50 mm", L"110 OK / 10 superficial"}},
        {"pauses", 9, {L"3", L"6 s", L"< 9 s", L"2 OK / 1 long"}},
        {"no wrong hand position", 10, {L"0", UNSET, L"0%", L"120 OK"}},
        {"leanings", 11, {L"3", UNSET, L"0%", L"117 OK / 3 wrong"}},
        {"cycles, one wrong", 12, {L"4", L"15 : 2", L"15 : 2", L"3 OK / 1 wrong"}},
        {"two-person ratio", 12, {L"4", L"15 : 2", L"5 : 1", L"3 OK / 1 wrong"}, {}, {}, 1},

        // The percentage form.
        {"percent: cardiac output", 1, {UNSET, L"4.3 L/min", L"1.4 - 6.0 L/min", L"100% OK"}, {}, PERCENT},
        {"percent: volume", 4, {L"10", L"0.5 L", L"0.4 - 0.6 L", L"80% OK / 20% low"}, {}, PERCENT},
        {"percent: stomach, two blanks", 5, {L"2", UNSET, L"0%", L"80% OK /  20% wrong"}, {}, PERCENT},
        {"percent: rate groups", 6, {UNSET, L"105 /min", L"90 - 110 /min", L"75% OK groups / 25% low"}, {}, PERCENT},
        {"percent: depth", 8, {L"120", L"44 mm", L"40 - 50 mm", L"92% OK / 8% superficial"}, {}, PERCENT},
        {"percent: pauses of groups - 1", 9, {L"3", L"6 s", L"< 9 s", L"67% OK / 33% long"}, {}, PERCENT},
        {"percent: nothing wrong", 10, {L"0", UNSET, L"0%", L"100% OK"}, {}, PERCENT},
        // 2.5 % and 97.5 % each round up on their own.
        {"percent: leanings", 11, {L"3", UNSET, L"0%", L"98% OK / 3% wrong"}, {}, PERCENT},
        {"percent: cycles", 12, {L"4", L"15 : 2", L"15 : 2", L"75% OK / 25% wrong"}, {}, PERCENT},
        {"ratio in the decimal notation", 7, {UNSET, L"0.8", L"1.0", UNSET}, {}, DECIMAL_RATIO},

        // Limits and deviations.
        {"ventilation rate on the upper limit", 3, {UNSET, L"9 /min", L"6 - 9 /min", UNSET},
         [](DebriefFigures& f) { f.results.ventilation.rate = 9.0; }},
        {"ventilation rate just above", 3, {UNSET, L"9 /min", L"6 - 9 /min", L"Too fast"},
         [](DebriefFigures& f) { f.results.ventilation.rate = 9.4; }},
        {"ventilation rate below", 3, {UNSET, L"6 /min", L"6 - 9 /min", L"Too slow"},
         [](DebriefFigures& f) { f.results.ventilation.rate = 5.9; }},
        {"minute volume too low", 0, {UNSET, L"1.4 L/min", L"1.5 - 6 L/min", L"Too low"},
         [](DebriefFigures& f) { f.minuteVolume = 1.4; }},
        {"minute volume too high", 0, {UNSET, L"6.1 L/min", L"1.5 - 6 L/min", L"Too high"},
         [](DebriefFigures& f) { f.minuteVolume = 6.1; }},
        {"a measurement error of the ratio", 7, {UNSET, L"0% / 0%", L"50% / 50%", L"Not OK"},
         [](DebriefFigures& f) { f.results.compression.compRelaxRatio = 1.2; }},
        {"a measurement error, decimal", 7, {UNSET, L"0.0", L"1.0", L"Not OK"},
         [](DebriefFigures& f) { f.results.compression.compRelaxRatio = 1.2; }, DECIMAL_RATIO},
        {"ratio out of its limits", 7, {UNSET, L"65% / 35%", L"50% / 50%", L"Not OK"},
         [](DebriefFigures& f) { f.results.compression.compRelaxRatio = 0.655; }},
        {"no initial ventilations", 2, {L"0", UNSET, L"2", L"0 Performed"},
         [](DebriefFigures& f) { f.results.initialVentilations = 0; }},
        {"every group at the rate", 6, {UNSET, L"105 /min", L"90 - 110 /min", L"4 OK groups"},
         [](DebriefFigures& f) { f.results.compression.rateOK = 4, f.results.compression.rateLow = 0; }},
        {"every cycle right", 12, {L"4", L"15 : 2", L"15 : 2", L"4 OK"},
         [](DebriefFigures& f) { f.results.cycles.correct = 4; }},
        {"every compression at depth, percent", 8, {L"120", L"44 mm", L"40 - 50 mm", L"100% OK"},
         [](DebriefFigures& f) { f.results.compression.depthLow = 0; }, PERCENT},
        // No series with a duration (one compression, in the series the
        // session ended in) measured no output: nothing shown, nothing judged.
        {"compressions in no judged group", 1, {UNSET, UNSET, L"1.4 - 6.0 L/min", UNSET},
         [](DebriefFigures& f) {
             f.results.compression.cardiacOutputOK = 0;
             f.results.compression.averageCardiacOutput = 0.0;
         },
         PERCENT},
        // Without a complete cycle the ratio was not measured: its 0 is no
        // "0% / 100%" and no "Not OK".
        {"no complete cycle", 7, {UNSET, UNSET, L"50% / 50%", UNSET},
         [](DebriefFigures& f) {
             f.results.compression.completeCycles = 0;
             f.results.compression.compRelaxRatio = 0.0;
         }},
        {"no complete cycle, decimal", 7, {UNSET, UNSET, L"1.0", UNSET},
         [](DebriefFigures& f) {
             f.results.compression.completeCycles = 0;
             f.results.compression.compRelaxRatio = 0.0;
         },
         DECIMAL_RATIO},

        // Without ventilations: figures, but no remarks.
        {"no ventilations: minute volume", 0, {UNSET, L"0.0 L/min", L"1.5 - 6 L/min", UNSET}, noVentilations},
        {"no ventilations: rate", 3, {UNSET, L"0 /min", L"6 - 9 /min", UNSET}, noVentilations},
        {"no ventilations: volume", 4, {L"0", L"0.0 L", L"0.4 - 0.6 L", UNSET}, noVentilations},
        {"no ventilations: stomach", 5, {L"0", UNSET, L"0%", UNSET}, noVentilations},
        // One group has no pause; none at all neither.
        {"one group", 9, {L"0", UNSET, L"< 9 s", UNSET}, [](DebriefFigures& f) { f.results.compression.seriesCount = 1; }},
        {"no group", 9, {L"0", UNSET, L"< 9 s", UNSET}, [](DebriefFigures& f) { f.results.compression.seriesCount = 0; }},
        {"no cycle", 12, {L"0", UNSET, L"15 : 2", UNSET}, [](DebriefFigures& f) { f.results.cycles = CycleResults{}; }},
    };
}

void expectTheTexts()
{
    const AlgorithmRecord algorithm;
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.what);
        DebriefFigures figures = typicalSession();
        if (c.change)
            c.change(figures);
        PropertyModel settings;
        if (c.settings)
            c.settings(settings);
        EXPECT_EQ(rowOf(DebriefEvaluation(figures, algorithm, c.mode, settings), c.kind), c.expected);
    }
}

TEST(DebriefEvaluation, rowTextsOfTheDefaultGuideline) { expectTheTexts(); }

TEST(DebriefEvaluation, rowTextsUnderADecimalCommaLocale)
{
    kovatest::GermanLocale german;
    if (!german.active())
        GTEST_SKIP() << "no German locale can be made here";
    char check[16];
    std::snprintf(check, sizeof check, "%.1f", 1.5);
    ASSERT_STREQ(check, "1,5");
    expectTheTexts();
}

TEST(DebriefEvaluation, anUnknownKindSetsNothingAndIsLogged)
{
    const AlgorithmRecord algorithm;
    const PropertyModel settings;
    const DebriefEvaluation evaluation(typicalSession(), algorithm, 0, settings);
    for (int kind : {-1, 13}) {
        SCOPED_TRACE(kind);
        const std::size_t logged = errorLog().size();
        EXPECT_EQ(rowOf(evaluation, kind), Row{});
        const std::string line = errorLog().substr(logged);
        EXPECT_NE(line.find(": false\n"), std::string::npos) << line;
        EXPECT_EQ(evaluation.marker(kind), 0.0);
        EXPECT_EQ(DebriefEvaluation::rowLabel(kind), L"");
    }
    // Outside the two CPR modes the ratio has no recommendation.
    const DebriefEvaluation ventilationOnly(typicalSession(), algorithm, 2, settings);
    const std::size_t logged = errorLog().size();
    EXPECT_EQ(ventilationOnly.recommendedText(12), L"");
    EXPECT_NE(errorLog().substr(logged).find(": false\n"), std::string::npos);
}

TEST(DebriefEvaluation, markersPlaceTheMeasuredValues)
{
    const AlgorithmRecord algorithm;
    const PropertyModel settings;
    const DebriefEvaluation evaluation(typicalSession(), algorithm, 0, settings);
    const double expected[DebriefEvaluation::ROW_KINDS] = {
        3.8,  4.26, 2.0, 7.0, 0.51,        // minute volume .. volume (the analyser's running mean)
        20.0, 105.0, 45.0, 44.0, 6.0,      // stomach share .. pause
        0.0,  2.5,  15.25 / 2.0,           // wrong hands, leaning share, ratio
    };
    for (int kind = 0; kind < DebriefEvaluation::ROW_KINDS; ++kind)
        EXPECT_DOUBLE_EQ(evaluation.marker(kind), expected[kind]) << "kind " << kind;
}

TEST(DebriefEvaluation, sharesOfNothingAreZero)
{
    // No ventilations, no compressions, no ventilations per cycle: every
    // marker that divides is 0, never a NaN the bar would paint nowhere.
    DebriefFigures empty;
    empty.results.cycles.averageCompressions = 30.0;
    empty.results.compression.compRelaxRatio = -0.2;
    const AlgorithmRecord algorithm;
    const PropertyModel settings;
    const DebriefEvaluation evaluation(empty, algorithm, 0, settings);
    for (int kind = 0; kind < DebriefEvaluation::ROW_KINDS; ++kind)
        EXPECT_EQ(evaluation.marker(kind), 0.0) << "kind " << kind;

    PropertyModel percent;
    percent.debriefingAsCounts = false;
    const DebriefEvaluation inPercent(empty, algorithm, 0, percent);
    for (int kind = 0; kind < DebriefEvaluation::ROW_KINDS; ++kind) {
        const Row row = rowOf(inPercent, kind);
        EXPECT_EQ(row.evaluation.find(L"nan"), std::wstring::npos) << "kind " << kind;
    }
}

TEST(DebriefEvaluation, barsSpanTheRecommendedRanges)
{
    AlgorithmRecord algorithm;
    const PropertyModel settings;
    const DebriefEvaluation evaluation(typicalSession(), algorithm, 0, settings);

    // A third of the width below the range is twice what lies above it.
    const DebriefBar depth = evaluation.bar(DebriefEvaluation::COMPRESSION_DEPTH);
    EXPECT_DOUBLE_EQ(depth.areaLow, 40.0 - 40.0 / 3.0);
    EXPECT_DOUBLE_EQ(depth.areaHigh, 50.0 + 20.0 / 3.0);
    EXPECT_EQ(depth.rangeLow, 40.0);
    EXPECT_EQ(depth.rangeHigh, 50.0);
    EXPECT_FALSE(depth.rangeLeftTip || depth.rangeRightTip);
    EXPECT_TRUE(depth.scaleLeftTip && depth.scaleRightTip);
    EXPECT_EQ(evaluation.bar(DebriefEvaluation::MINUTE_VOLUME).rangeHigh, 6.0);

    const DebriefBar initial = evaluation.bar(DebriefEvaluation::INITIAL_VENTILATIONS);
    EXPECT_EQ((DebriefBar{0.0, 4.5, 2.0, 2.0, false, false, false, true, 10, 10}), initial);
    EXPECT_EQ((DebriefBar{-12.0, 15.0, 0.0, 0.0, true, false, false, true, 10, 10}),
              evaluation.bar(DebriefEvaluation::LEANING));
    const DebriefBar pause = evaluation.bar(DebriefEvaluation::PAUSE);
    EXPECT_DOUBLE_EQ(pause.areaHigh, 9.0 * 9.0 / 7.0);
    EXPECT_EQ(pause.rangeHigh, 9.0);
    EXPECT_EQ(evaluation.bar(DebriefEvaluation::COMPRESSION_VENTILATION_RATIO).rangeLow, 7.5);
    EXPECT_EQ(evaluation.bar(DebriefEvaluation::COMPRESSION_VENTILATION_RATIO).areaLow, 3.5);

    algorithm.initVent = 0;
    const DebriefBar none = evaluation.bar(DebriefEvaluation::INITIAL_VENTILATIONS);
    EXPECT_DOUBLE_EQ(none.areaLow, -4.0 / 3.0);
    EXPECT_DOUBLE_EQ(none.areaHigh, 5.0 / 3.0);
    EXPECT_TRUE(none.rangeLeftTip);
}

TEST(DebriefEvaluation, aRatioTargetWithoutVentilationsIsZero)
{
    // An imported algorithm may prescribe no ventilation per cycle.
    AlgorithmRecord algorithm;
    algorithm.ventCompRatioSingleVent = 0;
    const PropertyModel settings;
    const DebriefBar bar = DebriefEvaluation(typicalSession(), algorithm, 0, settings).bar(12);
    EXPECT_EQ(bar.rangeLow, 0.0);
    EXPECT_EQ(bar.areaLow, -4.0);
    EXPECT_EQ(bar.areaHigh, 5.0);

    // A negative target is logged and kept.
    algorithm.ventCompRatioSingleVent = 2;
    algorithm.ventCompRatioSingleComp = -15;
    const std::size_t logged = errorLog().size();
    EXPECT_EQ(DebriefEvaluation(typicalSession(), algorithm, 0, settings).bar(12).rangeLow, -7.5);
    EXPECT_NE(errorLog().substr(logged).find(": range>=0.0\n"), std::string::npos);
}

TEST(DebriefEvaluation, limitsBeyondAWholeNumberStayInRange)
{
    AlgorithmRecord algorithm;
    algorithm.vRateHigh = 1e300;
    algorithm.vRateLow = -1e300;
    algorithm.compDepthHigh = std::nan("");
    const PropertyModel settings;
    const DebriefEvaluation evaluation(typicalSession(), algorithm, 0, settings);
    EXPECT_EQ(evaluation.recommendedText(3), L"-2147483648 - 2147483647 /min");
    EXPECT_EQ(evaluation.recommendedText(8), L"40 - 0 mm");
}

std::vector<int> shown(int mode, const PropertyModel& settings)
{
    return DebriefEvaluation::shownKinds(mode, settings);
}

PropertyModel allOff()
{
    PropertyModel s;
    for (bool PropertyModel::*show :
         {&PropertyModel::showMinuteVolume, &PropertyModel::showCardiacOutput, &PropertyModel::showInitialVentilations,
          &PropertyModel::showVentilationRate, &PropertyModel::showAverageVolume, &PropertyModel::showStomachInflations,
          &PropertyModel::showCompressionRate, &PropertyModel::showCompressionRelaxationRatio,
          &PropertyModel::showCompressionDepth, &PropertyModel::showPauseBetweenCompressions,
          &PropertyModel::showWrongHandPositions, &PropertyModel::showLeanings,
          &PropertyModel::showVentilationCompressionRatio, &PropertyModel::showDebriefingComments})
        s.*show = false;
    return s;
}

PropertyModel allOn()
{
    PropertyModel s;
    s.showCardiacOutput = true;
    return s;
}

TEST(DebriefEvaluation, rowsFollowTheSettingsAndTheTrainingMode)
{
    using V = std::vector<int>;
    const PropertyModel on = allOn();
    EXPECT_EQ(shown(0, on), (V{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(shown(1, on), shown(0, on));
    EXPECT_EQ(shown(2, on), (V{3, 4, 5}));
    EXPECT_EQ(shown(3, on), (V{6, 7, 8, 9, 10, 11}));
    // Cardiac output is off by default.
    EXPECT_EQ(shown(0, PropertyModel()), (V{0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    for (int mode = 0; mode < 4; ++mode)
        EXPECT_EQ(shown(mode, allOff()), V{});

    PropertyModel some = allOff();
    some.showLeanings = true;
    some.showStomachInflations = true;
    EXPECT_EQ(shown(0, some), (V{5, 11}));
    EXPECT_EQ(shown(2, some), (V{5}));
    EXPECT_EQ(shown(3, some), (V{11}));

    const std::size_t logged = errorLog().size();
    EXPECT_FALSE(DebriefEvaluation::isRowShown(13, 0, on));
    EXPECT_NE(errorLog().substr(logged).find(": false\n"), std::string::npos);
}

std::vector<int> closing(int mode, const PropertyModel& settings)
{
    std::vector<int> kinds;
    for (int kind : DebriefEvaluation::shownKinds(mode, settings))
        if (DebriefEvaluation::closesGroup(kind, mode, settings))
            kinds.push_back(kind);
    return kinds;
}

TEST(DebriefEvaluation, theLastRowOfEachGroupGetsTheSeparator)
{
    using V = std::vector<int>;
    PropertyModel on = allOn();
    EXPECT_EQ(closing(0, on), (V{1, 5, 11, 12}));
    EXPECT_EQ(closing(2, on), (V{5}));
    EXPECT_EQ(closing(3, on), (V{11}));
    on.showDebriefingComments = false;
    EXPECT_EQ(closing(1, on), (V{1, 5, 11}));

    // The last shown row of a group closes it, whichever that is.
    PropertyModel some = allOff();
    some.showVentilationRate = true;
    some.showAverageVolume = true;
    some.showMinuteVolume = true;
    some.showCompressionRate = true;
    some.showCompressionDepth = true;
    EXPECT_EQ(closing(0, some), (V{0, 8}));
    EXPECT_EQ(closing(2, some), (V{4}));
}

TEST(DebriefEvaluation, thePrintedTableReservesItsSlots)
{
    EXPECT_EQ(DebriefEvaluation::printSlotCount(0, allOn()), 15);
    EXPECT_EQ(DebriefEvaluation::printSlotCount(1, PropertyModel()), 14);
    EXPECT_EQ(DebriefEvaluation::printSlotCount(2, allOn()), 5);
    EXPECT_EQ(DebriefEvaluation::printSlotCount(3, allOn()), 8);
    EXPECT_EQ(DebriefEvaluation::printSlotCount(0, allOff()), 1);
}

} // namespace
