// The session manager on a temporary SQLite data source: the criteria lists,
// the count it tells, the columns spread over the list's width, the list that
// takes the extra height, the double click that opens a row's own session
// whatever was stored since, and its screenshot.

#include "RecordDialogFixture.h"
#include "StoredSessionsFixture.h"

#include "Database/BrowseSessionsDialog.h"
#include "Database/SessionDialog.h"
#include "Rodezir/DateText.h"

#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTimer>
#include <QTreeView>

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
