#pragma once
// The rules of a record editor over one table, free of windows: which record
// is shown and whether it is stored or new, whether the controls differ from
// it, which shared buttons are enabled, stepping through the table, quick
// find, New, Discard, Save with its key checks, Delete with a substitute
// record, and the questions asked before anything typed is lost. A dialog
// derives from it as its second base and supplies the controls through the
// virtual operations.

#include "Database/DBUtil.h"
#include "Database/DatabaseConnection.h"
#include "Database/DatabaseError.h"
#include "Database/DatabaseTransaction.h"
#include "Database/TableKind.h"
#include "Database/TablePool.h"
#include "Rodezir/LogStream.h"
#include "gettext/Gettext.h"
#include "platform/MessageBox.h"

#include <cstddef>
#include <exception>
#include <span>
#include <string>
#include <type_traits>
#include <utility>

// The shared buttons of every record editor, as bits of the button mask.
namespace recordbuttons {
inline constexpr unsigned SAVE = 1;
inline constexpr unsigned DISCARD = 2;
inline constexpr unsigned FIRST = 4;
inline constexpr unsigned LAST = 8;
inline constexpr unsigned NEXT = 16;
inline constexpr unsigned PREVIOUS = 32;
inline constexpr unsigned REMOVE = 64;
inline constexpr unsigned NEW = 128;
} // namespace recordbuttons

// The questions of an editor, by the kind its message() gives the text of.
namespace recordmessages {
inline constexpr int REPLACE_WITH_NEW = 0;
inline constexpr int REPLACE_WITH_RENAMED = 1;
inline constexpr int SAVE_CHANGES = 2;
inline constexpr int OVERWRITE = 3;
inline constexpr int NAME_MISSING = 4;
inline constexpr int REMOVE_CHANGED = 5;
inline constexpr int REMOVE = 6;

// Yes/No/Cancel, question.
inline constexpr unsigned LEAVE_STYLE = 0x23;
// Yes/No/Cancel, question, Cancel the default.
inline constexpr unsigned REPLACE_WITH_NEW_STYLE = 0x223;
// Yes/No, question, No the default.
inline constexpr unsigned REPLACE_WITH_RENAMED_STYLE = 0x124;
// Yes/No, question, the last button the default.
inline constexpr unsigned OVERWRITE_STYLE = 0x224;
// Yes/No, exclamation, No the default.
inline constexpr unsigned REMOVE_STYLE = 0x134;
// OK, information.
inline constexpr unsigned NAME_MISSING_STYLE = 0x40;

// The translated text of `kind` from an editor's texts by kind; empty for a
// kind past the end or without a text (an empty text would translate to the
// catalog's header).
inline std::wstring translatedText(std::span<const char* const> texts, int kind)
{
    if (kind < 0 || kind >= static_cast<int>(texts.size()) || !*texts[static_cast<std::size_t>(kind)])
        return {};
    return Gettext::translate(texts[static_cast<std::size_t>(kind)]);
}
} // namespace recordmessages

template <class Table, class Record>
class DatabaseDialog {
public:
    using Key = std::remove_cvref_t<decltype(std::declval<const Record&>().getKey())>;

    DatabaseDialog() = default;
    virtual ~DatabaseDialog() = default;
    DatabaseDialog(const DatabaseDialog&) = delete;
    DatabaseDialog& operator=(const DatabaseDialog&) = delete;

    // The key of the record the editor stands on; what an opener selects
    // after the editor closed (empty: none).
    Key getCurrentKey() const { return current_.getKey(); }
    const Record& currentRecord() const { return current_; }
    bool isNewEntry() const { return newEntry_; }
    bool isLoading() const { return loading_; }
    bool tableOpen() const { return table_ && table_->isOpen; }

    // The table holds no row, or is not open.
    bool emptyTable() const { return !tableOpen() || (table_->isBOF() && table_->isEOF()); }
    // Whether the current record is the first (last) row; both leave the
    // cursor on that row.
    bool isFirst() { return isAtEnd(true); }
    bool isLast() { return isAtEnd(false); }

