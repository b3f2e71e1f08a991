#include "TablesFixture.h"

#include "Database/SessionTable.h"
#include "Database/SqlIdentifier.h"
#include "Database/export-import/SessionExchange.h"
#include "Database/export-import/SessionFile.h"
#include "Rodezir/LogStream.h"
#include "app/sessions/SessionDataFile.h"
#include "platform/FileDialog.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

// A data file as a session writes it (marks and measurements with CR LF, the
// recommendations with LF), and what an export carries of it.
std::string stationFile(const std::string& recommendation)
{
    return "0\r\n0\r\n2\r\n45.68 0 1 0 0 0 128 0\r\n0 1 0 0 0.5234 0 17 1\r\nrecommendations:\n" + recommendation
           + "\n";
}
std::string exportedForm(const std::string& recommendation)
{
    return "0\n0\n2\n45.68 0 1 0 0 0 128 0\n0 1 0 0 0.5234 0 17 1\nrecommendations:\n" + recommendation + "\n";
}

class SessionExchanges : public TablesFixture {
protected:
    void SetUp() override
    {
        TablesFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        LogStream::destroy();
        dataFolder = makeDataFolder();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        SessionDataFile::installImportCheck();
    }
    void TearDown() override
    {
        SessionExchange::setDataCheck({});
        QLocale::setDefault(QLocale::c());
        LogStream::destroy();
        TablesFixture::TearDown();
    }

    // A finished session stored with its row and its data file.
    SessionRecord store(const std::string& note, const std::string& dataFile)
    {
        SessionRecord record;
        record.CourseDate = "2024-11-05";
        record.Note = note;
        record.PersonChestCompression = "Ólafur Jónsson";
        record.CourseInstructor = "O'Brien";
        record.CompDepth = 51.5;
        record.Duration = -1;
        record.Done = true;
        record.InterfaceFrequency = 20.0;
        SessionTable table(theDatabase);
        table.open("");
        table.addNew();
        table.setRecord(record);
        EXPECT_TRUE(table.update()) << table.lastError();
        kovatest::writeFile(dataFileOf(record.Serialidentifier), dataFile);
        return record;
    }
    fs::path dataFileOf(const std::string& serial) const { return dataFolder / (serial + ".dat"); }
    std::vector<SessionRecord> storedRows()
    {
        std::vector<SessionRecord> rows;
        SessionTable table(theDatabase);
        table.open("");
        for (table.moveFirst(); !table.isEOF(); table.moveNext())
            rows.push_back(table.getRecord());
        return rows;
    }
    std::vector<fs::path> dataFiles() const
    {
        std::vector<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(folder.path()))
            if (entry.path().extension() == ".dat")
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }
    // Exports the sessions into a file the test chooses.
    std::string exported(const std::vector<std::string>& serials, const std::string& name = "sessions.sdb")
    {
        const std::string path = folder.file(name);
        files.answers.push_back(path);
        SessionExchange().exportSessions(serials);
        return path;
    }
    int imported(const std::string& path)
    {
        files.answers.push_back(path);
        return SessionExchange().importSessions();
    }
    std::vector<std::wstring> texts() const
    {
        std::vector<std::wstring> all;
        for (const auto& box : asker.asked)
            all.push_back(box.text);
        return all;
    }
    std::string logText()
    {
        LogStream::destroy();
        return kovatest::readFile("errors.txt");
    }
    void forgetEverySession()
    {
        exec("DELETE FROM \"Session\"");
        for (const fs::path& file : dataFiles())
            fs::remove(file);
    }

    fs::path dataFolder;
    platform::RecordingFileDialogAsker files;
    platform::ScopedFileDialogAsker filesScope{files};
};

std::wstring wide(const std::string& text) { return fs::path(text).wstring(); }

