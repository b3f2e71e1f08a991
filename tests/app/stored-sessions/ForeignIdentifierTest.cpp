// Rows whose identifier is not of the station's form ("../../outside/victim"
// in a shared database): opening, deleting, storing, exporting and printing
// such a session is refused with a message, and no file outside the data
// folder is read, written, moved or removed. On the SQLite data source and
// on the throwaway PostgreSQL server.

#include "RecordDialogFixture.h"
#include "SessionTestKit.h"

#include "Database/SessionTable.h"
#include "Database/export-import/SessionExchange.h"
#include "Database/stored-sessions/SessionDialog.h"
#include "TempDir.h"
#include "app/printing/Print.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionRowStore.h"
#include "config/AlgorithmRecord.h"
#include "platform/FileDialog.h"
#include "platform/PrintDialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace sessiontest;

namespace {

namespace fs = std::filesystem;

constexpr int REMOVE = 1113;
const char* const VICTIM = "../../outside/victim";
const char* const VICTIM2 = "../../outside/victim2";
// A data file that opens: no marks, two samples, a recommendation.
const char* const OUTSIDE_DATA =
    "0\r\n0\r\n2\r\n45.68 0 1 0 0 0 128 0\r\n0 1 0 0 0.5234 0 17 1\r\nrecommendations:\nnot this station's\n";

struct CountingPrintDialog final : platform::PrintDialogAsker {
    bool ask(QPrinter&, QWidget*) override
    {
        ++asked;
        return false;
    }
    int asked = 0;
};

class ForeignIdentifiers : public RecordDialogFixture {
protected:
    void SetUp() override
    {
        RecordDialogFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // Two levels deep, so that "../../outside" stays inside the test's folder.
        forgetDataFolderWarning();
        dataFolder = folder.path() / "station" / "data";
        outside = folder.path() / "outside";
        fs::create_directories(dataFolder);
        fs::create_directories(outside);
        setMachineString("Data Folder", dataFolder.string());
        kovatest::writeFile(outside / "victim.dat", OUTSIDE_DATA);
        kovatest::writeFile(outside / "victim2.dat", OUTSIDE_DATA);
        addSessionRow(foreignRow(VICTIM));
        addSessionRow(foreignRow(VICTIM2));
        SessionDialog::setInspector([this](const SessionRecord&, const AlgorithmRecord&, bool, QWidget*) {
            ++inspected;
            return std::unique_ptr<SessionDialog::Inspection>();
        });
    }
    void TearDown() override
    {
        SessionDialog::setInspector({});
        RecordDialogFixture::TearDown();
    }

    // A finished session as a shared database may hold it.
    static SessionRecord foreignRow(const std::string& serial)
    {
        SessionRecord record;
        record.Serialidentifier = serial;
        record.Done = true;
        record.InterfaceFrequency = 20.0;
        record.PersonVentilation = "Ann";
        record.CourseDate = "2024-05-01";
        return record;
    }
    static SessionRecord storedRow(const std::string& serial)
    {
        SessionRecord record = foreignRow(serial);
        record.Manikin = -1;
        return record;
    }
    // Only the one refusal was told.
    void expectRefusedOnce(const char* road)
    {
        ASSERT_EQ(asker.asked.size(), 1u) << road;
        EXPECT_EQ(asker.asked[0].caption, L"Session identifier refused") << road;
        EXPECT_NE(asker.asked[0].text.find(L"../../outside/victim"), std::wstring::npos) << road;
        asker.asked.clear();
    }
    // The files outside are as they were, and nothing came beside them.
    void expectOutsideUntouched()
    {
        EXPECT_EQ(kovatest::readFile(outside / "victim.dat"), OUTSIDE_DATA);
        EXPECT_EQ(kovatest::readFile(outside / "victim2.dat"), OUTSIDE_DATA);
        EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 2);
    }

    fs::path dataFolder;
    fs::path outside;
    int inspected = 0;
    ScopedFakeWindows windows;
};

} // namespace

TEST_F(ForeignIdentifiers, openingReadsNothing)
{
    // Through the session dialog's "Debriefing...": no session is made.
    {
        SessionDialog dialog(storedRow(VICTIM), false);
        showActive(dialog);
        dialog.openSession(true);
        EXPECT_EQ(inspected, 0);
        expectRefusedOnce("dialog");
    }
    // A stored session made of the row all the same holds nothing.
    Session stored(storedRow(VICTIM), AlgorithmRecord{});
    EXPECT_TRUE(stored.getDataFileMissing());
    EXPECT_TRUE(stored.getCommSession().manData.empty());
    EXPECT_EQ(stored.getRecommendations(), "");
    expectRefusedOnce("session");
    expectOutsideUntouched();
}

TEST_F(ForeignIdentifiers, deleteKeepsTheRowAndTheFileOutside)
{
    SessionDialog dialog(storedRow(VICTIM2), true);
    showActive(dialog);
    ASSERT_TRUE(enabled(dialog, REMOVE));
    asker.answers = {platform::IDYES};
    click(dialog, REMOVE);
    expectRefusedOnce("delete");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(count("Session"), 2);
    expectOutsideUntouched();
}

TEST_F(ForeignIdentifiers, storingAndExportingAndPrintingAreRefused)
{
    // A live session started from such a row (a course's planned session).
    LinkLog link;
    SessionRecord planned = liveRecord();
    planned.Serialidentifier = "../../outside/victim3";
    auto live = collectedSession(link, 40, planned);
    EXPECT_FALSE(SessionRowStore::store(*live, live->getRecord()));
    expectRefusedOnce("store");
    EXPECT_FALSE(live->save());
    expectRefusedOnce("save");
    EXPECT_EQ(count("Session"), 2);

    platform::RecordingFileDialogAsker files;
    platform::ScopedFileDialogAsker filesScope(files);
    SessionExchange().exportSessions({VICTIM});
    EXPECT_TRUE(files.asked.empty()) << "nothing to export";
    expectRefusedOnce("export");

    CountingPrintDialog printDialog;
    platform::ScopedPrintDialogAsker printScope(printDialog);
    Session stored(storedRow(VICTIM), AlgorithmRecord{});
    asker.asked.clear();
    Print::printSession(stored, true);
    EXPECT_EQ(printDialog.asked, 0);
    expectRefusedOnce("print");
    expectOutsideUntouched();
    EXPECT_TRUE(fs::is_empty(dataFolder));
}
