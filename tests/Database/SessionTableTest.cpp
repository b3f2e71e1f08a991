#include "TablesFixture.h"

#include "Database/RecordTime.h"
#include "Database/RuntimeRandom.h"
#include "Database/SessionTable.h"
#include "Database/SqlIdentifier.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class SessionTables : public TablesFixture {
protected:
    void SetUp() override
    {
        TablesFixture::SetUp();
        forgetDataFolderWarning();
    }
};

// Two stations holding one course of four planned rows (P1 to P4), each as
// its run-course window read them.
class CourseWriteBacks : public SessionTables {
protected:
    void SetUp() override
    {
        SessionTables::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        course.setKey({"Ann", "2025-03-04", "09:00"});
        std::vector<SessionRecord> planned(4);
        for (std::size_t i = 0; i < planned.size(); ++i)
            planned[i].PersonVentilation = "P" + std::to_string(i + 1);
        SessionTable table(theDatabase);
        table.open("");
        ASSERT_TRUE(table.deleteCourseSessions(course, planned));
        read = stored();
        ASSERT_EQ(read.size(), 4u);
    }
    std::vector<SessionRecord> stored()
    {
        SessionTable table(theDatabase);
        table.open("");
        return table.findCourseSessions(course.getKey());
    }
    // The rows of a station that ran the rows at `indexes`, each with its result.
    std::vector<SessionRecord> finishing(std::initializer_list<std::size_t> indexes) const
    {
        std::vector<SessionRecord> rows = read;
        for (std::size_t i : indexes) {
            rows[i].Done = true;
            rows[i].CompDepth = 40.0 + static_cast<double>(i);
            rows[i].InterfaceFrequency = 100;
        }
        return rows;
    }
    bool writeBack(DatabaseConnection& connection, std::vector<SessionRecord>& rows,
                   const std::vector<SessionRecord>& removed = {},
                   SessionTable::CourseScope scope = SessionTable::CourseScope::HeldRows)
    {
        SessionTable table(connection);
        table.open("");
        return table.writeCourseSessions(course, rows, read, removed, scope);
    }
    // Each stored row: its ventilation person, done or planned, and its depth.
    std::vector<std::string> summary()
    {
        std::vector<std::string> rows;
        for (const SessionRecord& row : stored())
            rows.push_back(row.PersonVentilation + (row.Done ? " done " : " planned ")
                           + std::to_string(static_cast<int>(row.CompDepth)));
        return rows;
    }

    CourseRecord course;
    std::vector<SessionRecord> read;
};

const std::string ALPHABET = "0123456789abcdefghijklmnopqrstuv";

TEST_F(SessionTables, serialIdentifiersFollowTheStationGeneratorForAFixedSeed)
{
    // The runtime sequence from seed 1 starts 41, 18467, 6334, 26500, 19169,
    // 15724, 11478; low bytes 41, 35, 190, 132, 225, 108, 214. Each gives
    // alphabet[r & 31] then alphabet[r >> 5], and the last drawn comes first.
    RuntimeRandom::seed(1);
    EXPECT_EQ(SessionRecord::drawSerialIdentifier(), "m6c31744u53191");

    RuntimeRandom::seed(12345);
    for (int i = 0; i < 200; ++i) {
        const std::string serial = SessionRecord().Serialidentifier;
        ASSERT_EQ(serial.size(), 14u);
        for (std::size_t k = 0; k < serial.size(); ++k) {
            EXPECT_NE(ALPHABET.find(serial[k]), std::string::npos) << serial;
            if (k % 2 == 1) {
                EXPECT_TRUE(serial[k] >= '0' && serial[k] <= '7') << serial;
            }
        }
    }
}

