#include "Database/course-planner/CourseSchedule.h"

#include "Database/Duration.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <utility>

namespace {

// The seconds between the course's start and its first session, and
// between two sessions on one manikin.
constexpr long FIRST_SESSION_DELAY = 120;
constexpr long CHANGE_OVER = 60;

bool hasParticipant(const SessionRecord& row)
{
    return !row.PersonVentilation.empty() || !row.PersonChestCompression.empty();
}

} // namespace

CourseSchedule::CourseSchedule(Sources& sources, int windowRows, Swap swap)
    : sources_(sources), windowRows_(std::max(windowRows, 1)), swap_(swap)
{
}

std::vector<SessionRecord> CourseSchedule::storedRows() const
{
    if (!hasBlankRow())
        return rows_;
    return {rows_.begin(), rows_.end() - 1};
}

bool CourseSchedule::isBlankRow(int index) const { return hasBlankRow() && index == rowCount() - 1; }

void CourseSchedule::markStored(const std::vector<SessionRecord>& written)
{
    const std::size_t count = std::min(written.size(), storedRows().size());
    std::copy_n(written.begin(), count, rows_.begin());
    read_ = written;
    removed_.clear();
    modified_ = false;
}

void CourseSchedule::load(std::vector<SessionRecord> rows)
{
    rows_ = std::move(rows);
    read_ = rows_;
    removed_.clear();
    blankRowPresent_ = false;
    modified_ = false;
    selectedRow_ = 0;
    topRow_ = 0;
    scrollRangeCount_ = -1;
}

void CourseSchedule::clear()
{
    rows_.clear();
    blankRowPresent_ = false;
}

void CourseSchedule::replaceRow(int index, const SessionRecord& record)
{
    if (index < 0 || index >= rowCount())
        return;
    SessionRecord& row = rows_[static_cast<std::size_t>(index)];
    // Only what is stored counts: a row the other dialog merely looked at
    // comes back without the text its manikin box showed here.
    SessionRecord storedPart = record;
    storedPart.manikinText = row.manikinText;
    storedPart.linkType = row.linkType;
    storedPart.data = row.data;
    storedPart.endMarker = row.endMarker;
    const bool changed = !(storedPart == row);
    row = record;
    if (changed && !isBlankRow(index))
        modified_ = true;
}

int CourseSchedule::selectedIndex() const
{
    if (selectedRow_ < 1)
        return -1;
    const int index = topRow_ + selectedRow_ - 1;
    return index < rowCount() ? index : -1;
}

int CourseSchedule::visibleRows() const { return std::clamp(rowCount() - topRow_, 0, windowRows_); }

int CourseSchedule::indexOfVisibleRow(int k) const { return k >= 1 && k <= visibleRows() ? topRow_ + k - 1 : -1; }

void CourseSchedule::selectFirstRow()
{
    selectedRow_ = 1;
    topRow_ = 0;
    scrollRangeCount_ = -1;
}

void CourseSchedule::selectVisibleRow(int k)
{
    if (!locked_ && k >= 1 && k <= visibleRows())
        selectedRow_ = k;
}

void CourseSchedule::refresh(const CourseRecord& course)
{
    if (!CourseRecord::isValidKey(course.getKey())) {
        locked_ = true;
        if (rows_.empty()) {
            appendBlankRow(course);
            selectFirstRow();
        }
    } else {
        if (locked_) {
            selectFirstRow();
            locked_ = false;
        }
        if (rows_.empty()) {
            appendBlankRow(course);
            selectFirstRow();
        } else if (!blankRowPresent_) {
            // Loaded rows are all stored rows, whatever the last one holds.
            appendBlankRow(course);
        } else if (hasParticipant(rows_.back())) {
            // The blank row got a participant: it is a session of the course now.
            modified_ = true;
            appendBlankRow(course);
        }
    }
    if (locked_)
        selectedRow_ = 0;
    keepWindowOnRows();
}

void CourseSchedule::keepWindowOnRows()
{
    const int limit = scrollLimit();
    if (topRow_ > limit) {
        if (selectedRow_ > 0)
            selectedRow_ += topRow_ - limit;
        topRow_ = limit;
    }
    selectedRow_ = std::min(selectedRow_, visibleRows());
}

