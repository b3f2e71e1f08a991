// The "Person" editor on a temporary SQLite data source: how it opens from
// the menu and from a "Details..." button, what it stores of a name, the
// cascade of Delete, the keys that never close it, and its screenshot.

#include "RecordDialogFixture.h"

#include "Database/editors/PersonDialog.h"

#include <QCheckBox>

namespace {

constexpr int NAME = 1118, ADDRESS = 1119, PHONE = 1120, NOTES = 1121, DEGREE = 1122, CPR_COURSES = 1124,
              RESUSCITATIONS = 1125, INSTRUCTOR = 1028;
constexpr int NEW = 1112, REMOVE = 1113, SAVE = 1114, DISCARD = 1115, NEXT = 1116, QUICK_FIND = 1242;

class PersonEditorWindow : public RecordDialogFixture {
protected:
    void addPerson(const std::string& name, bool instructor = false, const std::string& phone = {})
    {
        exec("INSERT INTO \"Person\" (\"Name\", \"Instructor\", \"Phone\") VALUES (?, ?, ?)",
             {name, instructor ? 1LL : 0LL, phone});
    }
    static bool ticked(PersonDialog& dialog) { return dialog.isDlgButtonChecked(INSTRUCTOR); }
};

TEST_F(PersonEditorWindow, fromTheMenuItOpensOnANewEmptyEntry)
{
    addPerson("Ann");
    PersonDialog dialog("", false, true);
    ASSERT_TRUE(dialog.create());
    EXPECT_TRUE(dialog.isNewEntry());
    EXPECT_EQ(text(dialog, NAME), "");
    EXPECT_EQ(text(dialog, CPR_COURSES), "0");
    EXPECT_EQ(text(dialog, RESUSCITATIONS), "0");
    EXPECT_FALSE(ticked(dialog));
    EXPECT_FALSE(enabled(dialog, REMOVE));
    EXPECT_FALSE(enabled(dialog, SAVE));
    EXPECT_FALSE(enabled(dialog, DISCARD));
    EXPECT_TRUE(enabled(dialog, NEW));
    EXPECT_EQ(qobject_cast<QComboBox*>(item(dialog, QUICK_FIND))->count(), 1);

    click(dialog, INSTRUCTOR);
    EXPECT_TRUE(enabled(dialog, SAVE)) << "the tick alone is a change";
    EXPECT_TRUE(enabled(dialog, DISCARD));
    click(dialog, DISCARD);
    EXPECT_FALSE(ticked(dialog));
    EXPECT_FALSE(enabled(dialog, SAVE));
}

TEST_F(PersonEditorWindow, aNameIsStoredWithoutItsBlanksAndBlanksAloneAreRefused)
{
    PersonDialog dialog("", false, true);
    ASSERT_TRUE(dialog.create());
    type(dialog, NAME, "   ");
    type(dialog, PHONE, "555 12");
    click(dialog, SAVE);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"A person has to have a name.");
    EXPECT_EQ(asker.asked[0].style, 0x40u);
    EXPECT_EQ(count("Person"), 0);

    type(dialog, NAME, "  Ann  ");
    type(dialog, ADDRESS, "Elm street 1\nSpringfield");
    type(dialog, RESUSCITATIONS, "several");
    click(dialog, SAVE);
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Ann"}));
    EXPECT_EQ(column("Person", "Address"), (std::vector<std::string>{"Elm street 1\nSpringfield"}));
    EXPECT_EQ(column("Person", "Resuscitations"), (std::vector<std::string>{"several"}));
    EXPECT_EQ(dialog.getCurrentKey(), "Ann");
    EXPECT_FALSE(enabled(dialog, SAVE));
    EXPECT_TRUE(enabled(dialog, REMOVE));
    EXPECT_EQ(qobject_cast<QComboBox*>(item(dialog, QUICK_FIND))->itemText(0), "Ann");

    type(dialog, CPR_COURSES, "12345678901234");
    EXPECT_EQ(text(dialog, CPR_COURSES), "1234567890") << "ten characters at most";
}

TEST_F(PersonEditorWindow, deleteTakesTheSessionsAndCoursesOfThePerson)
{
    addPerson("Ann");
    addPerson("Bob");
    const char* roles[] = {"PersonVentilation", "PersonChestCompression", "CourseInstructor", "ApprovedBy"};
    for (const char* role : roles)
        exec(std::string("INSERT INTO \"Session\" (\"") + role + "\", \"Note\") VALUES ('ann', ?)", {std::string(role)});
    exec("INSERT INTO \"Session\" (\"PersonVentilation\", \"Note\") VALUES ('Bob', 'kept')");
    exec("INSERT INTO \"Course\" (\"Instructor\", \"Date\", \"Time\") VALUES ('Ann', '2024-05-01', '10:00')");
    exec("INSERT INTO \"Course\" (\"Instructor\", \"Date\", \"Time\") VALUES ('Bob', '2024-05-01', '10:00')");

    PersonDialog dialog("Ann", false, true);
    ASSERT_TRUE(dialog.create());
    asker.answers = {platform::IDYES};
    click(dialog, REMOVE);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].style, 0x134u);
    EXPECT_EQ(asker.asked[0].text, L"Are you sure you want to remove this person\nand all related sessions and "
                                   L"courses?\nYou can not undo this operation.");
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Bob"}));
    EXPECT_EQ(column("Session", "Note"), (std::vector<std::string>{"kept"}));
    EXPECT_EQ(column("Course", "Instructor"), (std::vector<std::string>{"Bob"}));
    EXPECT_EQ(dialog.getCurrentKey(), "Bob") << "the next person is shown";
}

