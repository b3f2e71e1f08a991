// The record editor's rules on real tables: the button mask, stepping,
// quick find, New, the questions and their styles, saves that replace or
// rename rows (undone whole when the database refuses a part), and delete
// with its substitute. Runs on the SQLite data source and on PostgreSQL, and
// a save while the server is down on a PostgreSQL server of its own.

#include "OwnServerFixture.h"
#include "TablesFixture.h"

#include "Database/PersonTable.h"
#include "Database/editors/DatabaseDialog.h"
#include "Rodezir/LogStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using namespace recordbuttons;

// A person editor whose "controls" are a record: what is typed is `typed`.
class PersonEditor final : public DatabaseDialog<PersonTable, PersonRecord> {
public:
    PersonEditor() : table(theDatabase) {}

    void open(const std::string& key = {}) { start(table, key); }
    void type(const std::string& name) { typed.name = name; }

    PersonTable table;
    PersonRecord typed;
    unsigned mask = 0xFFFF;
    bool asksBeforeOverwrite = false;

protected:
    void showRecord(const PersonRecord& record) override { typed = record; }
    PersonRecord readRecord() override
    {
        PersonRecord record = typed;
        record.name = trim(typed.name);
        return record;
    }
    bool isChanged() override { return !(readRecord() == currentRecord()); }
    void enableButtons(unsigned buttons) override { mask = buttons; }
    std::wstring message(int kind) override { return L"message " + std::to_wstring(kind); }
    void notifyChanged() override { TablePool::refresh(TableKind::Person); }
    bool confirmOverwrite() override { return asksBeforeOverwrite; }
    void applyFieldRules() override
    {
        if (rules)
            rules(typed);
    }

public:
    // What the editor's fields make of what was typed into them.
    std::function<void(PersonRecord&)> rules;
};