bool CourseSchedule::takeScrollRangeChange()
{
    if (rowCount() == scrollRangeCount_)
        return false;
    scrollRangeCount_ = rowCount();
    return true;
}

std::string CourseSchedule::endOf(const std::string& start, long duration) const
{
    // A session without a time limit has no end.
    return duration < 0 ? std::string() : Duration::endTime(start, duration);
}

int CourseSchedule::appendBlankRow(const CourseRecord& course)
{
    SessionRecord row;
    row.CourseInstructor = course.instructor;
    row.CourseDate = course.date;
    row.CourseTime = course.time;
    row.Scenario = course.defaultScenario;
    const ScenarioRecord scenario = sources_.getScenario(course.defaultScenario);
    row.Duration = scenario.duration;
    row.Algorithm = scenario.algorithm;
    row.RegisterEvents = scenario.registerEvents != 0;
    row.TrainingMode = scenario.trainingMode;
    row.Manikin = sources_.firstReadyPort();
    row.manikinText = sources_.firstReadyPortText();
    if (rows_.empty()) {
        row.StartTime = Duration::endTime(course.time, FIRST_SESSION_DELAY);
    } else {
        const SessionRecord& previous = rows_.back();
        if (previous.Manikin != row.Manikin)
            row.StartTime = previous.StartTime;
        else if (previous.EndTime.empty())
            row.StartTime = previous.StartTime; // a session without limit has no end to follow
        else
            row.StartTime = Duration::endTime(previous.EndTime, CHANGE_OVER);
    }
    row.EndTime = endOf(row.StartTime, row.Duration);
    rows_.push_back(std::move(row));
    blankRowPresent_ = true;
    return rowCount() - 1;
}

void CourseSchedule::swapRows(int first, int second)
{
    SessionRecord& a = rows_[static_cast<std::size_t>(first)];
    SessionRecord& b = rows_[static_cast<std::size_t>(second)];
    std::swap(a, b);
    // A session that was run keeps the times it ran at.
    if (swap_ == Swap::KeepTimeSlots && !a.Done && !b.Done) {
        std::swap(a.StartTime, b.StartTime);
        std::swap(a.EndTime, b.EndTime);
    }
}

bool CourseSchedule::moveUp()
{
    const int s = selectedIndex();
    if (locked_ || s < 1 || s == rowCount() - 1)
        return false;
    swapRows(s - 1, s);
    if (selectedRow_ < 2 && topRow_ > 0)
        --topRow_;
    else
        --selectedRow_;
    modified_ = true;
    return true;
}

bool CourseSchedule::moveDown()
{
    const int s = selectedIndex();
    // The last stored row never passes the blank row.
    if (locked_ || s < 0 || s + 2 >= rowCount())
        return false;
    swapRows(s, s + 1);
    if (selectedRow_ >= windowRows_) {
        if (topRow_ < std::max(rowCount() - (windowRows_ - 1), 0))
            ++topRow_;
    } else {
        ++selectedRow_;
    }
    modified_ = true;
    return true;
}

bool CourseSchedule::canRemoveSelected() const
{
    const int s = selectedIndex();
    return !locked_ && s >= 0 && s != rowCount() - 1;
}

bool CourseSchedule::removeSelected()
{
    if (!canRemoveSelected())
        return false;
    removed_.push_back(rows_[static_cast<std::size_t>(selectedIndex())]);
    rows_.erase(rows_.begin() + selectedIndex());
    modified_ = true;
    keepWindowOnRows();
    return true;
}

bool CourseSchedule::sortByStartTime()
{
    if (locked_ || rowCount() < 2)
        return false;
    std::stable_sort(rows_.begin(), rows_.end() - 1, [](const SessionRecord& a, const SessionRecord& b) {
        return a.StartTime.compare(b.StartTime) < 0;
    });
    modified_ = true;
    return true;
}