    // The shared buttons that can act now (bits of recordbuttons).
    unsigned computeMask()
    {
        using namespace recordbuttons;
        if (!tableOpen())
            return 0;
        unsigned mask = entryChanged() ? SAVE | DISCARD : 0;
        if (newEntry_)
            return mask | (emptyTable() ? NEW : FIRST | PREVIOUS | NEW);
        if (emptyTable())
            return NEW;
        if (!isFirst())
            mask |= FIRST | PREVIOUS;
        if (!isLast())
            mask |= LAST | NEXT;
        return mask | REMOVE | NEW;
    }
    void updateButtons()
    {
        if (!loading_)
            enableButtons(computeMask());
    }

    // Puts the table's cursor on the row of the record's key, re-reading the
    // table first so rows stored elsewhere are seen. True when found.
    bool findRecord(const Record& record)
    {
        if (!tableOpen())
            return false;
        table_->reopen();
        if (!tableOpen())
            return false;
        WaitCursor wait(*this);
        const Key key = record.getKey();
        DBUtil::moveFirst(*table_);
        while (table_->isCursorOpen() && !table_->isEOF()) {
            if (table_->getRecord().matchesKey(key))
                return true;
            DBUtil::moveNext(*table_);
        }
        return false;
    }

    // True when the entry may be left: unchanged, saved, or its changes dropped.
    bool queryLeave()
    {
        if (!tableOpen())
            return true;
        // The question is about what the window shows once its rules have run.
        applyFieldRules();
        if (!entryChanged())
            return true;
        switch (ask(recordmessages::SAVE_CHANGES, recordmessages::LEAVE_STYLE)) {
        case platform::IDYES:
            // The user just said to save: the same question is not asked again.
            return store(false);
        case platform::IDNO:
            showAgain();
            return true;
        default:
            return false;
        }
    }

    // Stores the entry; true when it was stored.
    bool save() { return store(confirmOverwrite()); }

    // Deletes the current record and, by the table's rules, the rows that
    // refer to it. With navigate the editor then shows the next row (else
    // the previous one, else a new entry); without, the entry becomes new.
    bool remove(bool navigate)
    {
        if (!tableOpen())
            return false;
        if (confirmRemove()) {
            const int kind = entryChanged() ? recordmessages::REMOVE_CHANGED : recordmessages::REMOVE;
            if (ask(kind, recordmessages::REMOVE_STYLE) != platform::IDYES)
                return false;
        }
        WaitCursor wait(*this);
        const Key key = current_.getKey();
        Record substitute;
        bool deleted = runChange([&] {
            beforeRemove();
            if (navigate && !isLast()) {
                findRecord(current_);
                DBUtil::moveNext(*table_);
                if (table_->isCursorOpen() && !table_->isEOF())
                    substitute = table_->getRecord();
            } else if (navigate && !isFirst()) {
                findRecord(current_);
                DBUtil::movePrev(*table_);
                if (table_->isCursorOpen() && !table_->isBOF())
                    substitute = table_->getRecord();
            }
            table_->deleteKey(key, true);
            stopWhenFailed();
        });
        if (!deleted)
            return false;
        if (!navigate) {
            newEntry_ = true;
            return true;
        }
        fillQuickFind();
        if (emptyTable() || !Record::isValidKey(substitute.getKey())) {
            showNewEntry(Record());
        } else {
            const bool becameNew = moveToRecord(substitute);
            KOVA_ASSERT(becameNew == false);
        }
        return true;
    }

