// The session data file as text: its sections byte for byte, the
// recommendations behind the measurements, and what a damaged file keeps.

#include "app/sessions/SessionDataFile.h"

#include "Database/export-import/DataFileContents.h"
#include "app/graphs/GraphDoc.h"
#include "app/graphs/GraphSource.h"
#include "comm/session/CommSession.h"
#include "config/AlgorithmRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

// A session's store with its compression and ventilation documents.
struct Curves {
    AlgorithmRecord algorithm;
    CommSession data;
    GraphSource compressionSource = GraphSource::compression(data, algorithm);
    GraphSource ventilationSource = GraphSource::ventilation(data, algorithm);
    GraphDoc compression{compressionSource};
    GraphDoc ventilation{ventilationSource};
    std::string recommendations;

    SessionDataFile::ReadResult read(const std::string& text, double rate = 20.0)
    {
        return SessionDataFile::read(text, rate, compression, ventilation, data, recommendations);
    }
};

std::string written(const Curves& curves, const std::string& recommendations)
{
    std::FILE* file = std::tmpfile();
    EXPECT_TRUE(SessionDataFile::write(file, curves.compression, curves.ventilation, curves.data, recommendations));
    std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    EXPECT_EQ(std::fread(text.data(), 1, text.size(), file), text.size());
    std::fclose(file);
    return text;
}

std::vector<std::pair<int, int>> marksOf(const GraphDoc& doc)
{
    std::vector<std::pair<int, int>> marks;
    for (const GraphEvent& mark : doc.getMarks())
        marks.emplace_back(mark.sampleIndex, mark.image);
    return marks;
}

const char* const TWO_SAMPLES = "2\r\n45.68 0 1 0 0 0 128 0\r\n0 1 0 0 0.5234 0 17 1\r\n";

} // namespace

TEST(SessionDataFile, writesItsSectionsByteForByteAndReadsThemBack)
{
    Curves curves;
    ASSERT_TRUE(curves.compression.readMarks(std::string_view("1\r\n1520 3\r\n")));
    curves.data.manData = {Measurement{45.678, 0, 128, 0, 0, 0, 1, 0}, Measurement{0, 0.5234, 17, 0, 0, 1, 0, 1}};
    const std::string text = written(curves, "Good");
    EXPECT_EQ(text, "1\r\n1520 3\r\n0\r\n2\r\n45.68 0 1 0 0 0 128 0\r\n0 1 0 0 0.5234 0 17 1\r\nrecommendations:\nGood\n");

    Curves back;
    EXPECT_EQ(back.read(text), SessionDataFile::ReadResult::Read);
    ASSERT_EQ(back.data.manData.size(), 2u);
    EXPECT_EQ(back.data.manData[0], (Measurement{45.68, 0, 128, 0, 0, 0, 1, 0}));
    EXPECT_EQ(back.data.manData[1], (Measurement{0, 0.5234, 17, 0, 0, 1, 0, 1}));
    EXPECT_EQ(back.recommendations, "Good");
    // Two samples cannot hold a mark at 1520.
    EXPECT_TRUE(back.compression.getMarks().empty());
}

TEST(SessionDataFile, recommendationsComeBackAsWritten)
{
    const std::wstring longest(349, L'\u00e9');
    const std::string cases[] = {
        "", "Good", "Keep the arms straight.\nPress harder.\nRelease fully.", "ends with a line\n",
        "recommendations:\nnamed like the marker", "  starts with blanks", std::string(SessionDataFile::limitRecommendations(longest, 349)),
    };
    for (const std::string& recommendations : cases) {
        Curves curves;
        curves.data.manData.resize(3);
        const std::string text = written(curves, recommendations);
        EXPECT_TRUE(text.ends_with("recommendations:\n" + recommendations + "\n"));
        Curves back;
        EXPECT_EQ(back.read(text), SessionDataFile::ReadResult::Read);
        EXPECT_EQ(back.recommendations, recommendations);
    }
    // A file an import wrote has CR LF for every line end, the last one too.
    Curves imported;
    EXPECT_EQ(imported.read(std::string("0\r\n0\r\n") + TWO_SAMPLES + "recommendations:\r\nGood\r\n"),
              SessionDataFile::ReadResult::Read);
    EXPECT_EQ(imported.recommendations, "Good");
    // Without the section there are none.
    Curves older;
    EXPECT_EQ(older.read(std::string("0\r\n0\r\n") + TWO_SAMPLES), SessionDataFile::ReadResult::Read);
    EXPECT_EQ(older.recommendations, "");
}