class RecordEditor : public TablesFixture {
protected:
    void addPerson(const std::string& name, const std::string& address = {})
    {
        exec("INSERT INTO \"Person\" (\"Name\", \"Address\") VALUES (?, ?)", {name, address});
    }
    void addSession(const std::string& ventilation, const std::string& instructor)
    {
        exec("INSERT INTO \"Session\" (\"PersonVentilation\", \"CourseInstructor\") VALUES (?, ?)",
             {ventilation, instructor});
    }
    void addCourse(const std::string& instructor)
    {
        exec("INSERT INTO \"Course\" (\"Instructor\", \"Date\", \"Time\") VALUES (?, '2024-05-01', '10:00')",
             {instructor});
    }
    // Makes the database refuse every change of the table's rows.
    void refuseUpdates(const std::string& table)
    {
        if (!onPostgresql()) {
            exec("CREATE TRIGGER \"refuseUpdate" + table + "\" BEFORE UPDATE ON \"" + table
                 + "\" BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
            return;
        }
        exec("CREATE FUNCTION \"refuseUpdate" + table
             + "\"() RETURNS trigger AS $body$ BEGIN RAISE EXCEPTION 'refused by the test'; END $body$ "
               "LANGUAGE plpgsql");
        exec("CREATE TRIGGER \"refuseUpdate" + table + "\" BEFORE UPDATE ON \"" + table
             + "\" FOR EACH ROW EXECUTE FUNCTION \"refuseUpdate" + table + "\"()");
    }
    std::vector<unsigned> stylesAsked() const
    {
        std::vector<unsigned> styles;
        for (const auto& box : asker.asked)
            styles.push_back(box.style);
        return styles;
    }
};

TEST_F(RecordEditor, theMaskFollowsThePlaceInTheTable)
{
    PersonEditor editor;
    editor.open();
    EXPECT_EQ(editor.mask, NEW) << "empty table: a new entry";
    EXPECT_TRUE(editor.isNewEntry());

    addPerson("Ann");
    addPerson("Bob");
    addPerson("Cid");
    PersonEditor browsing;
    browsing.open();
    EXPECT_EQ(browsing.getCurrentKey(), "Ann");
    EXPECT_EQ(browsing.mask, 216u);
    browsing.onNext();
    EXPECT_EQ(browsing.getCurrentKey(), "Bob");
    EXPECT_EQ(browsing.mask, 252u);
    browsing.onLast();
    EXPECT_EQ(browsing.mask, 228u);
    browsing.onPrevious();
    browsing.onPrevious();
    browsing.onPrevious(); // stays on the first row
    EXPECT_EQ(browsing.getCurrentKey(), "Ann");
    browsing.onNew();
    EXPECT_EQ(browsing.mask, 164u);
    browsing.type("Dee");
    browsing.updateButtons();
    EXPECT_EQ(browsing.mask, 164u | SAVE | DISCARD);
    browsing.onDiscard();
    EXPECT_EQ(browsing.typed.name, "");
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(RecordEditor, onTheOnlyRowNoStepIsOffered)
{
    addPerson("Ann");
    PersonEditor editor;
    editor.open();
    EXPECT_EQ(editor.mask, REMOVE | NEW);
    editor.typed.address = "Elm street";
    editor.updateButtons();
    EXPECT_EQ(editor.mask, REMOVE | NEW | SAVE | DISCARD);
    editor.onDiscard();
    EXPECT_EQ(editor.mask, REMOVE | NEW);
    EXPECT_EQ(editor.typed.address, "");
}

using RecordEditorWithoutDatabase = RecordsFixture;

TEST_F(RecordEditorWithoutDatabase, everyButtonGoesAndNothingHappens)
{
    PersonEditor editor;
    editor.open("Ann");
    EXPECT_EQ(editor.computeMask(), 0u);
    editor.type("Ann");
    editor.updateButtons();
    EXPECT_EQ(editor.mask, 0u);
    EXPECT_FALSE(editor.save());
    EXPECT_FALSE(editor.remove(true));
    EXPECT_TRUE(editor.queryLeave());
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(RecordEditor, anInitialKeyShowsItsRecordOrANewEntryUnderIt)
{
    addPerson("Ann", "Elm street");
    PersonEditor found;
    found.open("ANN");
    EXPECT_FALSE(found.isNewEntry());
    EXPECT_EQ(found.typed.address, "Elm street");

    PersonEditor missing;
    missing.open("Zoe");
    EXPECT_TRUE(missing.isNewEntry());
    EXPECT_EQ(missing.typed.name, "Zoe");
    EXPECT_EQ(missing.mask, 164u) << "nothing typed yet";
    EXPECT_EQ(count("Person"), 1);
}

TEST_F(RecordEditor, quickFindShowsTheRecordOrStartsANewEntryUnderTheKey)
{
    addPerson("Ann");
    addPerson("Bob", "Oak road");
    PersonEditor editor;
    editor.open();
    editor.quickFind("");
    EXPECT_EQ(editor.getCurrentKey(), "Ann");
    editor.quickFind("bob");
    EXPECT_EQ(editor.getCurrentKey(), "Bob");
    EXPECT_EQ(editor.typed.address, "Oak road");
    editor.quickFind("Carl");
    EXPECT_TRUE(editor.isNewEntry());
    EXPECT_EQ(editor.typed.name, "Carl");
    EXPECT_EQ(editor.typed.cprCourses, "0");
    EXPECT_EQ(editor.mask, 164u);
    EXPECT_EQ(count("Person"), 2) << "nothing is stored until Save";
}

TEST_F(RecordEditor, leavingAChangedEntryAsksAndEachAnswerDoesWhatItSays)
{
    addPerson("Ann");
    addPerson("Bob");
    PersonEditor editor;
    editor.open();
    editor.typed.address = "Elm street";

    asker.answers = {platform::IDCANCEL};
    editor.onNext();
    EXPECT_EQ(editor.getCurrentKey(), "Ann");
    EXPECT_EQ(editor.typed.address, "Elm street");

    asker.answers = {platform::IDNO};
    editor.onNext();
    EXPECT_EQ(editor.getCurrentKey(), "Bob");
    EXPECT_EQ(column("Person", "Address"), (std::vector<std::string>{"", ""}));

    editor.typed.address = "Oak road";
    asker.answers = {platform::IDYES};
    editor.onFirst();
    EXPECT_EQ(editor.getCurrentKey(), "Ann");
    EXPECT_EQ(column("Person", "Address"), (std::vector<std::string>{"", "Oak road"}));
    EXPECT_EQ(stylesAsked(), (std::vector<unsigned>{0x23, 0x23, 0x23}));
    EXPECT_EQ(asker.asked.front().text, L"message 2");
}

// The fields' rules run before the entry is asked about or stored, so the row
// is what the fields show; Yes to saving on leaving is not asked again as
// the overwrite question.
TEST_F(RecordEditor, theFieldRulesRunBeforeEveryStoreAndLeavingAsksOnce)
{
    addPerson("Ann");
    addPerson("Bob");
    PersonEditor editor;
    editor.open();
    editor.asksBeforeOverwrite = true;
    editor.rules = [](PersonRecord& typed) { typed.address.resize(std::min<std::size_t>(typed.address.size(), 8)); };

    editor.typed.address = "Elm street";
    asker.answers = {platform::IDYES};
    EXPECT_TRUE(editor.save());
    EXPECT_EQ(editor.typed.address, "Elm stre");
    EXPECT_EQ(column("Person", "Address"), (std::vector<std::string>{"Elm stre", ""}));
    EXPECT_EQ(stylesAsked(), (std::vector<unsigned>{0x224}));

    asker.asked.clear();
    editor.typed.address = "Oak road 7";
    asker.answers = {platform::IDYES};
    editor.onNext();
    EXPECT_EQ(editor.getCurrentKey(), "Bob");
    EXPECT_EQ(column("Person", "Address"), (std::vector<std::string>{"Oak road", ""}));
    editor.type("Cid");
    asker.answers = {platform::IDYES};
    editor.onFirst();
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Ann", "Cid"})) << "renamed";
    EXPECT_EQ(stylesAsked(), (std::vector<unsigned>{0x23, 0x23}));

    asker.asked.clear();
    editor.typed.address = "Oak road 8";
    editor.onNext();
    EXPECT_EQ(editor.getCurrentKey(), "Cid");
    EXPECT_TRUE(asker.asked.empty()) << "the rules took the change back";
}

TEST_F(RecordEditor, aNewEntryUnderAStoredKeyAsksWhatToDo)
{
    addPerson("Ann", "Elm street");
    addSession("Ann", "");
    PersonEditor editor;
    editor.open();

    editor.onNew();
    editor.type("ann");
    editor.typed.address = "Oak road";
    asker.answers = {platform::IDCANCEL};
    EXPECT_FALSE(editor.save());
    EXPECT_TRUE(editor.isNewEntry());
    EXPECT_EQ(editor.typed.address, "Oak road");

    asker.answers = {platform::IDNO};
    EXPECT_FALSE(editor.save());
    EXPECT_FALSE(editor.isNewEntry()) << "the stored record is shown";
    EXPECT_EQ(editor.typed.address, "Elm street");

    editor.onNew();
    editor.type("ann");
    editor.typed.address = "Oak road";
    asker.answers = {platform::IDYES};
    EXPECT_TRUE(editor.save());
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"ann"}));
    EXPECT_EQ(column("Person", "Address"), (std::vector<std::string>{"Oak road"}));
    EXPECT_EQ(column("Session", "PersonVentilation"), (std::vector<std::string>{"Ann"})) << "references stay";
    EXPECT_EQ(stylesAsked(), (std::vector<unsigned>{0x223, 0x223, 0x223}));
    EXPECT_EQ(asker.asked.front().text, L"message 0");
    EXPECT_EQ(editor.mask, REMOVE | NEW);
}