    // The commands of the shared buttons and the quick-find box. New answers
    // whether a new entry was started.
    bool onNew()
    {
        if (!tableOpen() || !queryLeave())
            return false;
        newEntry_ = true;
        current_ = Record();
        showLoading(current_);
        updateButtons();
        current_ = readRecord();
        updateButtons();
        return true;
    }
    void onDiscard()
    {
        if (tableOpen())
            showCurrent();
    }
    void onFirst() { stepTo([this] { DBUtil::moveFirst(*table_); }); }
    void onLast() { stepTo([this] { DBUtil::moveLast(*table_); }); }
    void onNext()
    {
        if (!tableOpen() || !queryLeave() || newEntry_ || emptyTable())
            return;
        findRecord(current_);
        DBUtil::moveNext(*table_);
        if (table_->isEOF())
            DBUtil::moveLast(*table_);
        loadCurrent();
        showCurrent();
    }
    void onPrevious()
    {
        if (!tableOpen() || !queryLeave() || emptyTable())
            return;
        if (newEntry_) {
            DBUtil::moveLast(*table_);
        } else {
            findRecord(current_);
            DBUtil::movePrev(*table_);
            if (table_->isBOF())
                DBUtil::moveFirst(*table_);
        }
        loadCurrent();
        showCurrent();
    }
    // The quick-find box closed on a text: that record, or a new entry under it.
    void quickFind(const std::string& text)
    {
        if (text.empty())
            return;
        Record record;
        record.setKey(text);
        quickFindRecord(record);
    }
    // The same for a record whose key the editor read from the box itself.
    void quickFindRecord(const Record& record)
    {
        if (!tableOpen() || !queryLeave())
            return;
        if (findRecord(record)) {
            loadCurrent();
            showCurrent();
        } else {
            showNewEntry(record);
        }
    }

protected:
    // Put a record into the controls.
    virtual void showRecord(const Record& record) = 0;
    // A record from the controls, starting from the current record so that
    // fields without a control keep their values.
    virtual Record readRecord() = 0;
    // The controls differ from the current record.
    virtual bool isChanged() = 0;
    // Enables the shared buttons by the mask (bits of recordbuttons).
    virtual void enableButtons(unsigned mask) = 0;
    // The translated text of a question kind (recordmessages); other kinds give "".
    virtual std::wstring message(int kind) = 0;
    // Tells every other table object of the editor's kind to read the table again.
    virtual void notifyChanged() = 0;
    // Refills the quick-find box.
    virtual void fillQuickFind() {}
    // Called with the record about to be stored, inside the change that stores it.
    virtual void beforeStore(const Record&) {}
    // Called at the end of every successful save of the row, to store what
    // belongs to it; false when that failed (the user was told), and the
    // save then counts as failed.
    virtual bool afterStore() { return true; }
    // Called after the delete question, inside the change that deletes the row.
    virtual void beforeRemove() {}
    // Whether saving over a stored entry asks the overwrite question first
    // (not after the user answered Yes to saving on leaving the entry).
    virtual bool confirmOverwrite() { return false; }
    // Brings the controls into line with the editor's rules, as leaving a
    // field does; runs before the entry is stored or judged changed, since
    // a command can come while the focus is still in the field.
    virtual void applyFieldRules() {}
    // Whether deleting asks first.
    virtual bool confirmRemove() { return true; }
    // Shows or takes back the wait cursor (a dialog shows it; nothing by default).
    virtual void showWaitCursor(bool) {}

    // Opens the editor's table (no filter) and fills the quick find; then
    // shows the record of the initial key (a new entry under it when there
    // is none), or without a key the first row.
    void start(Table& table, const Key& initialKey)
    {
        attach(table);
        if (!tableOpen())
            return;
        Record record;
        if (Record::isValidKey(initialKey)) {
            record.setKey(initialKey);
            showFoundOrNew(record);
            return;
        }
        // An editor expects rows here; an empty table starts on a new entry.
        if (emptyTable()) {
            showNewEntry(record);
            return;
        }
        DBUtil::moveFirst(*table_);
        loadCurrent();
        showLoading(current_);
        updateButtons();
    }
    // The same, looking up a whole record whose key may be empty: the stored
    // record of that key, else a new entry carrying the record's values.
    void start(Table& table, const Record& initialRecord)
    {
        attach(table);
        if (tableOpen())
            showFoundOrNew(initialRecord);
    }

