// The review panel of a finished session on the training records (SQLite
// through unixODBC): Yes stores the row with the results and what was typed
// and the data file from it, a data file that cannot be written leaves no
// row, the metronome box follows the beat, the way back to the debriefing
// and the printed report carry what was typed, and a picture of the panel.

#include "SessionTestKit.h"
#include "SessionRecordsFixture.h"
#include "SessionWindowsReset.h"
#include "TestSessionPanel.h"

#include "Database/DBUtil.h"
#include "Database/SessionTable.h"
#include "RunProgram.h"
#include "TempDir.h"
#include "app/debriefing/SessionDebriefView.h"
#include "app/printing/Print.h"
#include "app/sessions/SessionDatabaseView.h"
#include "app/sessions/SessionManager.h"
#include "app/sessions/SessionRowStore.h"
#include "app/sessions/SessionView.h"
#include "app/sessions/SessionWindowSet.h"
#include "config/Configuration.h"
#include "platform/PdfPrintDialogAsker.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QTest>

#include <filesystem>
#include <string>

using namespace sessiontest;
using Answer = SessionWindows::SaveAnswer;
using Panel = SessionWindows::Panel;

namespace {

class SessionReview : public SessionRecordsFixture {
protected:
    void SetUp() override
    {
        SessionRecordsFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        registerPanelTemplate();
        SessionWindowSet::install();
        for (const Panel kind : {Panel::Graph, Panel::Debrief})
            SessionWindowSet::setPanelFactory(kind, [kind](Session& session) -> std::unique_ptr<SessionPanel> {
                return std::make_unique<CountingPanel>(session, kind == Panel::Debrief ? L"Count aloud" : L"");
            });
        SessionWindowSet::setSaveQuestion([this](QWidget*, const std::wstring&, bool) { return answer; });
        SessionWindowSet::setEndSound([] {});
        host.resize(700, 440);
    }
    void TearDown() override
    {
        uninstallSessionWindows();
        SessionRecordsFixture::TearDown();
    }

    // A live session in the manager, shown, with 60 samples collected.
    Session* collected(long duration = 600)
    {
        Signal<>* none = nullptr;
        Session::setMetronomeSignal(&beat);
        auto made = liveSession(link, liveRecord(duration));
        Session::setMetronomeSignal(none);
        Session* session = made.release();
        manager.addSession(session);
        session->createSessionView()->create(&host);
        session->getSessionView()->setGeometry(host.rect());
        host.show();
        session->start();
        for (int i = 0; i < 60; ++i)
            session->onTimer();
        return session;
    }
    SessionDatabaseView* review(Session& session)
    {
        return qobject_cast<SessionDatabaseView*>(session.windows().panel(Panel::Review, false));
    }
    void storeBesideAnotherStationsRow(bool whileReviewing);

    Signal<> beat;
    QWidget host;
    SessionManager manager{false};
    Answer answer = Answer::Cancel;
    LinkLog link;
};

// The text of a PDF file as poppler reads it back.
std::string pdfText(const std::string& path)
{
    const kovatest::ProgramRun run = kovatest::runProgram("/usr/bin/pdftotext", {"-layout", path, "-"});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    return run.output;
}

} // namespace

TEST_F(SessionReview, yesStoresTheSessionFromTheReviewPanel)
{
    Session* session = collected();
    beat.notify();
    answer = Answer::Yes;
    const std::string serial = session->getRecord().Serialidentifier;
    ASSERT_TRUE(session->close());
    ASSERT_NE(review(*session), nullptr);
    EXPECT_TRUE(review(*session)->isDlgButtonChecked(SessionDatabaseView::IDC_METRONOME));

    SessionTable rows(theDatabase);
    rows.open("");
    ASSERT_FALSE(DBUtil::emptyTable(rows));
    const SessionRecord stored = rows.getRecord();
    EXPECT_EQ(stored.Serialidentifier, serial);
    EXPECT_TRUE(stored.Done);
    EXPECT_TRUE(stored.Metronome);
    const std::string text = kovatest::readFile(dataFolder / (serial + ".dat"));
    EXPECT_TRUE(text.starts_with("0\r\n0\r\n60\r\n"));
    EXPECT_TRUE(text.ends_with("recommendations:\nCount aloud\n"));
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Anna"}));
}