// A data file exported (CR LF arriving as LF) and imported again comes back
// byte for byte: CR LF before the recommendations, LF from their marker on.
TEST(SessionDataFile, anExportedAndImportedFileComesBackByteForByte)
{
    Curves curves;
    ASSERT_TRUE(curves.compression.readMarks(std::string_view("1\r\n1 3\r\n")));
    ASSERT_TRUE(curves.ventilation.readMarks(std::string_view("1\r\n0 5\r\n")));
    curves.data.manData = {Measurement{45.678, 0, 128, 0, 0, 0, 1, 0}, Measurement{0, 0.5234, 17, 0, 0, 1, 0, 1}};
    const std::string original = written(curves, "Keep the arms straight.\nPress harder.");

    std::vector<unsigned char> carried;
    DataFileContents::appendAsText(reinterpret_cast<const unsigned char*>(original.data()), original.size(), carried);
    ASSERT_EQ(std::count(carried.begin(), carried.end(), '\r'), 0);
    const std::vector<unsigned char> imported = DataFileContents::asDataFile(carried);
    const std::string text(imported.begin(), imported.end());
    EXPECT_EQ(text, original);

    Curves before;
    Curves back;
    ASSERT_EQ(before.read(original), SessionDataFile::ReadResult::Read);
    ASSERT_EQ(back.read(text), SessionDataFile::ReadResult::Read);
    EXPECT_EQ(back.data.manData, before.data.manData);
    EXPECT_EQ(marksOf(back.compression), (std::vector<std::pair<int, int>>{{1, 3}}));
    EXPECT_EQ(marksOf(back.ventilation), (std::vector<std::pair<int, int>>{{0, 5}}));
    EXPECT_EQ(back.recommendations, "Keep the arms straight.\nPress harder.");
}

TEST(SessionDataFile, theBoxIsCutToItsLimitOnWholeCharacters)
{
    const std::wstring box = std::wstring(348, L'a') + L"\u00e9\u00e9\u00e9";
    const std::string kept = SessionDataFile::limitRecommendations(box, 349);
    EXPECT_EQ(kept, std::string(348, 'a') + "\xc3\xa9");
    EXPECT_EQ(SessionDataFile::limitRecommendations(L"short", 349), "short");
}

TEST(SessionDataFile, aDamagedMarkSectionFailsAndKeepsTheMarksRead)
{
    struct Case {
        const char* text;
        std::vector<std::pair<int, int>> compression;
        std::vector<std::pair<int, int>> ventilation;
    };
    const Case cases[] = {
        {"2\r\n5 3\r\nx 4\r\n", {{5, 3}}, {}},
        // A count past the end stops there.
        {"3\r\n1 2\r\n", {{1, 2}}, {}},
        {"1\r\n0 1\r\n2\r\n7 4\r\n", {{0, 1}}, {{7, 4}}},
        {"", {}, {}},
    };
    for (const Case& c : cases) {
        Curves curves;
        EXPECT_EQ(curves.read(c.text), SessionDataFile::ReadResult::MarksDamaged) << c.text;
        EXPECT_EQ(marksOf(curves.compression), c.compression) << c.text;
        EXPECT_EQ(marksOf(curves.ventilation), c.ventilation) << c.text;
        EXPECT_TRUE(curves.data.manData.empty());
    }
}

TEST(SessionDataFile, marksNoSampleCanHoldAreDroppedOnceTheMeasurementsAreIn)
{
    Curves curves;
    const std::string text = std::string("7\r\n-2 1\r\n-1 2\r\n0 3\r\n1 96\r\n2 4\r\n0 97\r\n0 -1\r\n1\r\n1 5\r\n")
        + TWO_SAMPLES + "recommendations:\n\n";
    EXPECT_EQ(curves.read(text), SessionDataFile::ReadResult::Read);
    EXPECT_EQ(marksOf(curves.compression), (std::vector<std::pair<int, int>>{{-1, 2}, {0, 3}, {1, 96}}));
    EXPECT_EQ(marksOf(curves.ventilation), (std::vector<std::pair<int, int>>{{1, 5}}));
}

TEST(SessionDataFile, damagedMeasurementsFailAndLeaveNoMarkOnMissingSamples)
{
    Curves curves;
    EXPECT_EQ(curves.read("1\r\n0 3\r\n1\r\n-1 4\r\n2\r\n45.68 0 1 0 0\r\nrecommendations:\nGood\n"),
              SessionDataFile::ReadResult::MeasurementsDamaged);
    EXPECT_TRUE(curves.data.manData.empty());
    EXPECT_TRUE(curves.compression.getMarks().empty());
    EXPECT_EQ(marksOf(curves.ventilation), (std::vector<std::pair<int, int>>{{-1, 4}}));
    EXPECT_EQ(curves.recommendations, "");
}

// Every time of a session divides by its rate: a row with a rate no manikin
// gives (an imported file may hold any) is refused before anything is read.
TEST(SessionDataFile, aRateOutsideOneToAThousandSamplesASecondIsRefused)
{
    const std::string text = std::string("1\r\n0 3\r\n0\r\n") + TWO_SAMPLES + "recommendations:\nGood\n";
    for (const double rate : {0.0, -20.0, 1e-300, 0.999, 1000.5, 1e300, HUGE_VAL, std::nan("")}) {
        SCOPED_TRACE(rate);
        Curves curves;
        EXPECT_EQ(curves.read(text, rate), SessionDataFile::ReadResult::RateRefused);
        EXPECT_TRUE(curves.data.manData.empty());
        EXPECT_TRUE(curves.compression.getMarks().empty());
        EXPECT_EQ(curves.recommendations, "");
    }
    for (const double rate : {1.0, 43.3, 1000.0}) {
        SCOPED_TRACE(rate);
        Curves curves;
        EXPECT_EQ(curves.read(text, rate), SessionDataFile::ReadResult::Read);
        EXPECT_EQ(curves.data.manData.size(), 2u);
        EXPECT_DOUBLE_EQ(curves.data.sampleRate, rate);
    }
}
