// The debriefing of a performance the simulated manikin made, sent as a
// framed manikin sends it, read by the station's reader and analysed by its
// measurement store: every row carries the store's own figures, and
// debrief-table on the session's measurement text prints the same rows.

#include "app/debriefing/DebriefEvaluation.h"

#include "RunProgram.h"
#include "PerformedSession.h"
#include "SessionTestSupport.h"
#include "TempDir.h"
#include "comm/session/CommSession.h"
#include "config/AlgorithmRecord.h"
#include "config/PropertyModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

class DebriefSession : public testing::Test {
protected:
    PerformedSession performed;
    CommSession& session = performed.session;
};

std::wstring number(long n) { return std::to_wstring(n); }
std::wstring nearest(double x) { return number(static_cast<long>(x + 0.5)); }
std::wstring oneDecimal(double x)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%.1f", x);
    return text;
}

struct Texts {
    std::wstring total, average, evaluation;
};

std::string utf8(const std::wstring& text) { return std::string(text.begin(), text.end()); }

Texts texts(const DebriefEvaluation& evaluation, int kind)
{
    Texts t;
    evaluation.evaluateRow(kind, t.total, t.average, t.evaluation);
    return t;
}

TEST_F(DebriefSession, everyRowShowsTheMeasurementStoresFigures)
{
    const CommSession& s = session;
    // The performance gave every remark something to say.
    ASSERT_EQ(s.getNrCompressions(), 60);
    ASSERT_EQ(s.getNrVentilations(), 8);
    ASSERT_EQ(s.getNrCycles(), 4);
    ASSERT_GT(s.getNrStomachInflations(), 0);
    ASSERT_GT(s.getNrWrongHandPositions(), 0);
    ASSERT_GT(s.getNrLeanings(), 0);
    ASSERT_GT(s.getCompDepthLow(), 0);
    ASSERT_EQ(s.getCompDepthHigh(), 0);

    const PropertyModel settings;
    const DebriefEvaluation evaluation = DebriefEvaluation::of(session, settings);
    const int compressions = s.getNrCompressions();
    const int ventilations = s.getNrVentilations();

    EXPECT_EQ(texts(evaluation, 0).average, oneDecimal(s.ventilationAnalyser().getMinuteVolume()) + L" L/min");
    EXPECT_EQ(texts(evaluation, 2).total, number(s.getNrInitialVentilations()));
    EXPECT_EQ(texts(evaluation, 3).average, nearest(s.getVentFreqAverage()) + L" /min");

    const Texts volume = texts(evaluation, 4);
    EXPECT_EQ(volume.total, number(ventilations));
    EXPECT_EQ(volume.average, oneDecimal(s.getVentVolumeAverage()) + L" L");
    EXPECT_EQ(volume.evaluation.rfind(number(ventilations - s.getVentVolumeLow() - s.getVentVolumeHigh()) + L" OK", 0), 0u)
        << std::string(volume.evaluation.begin(), volume.evaluation.end());

    const Texts stomach = texts(evaluation, 5);
    EXPECT_EQ(stomach.total, number(s.getNrStomachInflations()));
    EXPECT_EQ(stomach.evaluation, number(ventilations - s.getNrStomachInflations()) + L" OK / " +
                                      number(s.getNrStomachInflations()) + L" wrong");

    const Texts rate = texts(evaluation, 6);
    EXPECT_EQ(rate.average, nearest(s.getCompFreqAverage()) + L" /min");
    EXPECT_EQ(rate.evaluation.rfind(number(s.getCompFreqOK()) + L" OK groups", 0), 0u);

    const Texts depth = texts(evaluation, 8);
    EXPECT_EQ(depth.total, number(compressions));
    EXPECT_EQ(depth.average, nearest(s.getCompDepthAverage()) + L" mm");
    EXPECT_EQ(depth.evaluation,
              number(compressions - s.getCompDepthLow()) + L" OK / " + number(s.getCompDepthLow()) + L" superficial");

    const Texts pause = texts(evaluation, 9);
    EXPECT_EQ(pause.total, number(s.getNrCompGroups() - 1));
    EXPECT_EQ(pause.average, number(s.getPauseAverage()) + L" s");

    EXPECT_EQ(texts(evaluation, 10).total, number(s.getNrWrongHandPositions()));
    EXPECT_EQ(texts(evaluation, 10).evaluation, number(compressions - s.getNrWrongHandPositions()) + L" OK / " +
                                                    number(s.getNrWrongHandPositions()) + L" wrong");
    EXPECT_EQ(texts(evaluation, 11).evaluation,
              number(compressions - s.getNrLeanings()) + L" OK / " + number(s.getNrLeanings()) + L" wrong");

    const Texts cycles = texts(evaluation, 12);
    EXPECT_EQ(cycles.total, number(s.getNrCycles()));
    EXPECT_EQ(cycles.average, nearest(s.getCompPerCycleAverage()) + L" : " + nearest(s.getVentPerCycleAverage()));

    // The bars place what the store and its ventilation analyser measured.
    EXPECT_EQ(evaluation.marker(0), s.ventilationAnalyser().getMinuteVolume());
    EXPECT_EQ(evaluation.marker(1), s.getCardiacOutput());
    EXPECT_EQ(evaluation.marker(4), s.ventilationAnalyser().getVolumeAverage());
    EXPECT_DOUBLE_EQ(evaluation.marker(5), s.getNrStomachInflations() * 100.0 / ventilations);
    EXPECT_DOUBLE_EQ(evaluation.marker(10), s.getNrWrongHandPositions() * 100.0 / compressions);
    EXPECT_DOUBLE_EQ(evaluation.marker(11), s.getNrLeanings() * 100.0 / compressions);
    EXPECT_DOUBLE_EQ(evaluation.marker(12), s.getCompPerCycleAverage() / s.getVentPerCycleAverage());
}

