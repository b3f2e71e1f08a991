#pragma once
// The rows of a course's schedule as the course planner and the run-course
// window edit them, free of windows: the blank row at the end into which the
// next session is typed, the lock while the course key is incomplete, the
// time slot of each new row, the few rows a window shows and the selected
// one, moving, removing and sorting rows, and taking back what the user
// typed into a row. A window shows this state and reports the user's acts.

#include "Database/CourseRecord.h"
#include "Database/ScenarioRecord.h"
#include "Database/SessionRecord.h"

#include <optional>
#include <string>
#include <vector>

class CourseSchedule {
public:
    // Where a new row finds its scenario's settings and its manikin.
    class Sources {
    public:
        virtual ~Sources() = default;
        // The scenario of that name (ignoring case); the default scenario when there is none.
        virtual ScenarioRecord getScenario(const std::string& name) = 0;
        // The first manikin ready for a session (port 1 when none is), and its text.
        virtual long firstReadyPort() = 0;
        virtual std::string firstReadyPortText() = 0;
    };

    // How two rows trade places: the planner keeps the time slots where they
    // were (the rows trade everything else); the run-course window moves whole rows.
    enum class Swap { KeepTimeSlots, WholeRows };

    enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, Thumb, Top, Bottom };

    // What the controls of one row hold. A field the window has no control for stays unset.
    struct RowFields {
        std::string ventilation;
        std::string compression;
        std::string manikinText;
        std::string start;
        std::string end;
        std::optional<std::string> scenario;
        std::optional<bool> done;
    };

    // `windowRows` rows are shown at a time.
    CourseSchedule(Sources& sources, int windowRows, Swap swap);

    const std::vector<SessionRecord>& rows() const { return rows_; }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    const SessionRecord& row(int index) const { return rows_.at(static_cast<std::size_t>(index)); }
    // The stored rows: all but the blank row.
    std::vector<SessionRecord> storedRows() const;
    // The rows as they were last read from the database or written to it,
    // and the stored rows removed since: what the next write-back compares
    // with, so that it writes only what this window changed.
    const std::vector<SessionRecord>& rowsAsRead() const { return read_; }
    const std::vector<SessionRecord>& removedRows() const { return removed_; }
    // The stored rows were written back as `written` (the same rows, as the
    // database now holds them): they are what the next write compares with,
    // and nothing counts as modified.
    void markStored(const std::vector<SessionRecord>& written);
    // The row is the blank row at the end (never stored, moved, removed or opened).
    bool isBlankRow(int index) const;

    // The stored rows of a course; the next refresh appends the blank row
    // below them, whatever the last of them holds. The window stands on the
    // first row, no row is selected until one is chosen (an empty schedule
    // selects its blank row at the next refresh), and nothing counts as
    // modified.
    void load(std::vector<SessionRecord> rows);
    // No rows at all (the course is being deleted).
    void clear();
    // A row as another dialog left it (every field); counts as a change
    // when a stored field differs.
    void replaceRow(int index, const SessionRecord& record);

    // Whether rows changed since they were loaded or stored.
    bool modified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

    // The course key is incomplete: nothing may be edited, nothing is selected.
    bool locked() const { return locked_; }
    int windowRows() const { return windowRows_; }
    // Index of the row shown first.
    int topRow() const { return topRow_; }
    // The selected row as the window counts (1 to windowRows), 0 for none.
    int selectedRow() const { return selectedRow_; }
    // Index of the selected row; -1 for none.
    int selectedIndex() const;
    // How many rows the window shows now.
    int visibleRows() const;
    // Index of the row shown in window row k (1 to windowRows); -1 for none.
    int indexOfVisibleRow(int k) const;

    void selectFirstRow();
    // The focus went into window row k.
    void selectVisibleRow(int k);

    // Brings the rows in line with the course as the window shows it: the
    // lock by its key, the blank row at the end, the first row selected when
    // the lock goes, the window kept on rows that exist.
    void refresh(const CourseRecord& course);
    // True once after each change of the row count, for the window to set
    // its scroll bar again (and always after load, or forgetScrollRange).
    bool takeScrollRangeChange();
    void forgetScrollRange() { scrollRangeCount_ = -1; }

    // Appends the blank row for the course (its key, default scenario, the
    // first ready manikin and the next time slot); answers its index.
    int appendBlankRow(const CourseRecord& course);

    // The row commands; false (nothing changed) when the rows do not allow it.
    bool moveUp();
    bool moveDown();
    bool removeSelected();
    bool sortByStartTime();
    bool canRemoveSelected() const;

    // A start time typed into a row that has not been run: it is normalised
    // to "hh:mm" and the end follows from the row's duration. True when
    // either time changed.
    bool applyStartTime(int index, const std::string& startText);
    // A scenario chosen for a row: its name, length, algorithm, event
    // registration and training mode. True when anything changed.
    bool takeScenario(int index, const std::string& name);
    // Takes back what the controls of a row hold; true when a stored field
    // changed (the manikin's text alone is no change).
    bool commitRow(int index, const RowFields& fields);
    // The course's start time was edited: the blank row moves with it.
    void courseStartTimeChanged(const CourseRecord& course);
    // The course's default scenario was chosen: the blank row takes it.
    void defaultScenarioChosen(const std::string& name);
    // Every row gets the course's key, as its store will give it.
    void stampCourse(const CourseKey& key);

    // The scroll bar: positions 0 to scrollLimit(), a page of pageRows().
    int pageRows() const;
    int scrollLimit() const;
    // The new first row for a scroll request; true when it moved.
    bool scroll(ScrollRequest request, int thumbPosition = 0);

    // The leading decimal number of a manikin's text ("3 - USB" gives 3); 0 when there is none.
    static long manikinNumber(const std::string& text);

private:
    bool hasBlankRow() const { return blankRowPresent_ && !rows_.empty(); }
    void swapRows(int first, int second);
    void keepWindowOnRows();
    std::string endOf(const std::string& start, long duration) const;

    Sources& sources_;
    int windowRows_;
    Swap swap_;
    std::vector<SessionRecord> rows_;
    std::vector<SessionRecord> read_;
    std::vector<SessionRecord> removed_;
    bool blankRowPresent_ = false;
    bool modified_ = false;
    bool locked_ = false;
    int topRow_ = 0;
    int selectedRow_ = 0;
    int scrollRangeCount_ = -1;
};