TEST_F(PersonEditorWindow, fromADetailsButtonItShowsTheNamedPersonAndNeverDeletes)
{
    addPerson("Ann", false, "555");
    addPerson("Bob");
    PersonDialog dialog("ANN", false, false);
    ASSERT_TRUE(dialog.create());
    EXPECT_EQ(text(dialog, NAME), "Ann");
    EXPECT_EQ(text(dialog, PHONE), "555");
    EXPECT_FALSE(enabled(dialog, REMOVE));
    click(dialog, NEXT);
    EXPECT_EQ(dialog.getCurrentKey(), "Bob");
    EXPECT_FALSE(enabled(dialog, REMOVE));

    PersonDialog instructor("Carl", true, false);
    ASSERT_TRUE(instructor.create());
    EXPECT_TRUE(instructor.isNewEntry());
    EXPECT_EQ(text(instructor, NAME), "Carl");
    EXPECT_TRUE(ticked(instructor));
    EXPECT_FALSE(enabled(instructor, SAVE)) << "nothing edited yet";
    type(instructor, DEGREE, "MD");
    click(instructor, SAVE);
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Ann", "Bob", "Carl"}));
    EXPECT_EQ(column("Person", "Instructor"), (std::vector<std::string>{"0", "0", "1"}));

    click(instructor, NEW);
    EXPECT_TRUE(ticked(instructor)) << "new entries start as instructors";
    EXPECT_FALSE(enabled(instructor, SAVE));
}

TEST_F(PersonEditorWindow, quickFindShowsTheChosenPerson)
{
    addPerson("Ann");
    addPerson("Bob", false, "777");
    PersonDialog dialog("", false, true);
    ASSERT_TRUE(dialog.create());
    choose(dialog, QUICK_FIND, "Bob");
    EXPECT_EQ(text(dialog, PHONE), "777");
    EXPECT_EQ(qobject_cast<QComboBox*>(item(dialog, QUICK_FIND))->currentIndex(), -1);
    EXPECT_TRUE(enabled(dialog, REMOVE));
}

TEST_F(PersonEditorWindow, enterMovesTheFocusAndEscapeAsksBeforeLosingAChange)
{
    addPerson("Ann");
    PersonDialog dialog("Ann", false, true);
    showActive(dialog);
    item(dialog, PHONE)->setFocus();
    QTest::keyClick(item(dialog, PHONE), Qt::Key_Return);
    EXPECT_EQ(kova::controlId(QApplication::focusWidget()), DEGREE);
    EXPECT_TRUE(dialog.isVisible());

    item(dialog, NOTES)->setFocus();
    QTest::keyClick(item(dialog, NOTES), Qt::Key_Return);
    EXPECT_EQ(text(dialog, NOTES), "\n") << "Enter in the notes makes a new line";

    asker.answers = {platform::IDCANCEL};
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"Data was changed. Save the changes?");
    EXPECT_EQ(asker.asked[0].style, 0x23u);

    asker.answers = {platform::IDNO};
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(column("Person", "Note"), (std::vector<std::string>{""}));
}

// Typed through with Tab, each field lands in its own column: Tab moves on
// from the multi-line address too, where Ctrl+Tab types a tab.
TEST_F(PersonEditorWindow, tabMovesOnFromEveryFieldAndCtrlTabTypesATabInTheAddress)
{
    PersonDialog dialog("", false, true);
    showActive(dialog);
    item(dialog, NAME)->setFocus();
    const std::pair<int, QString> typed[] = {{NAME, "Ann"},   {ADDRESS, "Main St 1"},   {PHONE, "555-1234"},
                                             {DEGREE, "RN"},  {CPR_COURSES, "3"},       {RESUSCITATIONS, "1"}};
    for (const auto& [id, text] : typed) {
        QWidget* field = QApplication::focusWidget();
        ASSERT_EQ(kova::controlId(field), id) << text.toStdString();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Tab);
    }

    // Back into the address, where a tab is wanted.
    item(dialog, PHONE)->setFocus();
    QTest::keyClick(item(dialog, PHONE), Qt::Key_Tab, Qt::ShiftModifier);
    auto* address = qobject_cast<QPlainTextEdit*>(QApplication::focusWidget());
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(kova::controlId(address), ADDRESS);
    address->moveCursor(QTextCursor::End);
    QTest::keyClick(address, Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClicks(address, "B");
    EXPECT_EQ(QApplication::focusWidget(), address);

    click(dialog, SAVE);
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Ann"}));
    EXPECT_EQ(column("Person", "Address"), (std::vector<std::string>{"Main St 1\tB"}));
    EXPECT_EQ(column("Person", "Phone"), (std::vector<std::string>{"555-1234"}));
    EXPECT_EQ(column("Person", "Degree"), (std::vector<std::string>{"RN"}));
    EXPECT_EQ(column("Person", "CPRCourses"), (std::vector<std::string>{"3"}));
    EXPECT_EQ(column("Person", "Resuscitations"), (std::vector<std::string>{"1"}));
}

TEST_F(PersonEditorWindow, screenshot)
{
    exec("INSERT INTO \"Person\" (\"Name\", \"Address\", \"Phone\", \"Degree\", \"CPRCourses\", \"Resuscitations\", "
         "\"Instructor\", \"Note\") VALUES ('Ann O''Brien', 'Elm street 12\n4021 Springfield', '+1 555 0102', "
         "'Paramedic', '4', '2', 1, 'Teaches the Tuesday courses.')");
    addPerson("Bob");
    PersonDialog dialog("Ann O'Brien", false, true);
    showActive(dialog);
    saveScreenshot(dialog, "person");
}

} // namespace