TEST_F(RecordEditor, aNameOfBlanksIsNeverStored)
{
    PersonEditor editor;
    editor.open();
    editor.type("   ");
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(stylesAsked(), (std::vector<unsigned>{0x40}));
    EXPECT_EQ(asker.asked.front().text, L"message 4");
    EXPECT_EQ(count("Person"), 0);
    editor.type("  Ann  ");
    EXPECT_TRUE(editor.save());
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Ann"}));
}

TEST_F(RecordEditor, aRenameOfTheLetterCaseEditsTheRowInPlace)
{
    addPerson("ann");
    addSession("ann", "");
    const auto rowIds = [] { return theDatabase.query("SELECT \"RowId\" FROM \"Person\"", {}, {SqlType::Integer}); };
    const auto before = rowIds();
    PersonEditor editor;
    editor.open();
    editor.asksBeforeOverwrite = true;
    editor.type("Ann");
    asker.answers = {platform::IDNO};
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"ann"}));
    asker.answers = {platform::IDYES};
    EXPECT_TRUE(editor.save());
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Ann"}));
    EXPECT_EQ(rowIds(), before) << "the same row";
    EXPECT_EQ(column("Session", "PersonVentilation"), (std::vector<std::string>{"ann"}));
    EXPECT_EQ(stylesAsked(), (std::vector<unsigned>{0x224, 0x224}));
    EXPECT_EQ(asker.asked.front().text, L"message 3");
}