TEST_F(SessionReview, theBoxFollowsTheMetronomeAndTheWayBackLeadsToTheDebriefing)
{
    Session* session = collected();
    answer = Answer::Review;
    session->setState(Session::DEBRIEF);
    EXPECT_FALSE(session->close());
    ASSERT_EQ(session->getState(), Session::REVIEW);
    SessionDatabaseView* panel = review(*session);
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isDlgButtonChecked(SessionDatabaseView::IDC_METRONOME));
    EXPECT_EQ(panel->getDlgItemText(SessionDatabaseView::IDC_VENTILATION), "Anna");
    EXPECT_EQ(panel->getDlgItemText(SessionDatabaseView::IDC_DURATION), "10:00");
    EXPECT_EQ(panel->getDlgItemText(SessionDatabaseView::IDC_ABORT), "Abort");
    beat.notify();
    EXPECT_TRUE(panel->isDlgButtonChecked(SessionDatabaseView::IDC_METRONOME));

    QPointer<SessionDatabaseView> watched = panel;
    qobject_cast<QAbstractButton*>(panel->getDlgItem(SessionDatabaseView::IDC_DEBRIEFING))->click();
    EXPECT_EQ(session->getState(), Session::DEBRIEF);
    EXPECT_TRUE(session->getRecord().Metronome);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(watched);
}

TEST_F(SessionReview, pictureOfTheReviewOfAFinishedSession)
{
    Session* session = collected(2);
    ASSERT_TRUE(session->getEnded());
    answer = Answer::Review;
    EXPECT_FALSE(session->close());
    SessionDatabaseView* panel = review(*session);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->getDlgItemText(SessionDatabaseView::IDC_ABORT), "Close");
    QTest::qWait(20);
    const auto path = kovatest::binaryDir() / "SessionDatabaseView.png";
    ASSERT_TRUE(host.grab().save(QString::fromStdString(path.string())));
}

TEST_F(SessionReview, storingKeepsWhatWasTypedAndTheResultsInOneDoneRow)
{
    exec("INSERT INTO \"Person\" (\"Name\", \"Instructor\") VALUES ('Ida', 1)");
    Session* session = collected();
    answer = Answer::Review;
    session->setState(Session::DEBRIEF);
    ASSERT_FALSE(session->close());
    SessionDatabaseView* panel = review(*session);
    ASSERT_NE(panel, nullptr);
    qobject_cast<QComboBox*>(panel->getDlgItem(SessionDatabaseView::IDC_VENTILATION))->setEditText("Petra");
    qobject_cast<QComboBox*>(panel->getDlgItem(SessionDatabaseView::IDC_APPROVED))->setCurrentIndex(1);
    qobject_cast<QComboBox*>(panel->getDlgItem(SessionDatabaseView::IDC_APPROVED_BY))->setEditText("Ida");
    panel->setDlgItemText(SessionDatabaseView::IDC_NOTES, "Kept a steady rhythm");

    answer = Answer::Yes;
    ASSERT_TRUE(session->close());
    ASSERT_EQ(count("Session"), 1);
    SessionTable rows(theDatabase);
    rows.open("");
    const SessionRecord stored = rows.getRecord();
    EXPECT_TRUE(stored.Done);
    EXPECT_EQ(stored.PersonVentilation, "Petra");
    EXPECT_EQ(stored.Approved, 1);
    EXPECT_EQ(stored.ApprovedBy, "Ida");
    EXPECT_EQ(stored.Note, "Kept a steady rhythm");
    SessionRecord expected = stored;
    SessionRowStore::takeResults(expected, session->getCommSession());
    expectSameResults(stored, expected);
    EXPECT_GT(stored.CompDepth, 0.0) << "evaluated, though no debriefing was shown";
    EXPECT_DOUBLE_EQ(stored.InterfaceFrequency, 20.0);
    EXPECT_TRUE(std::filesystem::exists(dataFolder / (stored.Serialidentifier + ".dat")));
    EXPECT_TRUE(asker.asked.empty());
}

