// The session manager on a temporary SQLite data source: the criteria lists,
// the count it tells, the columns spread over the list's width, the list that
// takes the extra height, the double click that opens a row's own session
// whatever was stored since, sessions exported through Export... and
// imported back through Import..., and its screenshot.

#include "RecordDialogFixture.h"
#include "StoredSessionsFixture.h"

#include "Database/SessionTable.h"
#include "Database/export-import/SessionExchange.h"
#include "app/sessions/SessionDataFile.h"
#include "Database/stored-sessions/BrowseSessionsDialog.h"
#include "Database/stored-sessions/SessionDialog.h"
#include "Rodezir/DateText.h"
#include "platform/FileDialog.h"

#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <filesystem>
#include <set>

namespace {

using Dialog = BrowseSessionsDialog;

class SessionManagerWindow : public RecordDialogFixture {
protected:
    // Runs `check` on the modal dialog the next command opens, then closes it.
    template <class Window, class Check>
    void onModal(Check check)
    {
        QTimer::singleShot(0, [check] {
            auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
            EXPECT_NE(window, nullptr);
            if (!window)
                return;
            check(*window);
            window->done(QDialog::Rejected);
        });
    }
    static void selectRow(Dialog& dialog, int row)
    {
        QTreeView* list = dialog.sessionList();
        list->selectionModel()->select(list->model()->index(row, 0),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    static void search(Dialog& dialog, const QString& participant)
    {
        qobject_cast<QComboBox*>(item(dialog, Dialog::PARTICIPANT))->setEditText(participant);
        click(dialog, Dialog::SHOW_MATCHING);
    }
};

TEST_F(SessionManagerWindow, opensOnEveryFinishedSessionWithTheCriteriaLists)
{
    addStoredSession({"a", "Ann", "Bob", "2013-06-14", "10:00", "Ida", "Basic"});
    addStoredSession({"p", "Ann", "Bob", "2013-06-14", "11:00", "Ida", "Basic", false});
    Dialog dialog;
    ASSERT_TRUE(dialog.create());
    EXPECT_EQ(dialog.sessionModel().rowCount(), 1);
    auto* year = qobject_cast<QComboBox*>(item(dialog, Dialog::YEAR));
    auto* month = qobject_cast<QComboBox*>(item(dialog, Dialog::MONTH));
    ASSERT_EQ(year->count(), 53);
    EXPECT_EQ(year->itemText(0), "(Any year)");
    EXPECT_EQ(year->itemText(1), "1999");
    EXPECT_EQ(year->itemText(52), "2050");
    ASSERT_EQ(month->count(), 13);
    EXPECT_EQ(month->itemText(6), "June");

    const QAbstractItemModel& model = dialog.sessionModel();
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "1");
    EXPECT_EQ(model.data(model.index(0, 3)).toString().toStdString(), kova::isoDateToText("2013-06-14"));
    EXPECT_EQ(model.headerData(5, Qt::Horizontal).toString(), "Instructor");
}

TEST_F(SessionManagerWindow, theResultTellsHowManySessionsMatch)
{
    for (int i = 0; i < 7; ++i)
        addStoredSession({"ann" + std::to_string(i), "Ann"});
    addStoredSession({"bob", "Bob"});
    Dialog dialog;
    ASSERT_TRUE(dialog.create());
    const std::pair<QString, QString> cases[] = {
        {"bob", "One session match criteria"},
        {"zed", "No sessions match criteria."},
        {"ANN", "7 sessions match criteria"},
    };
    for (const auto& [participant, result] : cases) {
        search(dialog, participant);
        EXPECT_EQ(text(dialog, Dialog::RESULT), result) << participant.toStdString();
    }
    EXPECT_EQ(dialog.sessionModel().rowCount(), 7);
}

// The search takes the name the box shows, typed over one picked from its list.
TEST_F(SessionManagerWindow, aNameTypedOverAPickedOneIsTheOneSearchedFor)
{
    exec("INSERT INTO \"Person\" (\"Name\", \"Instructor\") VALUES ('Ann', 1)");
    addStoredSession({"ann", "Ann", "Ann", "2013-06-14", "10:00", "Ann"});
    addStoredSession({"cy", "Cy", "Cy", "2013-06-14", "11:00", "Ida"});
    Dialog dialog;
    ASSERT_TRUE(dialog.create());
    for (const int id : {Dialog::PARTICIPANT, Dialog::INSTRUCTOR}) {
        SCOPED_TRACE(id);
        choose(dialog, id, "Ann");
        QLineEdit* edit = qobject_cast<QComboBox*>(item(dialog, id))->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, id == Dialog::PARTICIPANT ? "Cy" : "Ida");
        click(dialog, Dialog::SHOW_MATCHING);
        EXPECT_EQ(text(dialog, Dialog::RESULT), "One session match criteria");
        ASSERT_EQ(dialog.sessionModel().rowCount(), 1);
        const QAbstractItemModel& model = dialog.sessionModel();
        EXPECT_EQ(model.data(model.index(0, 5)).toString(), "Ida");
        qobject_cast<QComboBox*>(item(dialog, id))->setEditText("");
    }
}

// A search the database cannot answer says so: an empty list is never shown
// as "No sessions match criteria." for a failure.
TEST_F(SessionManagerWindow, aSearchThatFailsSaysSoAndTheNextOneListsAgain)
{
    addStoredSession({"bob", "Bob"});
    Dialog dialog;
    showActive(dialog);
    exec("ALTER TABLE \"Session\" RENAME TO \"SessionAway\"");
    search(dialog, "");
    EXPECT_EQ(text(dialog, Dialog::RESULT), "The search failed: the sessions could not be read.");
    EXPECT_EQ(dialog.sessionModel().rowCount(), 0);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_NE(asker.asked[0].text.find(L"An unexpected error occured while accessing the database:"),
              std::wstring::npos);
    saveScreenshot(dialog, "BrowseSessionsDialog-search-failed");

    exec("ALTER TABLE \"SessionAway\" RENAME TO \"Session\"");
    search(dialog, "");
    EXPECT_EQ(text(dialog, Dialog::RESULT), "One session match criteria");
    EXPECT_EQ(asker.asked.size(), 1u);
}

TEST_F(SessionManagerWindow, theListTakesTheExtraHeightAndItsColumnsTheWidth)
{
    EXPECT_EQ(Dialog::columnWidths(1600), (std::array<int, 6>{280, 280, 270, 180, 290, 300}));
    addStoredSession({"a", "Ann", "Bob", "2024-05-01", "10:00", "Ida", "Basic"});
    Dialog dialog;
    showActive(dialog);
    QWidget* frame = item(dialog, 1284);
    const QSize frameSize = frame->size();
    const QSize listSize = dialog.sessionList()->size();
    dialog.resize(dialog.width() + 300, dialog.height() + 120);
    QApplication::processEvents();

    EXPECT_EQ(frame->size(), frameSize) << "the criteria keep their size";
    EXPECT_NEAR(frame->geometry().center().x(), dialog.width() / 2, 3) << "and stay centred";
    EXPECT_EQ(dialog.sessionList()->height(), listSize.height() + 120);
    QTreeView* list = dialog.sessionList();
    int total = 0;
    for (int column = 0; column < 7; ++column)
        total += list->columnWidth(column);
    // Each width is cut to whole pixels.
    EXPECT_NEAR(total, list->viewport()->width(), 6);
    EXPECT_NEAR(list->columnWidth(1) * 18.0 / 28.0, list->columnWidth(4), 2);
}

TEST_F(SessionManagerWindow, aDoubleClickOpensTheSessionOfTheRowEvenWhenAnotherWasStoredBeforeIt)
{
    addStoredSession({"first", "Ann", "", "2024-01-02", "10:00", "Ida"});
    addStoredSession({"second", "Bob", "", "2024-01-03", "10:00", "Ida"});
    Dialog dialog;
    ASSERT_TRUE(dialog.create());
    selectRow(dialog, 1);
    // Sorts before both rows of the list.
    addStoredSession({"newer", "Cid", "", "2024-01-01", "10:00", "Eve"});

    std::string opened;
    onModal<SessionDialog>([&](SessionDialog& session) { opened = session.currentRecord().Serialidentifier; });
    dialog.openSelectedSession();
    EXPECT_EQ(opened, "second");
    EXPECT_EQ(dialog.sessionModel().rowCount(), 3) << "the list is read again when the session dialog closes";

    dialog.sessionList()->clearSelection();
    dialog.openSelectedSession();
    EXPECT_EQ(beeps, 1) << "no row chosen";

    // A double click on the list below its rows chooses no row either.
    showActive(dialog);
    selectRow(dialog, 0);
    QWidget* rows = dialog.sessionList()->viewport();
    const QPoint below(rows->width() / 2, rows->height() - 3);
    ASSERT_FALSE(dialog.sessionList()->indexAt(below).isValid());
    bool sessionOpened = false;
    QTimer::singleShot(0, [&] {
        if (auto* session = qobject_cast<SessionDialog*>(QApplication::activeModalWidget())) {
            sessionOpened = true;
            session->done(QDialog::Rejected);
        }
    });
    QTest::mouseDClick(rows, Qt::LeftButton, Qt::NoModifier, below);
    QApplication::processEvents();
    EXPECT_EQ(beeps, 2);
    EXPECT_FALSE(sessionOpened);
}

TEST_F(SessionManagerWindow, exportAndImportCarryTheSelectedSessionsWithTheirDataFilesThroughAFile)
{
    namespace fs = std::filesystem;
    const fs::path dataFolder = folder.path() / "data";
    fs::create_directories(dataFolder);
    setMachineString("Data Folder", dataFolder.string());
    forgetDataFolderWarning();
    ScopedRecordTime now{2024, 11, 5, 10, 0};
    // Data files as a session writes them: CR LF, and LF from the recommendations on.
    const auto dataOf = [](const std::string& name) {
        return "1\r\n0 3\r\n0\r\n1\r\n45.68 0 1 0 0 0 128 0\r\nrecommendations:\nmarks of " + name + "\n";
    };
    SessionDataFile::installImportCheck();
    std::vector<SessionRecord> stored;
    for (const char* name : {"Ann", "Bob", "Cid"}) {
        SessionRecord record;
        record.PersonVentilation = name;
        record.CourseDate = "2024-11-05";
        record.Done = true;
        record.InterfaceFrequency = 20.0;
        SessionTable table(theDatabase);
        table.open("");
        table.addNew();
        table.setRecord(record);
        ASSERT_TRUE(table.update()) << table.lastError();
        kovatest::writeFile(record.dataFileName().value(), dataOf(name));
        stored.push_back(record);
    }
    platform::RecordingFileDialogAsker files;
    platform::ScopedFileDialogAsker filesScope(files);
    const std::string path = folder.file("two.sdb");
    const std::wstring widePath = fs::path(path).wstring();

    Dialog dialog;
    showActive(dialog);
    EXPECT_TRUE(enabled(dialog, Dialog::EXPORT));
    EXPECT_TRUE(enabled(dialog, Dialog::IMPORT));
    dialog.sessionList()->clearSelection();
    click(dialog, Dialog::EXPORT);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"Please choose one or more sessions to export.");
    EXPECT_TRUE(files.asked.empty());