TEST_F(RecordEditor, aRenameOntoAStoredKeyLeavesOneRowAndRenamesEveryReference)
{
    addPerson("Ann", "Elm street");
    addPerson("Bob", "Oak road");
    addSession("Ann", "Bob");
    addSession("Bob", "Ann");
    addCourse("Ann");
    PersonEditor editor;
    editor.open();
    editor.type("Bob");

    asker.answers = {platform::IDNO};
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(count("Person"), 2);

    asker.answers = {platform::IDYES};
    EXPECT_TRUE(editor.save());
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Bob"}));
    EXPECT_EQ(column("Person", "Address"), (std::vector<std::string>{"Elm street"}));
    EXPECT_EQ(column("Session", "PersonVentilation"), (std::vector<std::string>{"Bob", "Bob"}));
    EXPECT_EQ(column("Session", "CourseInstructor"), (std::vector<std::string>{"Bob", "Bob"}));
    EXPECT_EQ(column("Course", "Instructor"), (std::vector<std::string>{"Bob"}));
    EXPECT_EQ(editor.getCurrentKey(), "Bob");
    EXPECT_FALSE(editor.isNewEntry());
    EXPECT_EQ(stylesAsked(), (std::vector<unsigned>{0x124, 0x124}));
    EXPECT_EQ(asker.asked.front().text, L"message 1");
}

// Answering Yes to replacing the other row and then No to overwriting must
// leave both rows as they were.
TEST_F(RecordEditor, aRenameDeclinedAtTheSecondQuestionChangesNothing)
{
    addPerson("Ann");
    addPerson("Bob");
    PersonEditor editor;
    editor.open();
    editor.asksBeforeOverwrite = true;
    editor.type("Bob");
    asker.answers = {platform::IDYES, platform::IDNO};
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Ann", "Bob"}));
    EXPECT_EQ(stylesAsked(), (std::vector<unsigned>{0x124, 0x224}));
}

TEST_F(RecordEditor, aRefusedRowUndoesTheReplacementAndKeepsWhatWasTyped)
{
    addPerson("Bob", "Elm street");
    refuseInserts("Person", "Name", "Bob");
    PersonEditor editor;
    editor.open();
    editor.onNew();
    editor.type("Bob");
    editor.typed.address = "Oak road";
    editor.updateButtons();
    const unsigned maskBefore = editor.mask;
    asker.answers = {platform::IDYES};
    EXPECT_FALSE(editor.save());

    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Bob"}));
    EXPECT_EQ(column("Person", "Address"), (std::vector<std::string>{"Elm street"}));
    EXPECT_TRUE(editor.isNewEntry());
    EXPECT_EQ(editor.typed.address, "Oak road");
    EXPECT_EQ(editor.mask, maskBefore);
    ASSERT_EQ(asker.asked.size(), 2u);
    EXPECT_EQ(asker.asked[1].text.rfind(L"An unexpected error occured while accessing the database:", 0), 0u);
    EXPECT_NE(asker.asked[1].text.find(L"refused by the test"), std::wstring::npos);

    // The editor's table object did not keep the undone row.
    int rows = 0;
    for (DBUtil::moveFirst(editor.table); !editor.table.isEOF(); DBUtil::moveNext(editor.table))
        ++rows;
    EXPECT_EQ(rows, 1);
    DBUtil::moveFirst(editor.table);
    EXPECT_EQ(editor.table.getRecord().address, "Elm street");
}

TEST_F(RecordEditor, aRenameWhoseReferencesCannotFollowIsUndoneWhole)
{
    addPerson("Ann");
    addSession("Ann", "Ann");
    addCourse("Ann");
    refuseUpdates("Session"); // the first reference the rename reaches
    PersonEditor editor;
    editor.open();
    editor.type("Anna");
    EXPECT_FALSE(editor.save());

    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Ann"}));
    EXPECT_EQ(column("Session", "PersonVentilation"), (std::vector<std::string>{"Ann"}));
    EXPECT_EQ(column("Session", "CourseInstructor"), (std::vector<std::string>{"Ann"}));
    EXPECT_EQ(column("Course", "Instructor"), (std::vector<std::string>{"Ann"}));
    EXPECT_EQ(editor.getCurrentKey(), "Ann");
    EXPECT_EQ(editor.typed.name, "Anna");
    ASSERT_FALSE(asker.asked.empty());
    EXPECT_NE(asker.asked.front().text.find(L"refused by the test"), std::wstring::npos);
    for (const auto& box : asker.asked)
        EXPECT_EQ(box.text.rfind(L"An unexpected error occured while accessing the database:", 0), 0u);
    EXPECT_LE(asker.asked.size(), 2u) << "one box for the cause, one for the undone change";
    EXPECT_TRUE(editor.tableOpen());
}

