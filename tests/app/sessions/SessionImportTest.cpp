// Session files imported with the reader that opens stored sessions: of a
// file that mixes sessions that open with hostile ones (sample rates no
// manikin gives, damaged data), only those that open are stored, each opens
// afterwards, and the closing message names the others with the reason. A
// session that goes out and comes back in keeps its data file's bytes.

#include "SessionRecordsFixture.h"
#include "SessionTestKit.h"

#include "Database/SessionTable.h"
#include "Database/export-import/SessionExchange.h"
#include "Database/export-import/SessionFile.h"
#include "Database/stored-sessions/DataFolderMark.h"
#include "TempDir.h"
#include "app/sessions/SessionDataFile.h"
#include "app/sessions/SessionRowStore.h"
#include "config/AlgorithmRecord.h"
#include "platform/FileDialog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <set>

using namespace sessiontest;

namespace {

namespace fs = std::filesystem;

// The data an export carries for a session of two samples (line ends as LF).
std::string openingData(const std::string& recommendation)
{
    return "0\n0\n2\n45.68 0 1 0 0 0 128 0\n0 1 0 0 0.5234 0 17 1\nrecommendations:\n" + recommendation + "\n";
}

class SessionImports : public SessionRecordsFixture {
protected:
    void SetUp() override
    {
        SessionRecordsFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        SessionDataFile::installImportCheck();
    }
    void TearDown() override
    {
        SessionExchange::setDataCheck({});
        SessionRecordsFixture::TearDown();
    }

    static SessionRecord fileSession(const std::string& note, double rate, const std::string& data)
    {
        SessionRecord record;
        record.Note = note;
        record.Done = true;
        record.InterfaceFrequency = rate;
        record.data.assign(data.begin(), data.end());
        return record;
    }
    int imported(const std::string& path)
    {
        files.answers.push_back(path);
        return SessionExchange().importSessions();
    }
    std::vector<SessionRecord> storedRows()
    {
        std::vector<SessionRecord> rows;
        SessionTable table(theDatabase);
        table.open("");
        for (table.moveFirst(); !table.isEOF(); table.moveNext())
            rows.push_back(table.getRecord());
        return rows;
    }

    platform::RecordingFileDialogAsker files;
    platform::ScopedFileDialogAsker filesScope{files};
    ScopedFakeWindows windows;
};

} // namespace