// The compression/relaxation and cardiac output rows wherever a session
// ends: the series it ends in counts with its complete cycles, and a session
// without any shows both rows as not measured (no figure, no remark), as the
// pause row does without two groups. Closed series press 7 samples of every
// 30 (23 %), the last series 13 of 30; compressions every 30 samples at 50 a
// second, 0.03 l each.
TEST(DebriefSessionEnds, theRatioAndTheOutputCountTheLastSeriesCompleteCycles)
{
    using namespace sessiontest;
    constexpr int PERIOD = 30;
    const auto series = [](CommSession& s, std::size_t start, int count, int hold) {
        for (int k = 0; k < count; ++k)
            compressionAt(s, start + static_cast<std::size_t>(k * PERIOD), 45.0, false, hold);
    };
    // A closed series of 15 from 100, and its two breaths.
    const auto closed = [&](CommSession& s) {
        series(s, 100, 15, 5);
        ventilationAt(s, 560);
        ventilationAt(s, 570);
    };
    struct Case {
        const char* name;
        int mode;
        std::function<void(CommSession&)> perform;
        Texts ratio;
        Texts output;
    };
    const std::wstring unset = L"?";
    const Case cases[] = {
        // (14 x 7 + 7 x 13) / (21 x 30) = 30 %; 0.66 l over 550 + 210 samples.
        {"inside a series", 0,
         [&](CommSession& s) {
             closed(s);
             series(s, 650, 8, 11);
             appendDepths(s, {20, 45});
         },
         {unset, L"30% / 70%", L"Not OK"}, {unset, L"2.6 L/min", L"2 OK groups"}},
        // (14 x 7 + 14 x 13) / (28 x 30) = 33 %; 0.87 l over 550 + 420 samples.
        {"inside the breaths", 0,
         [&](CommSession& s) {
             closed(s);
             series(s, 650, 15, 11);
             ventilationAt(s, 1110);
             appendVolumes(s, {0.2, 0.5});
         },
         {unset, L"33% / 67%", L"Not OK"}, {unset, L"2.7 L/min", L"2 OK groups"}},
        // The new series' one compression is no cycle: the closed one alone.
        {"right after a series closes", 0,
         [&](CommSession& s) {
             closed(s);
             compressionAt(s, 650, 45.0, false, 11);
             restUntil(s, 700);
         },
         {unset, L"23% / 77%", L"Not OK"}, {unset, L"2.5 L/min", L"1 OK groups"}},
        // 19 cycles of 13 in 30 = 43 %; 0.57 l over 570 samples.
        {"compressions only", 3,
         [&](CommSession& s) {
             series(s, 100, 20, 11);
             restUntil(s, 800);
         },
         {unset, L"43% / 57%", unset}, {unset, L"3.0 L/min", L"1 OK groups"}},
        {"one compression", 3,
         [&](CommSession& s) {
             compressionAt(s, 100);
             restUntil(s, 300);
         },
         {unset, unset, unset}, {unset, unset, unset}},
        {"no compression at all", 0,
         [&](CommSession& s) {
             ventilationAt(s, 100);
             ventilationAt(s, 110);
             restUntil(s, 300);
         },
         {unset, unset, unset}, {unset, unset, unset}},
    };
    const PropertyModel settings;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AlgorithmRecord algorithm;
        CommSession session;
        session.setAlgorithm(&algorithm);
        session.trainingMode = c.mode;
        c.perform(session);
        session.evaluate();
        const DebriefEvaluation evaluation = DebriefEvaluation::of(session, settings);
        for (const auto& [kind, expected] : {std::pair{7, c.ratio}, std::pair{1, c.output}}) {
            SCOPED_TRACE(kind);
            Texts shown{unset, unset, unset};
            evaluation.evaluateRow(kind, shown.total, shown.average, shown.evaluation);
            EXPECT_EQ(utf8(shown.total), utf8(expected.total));
            EXPECT_EQ(utf8(shown.average), utf8(expected.average));
            EXPECT_EQ(utf8(shown.evaluation), utf8(expected.evaluation));
        }
    }
}

