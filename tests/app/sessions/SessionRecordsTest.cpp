// Sessions on the training records (SQLite through unixODBC, and the
// throwaway PostgreSQL server) and their data files in the data folder:
// storing a session on Yes, a refused store, the file replaced whole, stations
// whose generators draw alike, a stored session read back, and the scenario's
// events.

#include "SessionTestKit.h"
#include "SessionRecordsFixture.h"

#include "Database/DBUtil.h"
#include "Database/RuntimeRandom.h"
#include "Database/ScenarioEventList.h"
#include "Database/SessionTable.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "TempDir.h"
#include "app/sessions/SessionRowStore.h"
#include "app/sessions/UpdateReceiver.h"

#include <gtest/gtest.h>

#include <csignal>
#include <deque>
#include <filesystem>
#include <set>

#include <sys/resource.h>

using namespace sessiontest;
using Answer = SessionWindows::SaveAnswer;

namespace {

std::string errorLog() { return kovatest::readFile(LogStream::instance().path()); }

struct IndexRecorder final : UpdateReceiver {
    void update(int newIndex) override { indexes.push_back(newIndex); }
    std::vector<int> indexes;
};

class SessionRecords : public SessionRecordsFixture {
protected:
    // A live session with 40 samples collected, stopped.
    std::unique_ptr<Session> collected(LinkLog& log, const SessionRecord& record = liveRecord())
    {
        return collectedSession(log, 40, record);
    }
    std::filesystem::path dataFile(const Session& session) const
    {
        return dataFolder / (session.getRecord().Serialidentifier + ".dat");
    }
    std::unique_ptr<Session> finished(const std::string& text)
    {
        return finishedSession(links_.emplace_back(), windows, text);
    }
    // The notes of the Session rows, after checking that every row has an
    // identifier of its own and a data file that holds the row's note.
    std::multiset<std::string> notesOfRowsWithTheirFiles()
    {
        std::multiset<std::string> notes;
        std::set<std::string> serials;
        SessionTable rows(theDatabase);
        rows.open("");
        for (DBUtil::moveFirst(rows); rows.isCursorOpen() && !rows.isEOF(); DBUtil::moveNext(rows)) {
            const SessionRecord row = rows.getRecord();
            EXPECT_TRUE(serials.insert(row.Serialidentifier).second) << row.Serialidentifier << " twice";
            const std::filesystem::path file = dataFolder / (row.Serialidentifier + ".dat");
            EXPECT_TRUE(std::filesystem::exists(file)) << file;
            if (std::filesystem::exists(file)) {
                EXPECT_TRUE(kovatest::readFile(file).ends_with("recommendations:\n" + row.Note + "\n"))
                    << row.Serialidentifier << " holds another session's data";
            }
            notes.insert(row.Note);
        }
        return notes;
    }
    std::vector<std::string> filesInData() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dataFolder))
            if (entry.path().filename() != DataFolderMark::FILE_NAME)
                names.push_back(entry.path().filename().string());
        return names;
    }

    ScopedFakeWindows windows;
    LinkLog link;
    std::deque<LinkLog> links_;
};

} // namespace

TEST_F(SessionRecords, yesStoresTheRowAndTheDataFileAndMakesRealParticipantsKnownPersons)
{
    auto session = collected(link);
    WindowsLog& w = windows.of(*session);
    w.box = L"Good";
    w.onStore = [](Session& s) { return SessionRowStore::store(s, s.getRecord()); };
    w.answers = {Answer::Yes};
    ASSERT_TRUE(session->close());

    SessionTable rows(theDatabase);
    rows.open("");
    ASSERT_FALSE(DBUtil::emptyTable(rows));
    const SessionRecord stored = rows.getRecord();
    EXPECT_EQ(stored.Serialidentifier, session->getRecord().Serialidentifier);
    EXPECT_TRUE(stored.Done);
    EXPECT_DOUBLE_EQ(stored.InterfaceFrequency, 20.0);
    EXPECT_EQ(stored.PersonVentilation, "Anna");
    EXPECT_TRUE(session->getRecord().Done);
    EXPECT_FALSE(session->getModified());

    const std::string text = kovatest::readFile(dataFile(*session));
    EXPECT_TRUE(text.starts_with("0\r\n0\r\n40\r\n"));
    EXPECT_TRUE(text.ends_with("recommendations:\nGood\n"));
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Anna"}));
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(SessionRecords, aSecondStoreUpdatesTheSameRow)
{
    auto session = collected(link);
    ASSERT_TRUE(SessionRowStore::store(*session, session->getRecord()));
    SessionRecord edited = session->getRecord();
    edited.Note = "second look";
    ASSERT_TRUE(SessionRowStore::store(*session, edited));
    EXPECT_EQ(count("Session"), 1);
    EXPECT_EQ(column("Session", "Note"), (std::vector<std::string>{"second look"}));
}

TEST_F(SessionRecords, aStoreTheDatabaseRefusesKeepsTheSessionOpen)
{
    refuseInserts("Session", "PersonVentilation", "Anna");
    auto session = collected(link);
    WindowsLog& w = windows.of(*session);
    w.onStore = [](Session& s) { return SessionRowStore::store(s, s.getRecord()); };
    w.answers = {Answer::Yes};
    EXPECT_FALSE(session->close());
    EXPECT_EQ(session->getState(), Session::REVIEW);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].caption, L"Problem saving session");
    EXPECT_NE(asker.asked[0].text.find(L"refused by the test"), std::wstring::npos);
    EXPECT_TRUE(filesInData().empty());
    EXPECT_EQ(count("Person"), 0);
}

