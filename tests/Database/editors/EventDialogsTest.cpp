// The scenario event editors on a temporary SQLite data source: the list of
// a scenario's events with Add, Delete, Move up, Move down and Edit, the
// question on closing, the "Event" dialog that needs an icon, and a
// screenshot of each.

#include "RecordDialogFixture.h"

#include "Database/editors/EditEventsDialog.h"
#include "Database/editors/EventDialog.h"

#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>

namespace {

constexpr int CLOSE = 2, OK = 1;

class EventEditorWindows : public RecordDialogFixture {
protected:
    void SetUp() override
    {
        RecordDialogFixture::SetUp();
        exec("INSERT INTO \"Scenario\" (\"Name\") VALUES ('Basic')");
        const char* names[] = {"Safety", "Shout", "Phone"};
        for (long long order = 0; order < 3; ++order)
            exec("INSERT INTO \"Events\" (\"Scenario\", \"Order\", \"Name\", \"Tooltip\", \"Icon\") VALUES ('Basic', ?, ?, "
                 "?, ?)",
                 {order * 10, std::string(names[order]), std::string(names[order]) + " tip", order + 1});
    }
    // The stored events of Basic in their order: name and order.
    std::vector<std::string> stored()
    {
        std::vector<std::string> events;
        const auto rows = theDatabase.query(
            "SELECT \"Name\", \"Order\" FROM \"Events\" WHERE \"Scenario\" = 'Basic' ORDER BY \"Order\"", {},
            {SqlType::Text, SqlType::Integer});
        for (const auto& row : rows)
            events.push_back(std::get<std::string>(row[0]) + "@" + std::to_string(std::get<long long>(row[1])));
        return events;
    }
    static QTreeWidget* list(EditEventsDialog& dialog)
    {
        return qobject_cast<QTreeWidget*>(item(dialog, EditEventsDialog::LIST));
    }
    static QStringList shownNames(EditEventsDialog& dialog)
    {
        QStringList names;
        for (int i = 0; i < list(dialog)->topLevelItemCount(); ++i)
            names << list(dialog)->topLevelItem(i)->text(1);
        return names;
    }
    static void select(EditEventsDialog& dialog, int row)
    {
        list(dialog)->setCurrentItem(list(dialog)->topLevelItem(row));
    }
    static int selectedRow(EditEventsDialog& dialog)
    {
        const auto selected = list(dialog)->selectedItems();
        return selected.isEmpty() ? -1 : list(dialog)->indexOfTopLevelItem(selected.front());
    }
};

TEST_F(EventEditorWindows, addThenOkStoresTheTranslatedDefaultsWithTheFirstIcon)
{
    EditEventsDialog dialog("Basic");
    showActive(dialog);
    EXPECT_EQ(shownNames(dialog), (QStringList{"Safety", "Shout", "Phone"}));
    whenModalOpens([](QWidget* modal) { click(*qobject_cast<EventDialog*>(modal), OK); });
    click(dialog, EditEventsDialog::ADD);
    EXPECT_EQ(shownNames(dialog).last(), "Name");
    EXPECT_EQ(selectedRow(dialog), 3);
    EXPECT_TRUE(dialog.isChanged());
    EXPECT_TRUE(dialog.isVisible());

    asker.answers = {platform::IDYES};
    dialog.close();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"Save changes?");
    EXPECT_EQ(asker.asked[0].style, 0x23u);
    EXPECT_EQ(stored(), (std::vector<std::string>{"Safety@0", "Shout@1", "Phone@2", "Name@3"}))
        << "the orders are renumbered from 0";
    const auto added = theDatabase.query("SELECT \"Tooltip\", \"Icon\" FROM \"Events\" WHERE \"Name\" = 'Name'", {},
                                         {SqlType::Text, SqlType::Integer});
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(std::get<std::string>(added[0][0]), "Tooltip");
    EXPECT_EQ(std::get<long long>(added[0][1]), 0);
}