TEST_F(SessionExchanges, exportAsksForAFileAndTellsHowManySessionsWent)
{
    const SessionRecord first = store("first", "one\n");
    const SessionRecord second = store("second", "two\n");
    const fs::path started = fs::current_path();
    files.whileAsked = [&] { fs::current_path(folder.path()); };

    const std::string one = exported({first.Serialidentifier}, "one.sdb");
    const std::string two = exported({second.Serialidentifier, first.Serialidentifier}, "two.sdb");
    EXPECT_EQ(fs::current_path(), started);

    ASSERT_EQ(files.asked.size(), 2u);
    const platform::FileDialogRequest& request = files.asked[0];
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.title, L"Export sessions");
    EXPECT_EQ(request.filter, L"Session database (*.sdb)|*.sdb|");
    EXPECT_EQ(request.defaultExtension, "sdb");
    EXPECT_EQ(request.initialName, "");
    EXPECT_EQ(request.options, platform::OFN_HIDEREADONLY | platform::OFN_OVERWRITEPROMPT);
    EXPECT_EQ(texts(), (std::vector<std::wstring>{L"Exported 1 session to " + wide(one),
                                                  L"Exported 2 sessions to " + wide(two)}));

    // In list order, each with its data file's contents.
    const std::string bytes = kovatest::readFile(two);
    const SessionFile::Parsed back =
        SessionFile::parse(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    ASSERT_EQ(back.sessions.size(), 2u);
    EXPECT_EQ(back.sessions[0].Note, "second");
    EXPECT_EQ(back.sessions[1].Note, "first");
    EXPECT_EQ(back.sessions[1].data, (std::vector<unsigned char>{'o', 'n', 'e', '\n'}));
}

