// The training records on a full disk (a small tmpfs in a mount namespace of
// the test's own): a change the disk refuses is undone and told, the station
// goes on with its connection whole, and what was stored before stays as it
// was: a change of rows, a course's sessions written back, and a stored
// session deleted from the session dialog.

#include "FullDiskFixture.h"
#include "RecordDialogFixture.h"

#include "Database/CourseRecord.h"
#include "Database/DatabaseError.h"
#include "Database/DatabaseTransaction.h"
#include "Database/SessionTable.h"
#include "Database/stored-sessions/SessionDialog.h"
#include "Rodezir/LogStream.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

// Rows of `bytes` characters: a few of them outgrow a full disk's last page.
std::string bulky(char letter, std::size_t bytes = 20000) { return std::string(bytes, letter); }

class FullDiskRecords : public OnSmallDisk<RecordDialogFixture> {
protected:
    void insertPerson(const std::string& name, const std::string& note = {})
    {
        exec("INSERT INTO \"Person\" (\"Name\", \"Note\") VALUES (?, ?)", {name, note});
    }
    // Shown in a message box and written to the error log.
    bool toldTheDiskIsFull() const
    {
        const bool logged = kovatest::readFile(LogStream::instance().path()).find("database or disk is full")
                            != std::string::npos;
        for (const auto& asked : asker.asked)
            if (asked.text.find(L"database or disk is full") != std::wstring::npos)
                return logged;
        return false;
    }
};

TEST_F(FullDiskRecords, aRefusedChangeIsUndoneAndLaterChangesAreWholeAgain)
{
    insertPerson("Stored before");
    disk->fill();
    bool refused = false;
    try {
        DatabaseTransaction change(theDatabase);
        for (char letter = 'a'; letter <= 'j'; ++letter)
            insertPerson(std::string(1, letter), bulky(letter));
        change.commit();
    } catch (const DatabaseError& error) {
        refused = std::string(error.what()).find("database or disk is full") != std::string::npos;
    }
    EXPECT_TRUE(refused);
    EXPECT_EQ(column("Person", "Name"), std::vector<std::string>{"Stored before"});

    // With room again, a change is all or nothing as before the full disk.
    disk->makeRoom();
    {
        DatabaseTransaction undone(theDatabase);
        insertPerson("Undone");
    }
    {
        DatabaseTransaction kept(theDatabase);
        insertPerson("Kept");
        kept.commit();
    }
    insertPerson("Single statement");
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Stored before", "Kept", "Single statement"}));
}

TEST_F(FullDiskRecords, aCourseWrittenBackOnAFullDiskKeepsItsStoredSessions)
{
    CourseRecord course;
    course.setKey({"Ida", "2024-11-05", "09:30"});
    SessionTable table(theDatabase);
    table.open("");
    std::vector<SessionRecord> stored(2);
    stored[0].Note = "first";
    stored[1].Note = "second";
    ASSERT_TRUE(table.deleteCourseSessions(course, stored));

    disk->fill();
    std::vector<SessionRecord> changed(8);
    for (std::size_t i = 0; i < changed.size(); ++i)
        changed[i].Note = bulky(static_cast<char>('a' + i), 250);
    for (SessionRecord& session : changed)
        session.PersonVentilation = bulky('v', 80);
    EXPECT_FALSE(table.deleteCourseSessions(course, changed));
    EXPECT_TRUE(toldTheDiskIsFull());
    EXPECT_EQ(column("Session", "Note"), (std::vector<std::string>{"first", "second"}));

    disk->makeRoom();
    ASSERT_TRUE(table.deleteCourseSessions(course, changed));
    EXPECT_EQ(table.findCourseSessions(course.getKey()).size(), changed.size());
}

TEST_F(FullDiskRecords, aSessionDeletedOnAFullDiskKeepsItsRowAndItsDataFile)
{
    exec("INSERT INTO \"Person\" (\"Name\", \"Instructor\") VALUES ('Ann', 0), ('Ida', 1)");
    SessionRecord record;
    record.PersonVentilation = "Ann";
    record.CourseInstructor = "Ida";
    record.Done = true;
    record.Note = bulky('n', 250);
    addSessionRow(record);
    const std::filesystem::path dataFile = record.dataFileName().value();
    kovatest::writeFile(dataFile, "0\r\n0\r\n1\r\n1 2 3 4 5 6 7 8\r\nrecommendations:\nKeep going\n");
    const std::string contents = kovatest::readFile(dataFile);

    disk->fill();
    SessionDialog dialog(record, true);
    showActive(dialog);
    asker.answers = {platform::IDYES};
    click(dialog, 1113);
    EXPECT_TRUE(toldTheDiskIsFull());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(count("Session"), 1);
    EXPECT_EQ(kovatest::readFile(dataFile), contents);

    // The station goes on: with room again the same dialog deletes the session.
    disk->makeRoom();
    asker.answers = {platform::IDYES};
    click(dialog, 1113);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(count("Session"), 0);
    EXPECT_FALSE(std::filesystem::exists(dataFile));
}

} // namespace