TEST_F(SessionImports, onlySessionsThatOpenAreStoredAndTheOthersAreNamed)
{
    const std::string good = openingData("good");
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::string binary;
    for (int i = 0; i < 600; ++i)
        binary.push_back(static_cast<char>((i * 37 + 11) % 256));
    std::string withNul = good;
    withNul[9] = '\0';
    const struct {
        const char* note;
        double rate;
        std::string data;
        const wchar_t* reason; // empty: the session opens
    } cases[] = {
        {"good one", 20.0, good, L""},
        {"rate 0", 0.0, good, L"its sample rate is not between 1 and 1000 samples a second"},
        {"rate -20", -20.0, good, L"its sample rate is not between 1 and 1000 samples a second"},
        {"rate 1e-300", 1e-300, good, L"its sample rate is not between 1 and 1000 samples a second"},
        {"rate 1e300", 1e300, good, L"its sample rate is not between 1 and 1000 samples a second"},
        {"rate inf", inf, good, L"its sample rate is not between 1 and 1000 samples a second"},
        {"rate nan", nan, good, L"its sample rate is not between 1 and 1000 samples a second"},
        {"good two", 1000.0, openingData("second\nline"), L""},
        {"binary", 20.0, binary, L"the marks in its data are damaged"},
        {"empty", 20.0, "", L"the marks in its data are damaged"},
        {"nul bytes", 20.0, withNul, L"the measurements in its data are damaged"},
        {"huge count", 20.0, "0\n0\n99999999999\n45.68 0 1 0 0 0 128 0\n", L"the measurements in its data are damaged"},
        {"negative count", 20.0, "0\n0\n-5\n45.68 0 1 0 0 0 128 0\n", L"the measurements in its data are damaged"},
        {"huge mark count", 20.0, "2147483647\n1 2\n0\n0\n", L"the marks in its data are damaged"},
        {"long line", 20.0, "0\n0\n1\n" + std::string(3000000, '7') + "\n",
         L"the measurements in its data are damaged"},
        {"extreme numbers", 20.0, "0\n0\n1\n1e999 -1e999 1 0 0 0 128 0\n", L"the measurements in its data are damaged"},
        {"good three", 1.0, openingData(""), L""},
    };
    std::vector<SessionRecord> sessions;
    for (const auto& c : cases)
        sessions.push_back(fileSession(c.note, c.rate, c.data));
    const std::string path = folder.file("mixed.sdb");
    ASSERT_TRUE(SessionFile::write(path, sessions));
    asker.asked.clear();

    EXPECT_EQ(imported(path), 3);

    std::set<std::string> stored;
    for (const SessionRecord& row : storedRows()) {
        stored.insert(row.Note);
        SessionRecord record = row;
        record.Manikin = -1;
        Session session(record, AlgorithmRecord{});
        EXPECT_FALSE(session.getDataFileMissing()) << row.Note;
        EXPECT_EQ(session.getCommSession().manData.size(), 2u) << row.Note;
    }
    EXPECT_EQ(stored, (std::set<std::string>{"good one", "good two", "good three"}));
    ASSERT_EQ(asker.asked.size(), 1u) << "the sessions stored opened without a word";
    const std::wstring& told = asker.asked[0].text;
    EXPECT_EQ(asker.asked[0].caption, L"Import sessions");
    EXPECT_EQ(asker.asked[0].style, platform::MB_OK | platform::MB_ICONEXCLAMATION);
    EXPECT_TRUE(told.starts_with(L"Imported 3 sessions from " + fs::path(path).wstring()
                                 + L"\r\n\r\nNot imported, as they could not be opened:\r\n"))
        << fs::path(told).string();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::wstring line = fs::path(sessions[i].Serialidentifier).wstring() + L", "
                                  + fs::path(sessions[i].CourseDate + " " + sessions[i].StartTime).wstring() + L": "
                                  + cases[i].reason + L"\r\n";
        EXPECT_EQ(told.find(line) != std::wstring::npos, *cases[i].reason != L'\0') << cases[i].note;
    }
    // Nothing of a refused session stays in the data folder (beside the
    // mark naming the records it belongs to).
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(dataFolder))
        left.insert(entry.path().filename().string());
    std::set<std::string> expected{DataFolderMark::FILE_NAME};
    for (const SessionRecord& row : storedRows())
        expected.insert(row.Serialidentifier + ".dat");
    EXPECT_EQ(left, expected);
}

TEST_F(SessionImports, aSessionThatGoesOutAndComesBackKeepsItsDataFileBytes)
{
    LinkLog link;
    auto session = finishedSession(link, windows, "Keep the arms straight.\nPress harder.");
    ASSERT_TRUE(SessionRowStore::store(*session, session->getRecord()));
    const SessionRecord row = storedRows().at(0);
    const fs::path dataFile = dataFolder / (row.Serialidentifier + ".dat");
    const std::string original = kovatest::readFile(dataFile);
    ASSERT_NE(original.find("\r\n"), std::string::npos);
    ASSERT_TRUE(original.ends_with("recommendations:\nKeep the arms straight.\nPress harder.\n"));

    const std::string path = folder.file("out.sdb");
    files.answers.push_back(path);
    SessionExchange().exportSessions({row.Serialidentifier});
    ASSERT_TRUE(fs::exists(path));

    // Into a station that holds nothing.
    exec("DELETE FROM \"Session\"");
    fs::remove(dataFile);
    asker.asked.clear();
    EXPECT_EQ(imported(path), 1);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].style, platform::MB_OK | platform::MB_ICONINFORMATION);
    EXPECT_EQ(kovatest::readFile(dataFile), original);
}