TEST_F(SessionExchanges, sessionsWhoseDataFileFailsAreLeftOutAfterTellingWhy)
{
    const SessionRecord missing = store("missing", "");
    fs::remove(dataFileOf(missing.Serialidentifier));
    const SessionRecord unreadable = store("unreadable", "");
    fs::remove(dataFileOf(unreadable.Serialidentifier));
    fs::create_directory(dataFileOf(unreadable.Serialidentifier));
    const SessionRecord kept = store("kept", "data\n");

    const std::string path = exported({missing.Serialidentifier, unreadable.Serialidentifier, kept.Serialidentifier});
    EXPECT_EQ(texts(), (std::vector<std::wstring>{
                           L"Could not open datafile for session " + wide(missing.Serialidentifier)
                               + L". Skipping session.",
                           L"An error occurred while reading datafile for session " + wide(unreadable.Serialidentifier)
                               + L". Skipping session.",
                           L"Exported 1 session to " + wide(path)}));
    EXPECT_EQ(asker.asked[0].caption, L"Export session");
    EXPECT_EQ(asker.asked[0].style, platform::MB_OK | platform::MB_ICONERROR);
    EXPECT_EQ(asker.asked[1].caption, L"Export session");

    // No selection, or nothing left to export: no file dialog.
    asker.asked.clear();
    files.answers.clear();
    SessionExchange().exportSessions({});
    SessionExchange().exportSessions({missing.Serialidentifier});
    EXPECT_EQ(files.asked.size(), 1u);
    ASSERT_EQ(asker.asked.size(), 2u);
    EXPECT_EQ(asker.asked[0].text, L"Please choose one or more sessions to export.");
    EXPECT_EQ(asker.asked[0].caption, L"Export sessions");
    EXPECT_EQ(asker.asked[0].style, platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

TEST_F(SessionExchanges, aRoundTripIntoAnEmptyStationGivesTheSameRowsAndDataFiles)
{
    const std::string crLf = stationFile("keep going\nand count");
    const SessionRecord first = store("first", crLf);
    const SessionRecord second = store("second", stationFile(""));
    const std::vector<SessionRecord> originals = storedRows();
    const std::string path = exported({first.Serialidentifier, second.Serialidentifier});

    // Line ends travel as LF.
    const std::string bytes = kovatest::readFile(path);
    EXPECT_NE(bytes.find(exportedForm("keep going\nand count")), std::string::npos);
    EXPECT_EQ(bytes.find('\r'), std::string::npos);

    forgetEverySession();
    asker.asked.clear();
    bool searched = false;
    files.answers.push_back(path);
    const int count = SessionExchange().importSessions([&] {
        searched = true;
        EXPECT_TRUE(asker.asked.empty());
    });
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(searched);
    EXPECT_EQ(storedRows(), originals);
    EXPECT_EQ(kovatest::readFile(dataFileOf(first.Serialidentifier)), crLf);
    EXPECT_EQ(kovatest::readFile(dataFileOf(second.Serialidentifier)), stationFile(""));
    EXPECT_EQ(dataFiles().size(), 2u);

    ASSERT_EQ(files.asked.size(), 2u);
    const platform::FileDialogRequest& request = files.asked[1];
    EXPECT_FALSE(request.save);
    EXPECT_EQ(request.title, L"Import sessions");
    EXPECT_EQ(request.filter, L"Session database (*.sdb)|*.sdb|");
    EXPECT_EQ(request.defaultExtension, "sdb");
    EXPECT_EQ(request.options, platform::OFN_HIDEREADONLY | platform::OFN_FILEMUSTEXIST);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"Imported 2 sessions from " + wide(path));
    EXPECT_EQ(asker.asked[0].caption, L"Import sessions");
    EXPECT_EQ(asker.asked[0].style, platform::MB_OK | platform::MB_ICONINFORMATION);

    // A cancelled dialog imports nothing and says nothing.
    asker.asked.clear();
    EXPECT_EQ(SessionExchange().importSessions(), 0);
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(SessionExchanges, aSessionTheStationHoldsIsCopiedUnderANewIdentifierOnlyWhenTheUserSaysYes)
{
    SessionRecord first = store("first", stationFile("a\nb"));
    first.ApprovedBy = "Dr. Ng";
    exec("UPDATE \"Session\" SET \"ApprovedBy\" = ? WHERE \"Serialidentifier\" = ?",
         {first.ApprovedBy, first.Serialidentifier});
    const SessionRecord second = store("second", stationFile("c"));
    const std::string path = exported({first.Serialidentifier, second.Serialidentifier});
    // A row without its data file is on the station all the same.
    fs::remove(dataFileOf(second.Serialidentifier));
    asker.asked.clear();

    asker.answers = {platform::IDYES, platform::IDNO};
    EXPECT_EQ(imported(path), 1);

    ASSERT_EQ(asker.asked.size(), 3u);
    EXPECT_EQ(asker.asked[0].text,
              L"One of the chosen sessions already exists in the databae.\r\nContinue importing this session?\r\n\r\n"
              L"Date:\t\t05.11.2024\r\n"
              L"Compression:\tÓlafur Jónsson\r\n"
              L"Course Instructor:\tO'Brien\r\n"
              L"Approved by:\tDr. Ng\r\n"
              L"\r\nChoose yes if you would like to duplicate this session.\r\n"
              L"Choose no if you would like to skip this session.");
    EXPECT_EQ(asker.asked[0].caption, L"Import session");
    EXPECT_EQ(asker.asked[0].style, platform::MB_YESNO | platform::MB_ICONQUESTION);
    EXPECT_EQ(asker.asked[1].caption, L"Import session");
    EXPECT_EQ(asker.asked[2].text, L"Imported 1 session from " + wide(path));

    // The copy: a row of its own with the original's fields, and its own data file.
    const std::vector<SessionRecord> rows = storedRows();
    ASSERT_EQ(rows.size(), 3u);
    SessionRecord copy = rows.back();
    EXPECT_TRUE(SessionRecord::isSerialIdentifier(copy.Serialidentifier)) << copy.Serialidentifier;
    EXPECT_NE(copy.Serialidentifier, first.Serialidentifier);
    EXPECT_EQ(kovatest::readFile(dataFileOf(copy.Serialidentifier)), stationFile("a\nb"));
    EXPECT_EQ(kovatest::readFile(dataFileOf(first.Serialidentifier)), stationFile("a\nb"));
    copy.Serialidentifier = first.Serialidentifier;
    EXPECT_EQ(copy, rows.front());
    EXPECT_EQ(dataFiles().size(), 2u);
}

TEST_F(SessionExchanges, aRefusedFileImportsNothing)
{
    const SessionRecord first = store("first", "1\n");
    const SessionRecord second = store("second", "2\n");
    const std::string valid = kovatest::readFile(exported({first.Serialidentifier, second.Serialidentifier}));
    forgetEverySession();
    asker.asked.clear();

    std::string wrongEarlyMarker = valid;
    const std::size_t firstMarker = 4 + (valid.size() - 4) / 2 - 4;
    ASSERT_EQ(wrongEarlyMarker.substr(firstMarker, 4), std::string("\x34\x12\x00\x00", 4));
    wrongEarlyMarker[firstMarker] = 0;
    std::string versionOne = valid;
    versionOne[4] = 1;
    const struct {
        const char* name;
        std::string bytes;
        std::wstring told; // before "Imported 0 sessions"; the path follows "\r\n" after the first line
    } cases[] = {
        {"count0", std::string(4, '\0'), L""},
        {"cut", valid.substr(0, valid.size() - 3), L"XTL mem_buffer overflow"},
        {"version1", versionOne, L"Unsupported version in session data!"},
        {"marker", wrongEarlyMarker, L"An error occured while importing sessions, importing canceled."},
    };
    for (const auto& c : cases) {
        asker.asked.clear();
        const std::string path = folder.file(std::string(c.name) + ".sdb");
        kovatest::writeFile(path, c.bytes);
        EXPECT_EQ(imported(path), 0) << c.name;
        const std::wstring last = L"Imported 0 sessions from " + wide(path);
        if (c.told.empty()) {
            EXPECT_EQ(texts(), std::vector<std::wstring>{last}) << c.name;
        } else if (c.told.starts_with(L"An error")) {
            EXPECT_EQ(texts(), (std::vector<std::wstring>{c.told, last})) << c.name;
        } else {
            EXPECT_EQ(texts(), (std::vector<std::wstring>{
                                   L"Could not parse sessions file:\r\n" + wide(path) + L":\r\n" + c.told, last}))
                << c.name;
        }
        EXPECT_EQ(count("Session"), 0) << c.name;
        EXPECT_TRUE(dataFiles().empty()) << c.name;
    }
}

TEST_F(SessionExchanges, aForeignIdentifierNamesNoFileOutsideTheDataFolder)
{
    for (const char* serial : {"../../x", "", "abc/def/ghijk0", "ABCDEFGHIJKLMN", "0123456789abcdw"}) {
        SessionRecord record(SessionRecord::Unstamped{});
        record.Serialidentifier = serial;
        record.InterfaceFrequency = 20.0;
        const std::string data = exportedForm("z");
        record.data.assign(data.begin(), data.end());
        SessionExchange exchange;
        ASSERT_TRUE(exchange.importSession(record)) << serial;
        EXPECT_TRUE(SessionRecord::isSerialIdentifier(record.Serialidentifier)) << serial;
        EXPECT_EQ(kovatest::readFile(dataFileOf(record.Serialidentifier)), stationFile("z")) << serial;
    }
    EXPECT_TRUE(asker.asked.empty());
    for (const fs::path& file : dataFiles())
        EXPECT_EQ(file.parent_path(), dataFolder) << file;
    EXPECT_EQ(dataFiles().size(), 5u);
    EXPECT_FALSE(fs::exists(folder.path().parent_path() / "x.dat"));
}

TEST_F(SessionExchanges, aRowTheDatabaseRefusesLeavesNoDataFileBehind)
{
    refuseInserts("Session", "Note", "refused");
    const std::string data = exportedForm("d");
    SessionRecord record;
    record.Note = "refused";
    record.InterfaceFrequency = 20.0;
    record.data.assign(data.begin(), data.end());
    const std::string serial = record.Serialidentifier;

    EXPECT_FALSE(SessionExchange().importSession(record));
    EXPECT_EQ(record.Serialidentifier, serial);
    EXPECT_TRUE(dataFiles().empty());
    EXPECT_EQ(count("Session"), 0);
    ASSERT_EQ(asker.asked.size(), 2u);
    EXPECT_NE(asker.asked[0].text.find(L"refused by the test"), std::wstring::npos);
    EXPECT_EQ(asker.asked[1].text, L"Could not save session " + wide(serial) + L". Skipping session.");
    EXPECT_EQ(asker.asked[1].caption, L"Import session");
    EXPECT_EQ(asker.asked[1].style, platform::MB_OK | platform::MB_ICONERROR);

    // A data file that cannot be created comes before any row: no one,
    // not even root, creates files in /proc.
    setMachineString("Data Folder", "/proc/self");
    SessionRecord blocked;
    blocked.InterfaceFrequency = 20.0;
    blocked.data.assign(data.begin(), data.end());
    asker.asked.clear();
    const bool stored = SessionExchange().importSession(blocked);
    EXPECT_FALSE(stored);
    EXPECT_EQ(count("Session"), 0);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text,
              L"Could not create datafile for session " + wide(blocked.Serialidentifier) + L". Skipping session.");
    EXPECT_EQ(asker.asked[0].caption, L"Import session");
}

} // namespace