    void showCurrent()
    {
        showLoading(current_);
        enableButtons(computeMask());
    }
    void loadCurrent()
    {
        current_ = table_->getRecord();
        newEntry_ = false;
    }
    // Shows the record when it is stored (false) or as a new entry (true).
    bool moveToRecord(const Record& record)
    {
        if (findRecord(record)) {
            loadCurrent();
            showCurrent();
            return false;
        }
        showNewEntry(record);
        return true;
    }
    // The record as a new entry; its stored form is what the controls hold
    // after their input masks.
    void showNewEntry(const Record& record)
    {
        if (!tableOpen())
            return;
        newEntry_ = true;
        current_ = record;
        showCurrent();
        current_ = readRecord();
        updateButtons();
    }
    // Takes the controls' values into the current record without storing
    // them, so they no longer count as a change.
    void setCurrentRecord(const Record& record) { current_ = record; }

    bool entryChanged() { return isChanged() || modified; }

    // Changes that isChanged() cannot see; the editor sets and clears it.
    bool modified = false;

private:
    class WaitCursor {
    public:
        explicit WaitCursor(DatabaseDialog& dialog) : dialog_(dialog) { dialog_.showWaitCursor(true); }
        ~WaitCursor() { dialog_.showWaitCursor(false); }
        WaitCursor(const WaitCursor&) = delete;
        WaitCursor& operator=(const WaitCursor&) = delete;

    private:
        DatabaseDialog& dialog_;
    };

    // Stores the entry, asking the overwrite question first when `askOverwrite`.
    // The editor's rules run first, so the row is exactly what the window
    // then shows, whether the user saved from a field or from a question.
    bool store(bool askOverwrite)
    {
        if (!tableOpen())
            return false;
        applyFieldRules();
        const Record oldRecord = current_;
        const Record newRecord = readRecord();
        const Key newKey = newRecord.getKey();
        if (!Record::isValidKey(newKey)) {
            ask(recordmessages::NAME_MISSING, recordmessages::NAME_MISSING_STYLE);
            return false;
        }
        WaitCursor wait(*this);
        bool stored = false;
        if (newEntry_)
            stored = storeNewEntry(newRecord);
        else if (oldRecord.matchesKey(newKey))
            stored = storeInPlace(oldRecord, newRecord, askOverwrite);
        else
            stored = storeRenamed(oldRecord, newRecord, askOverwrite);
        if (!stored)
            return false;
        if (!loading_)
            enableButtons(computeMask());
        // What the editor stores beside its row counts too: a failed part
        // keeps the entry, so nothing typed is left behind.
        return afterStore();
    }

    void attach(Table& table)
    {
        table_ = &table;
        table_->open("");
        fillQuickFind();
    }

    void showFoundOrNew(const Record& record)
    {
        if (findRecord(record)) {
            loadCurrent();
            showCurrent();
        } else {
            showNewEntry(record);
        }
    }

    void showLoading(const Record& record)
    {
        loading_ = true;
        showRecord(record);
        loading_ = false;
    }

    // The controls get the current record back.
    void showAgain()
    {
        if (!tableOpen())
            return;
        showLoading(current_);
        enableButtons(computeMask());
    }

    int ask(int kind, unsigned style) { return platform::messageBox(message(kind), L"Kova CPR Software", style); }

    bool isAtEnd(bool first)
    {
        if (emptyTable())
            return false;
        if (first)
            DBUtil::moveFirst(*table_);
        else
            DBUtil::moveLast(*table_);
        return table_->isCursorOpen() && !table_->isEOF() && !table_->isBOF()
            && table_->getRecord().matchesKey(current_.getKey());
    }

    template <class Move>
    void stepTo(Move move)
    {
        if (!tableOpen() || !queryLeave() || emptyTable())
            return;
        move();
        loadCurrent();
        showCurrent();
    }

    // A new entry: when its key is stored already, the user chooses between
    // replacing that row, showing it instead, or going back to the entry.
    bool storeNewEntry(const Record& newRecord)
    {
        const Key newKey = newRecord.getKey();
        bool replace = false;
        if (table_->countKey(newKey) != 0) {
            const int answer = ask(recordmessages::REPLACE_WITH_NEW, recordmessages::REPLACE_WITH_NEW_STYLE);
            if (answer == platform::IDNO) {
                moveToRecord(newRecord);
                return false;
            }
            if (answer != platform::IDYES)
                return false;
            replace = true;
        }
        const bool stored = runChange([&] { addRow(newRecord, replace); });
        if (!stored)
            return false;
        current_ = newRecord;
        newEntry_ = false;
        notifyChanged();
        fillQuickFind();
        return true;
    }

