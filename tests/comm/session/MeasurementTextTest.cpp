#include "SessionTestSupport.h"

#include "config/AlgorithmRecord.h"
#include "GermanLocale.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale>
#include <sstream>

using namespace sessiontest;

namespace {

std::string saved(const CommSession& session)
{
    std::ostringstream out;
    EXPECT_TRUE(session.save(out));
    return out.str();
}

Measurement measurement(double depth, double volume, int ecg, int flags)
{
    Measurement m;
    m.depth = depth;
    m.volume = volume;
    m.ecg = ecg;
    m.ventilationMark = flags & 1;
    m.compressionMark = (flags >> 1) & 1;
    m.stomachInflation = (flags >> 2) & 1;
    m.wrongHandPosition = (flags >> 3) & 1;
    m.error66 = (flags >> 4) & 1;
    return m;
}

TEST(MeasurementText, emptySessionIsTheCountAlone)
{
    CommSession session;
    EXPECT_EQ(saved(session), "0\r\n");
    std::istringstream in("0\r\n");
    EXPECT_TRUE(session.load(in, 20.0));
    EXPECT_TRUE(session.manData.empty());
    EXPECT_TRUE(session.isStoredSession());
    EXPECT_EQ(session.sampleRate, 20.0);
}

TEST(MeasurementText, recordsAreWrittenWithFourSignificantDigits)
{
    const struct {
        Measurement m;
        const char* line;
    } cases[] = {
        {measurement(45.678, 0.0, 512, 0), "45.68 0 0 0 0 0 512 0\r\n"},
        {measurement(123.456, 0.51234, 0, 0b11111), "123.5 1 1 1 0.5123 1 0 1\r\n"},
        {measurement(0.0001234, 1.5, -7, 0b00100), "0.0001234 0 0 1 1.5 0 -7 0\r\n"},
        {measurement(12345.0, 0.0, 123456, 0), "1.234e+04 0 0 0 0 0 1.235e+05 0\r\n"},
    };
    for (const auto& c : cases) {
        CommSession session;
        session.manData.push_back(c.m);
        EXPECT_EQ(saved(session), std::string("1\r\n") + c.line);
    }
}

TEST(MeasurementText, roundTripKeepsFourDigitsAndFlags)
{
    CommSession session;
    session.manData = {measurement(45.678, 0.51234, 512, 0b01010), measurement(0, 0, 0, 0),
                       measurement(52.25, 0.006, 255, 0b10101)};
    const std::string text = saved(session);

    CommSession stored;
    std::istringstream in(text);
    ASSERT_TRUE(stored.load(in, 50.0));
    ASSERT_EQ(stored.manData.size(), 3u);
    EXPECT_EQ(stored.manData[0], measurement(45.68, 0.5123, 512, 0b01010));
    EXPECT_EQ(stored.manData[1], measurement(0, 0, 0, 0));
    EXPECT_EQ(stored.manData[2], measurement(52.25, 0.006, 255, 0b10101));
    EXPECT_EQ(saved(stored), text);
}

TEST(MeasurementText, readerIsAsLenientAsTheStationsOwnFiles)
{
    // Any whitespace between numbers; a flag is set by any number but 0; the
    // ECG value is truncated.
    CommSession session;
    std::istringstream in("2\n 1.5\t0 2 -1 0.25 0 99.9 0\r\n+3 0 0 0 1e-1 7 -3.7 0\n");
    ASSERT_TRUE(session.load(in, 50.0));
    ASSERT_EQ(session.manData.size(), 2u);
    EXPECT_EQ(session.manData[0], measurement(1.5, 0.25, 99, 0b00110));
    EXPECT_EQ(session.manData[1], measurement(3, 0.1, -3, 0b01000));
}

TEST(MeasurementText, damagedTextFailsAndLeavesNothing)
{
    const struct {
        const char* name;
        const char* text;
    } cases[] = {
        {"Empty", ""},
        {"NoCount", "x\r\n"},
        {"NegativeCount", "-1\r\n"},
        {"CountTooLarge", "99999999999\r\n"},
        {"ShortText", "3\r\n10 0 0 0 0 0 0 0\r\n20 0 0 0 0 0 0 0\r\n"},
        {"HugeCountOneRecord", "2147483647\r\n10 0 0 0 0 0 0 0\r\n"},
        {"RecordCutShort", "1\r\n10 0 0 0 0.5 0\r\n"},
        {"FractionInAFlag", "1\r\n10 0.5 0 0 0 0 0 0\r\n"},
        {"Word", "1\r\n10 0 0 0 abc 0 0 0\r\n"},
        {"NotANumber", "1\r\nnan 0 0 0 0 0 0 0\r\n"},
        {"Infinite", "1\r\n10 0 0 0 inf 0 0 0\r\n"},
        {"EcgOutOfRange", "1\r\n10 0 0 0 0 0 1e12 0\r\n"},
        {"FlagOutOfRange", "1\r\n10 0 0 0 0 0 0 99999999999\r\n"},
        {"PlusMinus", "1\r\n10 0 0 0 0 0 +-3 0\r\n"},
    };
    for (const auto& c : cases) {
        CommSession session;
        // Data of an earlier load must go too.
        std::istringstream good("5\r\n0 0 0 0 0 0 0 0\r\n20 0 0 0 0 0 0 0\r\n45 0 0 0 0 0 0 0\r\n20 0 0 0 0 0 0 0\r\n0 0 0 0 0 0 0 0\r\n");
        ASSERT_TRUE(session.load(good, 50.0));
        ASSERT_EQ(session.compressionSeries().size(), 1u);
        std::istringstream in(c.text);
        EXPECT_FALSE(session.load(in, 50.0)) << c.name;
        EXPECT_TRUE(session.manData.empty()) << c.name;
        EXPECT_TRUE(session.compressionSeries().empty()) << c.name;
        EXPECT_TRUE(session.ventilationGroups().empty()) << c.name;
    }
}

TEST(MeasurementText, aStoredRateOfZeroOrBelowIsRefused)
{
    const std::string text = "3\r\n0 0 0 0 0 0 0 0\r\n45 0 0 0 0 0 0 0\r\n0 0 0 0 0 0 0 0\r\n";
    for (double rate : {0.0, -20.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(rate);
        CommSession session;
        ASSERT_TRUE(session.loadText(text, 50.0));
        std::istringstream in(text);
        EXPECT_FALSE(session.load(in, rate));
        EXPECT_TRUE(session.manData.empty());
        EXPECT_TRUE(session.compressionSeries().empty());
        EXPECT_EQ(in.tellg(), 0) << "nothing of the text is taken";
        EXPECT_EQ(session.sampleRate, 50.0);
        std::size_t consumed = 1;
        EXPECT_FALSE(session.loadText(text, rate, &consumed));
        EXPECT_EQ(consumed, 0u);
    }
}

TEST(MeasurementText, textCutIntoBlocksAnywhereReadsTheSame)
{
    CommSession session;
    session.manData = {measurement(45.678, 0.51234, 512, 0b01010), measurement(0, 0, 0, 0),
                       measurement(1234.5, 0.006, 3, 0b10000), measurement(7, 0.25, -40, 0b00100)};
    const std::string text = saved(session) + "recommendations:\n";
    for (std::size_t block = 1; block <= text.size(); ++block) {
        CommSession stored;
        std::size_t consumed = 0;
        ASSERT_TRUE(stored.loadText(text, 50.0, &consumed, block)) << "block " << block;
        EXPECT_EQ(stored.manData.size(), 4u) << "block " << block;
        EXPECT_EQ(consumed, text.find("\r\nrecommendations")) << "block " << block;
        EXPECT_EQ(stored.manData[2], measurement(1234, 0.006, 3, 0b10000)) << "block " << block;
    }
    // A cut record is damage, in any block size.
    for (std::size_t block : {1u, 5u, 64u}) {
        CommSession stored;
        EXPECT_FALSE(stored.loadText("2\r\n1 0 0 0 1 0 1 0\r\n1 0 0", 50.0, nullptr, block)) << "block " << block;
    }
}

TEST(MeasurementText, failedStreamFailsBothWays)
{
    CommSession session;
    session.manData.push_back(measurement(1, 1, 1, 0));
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_FALSE(session.save(out));
    std::istringstream in("1\r\n1 0 0 0 1 0 1 0\r\n");
    in.setstate(std::ios::failbit);
    EXPECT_FALSE(session.load(in, 50.0));
    EXPECT_TRUE(session.manData.empty());
}

TEST(MeasurementText, loadLeavesTheStreamBehindTheText)
{
    CommSession session;
    std::istringstream in("1\r\n45 0 0 0 0.5 0 3 0\r\nrecommendations:\nwell done\n");
    ASSERT_TRUE(session.load(in, 50.0));
    std::string rest;
    std::getline(in, rest, '\0');
    EXPECT_EQ(rest, "\r\nrecommendations:\nwell done\n");
}

TEST(MeasurementText, loadFeedsTheAnalysersOnce)
{
    AlgorithmRecord algorithm;
    CommSession live;
    live.setAlgorithm(&algorithm);
    for (std::size_t start : {10u, 30u, 50u, 200u})
        compressionAt(live, start);
    ventilationAt(live, 100);
    ventilationAt(live, 110, 0.5, true);
    restUntil(live, 300);
    const std::string text = saved(live);

    CommSession stored;
    stored.setAlgorithm(&algorithm);
    IndexListener summaries;
    connect(stored.seriesSummaryAdded, summaries, &IndexListener::onIndex);
    std::istringstream in(text);
    ASSERT_TRUE(stored.load(in, 50.0));
    EXPECT_EQ(summaries.indexes.size(), 1u);

    const auto afterLoad = stored.compressionSeries();
    const auto groupsAfterLoad = stored.ventilationGroups();
    ASSERT_EQ(afterLoad.size(), 2u);
    ASSERT_EQ(groupsAfterLoad.size(), 1u);
    stored.evaluate();
    ASSERT_EQ(stored.compressionSeries().size(), afterLoad.size());
    for (std::size_t i = 0; i < afterLoad.size(); ++i)
        EXPECT_EQ(stored.compressionSeries()[i].records, afterLoad[i].records);
    EXPECT_EQ(stored.ventilationGroups()[0].records, groupsAfterLoad[0].records);
    EXPECT_EQ(stored.getNrStomachInflations(), 1);
}

TEST(MeasurementText, fileRoundTrip)
{
    kovatest::TempDir folder;
    CommSession session;
    session.manData = {measurement(45.678, 0.51234, 512, 0b01010), measurement(0, 0, 0, 0)};
    const std::string path = folder.file("session.dat");
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fputs("0\r\n0\r\n", out); // the graph mark sections before it
    ASSERT_TRUE(session.save(out));
    std::fputs("recommendations:\n\n", out);
    ASSERT_EQ(std::fclose(out), 0);

    std::FILE* in = std::fopen(path.c_str(), "r");
    ASSERT_NE(in, nullptr);
    int marks = -1;
    ASSERT_EQ(std::fscanf(in, "%d", &marks), 1);
    ASSERT_EQ(std::fscanf(in, "%d", &marks), 1);
    CommSession stored;
    ASSERT_TRUE(stored.load(in, 50.0));
    char word[32] = {};
    EXPECT_EQ(std::fscanf(in, "%31s", word), 1);
    std::fclose(in);
    EXPECT_STREQ(word, "recommendations:");
    ASSERT_EQ(stored.manData.size(), 2u);
    EXPECT_EQ(stored.manData[0], measurement(45.68, 0.5123, 512, 0b01010));
}

TEST(MeasurementText, germanLocaleWritesAndReadsTheSameBytes)
{
    CommSession session;
    session.manData = {measurement(45.678, 0.51234, 512, 0b01010), measurement(1234.5, 0.006, 3, 0)};
    const std::string inC = saved(session);

    kovatest::GermanLocale german;
    if (!german.active())
        GTEST_SKIP() << "no German locale can be made here";
    char check[16];
    std::snprintf(check, sizeof check, "%.1f", 1.5);
    EXPECT_STREQ(check, "1,5"); // the locale really is in force

    EXPECT_EQ(saved(session), inC);
    CommSession stored;
    std::istringstream in(inC);
    EXPECT_TRUE(stored.load(in, 50.0));
    EXPECT_EQ(saved(stored), inC);
}

} // namespace