// Another station stored a session under the identifier this one drew, before
// its review opened or while it was open: that row is neither shown nor
// changed, and this session is stored under a new identifier.
void SessionReview::storeBesideAnotherStationsRow(bool whileReviewing)
{
    Session* session = collected();
    const auto storeOthers = [&] {
        exec("INSERT INTO \"Session\" (\"Serialidentifier\", \"Done\", \"Note\") VALUES (?, 1, 'other station')",
             {session->getRecord().Serialidentifier});
    };
    if (!whileReviewing)
        storeOthers();
    answer = Answer::Review;
    session->setState(Session::DEBRIEF);
    ASSERT_FALSE(session->close());
    ASSERT_NE(review(*session), nullptr);
    if (whileReviewing)
        storeOthers();
    review(*session)->setDlgItemText(SessionDatabaseView::IDC_NOTES, "this station");

    answer = Answer::Yes;
    ASSERT_TRUE(session->close());
    EXPECT_EQ(column("Session", "Note"), (std::vector<std::string>{"other station", "this station"}));
    const std::vector<std::string> serials = column("Session", "Serialidentifier");
    ASSERT_EQ(serials.size(), 2u);
    EXPECT_NE(serials[1], serials[0]);
    EXPECT_EQ(session->getRecord().Serialidentifier, serials[1]);
    EXPECT_FALSE(std::filesystem::exists(dataFolder / (serials[0] + ".dat")));
    EXPECT_TRUE(std::filesystem::exists(dataFolder / (serials[1] + ".dat")));
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(SessionReview, aRowOfAnotherStationUnderTheIdentifierBeforeTheReviewIsNeitherShownNorChanged)
{
    storeBesideAnotherStationsRow(false);
}

TEST_F(SessionReview, aRowOfAnotherStationUnderTheIdentifierDuringTheReviewIsNeitherShownNorChanged)
{
    storeBesideAnotherStationsRow(true);
}

TEST_F(SessionReview, aDataFileThatCannotBeWrittenLeavesNoRowAndTheSessionOpen)
{
    Session* session = collected();
    setMachineString("Data Folder", (folder.path() / "unplugged").string());
    answer = Answer::Yes;
    EXPECT_FALSE(session->close());
    EXPECT_EQ(count("Session"), 0) << "no Done row without its data file";
    EXPECT_EQ(session->getState(), Session::REVIEW);
    EXPECT_TRUE(session->getModified());
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].caption, L"Problem saving session");

    setMachineString("Data Folder", dataFolder.string());
    ASSERT_TRUE(session->close()) << "the same review stores it once the folder is back";
    EXPECT_EQ(count("Session"), 1);
    EXPECT_TRUE(std::filesystem::exists(dataFolder / (session->getRecord().Serialidentifier + ".dat")));
}

TEST_F(SessionReview, printAndTheWayBackTakeWhatWasTypedWithoutStoringIt)
{
    SessionDebriefView::install();
    Print::install();
    Configuration::instance().getPropertyModel().printApprovalFields = true;
    platform::PdfPrintDialogAsker printDialog;
    printDialog.outputFile = folder.file("review.pdf");
    platform::ScopedPrintDialogAsker printing(printDialog);

    Session* session = collected();
    answer = Answer::Review;
    session->setState(Session::DEBRIEF);
    ASSERT_FALSE(session->close());
    SessionDatabaseView* panel = review(*session);
    ASSERT_NE(panel, nullptr);
    panel->setDlgItemText(SessionDatabaseView::IDC_NOTES, "Arms straight");
    auto* print = qobject_cast<QAbstractButton*>(panel->getDlgItem(SessionDatabaseView::IDC_PRINT));
    ASSERT_TRUE(print->isEnabled());
    print->click();
    EXPECT_EQ(printDialog.shown, 1);
    EXPECT_NE(pdfText(printDialog.outputFile).find("Arms straight"), std::string::npos)
        << "the report carries the notes typed in the review";
    EXPECT_EQ(count("Session"), 0);

    panel->setDlgItemText(SessionDatabaseView::IDC_NOTES, "Arms straight, elbows locked");
    qobject_cast<QAbstractButton*>(panel->getDlgItem(SessionDatabaseView::IDC_DEBRIEFING))->click();
    EXPECT_EQ(session->getState(), Session::DEBRIEF);
    EXPECT_EQ(session->getRecord().Note, "Arms straight, elbows locked");
    SessionDatabaseView::setPrinter({});
    SessionDebriefView::setPrintFunction({});
    Configuration::destroy();
}