bool CourseSchedule::applyStartTime(int index, const std::string& startText)
{
    if (index < 0 || index >= rowCount())
        return false;
    SessionRecord& row = rows_[static_cast<std::size_t>(index)];
    if (row.Done)
        return false;
    const std::string start = Duration::endTime(startText, 0);
    const std::string end = endOf(startText, row.Duration);
    if (start == row.StartTime && end == row.EndTime)
        return false;
    row.StartTime = start;
    row.EndTime = end;
    if (!isBlankRow(index))
        modified_ = true;
    return true;
}

bool CourseSchedule::takeScenario(int index, const std::string& name)
{
    if (index < 0 || index >= rowCount())
        return false;
    SessionRecord& row = rows_[static_cast<std::size_t>(index)];
    const ScenarioRecord scenario = sources_.getScenario(name);
    const SessionRecord before = row;
    row.Scenario = name;
    row.Duration = scenario.duration;
    row.Algorithm = scenario.algorithm;
    row.RegisterEvents = scenario.registerEvents != 0;
    row.TrainingMode = scenario.trainingMode;
    const bool changed = !(before == row);
    if (changed && !isBlankRow(index))
        modified_ = true;
    return changed;
}

bool CourseSchedule::commitRow(int index, const RowFields& fields)
{
    if (index < 0 || index >= rowCount())
        return false;
    SessionRecord& row = rows_[static_cast<std::size_t>(index)];
    bool changed = false;
    const auto take = [&changed](auto& field, const auto& value) {
        if (field != value) {
            field = value;
            changed = true;
        }
    };
    take(row.PersonVentilation, fields.ventilation);
    take(row.PersonChestCompression, fields.compression);
    take(row.Manikin, manikinNumber(fields.manikinText));
    take(row.StartTime, fields.start);
    take(row.EndTime, fields.end);
    if (fields.scenario)
        take(row.Scenario, *fields.scenario);
    if (fields.done)
        take(row.Done, *fields.done);
    row.manikinText = fields.manikinText;
    if (changed && !isBlankRow(index))
        modified_ = true;
    return changed;
}

void CourseSchedule::courseStartTimeChanged(const CourseRecord& course)
{
    if (!hasBlankRow())
        return;
    SessionRecord& last = rows_.back();
    const std::string& name = last.Scenario.empty() ? course.defaultScenario : last.Scenario;
    const long duration = sources_.getScenario(name).duration;
    last.StartTime = Duration::endTime(course.time, 0);
    last.EndTime = endOf(last.StartTime, duration);
}

void CourseSchedule::defaultScenarioChosen(const std::string& name)
{
    if (!hasBlankRow())
        return;
    const int last = rowCount() - 1;
    takeScenario(last, name);
    SessionRecord& row = rows_.back();
    row.EndTime = endOf(row.StartTime, row.Duration);
}

void CourseSchedule::stampCourse(const CourseKey& key)
{
    for (SessionRecord& row : rows_) {
        row.CourseInstructor = key.instructor;
        row.CourseDate = key.date;
        row.CourseTime = key.time;
    }
}

int CourseSchedule::pageRows() const { return std::min(rowCount(), windowRows_); }

int CourseSchedule::scrollLimit() const { return std::max(rowCount() - windowRows_, 0); }

bool CourseSchedule::scroll(ScrollRequest request, int thumbPosition)
{
    const int limit = scrollLimit();
    int position = topRow_;
    switch (request) {
    case ScrollRequest::LineUp: position -= 1; break;
    case ScrollRequest::LineDown: position += 1; break;
    case ScrollRequest::PageUp: position -= pageRows(); break;
    case ScrollRequest::PageDown: position += pageRows(); break;
    case ScrollRequest::Thumb: position = thumbPosition; break;
    case ScrollRequest::Top: position = 0; break;
    case ScrollRequest::Bottom: position = limit; break;
    }
    position = std::clamp(position, 0, limit);
    if (position == topRow_)
        return false;
    topRow_ = position;
    keepWindowOnRows();
    return true;
}

long CourseSchedule::manikinNumber(const std::string& text)
{
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    if (at < text.size() && text[at] == '+')
        ++at;
    long number = 0;
    const char* first = text.data() + at;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), number);
    return error == std::errc() ? number : 0;
}