TEST_F(RecordEditor, deletingStepsToTheNextRowElseBackElseANewEntry)
{
    addPerson("Ann");
    addPerson("Bob");
    addPerson("Cid");
    addSession("Bob", "");
    addSession("Cid", "");
    PersonEditor editor;
    editor.open("Bob");

    asker.answers = {platform::IDNO};
    EXPECT_FALSE(editor.remove(true));
    EXPECT_EQ(count("Person"), 3);

    asker.answers = {platform::IDYES};
    EXPECT_TRUE(editor.remove(true));
    EXPECT_EQ(editor.getCurrentKey(), "Cid");
    EXPECT_EQ(column("Session", "PersonVentilation"), (std::vector<std::string>{"Cid"}));

    asker.answers = {platform::IDYES};
    EXPECT_TRUE(editor.remove(true)); // the last row
    EXPECT_EQ(editor.getCurrentKey(), "Ann");
    EXPECT_EQ(editor.mask, REMOVE | NEW);

    editor.typed.address = "Elm street";
    asker.answers = {platform::IDYES};
    EXPECT_TRUE(editor.remove(true)); // the only row
    EXPECT_TRUE(editor.isNewEntry());
    EXPECT_EQ(editor.typed.name, "");
    EXPECT_EQ(editor.mask, NEW);
    EXPECT_EQ(count("Person"), 0);
    EXPECT_EQ(count("Session"), 0);
    EXPECT_EQ(stylesAsked(), (std::vector<unsigned>{0x134, 0x134, 0x134, 0x134}));
    EXPECT_EQ(asker.asked[0].text, L"message 6");
    EXPECT_EQ(asker.asked[3].text, L"message 5") << "a changed entry";
}

TEST_F(RecordEditor, whatAUserTypesReachesOnlyItsOwnRow)
{
    const std::string hostile = "x' OR '1'='1";
    std::string longName;
    for (int i = 0; i < 20; ++i)
        longName += "Åß€😀"; // 80 characters of 1 to 4 bytes
    for (const std::string& name : {std::string("O'Brien"), hostile, longName, std::string("Plain")}) {
        addSession(name, "");
        PersonEditor editor;
        editor.open();
        editor.onNew();
        editor.type(name);
        ASSERT_TRUE(editor.save()) << name;
    }
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"O'Brien", hostile, longName, "Plain"}));

    PersonEditor editor;
    editor.open(hostile);
    ASSERT_FALSE(editor.isNewEntry());
    editor.type("x' OR '1'='2");
    ASSERT_TRUE(editor.save());
    editor.quickFind(longName);
    EXPECT_EQ(editor.getCurrentKey(), longName);
    editor.type(longName + "!");
    ASSERT_TRUE(editor.save());
    editor.quickFind("O'BRIEN");
    asker.answers = {platform::IDYES};
    ASSERT_TRUE(editor.remove(true));

    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Plain", "x' OR '1'='2", longName + "!"}));
    EXPECT_EQ(column("Session", "PersonVentilation"),
              (std::vector<std::string>{"x' OR '1'='2", longName + "!", "Plain"}));
}

} // namespace

namespace {
// The record editor on a server of the test's own that goes away.
class RecordEditorOutage : public OwnServerFixture<RecordEditor> {};
} // namespace

TEST_F(RecordEditorOutage, aSaveWhileTheServerIsDownIsToldAndTheSameSaveAfterItStores)
{
    addPerson("Ann");
    PersonEditor editor;
    editor.open("Ann");
    editor.typed.address = "Harbour Road 1";
    cluster("pause");
    EXPECT_FALSE(editor.save());
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_NE(asker.asked[0].text.find(L"The connection to the database was lost."), std::wstring::npos)
        << asker.asked[0].text;
    EXPECT_EQ(kovatest::readFile(LogStream::instance().path()).find("Assert failed"), std::string::npos);

    cluster("resume");
    EXPECT_TRUE(editor.save());
    EXPECT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(column("Person", "Address"), std::vector<std::string>{"Harbour Road 1"});
}