    // The list is sorted by names: Ann and Cid are its first and last rows.
    selectRow(dialog, 0);
    dialog.sessionList()->selectionModel()->select(dialog.sessionList()->model()->index(2, 0),
                                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    files.answers = {path};
    click(dialog, Dialog::EXPORT);
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_TRUE(files.asked[0].save);
    EXPECT_EQ(asker.asked.back().text, L"Exported 2 sessions to " + widePath);

    // Gone from this station, then imported again from the file.
    for (const SessionRecord& gone : {stored[0], stored[2]}) {
        exec("DELETE FROM \"Session\" WHERE \"Serialidentifier\" = ?", {gone.Serialidentifier});
        fs::remove(gone.dataFileName().value());
    }
    click(dialog, Dialog::SHOW_MATCHING);
    ASSERT_EQ(dialog.sessionModel().rowCount(), 1);
    files.answers = {path};
    click(dialog, Dialog::IMPORT);
    ASSERT_EQ(files.asked.size(), 2u);
    EXPECT_FALSE(files.asked[1].save);
    EXPECT_EQ(asker.asked.back().text, L"Imported 2 sessions from " + widePath);
    EXPECT_EQ(asker.asked.size(), 3u) << "nothing asked: the sessions were no longer here";

    ASSERT_EQ(dialog.sessionModel().rowCount(), 3) << "the list shows the imported sessions";
    std::set<std::string> listed;
    for (int row = 0; row < 3; ++row)
        listed.insert(dialog.sessionModel().session(row)->serialIdentifier);
    for (const SessionRecord& back : stored) {
        EXPECT_EQ(listed.count(back.Serialidentifier), 1u) << back.PersonVentilation;
        EXPECT_EQ(kovatest::readFile(back.dataFileName().value()), dataOf(back.PersonVentilation))
            << "byte for byte, line ends included";
    }
    SessionExchange::setDataCheck({});
}

TEST_F(SessionManagerWindow, screenshot)
{
    addStoredSession({"1", "Ann Berg", "Bob Dahl", "2024-05-01", "09:30", "Ida Nilsen", "Basic"});
    addStoredSession({"2", "Cecilie Holm", "Cecilie Holm", "2024-05-01", "10:15", "Ida Nilsen", "Single rescuer"});
    addStoredSession({"3", "Dag Lie", "Eva Moe", "2024-05-02", "13:00", "Ida Nilsen", "Advanced"});
    addStoredSession({"4", "Frode Rud", "", "2024-06-11", "08:45", "Jon Sand", "Ventilation drill"});
    Dialog dialog;
    showActive(dialog);
    selectRow(dialog, 1);
    saveScreenshot(dialog, "BrowseSessionsDialog");
}

} // namespace