TEST_F(EventEditorWindows, movesPastAnEndOrWithoutASelectionBeepAndChangeNothing)
{
    EditEventsDialog dialog("Basic");
    ASSERT_TRUE(dialog.create());
    dialog.moveUp(); // no selection
    dialog.remove();
    dialog.edit();
    select(dialog, 0);
    dialog.moveUp();
    select(dialog, 2);
    dialog.moveDown();
    EXPECT_EQ(beeps, 5);
    EXPECT_FALSE(dialog.isChanged());
    EXPECT_EQ(shownNames(dialog), (QStringList{"Safety", "Shout", "Phone"}));

    dialog.moveUp();
    EXPECT_EQ(shownNames(dialog), (QStringList{"Safety", "Phone", "Shout"}));
    EXPECT_EQ(selectedRow(dialog), 1) << "the moved event stays selected";
    dialog.moveDown();
    EXPECT_EQ(shownNames(dialog), (QStringList{"Safety", "Shout", "Phone"}));
    EXPECT_TRUE(dialog.isChanged());
    EXPECT_EQ(beeps, 5);
}

TEST_F(EventEditorWindows, deleteSelectsTheEventThatTookItsPlaceAndNoneAfterTheLast)
{
    EditEventsDialog dialog("Basic");
    showActive(dialog);
    select(dialog, 1);
    click(dialog, EditEventsDialog::REMOVE);
    EXPECT_EQ(shownNames(dialog), (QStringList{"Safety", "Phone"}));
    EXPECT_EQ(selectedRow(dialog), 1);
    click(dialog, EditEventsDialog::REMOVE);
    EXPECT_EQ(shownNames(dialog), (QStringList{"Safety"}));
    EXPECT_EQ(selectedRow(dialog), -1);

    asker.answers = {platform::IDCANCEL};
    dialog.close();
    EXPECT_EQ(shownNames(dialog), (QStringList{"Safety"})) << "Cancel keeps the dialog with its changes";
    asker.answers = {platform::IDNO};
    dialog.close();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(stored(), (std::vector<std::string>{"Safety@0", "Shout@10", "Phone@20"})) << "No stores nothing";
}

TEST_F(EventEditorWindows, editChangesTheEventAndEnterInTheListClosesNothing)
{
    EditEventsDialog dialog("Basic");
    showActive(dialog);
    select(dialog, 2);
    whenModalOpens([](QWidget* modal) {
        auto* event = qobject_cast<EventDialog*>(modal);
        ASSERT_NE(event, nullptr);
        EXPECT_EQ(text(*event, EventDialog::NAME), "Phone");
        type(*event, EventDialog::NAME, "Call 112");
        qobject_cast<QListWidget*>(item(*event, EventDialog::ICONS))->setCurrentRow(7);
        click(*event, OK);
    });
    Q_EMIT list(dialog)->itemDoubleClicked(list(dialog)->topLevelItem(2), 1);
    EXPECT_EQ(shownNames(dialog), (QStringList{"Safety", "Shout", "Call 112"}));
    EXPECT_EQ(dialog.events()[2].icon, 7);

    list(dialog)->setFocus();
    QTest::keyClick(list(dialog), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(EventEditorWindows, theEventDialogWantsAnIconBeforeOk)
{
    EventDialog dialog("Airway", "Clear the airway", 3);
    showActive(dialog);
    auto* icons = qobject_cast<QListWidget*>(item(dialog, EventDialog::ICONS));
    ASSERT_NE(icons, nullptr);
    EXPECT_EQ(icons->count(), 97);
    EXPECT_EQ(icons->currentRow(), 3);
    EXPECT_FALSE(qobject_cast<QLabel*>(item(dialog, EventDialog::PICTURE))->pixmap().isNull());
    EXPECT_EQ(kova::controlId(QApplication::focusWidget()), EventDialog::NAME);

    icons->clearSelection();
    click(dialog, OK);
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(dialog.isVisible());
    icons->setCurrentRow(5);
    type(dialog, EventDialog::TOOLTIP, "  spaces kept  ");
    click(dialog, OK);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.icon(), 5);
    EXPECT_EQ(dialog.tooltip(), "  spaces kept  ");
    EXPECT_EQ(dialog.name(), "Airway");
}

TEST_F(EventEditorWindows, screenshots)
{
    EditEventsDialog events("Basic");
    showActive(events);
    select(events, 1);
    saveScreenshot(events, "edit-events");
    EventDialog event("Shout", "Shout tip", 2);
    showActive(event);
    saveScreenshot(event, "event");
}

} // namespace