TEST_F(SessionTables, anIdentifierThatNamesARowOrADataFileIsDrawnAgain)
{
    setMachineString("Data Folder", folder.path().string());
    RuntimeRandom::seed(7);
    const std::string first = SessionRecord::drawSerialIdentifier();
    const std::string second = SessionRecord::drawSerialIdentifier();
    const std::string third = SessionRecord::drawSerialIdentifier();

    exec("INSERT INTO \"Session\" (\"Serialidentifier\") VALUES (?)", {first});
    kovatest::writeFile(folder.path() / (second + ".dat"), "taken");
    RuntimeRandom::seed(7);
    SessionRecord record;
    EXPECT_EQ(record.Serialidentifier, third);
}

TEST_F(SessionTables, aNewRecordIsStampedAndHasTheStoredDefaults)
{
    ScopedRecordTime fiveNovember(2024, 11, 5, 9, 7);
    SessionRecord record;
    EXPECT_EQ(record.CourseDate, "2024-11-05");
    EXPECT_EQ(record.StartTime, "09:07");
    EXPECT_EQ(record.Duration, 600);
    EXPECT_TRUE(record.RegisterEvents);
    EXPECT_EQ(record.TrainingMode, 1);
    EXPECT_EQ(record.endMarker, 0x1234u);

    record.manikinText = "3 COM3";
    record.data = {1, 2};
    record.Note = "gone after reset";
    const std::string oldSerial = record.Serialidentifier;
    record.reset();
    EXPECT_EQ(record.manikinText, "3 COM3");
    EXPECT_EQ(record.data, (std::vector<unsigned char>{1, 2}));
    EXPECT_TRUE(record.Note.empty());
    EXPECT_NE(record.Serialidentifier, oldSerial);
}

TEST_F(SessionTables, serialIdentifiersCompareExactly)
{
    SessionRecord record;
    record.Serialidentifier = "a1b2c3d4e5f6g7";
    EXPECT_FALSE(record.matchesKey("A1B2C3D4E5F6G7"));
    EXPECT_TRUE(record.matchesKey("a1b2c3d4e5f6g7"));
    exec("INSERT INTO \"Session\" (\"Serialidentifier\") VALUES ('a1b2c3d4e5f6g7')");
    SessionTable table(theDatabase);
    table.open("");
    EXPECT_EQ(table.countKey("A1B2C3D4E5F6G7"), 0);
    EXPECT_EQ(table.countKey("a1b2c3d4e5f6g7"), 1);
    table.deleteKey("A1B2C3D4E5F6G7", true);
    EXPECT_EQ(count("Session"), 1);
    table.deleteKey("a1b2c3d4e5f6g7", true);
    EXPECT_EQ(count("Session"), 0);
}

TEST_F(SessionTables, dataFileNamesComeFromTheDataFolderWithOneSeparator)
{
    SessionRecord record;
    record.Serialidentifier = "a1b2c3d4e5f6g7";
    for (const char* stored : {"/srv/kova/data", "/srv/kova/data/"}) {
        setMachineString("Data Folder", stored);
        EXPECT_EQ(record.dataFileName().value(), "/srv/kova/data/a1b2c3d4e5f6g7.dat");
    }
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(SessionTables, aMissingDataFolderIsToldOnceAndTheNameHasNoFolder)
{
    SessionRecord record;
    record.Serialidentifier = "a1b2c3d4e5f6g7";
    EXPECT_EQ(record.dataFileName().value(), "a1b2c3d4e5f6g7.dat");
    EXPECT_EQ(record.dataFileName().value(), "a1b2c3d4e5f6g7.dat");
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].caption, L"Unexpected problem with locating data files");
    EXPECT_NE(asker.asked[0].text.find(L"the correct definition for key\n\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Kova\\Kova "
                                       L"CPR\\3.1.3\\Data Folder\nContact support"),
              std::wstring::npos);
    EXPECT_EQ(asker.asked[0].style, platform::MB_OK);

    // A value too long for the registry key's reader counts as missing.
    forgetDataFolderWarning();
    setMachineString("Data Folder", "/" + std::string(199, 'x'));
    EXPECT_EQ(record.dataFileName().value(), "a1b2c3d4e5f6g7.dat");
    EXPECT_EQ(asker.asked.size(), 2u);
}