    // A stored entry under its own key (letter case may differ): edited in place.
    bool storeInPlace(const Record& oldRecord, const Record& newRecord, bool askOverwrite)
    {
        if (askOverwrite
            && ask(recordmessages::OVERWRITE, recordmessages::OVERWRITE_STYLE) != platform::IDYES)
            return false;
        const bool stored = runChange([&] {
            const bool found = findRecord(oldRecord);
            // The row could not be looked for: the server went away.
            if (!found && table_->connection().connectionLost())
                throw DatabaseError(table_->lastError());
            KOVA_ASSERT(found == true);
            if (!found)
                throw DatabaseError("The entry is no longer stored.\n");
            beforeStore(newRecord);
            table_->edit();
            storeRow(newRecord);
        });
        if (!stored)
            return false;
        current_ = newRecord;
        return true;
    }

    // A stored entry under a new key: a new row, the old row deleted and
    // every reference renamed. Both questions come before anything changes,
    // so a No to the second never leaves the replaced row deleted.
    bool storeRenamed(const Record& oldRecord, const Record& newRecord, bool askOverwrite)
    {
        const Key oldKey = oldRecord.getKey();
        const Key newKey = newRecord.getKey();
        const bool replace = table_->countKey(newKey) != 0;
        if (replace
            && ask(recordmessages::REPLACE_WITH_RENAMED, recordmessages::REPLACE_WITH_RENAMED_STYLE)
                != platform::IDYES)
            return false;
        if (askOverwrite
            && ask(recordmessages::OVERWRITE, recordmessages::OVERWRITE_STYLE) != platform::IDYES)
            return false;
        const bool stored = runChange([&] {
            addRow(newRecord, replace);
            const bool found = findRecord(oldRecord);
            KOVA_ASSERT(found == true);
            if (found)
                table_->deleteRow();
            table_->renameKey(oldKey, newKey);
            stopWhenFailed();
        });
        if (!stored)
            return false;
        current_ = newRecord;
        notifyChanged();
        fillQuickFind();
        return true;
    }

    // Runs the rows a command changes as one transaction. When the database
    // refuses any part, all of it is undone, the user is told why, every
    // table object reads the tables again (they may have seen the undone
    // rows) and the entry stays as typed. True when committed.
    template <class Change>
    bool runChange(Change change)
    {
        try {
            DatabaseTransaction transaction(table_->connection());
            change();
            transaction.commit();
            return true;
        } catch (const DatabaseError& error) {
            DBUtil::showError(error.what());
        } catch (const std::exception&) {
            KOVA_ASSERT(false);
        }
        recoverTables();
        return false;
    }

    // The record as a new row; with `replacing`, the stored row of its key
    // goes first, without its references: they now mean the new row.
    void addRow(const Record& record, bool replacing)
    {
        if (replacing) {
            table_->deleteKey(record.getKey(), false);
            stopWhenFailed();
        }
        beforeStore(record);
        table_->addNew();
        storeRow(record);
    }

    // Stores the record by the change addNew or edit started; a refused row
    // ends the whole change with the database's reason.
    void storeRow(const Record& record)
    {
        table_->setRecord(record);
        if (table_->update())
            return;
        const std::string reason = table_->lastError();
        table_->cancelUpdate();
        throw DatabaseError(reason);
    }

    // The cascades of the tables report their own failures and go on; a
    // change one of them spoilt goes no further.
    void stopWhenFailed()
    {
        if (table_->connection().transactionFailed())
            throw DatabaseError("The change was undone because a part of it failed.\n");
    }

    void recoverTables()
    {
        if (table_->isOpen)
            table_->reopen();
        else
            table_->open(table_->filter, table_->filterParameters);
        for (int kind = 0; kind < TABLE_KIND_COUNT; ++kind)
            TablePool::refresh(static_cast<TableKind>(kind));
    }

    Record current_;
    bool newEntry_ = true;
    Table* table_ = nullptr;
    bool loading_ = false;
};