TEST_F(SessionRecords, aDataFolderOfOtherRecordsTakesNoStoreAndTheSessionStaysOpen)
{
    const std::string others(32, 'e');
    markDataFolder(dataFolder, others);
    auto session = collected(link);
    WindowsLog& w = windows.of(*session);
    w.onStore = [](Session& s) { return SessionRowStore::store(s, s.getRecord()); };
    w.answers = {Answer::Yes};
    EXPECT_FALSE(session->close());
    EXPECT_EQ(session->getState(), Session::REVIEW);
    EXPECT_TRUE(session->getModified());
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].caption, L"Data folder of other training records");
    for (const std::string& part : {dataFolder.string(), others, RecordsIdentity::read(theDatabase)})
        EXPECT_NE(asker.asked[0].text.find(toWide(part)), std::wstring::npos) << part;
    EXPECT_TRUE(filesInData().empty());
    EXPECT_EQ(count("Session"), 0);
}

// Two stations whose generators were seeded alike: the second draws, one
// after another, the identifiers of every session the first has stored, more
// than a hundred of them.
TEST_F(SessionRecords, stationsSeededAlikeStoreEverySessionOnceAndOverwriteNone)
{
    constexpr int SESSIONS = 101;
    std::multiset<std::string> expected;
    for (const std::string station : {"A", "B"}) {
        RuntimeRandom::seed(20240501);
        for (int i = 0; i < SESSIONS; ++i) {
            const std::string note = station + std::to_string(i);
            expected.insert(note);
            auto session = finished(note);
            ASSERT_TRUE(SessionRowStore::store(*session, session->getRecord())) << note;
        }
    }
    EXPECT_EQ(notesOfRowsWithTheirFiles(), expected);
    EXPECT_TRUE(asker.asked.empty());
}

// The identifier was free when both sessions drew it; the one stored second
// is stored under a new identifier, and stores again under that one.
TEST_F(SessionRecords, aSessionWhoseIdentifierAnotherStoredFirstTakesANewOne)
{
    RuntimeRandom::seed(7);
    auto first = finished("first");
    RuntimeRandom::seed(7);
    auto second = finished("second");
    const std::string drawn = first->getRecord().Serialidentifier;
    ASSERT_EQ(second->getRecord().Serialidentifier, drawn);

    ASSERT_TRUE(SessionRowStore::store(*first, first->getRecord()));
    ASSERT_TRUE(SessionRowStore::store(*second, second->getRecord()));
    EXPECT_EQ(first->getRecord().Serialidentifier, drawn);
    EXPECT_NE(second->getRecord().Serialidentifier, drawn);
    EXPECT_EQ(notesOfRowsWithTheirFiles(), (std::multiset<std::string>{"first", "second"}));

    ASSERT_TRUE(storeWithNote(windows, *second, "second again"));
    EXPECT_EQ(notesOfRowsWithTheirFiles(), (std::multiset<std::string>{"first", "second again"}));
}

// A course session stores into the planned row it was started from.
TEST_F(SessionRecords, aCourseSessionStoresIntoItsPlannedRow)
{
    SessionRecord planned = liveRecord();
    planned.CourseInstructor = "Ida";
    planned.CourseTime = "09:00";
    planned.Note = "course row";
    SessionTable table(theDatabase);
    table.open("");
    table.addNew();
    table.setRecord(planned);
    ASSERT_TRUE(table.update());

    auto session = collected(link, planned);
    windows.of(*session).box = L"course row";
    ASSERT_TRUE(SessionRowStore::store(*session, session->getRecord()));
    EXPECT_EQ(session->getRecord().Serialidentifier, planned.Serialidentifier);
    EXPECT_EQ(notesOfRowsWithTheirFiles(), (std::multiset<std::string>{"course row"}));
    EXPECT_EQ(column("Session", "Done"), (std::vector<std::string>{"1"}));
}

TEST_F(SessionRecords, aFailedWriteLeavesTheEarlierDataFileAsItWas)
{
    auto session = collected(link);
    ASSERT_TRUE(session->save());
    const std::string before = kovatest::readFile(dataFile(*session));

    session->start();
    for (int i = 0; i < 400; ++i)
        session->onTimer();
    // A disk that fills up half-way through the file.
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{static_cast<rlim_t>(before.size() + 100), limit.rlim_max};
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool saved = session->save();
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(saved);
    EXPECT_TRUE(session->getModified());
    EXPECT_EQ(kovatest::readFile(dataFile(*session)), before);
    EXPECT_EQ(filesInData(), (std::vector<std::string>{dataFile(*session).filename().string()}));
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].caption, L"Problem saving session");
}