TEST_F(SessionTables, storedSessionsReadBackWithoutTheirUnstoredMembers)
{
    SessionTable table(theDatabase);
    table.open("");
    SessionRecord stored;
    stored.Algorithm = "O'Brien's";
    stored.Approved = 1;
    stored.CompDepth = 51.5;
    stored.CourseOrder = -3;
    stored.Done = true;
    stored.Duration = -1;
    stored.Manikin = 257;
    stored.Metronome = true;
    stored.RegisterEvents = false;
    stored.TrainingMode = 3;
    stored.WrongHandPosition = 4;
    stored.manikinText = "257 Wireless";
    stored.linkType = 4;
    stored.data = {'x'};
    table.addNew();
    table.setRecord(stored);
    ASSERT_TRUE(table.update()) << table.lastError();

    SessionTable reader(theDatabase);
    reader.open("");
    SessionRecord back = reader.getRecord();
    SessionRecord expected = stored;
    expected.manikinText.clear();
    expected.linkType = 0;
    expected.data.clear();
    EXPECT_EQ(back, expected);
    EXPECT_EQ(reader.getColumnText("SerialIdentifier"), stored.Serialidentifier);
}

TEST_F(SessionTables, courseSessionsAreReplacedInOrderAndFoundUnderTheTablesOwnFilter)
{
    exec("INSERT INTO \"Session\" (\"CourseInstructor\", \"CourseDate\", \"CourseTime\", \"Note\") VALUES "
         "('o''brien', '2024-11-05', '09:30', 'old'), ('Other', '2024-11-05', '09:30', 'other'), "
         "('', '', '', 'loose')");
    SessionTable table(theDatabase);
    table.filter = quoteIdentifier("Note") + " <> ?";
    table.filterParameters = {std::string("loose")};
    table.open(table.filter, table.filterParameters);

    CourseRecord course;
    course.setKey({"O'Brien", "2024-11-05", "09:30"});
    std::vector<SessionRecord> sessions(3);
    for (std::size_t i = 0; i < sessions.size(); ++i)
        sessions[i].Note = "new " + std::to_string(i);
    ASSERT_TRUE(table.deleteCourseSessions(course, sessions));
    EXPECT_EQ(sessions[2].CourseOrder, 2);
    EXPECT_EQ(sessions[1].CourseInstructor, "O'Brien");

    // Stored out of their order, to show the sort.
    exec("UPDATE \"Session\" SET \"CourseOrder\" = 5 WHERE \"Note\" = 'new 0'");
    std::vector<SessionRecord> found = table.findCourseSessions({"O'BRIEN", "2024-11-05", "09:30"});
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].Note, "new 1");
    EXPECT_EQ(found[1].Note, "new 2");
    EXPECT_EQ(found[2].Note, "new 0");
    EXPECT_EQ(found[0].Serialidentifier, sessions[1].Serialidentifier);
    EXPECT_EQ(table.filter, quoteIdentifier("Note") + " <> ?");
    EXPECT_EQ(table.sort, "");
    EXPECT_EQ(column("Session", "Note"), (std::vector<std::string>{"other", "loose", "new 0", "new 1", "new 2"}));

    std::vector<SessionRecord> none;
    ASSERT_TRUE(table.deleteCourseSessions(course, none));
    EXPECT_EQ(column("Session", "Note"), (std::vector<std::string>{"other", "loose"}));
}