std::vector<std::string> split(const std::string& line, char separator)
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, separator))
        fields.push_back(field);
    if (!line.empty() && line.back() == separator)
        fields.emplace_back();
    return fields;
}

std::string rate(double sampleRate)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", sampleRate);
    return text;
}

TEST_F(DebriefSession, theTableToolPrintsTheSameRowsFromTheStoredText)
{
    kovatest::TempDir folder;
    const std::string textFile = folder.file("session.txt");
    std::ostringstream text;
    ASSERT_TRUE(session.save(text));
    kovatest::writeFile(textFile, text.str());

    struct Form {
        std::vector<std::string> options;
        bool asCounts;
        bool ratioAsPercent;
    };
    for (const Form& form : {Form{{}, true, true}, Form{{"--percent", "--ratio-decimal"}, false, false}}) {
        std::vector<std::string> args{"--text", textFile, "--rate", rate(session.sampleRate), "--mode", "0"};
        args.insert(args.end(), form.options.begin(), form.options.end());
        const kovatest::ProgramRun run = kovatest::runProgram(DEBRIEF_TABLE, args);
        ASSERT_EQ(run.exitCode, 0) << run.errors;

        PropertyModel settings;
        settings.debriefingAsCounts = form.asCounts;
        settings.ratioAsPercent = form.ratioAsPercent;
        const DebriefEvaluation live = DebriefEvaluation::of(session, settings);
        ASSERT_FALSE(run.output.empty());
        ASSERT_EQ(run.output.back(), '\n');
        const std::vector<std::string> lines = split(run.output.substr(0, run.output.size() - 1), '\n');
        ASSERT_EQ(lines.size(), 14u) << run.output;
        EXPECT_EQ(lines[0], "kind\tlabel\tshown\tmarker\ttotal\taverage\trecommended\tremark");
        for (int kind = 0; kind < DebriefEvaluation::ROW_KINDS; ++kind) {
            SCOPED_TRACE(lines[kind + 1]);
            const std::vector<std::string> fields = split(lines[kind + 1], '\t');
            ASSERT_EQ(fields.size(), 8u);
            std::wstring total, average, remark;
            live.evaluateRow(kind, total, average, remark);
            EXPECT_EQ(fields[0], std::to_string(kind));
            EXPECT_EQ(fields[1], utf8(DebriefEvaluation::rowLabel(kind)));
            EXPECT_EQ(fields[2], DebriefEvaluation::isRowShown(kind, 0, settings) ? "1" : "0");
            // The stored text keeps four digits of each measurement.
            EXPECT_NEAR(std::stod(fields[3]), live.marker(kind), 1e-3 * (1.0 + std::fabs(live.marker(kind))));
            EXPECT_EQ(fields[4], utf8(total));
            EXPECT_EQ(fields[5], utf8(average));
            EXPECT_EQ(fields[6], utf8(live.recommendedText(kind)));
            EXPECT_EQ(fields[7], utf8(remark));
        }
    }
}

TEST(DebriefTable, refusesWhatDoesNotLoad)
{
    kovatest::TempDir folder;
    const std::string damaged = folder.file("damaged.txt");
    kovatest::writeFile(damaged, "3\r\n45 0 1 0 0 0 128 0\r\nnot a number\r\n");
    const std::string good = folder.file("good.txt");
    kovatest::writeFile(good, "1\r\n45 0 1 0 0 0 128 0\r\n");

    struct Case {
        const char* what;
        std::vector<std::string> args;
        int exitCode;
    };
    const Case cases[] = {
        {"missing file", {"--text", folder.file("none.txt"), "--rate", "50", "--mode", "0"}, 1},
        {"damaged text", {"--text", damaged, "--rate", "50", "--mode", "0"}, 1},
        {"no rate", {"--text", good, "--rate", "0", "--mode", "0"}, 1},
        {"unknown option", {"--text", good, "--rate", "50", "--mode", "0", "--verbose"}, 2},
        {"mode out of range", {"--text", good, "--rate", "50", "--mode", "4"}, 2},
        {"rate missing", {"--text", good, "--mode", "0"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const kovatest::ProgramRun run = kovatest::runProgram(DEBRIEF_TABLE, c.args);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.output, "");
        EXPECT_NE(run.errors, "");
    }
    const kovatest::ProgramRun run = kovatest::runProgram(DEBRIEF_TABLE, {"--text", good, "--rate", "50", "--mode", "3"});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    // Only compression rows in that mode; the ratio recommends nothing there.
    EXPECT_NE(run.output.find("\n12\tCompr./Vent. ratio\t0\t0\t0\t\t\t\n"), std::string::npos) << run.output;
}

} // namespace