TEST_F(SessionRecords, aMissingDataFolderIsToldAsAProblemSavingTheSession)
{
    const std::filesystem::path gone = folder.path() / "gone";
    setMachineString("Data Folder", gone.string());
    auto session = collected(link);
    EXPECT_FALSE(session->save());
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].caption, L"Problem saving session");
    EXPECT_NE(asker.asked[0].text.find(L"Could not save the session data.\nPlease make sure"), std::wstring::npos);
    EXPECT_NE(asker.asked[0].text.find(toWide((gone / session->getRecord().Serialidentifier).string() + ".dat")),
              std::wstring::npos);
}

TEST_F(SessionRecords, aStoredSessionReadsItsFileTouchesNoPortAndClosesUnasked)
{
    SessionRecord record;
    {
        auto live = collected(link);
        windows.of(*live).box = L"Arms straight";
        ASSERT_TRUE(live->save());
        record = live->getRecord();
    }
    record.InterfaceFrequency = 20.0;
    for (const long manikin : {0xFFFFFFFFL, -1L}) {
        record.Manikin = manikin;
        LinkLog unused;
        Session stored(record, AlgorithmRecord{}, std::make_unique<FakeLink>(unused));
        EXPECT_TRUE(unused.destroyed);
        EXPECT_EQ(stored.link(), nullptr);
        EXPECT_TRUE(stored.getUsingFile());
        EXPECT_TRUE(stored.getEnded());
        EXPECT_FALSE(stored.isRunning());
        EXPECT_EQ(stored.getCommSession().manData.size(), 40u);
        EXPECT_EQ(stored.getRecommendations(), "Arms straight");

        IndexRecorder receiver;
        stored.addUpdateReceiver(receiver);
        stored.onTimer();
        stored.onTimer();
        EXPECT_EQ(receiver.indexes, (std::vector<int>{39}));
        stored.removeUpdateReceiver(receiver);
        EXPECT_TRUE(stored.close());
        EXPECT_TRUE(windows.of(stored).asked.empty());
    }
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(SessionRecords, aMissingFileIsToldByNameWithTheDataFolderAndADamagedOneTwice)
{
    SessionRecord record;
    record.Manikin = 0xFFFFFFFFL;
    record.InterfaceFrequency = 20.0;
    {
        Session missing(record, AlgorithmRecord{});
        EXPECT_TRUE(missing.getEnded());
        EXPECT_TRUE(missing.getDataFileMissing());
        EXPECT_TRUE(missing.getCommSession().manData.empty());
    }
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].caption, L"Database file error");
    const std::wstring told = asker.asked[0].text;
    EXPECT_NE(told.find(toWide((dataFolder / (record.Serialidentifier + ".dat")).string())), std::wstring::npos)
        << told;
    EXPECT_NE(told.find(L"The data folder of this station is\n" + toWide(dataFolder.string() + "/")),
              std::wstring::npos)
        << told;
    EXPECT_EQ(errorLog().find("Assert failed"), std::string::npos) << errorLog();

    asker.asked.clear();
    kovatest::writeFile(dataFolder / (record.Serialidentifier + ".dat"), "2\r\n3 1\r\nbroken");
    Session damaged(record, AlgorithmRecord{});
    EXPECT_FALSE(damaged.getDataFileMissing());
    ASSERT_EQ(asker.asked.size(), 2u);
    EXPECT_EQ(asker.asked[0].caption, L"Unexpected problem occurred while opening data files");
    EXPECT_NE(asker.asked[0].text.find(toWide(record.Serialidentifier)), std::wstring::npos);
    EXPECT_EQ(asker.asked[1].text, L"Unable to read the session from file.");
    ASSERT_EQ(damaged.getCompressionDoc().getMarks().size(), 1u);
    EXPECT_EQ(damaged.getCompressionDoc().getMarks()[0].sampleIndex, 3);
    EXPECT_EQ(errorLog().find("Assert failed"), std::string::npos) << errorLog();
}

TEST_F(SessionRecords, eventButtonsTakeFreshIdsAndShowAmpersandsAsWritten)
{
    std::vector<EventRecord> events = {{"Basic", 0, "A&B", "Airway & breathing", 3}, {"Basic", 1, "Shock", "", 7}};
    ScenarioEventList list("Basic");
    ASSERT_TRUE(list.save(events));

    LinkLog second;
    auto first = liveSession(link, liveRecord());
    auto later = liveSession(second, liveRecord());
    ASSERT_EQ(first->getEventButtons().size(), 2u);
    ASSERT_EQ(later->getEventButtons().size(), 2u);
    const ToolbarButton& button = first->getEventButtons()[0];
    EXPECT_EQ(button.name, L"A&&B");
    EXPECT_EQ(button.toolTip, L"Airway & breathing") << "only the caption doubles it";
    EXPECT_EQ(button.image, 3);
    EXPECT_EQ(first->getEventButtons()[1].id, button.id + 1);
    EXPECT_NE(later->getEventButtons()[0].id, 100001);
    EXPECT_GT(later->getEventButtons()[0].id, first->getEventButtons()[1].id);
}