TEST_F(SessionTables, aRefusedCourseSessionLeavesTheStoredCourseAsItWas)
{
    exec("INSERT INTO \"Session\" (\"CourseInstructor\", \"CourseDate\", \"CourseTime\", \"Note\") VALUES "
         "('A', '2024-11-05', '09:30', 'old')");
    refuseInserts("Session", "Note", "bad");
    SessionTable table(theDatabase);
    table.open("");
    CourseRecord course;
    course.setKey({"A", "2024-11-05", "09:30"});
    std::vector<SessionRecord> sessions(2);
    sessions[0].Note = "new";
    sessions[1].Note = "bad";
    EXPECT_FALSE(table.deleteCourseSessions(course, sessions));
    EXPECT_EQ(column("Session", "Note"), (std::vector<std::string>{"old"}));
    ASSERT_FALSE(asker.asked.empty());
    EXPECT_NE(asker.asked.back().text.find(L"refused by the test"), std::wstring::npos);
    EXPECT_EQ(table.findCourseSessions(course.getKey()).size(), 1u);
}

TEST_F(CourseWriteBacks, aStationClosingAfterAnotherKeepsTheOthersFinishedRows)
{
    std::vector<SessionRecord> a = finishing({0, 1});
    ASSERT_TRUE(writeBack(theDatabase, a));
    EXPECT_EQ(summary(), (std::vector<std::string>{"P1 done 40", "P2 done 41", "P3 planned 0", "P4 planned 0"}));

    // B ran rows 3 and 4, and still holds rows 1 and 2 as planned; it also
    // renamed row 2, removed row 1 and planned a fifth row.
    std::vector<SessionRecord> b = finishing({2, 3});
    b[1].PersonChestCompression = "late change";
    const std::vector<SessionRecord> removed = {b[0]};
    b.erase(b.begin());
    SessionRecord fifth;
    fifth.PersonVentilation = "P5";
    b.push_back(fifth);
    ASSERT_TRUE(writeBack(theDatabase, b, removed));
    EXPECT_EQ(summary(),
              (std::vector<std::string>{"P1 done 40", "P2 done 41", "P3 done 42", "P4 done 43", "P5 planned 0"}));
    EXPECT_EQ(count("Session"), 5) << "no row twice";
    EXPECT_TRUE(b[0].Done) << "B's window takes the result A stored";
    EXPECT_EQ(b[0].CompDepth, 41.0);
    EXPECT_EQ(b[0].PersonChestCompression, "");
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(CourseWriteBacks, aWriteBackTouchesOnlyTheRowsItChanged)
{
    // A station changed row 3's participants behind this window's back.
    exec("UPDATE \"Session\" SET \"PersonChestCompression\" = 'Eve' WHERE \"PersonVentilation\" = 'P3'");
    std::vector<SessionRecord> rows = read;
    rows[0].Note = "towels";
    ASSERT_TRUE(writeBack(theDatabase, rows));
    EXPECT_EQ(column("Session", "PersonChestCompression"), (std::vector<std::string>{"", "", "Eve", ""}));
    EXPECT_EQ(column("Session", "Note"), (std::vector<std::string>{"towels", "", "", ""}));

    // A planned row that another station deleted while this one changed it is planned again.
    exec("DELETE FROM \"Session\" WHERE \"PersonVentilation\" = 'P2'");
    rows[1].Note = "still wanted";
    ASSERT_TRUE(writeBack(theDatabase, rows));
    EXPECT_EQ(summary(), (std::vector<std::string>{"P1 planned 0", "P2 planned 0", "P3 planned 0", "P4 planned 0"}));
}

TEST_F(CourseWriteBacks, thePlannerRemovesUnheldPlannedRowsButOnlyTheFinishedRowsItWasAllowedTo)
{
    const std::filesystem::path data = makeDataFolder();
    // Rows 1 and 2 were run, each has its data file.
    std::vector<SessionRecord> ran = finishing({0, 1});
    ASSERT_TRUE(writeBack(theDatabase, ran));
    read = stored();
    for (const SessionRecord& row : ran)
        if (row.Done)
            kovatest::writeFile(row.dataFileName().value(), "samples");

    // The planner holds row 4 only, and the user agreed that row 1's result goes.
    std::vector<SessionRecord> held = {read[3]};
    ASSERT_TRUE(writeBack(theDatabase, held, {read[0]}, SessionTable::CourseScope::WholeCourse));
    // Row 4 took the first place; row 2 keeps the place it was stored at.
    EXPECT_EQ(summary(), (std::vector<std::string>{"P4 planned 0", "P2 done 41"}));
    EXPECT_FALSE(std::filesystem::exists(read[0].dataFileName().value()));
    EXPECT_TRUE(std::filesystem::exists(read[1].dataFileName().value())) << "a finished row nobody removed keeps its file";
    EXPECT_FALSE(std::filesystem::exists(read[0].dataFileName().value() + ".removing"));
    EXPECT_EQ(held[0].CourseOrder, 0);
}

TEST_F(CourseWriteBacks, aRefusedWriteBackChangesNothingAndKeepsTheDataFiles)
{
    makeDataFolder();
    std::vector<SessionRecord> ran = finishing({0});
    ASSERT_TRUE(writeBack(theDatabase, ran));
    read = stored();
    kovatest::writeFile(read[0].dataFileName().value(), "samples");
    refuseInserts("Session", "PersonVentilation", "bad");

    std::vector<SessionRecord> rows = {read[1], read[2], read[3]};
    rows[0].Note = "changed";
    SessionRecord refused;
    refused.PersonVentilation = "bad";
    rows.push_back(refused);
    EXPECT_FALSE(writeBack(theDatabase, rows, {read[0]}));
    ASSERT_FALSE(asker.asked.empty());
    EXPECT_NE(asker.asked.back().text.find(L"refused by the test"), std::wstring::npos);
    EXPECT_EQ(summary(), (std::vector<std::string>{"P1 done 40", "P2 planned 0", "P3 planned 0", "P4 planned 0"}));
    EXPECT_EQ(column("Session", "Note"), (std::vector<std::string>{"", "", "", ""}));
    EXPECT_EQ(kovatest::readFile(read[0].dataFileName().value()), "samples");
    EXPECT_EQ(rows[0].CourseOrder, 0) << "the window's rows are as it had them";
}

TEST_F(CourseWriteBacks, twoStationsWritingBackOneCourseAtOnceKeepEveryFinishedRow)
{
    // Each station: its own process and connection, its rows read before
    // either writes; both write when the test says go.
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    std::vector<pid_t> stations;
    for (const auto& ran : {std::initializer_list<std::size_t>{0, 1}, std::initializer_list<std::size_t>{2, 3}}) {
        std::vector<SessionRecord> rows = finishing(ran);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(go[1]);
            DatabaseConnection own;
            if (!own.open("DSN=kovacpr"))
                _exit(2);
            char signal = 0;
            if (::read(go[0], &signal, 1) != 1)
                _exit(3);
            _exit(writeBack(own, rows) ? 0 : 1);
        }
        stations.push_back(pid);
    }
    close(go[0]);
    ASSERT_EQ(write(go[1], "gg", 2), 2);
    close(go[1]);
    for (pid_t pid : stations) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "each station reports its rows written";
    }
    EXPECT_EQ(summary(), (std::vector<std::string>{"P1 done 40", "P2 done 41", "P3 done 42", "P4 done 43"}));
    EXPECT_EQ(count("Session"), 4);
}

TEST_F(SessionTables, aClosedTableFindsAndChangesNothing)
{
    exec("INSERT INTO \"Session\" (\"CourseInstructor\", \"CourseDate\", \"CourseTime\") VALUES "
         "('A', '2024-11-05', '09:30')");
    SessionTable table(theDatabase);
    CourseRecord course;
    course.setKey({"A", "2024-11-05", "09:30"});
    std::vector<SessionRecord> none;
    EXPECT_TRUE(table.findCourseSessions(course.getKey()).empty());
    EXPECT_FALSE(table.deleteCourseSessions(course, none));
    EXPECT_EQ(count("Session"), 1);
}

} // namespace
