#include "Database/course-planner/CoursePlannerDialog.h"

#include "Database/record-controls/ComboBoxList.h"
#include "Database/Database.h"
#include "Database/DatabaseError.h"
#include "Database/TablePool.h"
#include "Database/TrainingMode.h"
#include "Database/record-controls/TrainingModeCombo.h"
#include "Database/course-planner/CoursePlannerTable.h"
#include "Database/course-planner/FinishedSessionQuestion.h"
#include "Database/course-planner/ScheduleControls.h"
#include "Database/course-planner/SchedulePrinter.h"
#include "Database/editors/PersonDialog.h"
#include "Database/editors/ScenarioDialog.h"
#include "Database/stored-sessions/DataFolderOwner.h"
#include "Rodezir/WindowTextUtil.h"
#include "Rodezir/gstringUtil.h"
#include "Rodezir/dialogs/BoxLayout.h"
#include "Rodezir/dialogs/ControlGroup.h"
#include "Rodezir/dialogs/LayoutSpacer.h"
#include "comm/ports/CalibrateManager.h"
#include "comm/ports/PortCombo.h"
#include "controls/MaskedEdit.h"
#include "gettext/Gettext.h"
#include "platform/Beep.h"

#include <QComboBox>
#include <QEvent>
#include <QPalette>
#include <QScrollBar>

#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

namespace {

constexpr int INSTRUCTOR = 1028;
constexpr int DATE = 1129;
constexpr int START_TIME = 1109;
constexpr int DEFAULT_SCENARIO = 1235;
constexpr int NOTES = 1121;
constexpr int INSTRUCTOR_DETAILS = 1130;
constexpr int SCENARIO_DETAILS = 1081;
constexpr int SCROLL_BAR = 1256;
constexpr int HIGHLIGHT = 1179;
constexpr int MOVE_UP = 1108;
constexpr int MOVE_DOWN = 1166;
constexpr int REMOVE_ROW = 1168;
constexpr int SORT = 1167;
constexpr int PRINT = 1169;
constexpr int RUN_COURSE = 9;

constexpr int NAME_LIMIT = 80;
constexpr int TIME_LIMIT = 5;
constexpr int DATE_LIMIT = 10;
constexpr int NOTES_LIMIT = 250;

const QString TIME_MASK = QStringLiteral("##:##");
const QString DATE_MASK = QStringLiteral("####-##-##");

CoursePlannerDialog::RowDetails& rowDetails()
{
    static CoursePlannerDialog::RowDetails details;
    return details;
}

CoursePlannerDialog::RunCourse& runCourseHandler()
{
    static CoursePlannerDialog::RunCourse run;
    return run;
}

QString translated(const char* text) { return QString::fromStdWString(Gettext::translate(text)); }

} // namespace

const CoursePlannerDialog::RowControls CoursePlannerDialog::ROWS[VISIBLE_ROWS] = {
    {1134, 1243, 1030, 1032, 1200, 1201, 1202},
    {1203, 1035, 1219, 1236, 1378, 1204, 1205},
    {1206, 1251, 1037, 1039, 1207, 1208, 1209},
    {1210, 1041, 1220, 1237, 1211, 1212, 1149},
};

void CoursePlannerDialog::setRowDetails(RowDetails details) { rowDetails() = std::move(details); }

void CoursePlannerDialog::setRunCourse(RunCourse run) { runCourseHandler() = std::move(run); }

bool CoursePlannerDialog::plan()
{
    registerCoursePlannerTable();
    CoursePlannerDialog planner;
    planner.run();
    return planner.runCourseChosen();
}

CoursePlannerDialog::CoursePlannerDialog(QWidget* parent)
    : RecordEditorDialog(TEMPLATE_ID, HELP_TOPIC, true, NOTES, parent),
      courseTable_(theDatabase),
      sessionTable_(theDatabase),
      scenarioTable_(theDatabase),
      personTable_(theDatabase),
      sources_(scenarioTable_),
      schedule_(sources_, VISIBLE_ROWS, CourseSchedule::Swap::KeepTimeSlots)
{
}

CoursePlannerDialog::~CoursePlannerDialog()
{
    // The focus leaves a field while the window goes: that must not reach
    // the rows, which go before the window does.
    kova::ControlNotifier& events = notifier();
    for (QWidget* control : findChildren<QWidget*>()) {
        control->removeEventFilter(&events);
        control->removeEventFilter(this);
        QObject::disconnect(control, nullptr, &events, nullptr);
    }
    if (scrollBar_)
        QObject::disconnect(scrollBar_, nullptr, this, nullptr);
}

QComboBox* CoursePlannerDialog::box(int id) const { return qobject_cast<QComboBox*>(getDlgItem(id)); }

kova::MaskedEdit* CoursePlannerDialog::masked(int id) const { return qobject_cast<kova::MaskedEdit*>(getDlgItem(id)); }

std::string CoursePlannerDialog::comboText(int id) const
{
    QComboBox* combo = box(id);
    return combo ? kova::ComboUtil::getText(combo, false).toStdString() : std::string();
}

std::string CoursePlannerDialog::maskedText(int id) const
{
    kova::MaskedEdit* edit = masked(id);
    if (!edit)
        return {};
    if (edit->GetInputChars().trimmed().isEmpty())
        return {};
    return edit->GetDisplayText().toStdString();
}

// ---------------------------------------------------------------------------
// Initialisation

bool CoursePlannerDialog::onInitDialog()
{
    LayoutDialog::onInitDialog();
    setWindowIcon(QApplication::windowIcon());
    bindSharedControls();
    bindControls();
    buildLayout();

    // The lists need their tables before the course table fills the quick find.
    personTable_.open("");
    scenarioTable_.open("");
    sessionTable_.open("");

    CourseRecord initial;
    initial.instructor = translated("Instructor").toStdString();
    start(courseTable_, initial);

    loadRows();
    refreshSchedule();
    setCurrentRecord(readRecord());
    updateButtons();
    return false;
}

void CoursePlannerDialog::bindControls()
{
    for (int id : {INSTRUCTOR_DETAILS, SCENARIO_DETAILS, RUN_COURSE, ROWS[0].details, ROWS[1].details,
                   ROWS[2].details, ROWS[3].details})
        kova::RoundButton::attach(this, id);
    // Normal, pressed, focused and disabled pictures, and the label beside each.
    const int pictures[5][6] = {
        {MOVE_UP, 196, 197, 198, 199, 108},  {MOVE_DOWN, 202, 200, 201, 203, 109},
        {REMOVE_ROW, 206, 204, 205, 207, 110}, {SORT, 210, 208, 209, 211, 111},
        {PRINT, 213, 215, 214, 212, 112},
    };
    for (const auto& picture : pictures) {
        auto* button = new kova::MapBitmapButton(this);
        if (button->autoLoad(picture[0], this, picture[1], picture[2], picture[3], picture[4]))
            button->createLabel(picture[5]);
    }
    for (int id : {START_TIME, ROWS[0].start, ROWS[1].start, ROWS[2].start, ROWS[3].start})
        if (kova::MaskedEdit* edit = kova::MaskedEdit::attach(this, id, TIME_MASK))
            edit->SetInsertMode(false);
    if (kova::MaskedEdit* date = kova::MaskedEdit::attach(this, DATE, DATE_MASK))
        date->SetInsertMode(false);

    // The lists hold persons and ports only: Enter in a box moves on, it
    // adds no entry of the typed text.
    for (int id : {INSTRUCTOR, ROWS[0].ventilation, ROWS[0].compression, ROWS[0].manikin, ROWS[1].ventilation,
                   ROWS[1].compression, ROWS[1].manikin, ROWS[2].ventilation, ROWS[2].compression, ROWS[2].manikin,
                   ROWS[3].ventilation, ROWS[3].compression, ROWS[3].manikin})
        if (QComboBox* combo = box(id))
            combo->setInsertPolicy(QComboBox::NoInsert);
    kova::limitText(getDlgItem(INSTRUCTOR), NAME_LIMIT);
    for (const RowControls& row : ROWS) {
        for (int id : {row.ventilation, row.compression, row.manikin})
            kova::limitText(getDlgItem(id), NAME_LIMIT);
        kova::limitText(getDlgItem(row.start), TIME_LIMIT);
        kova::limitText(getDlgItem(row.end), TIME_LIMIT);
    }
    kova::limitText(getDlgItem(DATE), DATE_LIMIT);
    kova::limitText(getDlgItem(START_TIME), TIME_LIMIT);
    kova::limitText(getDlgItem(NOTES), NOTES_LIMIT);

    kova::ControlNotifier& events = notifier();
    // Masked edits took the place of the template's edits after the notifier began.
    for (int id : {DATE, START_TIME, ROWS[0].start, ROWS[1].start, ROWS[2].start, ROWS[3].start})
        if (QWidget* edit = getDlgItem(id))
            events.attach(edit);

    using kova::Notification;
    refreshButtonsOn({DATE, START_TIME, NOTES}, Notification::EditChanged);
    events.on(DATE, Notification::FocusLost, [this] { refreshSchedule(); });
    events.on(START_TIME, Notification::FocusLost, [this] { onCourseStartTimeLeft(); });
    for (Notification notification : {Notification::FocusLost, Notification::EditChanged, Notification::SelectionChanged})
        events.on(INSTRUCTOR, notification, [this] { refreshSchedule(); });
    events.on(DEFAULT_SCENARIO, Notification::SelectionChanged, [this] { onDefaultScenarioChosen(); });
    events.on(INSTRUCTOR_DETAILS, Notification::Clicked, [this] { showInstructorDetails(); });
    events.on(SCENARIO_DETAILS, Notification::Clicked, [this] { showScenarioDetails(); });
    // A double click reaches a button as two clicks already.
    events.on(MOVE_UP, Notification::Clicked, [this] { moveRowUp(); });
    events.on(MOVE_DOWN, Notification::Clicked, [this] { moveRowDown(); });
    events.on(REMOVE_ROW, Notification::Clicked, [this] { removeRow(); });
    events.on(SORT, Notification::Clicked, [this] { sortByStartTime(); });
    events.on(PRINT, Notification::Clicked, [this] { printSchedule(); });
    events.on(RUN_COURSE, Notification::Clicked, [this] { runCourse(); });

    for (int k = 1; k <= VISIBLE_ROWS; ++k) {
        const RowControls& row = ROWS[k - 1];
        events.on(row.details, Notification::Clicked, [this, k] { showRowDetails(k); });
        events.on(row.start, Notification::FocusLost, [this, k] {
            applyRowStartTime(k);
            readRows(schedule_.visibleRows());
            refreshSchedule();
        });
        const auto rowLeft = [this] {
            readRows(schedule_.visibleRows());
            refreshSchedule();
        };
        for (int id : {row.ventilation, row.compression, row.manikin})
            events.on(id, Notification::FocusLost, rowLeft);
        for (int id : {row.ventilation, row.compression})
            events.on(id, Notification::SelectionChanged, rowLeft);
        // Any field of the row that takes the focus selects the row.
        for (int id : {row.number, row.ventilation, row.compression, row.manikin, row.start, row.end})
            if (QWidget* control = getDlgItem(id))
                control->installEventFilter(this);
    }

    scrollBar_ = qobject_cast<QScrollBar*>(getDlgItem(SCROLL_BAR));
    if (scrollBar_)
        connect(scrollBar_, &QScrollBar::actionTriggered, this, [this](int action) { onScroll(action); });
    if (QWidget* frame = getDlgItem(HIGHLIGHT)) {
        QPalette grey = frame->palette();
        grey.setColor(QPalette::WindowText, grey.color(QPalette::Dark));
        frame->setPalette(grey);
        frame->lower();
    }

    kova::enableControl(getDlgItem(RUN_COURSE), static_cast<bool>(runCourseHandler()));
}

void CoursePlannerDialog::buildLayout()
{
    using kova::ColumnLayout;
    using kova::ControlGroup;
    using kova::LayoutItemPtr;
    using kova::RowLayout;

    auto top = std::make_unique<RowLayout>();
    top->add(0, ControlGroup::create(this, 1298));
    top->add(1, ControlGroup::create(this, recordcontrols::QUICK_FIND));
    top->add(0, ControlGroup::create(this, recordcontrols::FIRST, recordcontrols::PREVIOUS, recordcontrols::NEXT,
                                     recordcontrols::LAST));

    // The name fields grow with the window, the date and time keep their
    // width, the notes take the height; the buttons keep their size.
    const auto line = [](std::initializer_list<std::pair<int, LayoutItemPtr>> items) {
        auto row = std::make_unique<RowLayout>();
        for (const auto& [weight, item] : items)
            row->add(weight, item);
        return LayoutItemPtr(row.release());
    };
    auto fields = std::make_unique<ColumnLayout>();
    fields->add(0, line({{1, ControlGroup::create(this, INSTRUCTOR)}, {0, ControlGroup::create(this, INSTRUCTOR_DETAILS)}}));
    fields->add(0, line({{0, ControlGroup::create(this, DATE, 1313, START_TIME)},
                         {1, kova::LayoutSpacer::create(0, 0)}}));
    fields->add(0, line({{1, ControlGroup::create(this, DEFAULT_SCENARIO)},
                         {0, ControlGroup::create(this, SCENARIO_DETAILS)}}));
    fields->add(1, ControlGroup::create(this, NOTES));
    auto buttons = std::make_unique<ColumnLayout>();
    for (int id : {recordcontrols::NEW, recordcontrols::REMOVE, recordcontrols::SAVE, recordcontrols::DISCARD})
        buttons->add(0, ControlGroup::create(this, id));
    buttons->add(1, kova::LayoutSpacer::create(0, 0));
    auto course = std::make_unique<RowLayout>();
    course->add(1, LayoutItemPtr(fields.release()));
    course->add(0, ControlGroup::create(this, 1308));
    course->add(0, LayoutItemPtr(buttons.release()));

    // The headings grow with their columns so they stay above them.
    auto headings = std::make_unique<RowLayout>();
    headings->add(0, ControlGroup::create(this, 1314));
    headings->add(3, ControlGroup::create(this, 1302));
    headings->add(3, ControlGroup::create(this, 1304));
    headings->add(1, ControlGroup::create(this, 1305));
    headings->add(1, ControlGroup::create(this, 1306));
    headings->add(1, ControlGroup::create(this, 1307));
    headings->add(1, kova::LayoutSpacer::create(0, 0));
    auto rows = std::make_unique<ColumnLayout>();
    rows->add(0, LayoutItemPtr(headings.release()));
    for (const RowControls& controls : ROWS) {
        auto row = std::make_unique<RowLayout>();
        row->add(0, ControlGroup::create(this, controls.number));
        row->add(3, ControlGroup::create(this, controls.ventilation));
        row->add(3, ControlGroup::create(this, controls.compression));
        row->add(1, ControlGroup::create(this, controls.manikin));
        row->add(1, ControlGroup::create(this, controls.start));
        row->add(1, ControlGroup::create(this, controls.end));
        row->add(1, ControlGroup::create(this, controls.details));
        rows->add(0, LayoutItemPtr(row.release()));
    }
    auto schedule = std::make_unique<RowLayout>();
    schedule->add(1, LayoutItemPtr(rows.release()));
    schedule->add(0, ControlGroup::create(this, SCROLL_BAR));

    auto bottom = std::make_unique<RowLayout>();
    bottom->add(0, ControlGroup::create(this, MOVE_UP, MOVE_DOWN));
    bottom->add(2, ControlGroup::create(this, 108, 109));
    bottom->add(0, ControlGroup::create(this, REMOVE_ROW, SORT));
    bottom->add(2, ControlGroup::create(this, 110, 111));
    bottom->add(0, ControlGroup::create(this, recordcontrols::HELP, PRINT));
    bottom->add(2, ControlGroup::create(this, 112));
    bottom->add(1, ControlGroup::create(this, RUN_COURSE, recordcontrols::CLOSE));

    auto column = std::make_unique<ColumnLayout>();
    column->add(0, LayoutItemPtr(top.release()));
    column->add(1, LayoutItemPtr(course.release()));
    column->add(0, LayoutItemPtr(schedule.release()));
    column->add(0, LayoutItemPtr(bottom.release()));
    setLayout(LayoutItemPtr(column.release()), false);
}

// ---------------------------------------------------------------------------
// The template's operations

void CoursePlannerDialog::showRecord(const CourseRecord& record)
{
    clearQuickFindSelection();
    kova::ComboUtil::selectString(box(INSTRUCTOR), QString::fromStdString(record.instructor));
    if (kova::MaskedEdit* date = masked(DATE))
        date->SetInputText(QString::fromStdString(record.date));
    if (kova::MaskedEdit* time = masked(START_TIME))
        time->SetInputText(QString::fromStdString(record.time));
    if (QComboBox* scenarios = box(DEFAULT_SCENARIO)) {
        if (record.defaultScenario.empty())
            scenarios->setCurrentIndex(scenarios->count() > 0 ? 0 : -1);
        else
            kova::ComboUtil::selectString(scenarios, QString::fromStdString(record.defaultScenario));
    }
    kova::setWindowText(getDlgItem(NOTES), QString::fromStdString(record.note));
    if (QWidget* instructor = getDlgItem(INSTRUCTOR))
        instructor->setFocus(Qt::OtherFocusReason);
}

CourseRecord CoursePlannerDialog::readRecord()
{
    CourseRecord record = currentRecord();
    record.instructor = trim(comboText(INSTRUCTOR));
    record.date = maskedText(DATE);
    record.time = maskedText(START_TIME);
    record.defaultScenario = comboText(DEFAULT_SCENARIO);
    record.note = kova::windowText(getDlgItem(NOTES)).toStdString();
    return record;
}

bool CoursePlannerDialog::isChanged()
{
    const CourseRecord& current = currentRecord();
    return trim(comboText(INSTRUCTOR)) != current.instructor || maskedText(DATE) != current.date
        || maskedText(START_TIME) != current.time || comboText(DEFAULT_SCENARIO) != current.defaultScenario
        || kova::windowText(getDlgItem(NOTES)).toStdString() != current.note;
}

void CoursePlannerDialog::enableButtons(unsigned mask) { enableSharedButtons(mask); }

std::wstring CoursePlannerDialog::message(int kind)
{
    static const char* const REMOVE_TEXT =
        "Are you sure you want to remove this course\nand all related sessions?\nYou can not undo this operation.";
    static const char* const TEXTS[] = {
        "A course with the same instructor, date, and time already exists!\nDo you want to replace the existing "
        "course with this one?\n\nIf you want to use the new entry and remove the old one, please choose "
        "'Yes'.\nIf you want to drop the new entry and keep the old one, choose 'No'.\nIf you want to have two "
        "different courses, please choose 'Cancel'\nand change the date or time of the new entry to something "
        "different.\n\n",
        "A course with the same instructor, date and time already exists!\nDo you want to replace the existing "
        "course with this one?\n",
        "Course plan was changed. Save the changes?",
        "",
        "A course has to have an instructor, date, and time.\nPlease fill in these fields before you proceed.",
        REMOVE_TEXT,
        REMOVE_TEXT,
    };
    if (kind < 0 || kind >= static_cast<int>(std::size(TEXTS)) || !*TEXTS[kind])
        return {};
    if (kind == recordmessages::REMOVE_CHANGED || kind == recordmessages::REMOVE)
        return Gettext::translate(TEXTS[kind]) + finishedsessions::courseParagraph(rowsOfRemovedCourse_);
    return Gettext::translate(TEXTS[kind]);
}

void CoursePlannerDialog::notifyChanged() { TablePool::refresh(TableKind::Course); }

void CoursePlannerDialog::fillQuickFind()
{
    if (QComboBox* quick = quickFindBox()) {
        ComboBoxList list(*quick);
        courseTable_.fillCourseComboBox(list);
    }
    if (QComboBox* instructors = box(INSTRUCTOR)) {
        ComboBoxList list(*instructors);
        personTable_.fillComboBox(list, "name", "\"Instructor\" <> 0");
    }
    QComboBox* persons = box(ROWS[0].ventilation);
    if (persons) {
        ComboBoxList list(*persons);
        personTable_.fillComboBox(list, "name", "");
    }
    if (QComboBox* scenarios = box(DEFAULT_SCENARIO)) {
        ComboBoxList list(*scenarios);
        scenarioTable_.fillComboBox(list, "name", "");
    }
    QComboBox* manikins = box(ROWS[0].manikin);
    if (manikins) {
        const QString kept = kova::ComboUtil::getText(manikins, false);
        PortCombo::fillPortCombo(*manikins, CalibrateManager::get());
        kova::ComboUtil::selectString(manikins, kept);
    }
    for (int k = 0; k < VISIBLE_ROWS; ++k) {
        const RowControls& row = ROWS[k];
        if (k > 0) {
            kova::ComboUtil::copyItems(persons, box(row.ventilation));
            kova::ComboUtil::copyItems(manikins, box(row.manikin));
        }
        kova::ComboUtil::copyItems(persons, box(row.compression));
    }
}

// Every row takes the course's key; the persons typed into the rows join
// the Person table in the same change as the course row.
void CoursePlannerDialog::beforeStore(const CourseRecord& record)
{
    schedule_.stampCourse(record.getKey());
    for (const SessionRecord& row : schedule_.rows())
        for (const std::string* name : {&row.PersonVentilation, &row.PersonChestCompression})
            if (personTable_.addPerson(*name, false))
                quickFindDirty_ = true;
}

// The schedule is written all or nothing, by the rows' identifiers: the
// rows changed here, those removed here, and the course's planned rows the
// schedule no longer holds; a row another station finished keeps its
// result. When the database refuses, the rows stay as typed and still count
// as changed, and the save fails: the user can store them again, and is
// asked again before they are left.
bool CoursePlannerDialog::afterStore()
{
    std::vector<SessionRecord> stored = schedule_.storedRows();
    const bool written = sessionTable_.writeCourseSessions(currentRecord(), stored, schedule_.rowsAsRead(),
                                                           schedule_.removedRows(),
                                                           SessionTable::CourseScope::WholeCourse);
    if (written) {
        schedule_.markStored(stored);
        setScheduleModified(false);
    }
    updateButtons();
    return written;
}

// The course's sessions go in the same change as its row, and the data files
// of the finished ones with them; the rows on screen are reloaded only once
// the delete went through.
void CoursePlannerDialog::beforeRemove()
{
    for (const SessionRecord& row : sessionTable_.findCourseSessions(currentRecord().getKey())) {
        if (!row.Done)
            continue;
        const bool named = std::any_of(rowsOfRemovedCourse_.begin(), rowsOfRemovedCourse_.end(),
                                       [&row](const SessionRecord& asked) {
                                           return asked.Done && asked.Serialidentifier == row.Serialidentifier;
                                       });
        // Finished on another station while the question was open: the user
        // never agreed that its result goes.
        if (!named)
            throw DatabaseError("A session of this course was finished on another station meanwhile.\n"
                                "The course was not deleted.\n");
        // The finished sessions' data files go with the course: not from a
        // data folder of other records.
        if (std::wstring refusal; !DataFolderOwner::permitsWriting(refusal))
            throw DatabaseError(toNarrow(refusal));
        removedDataFiles_.moveAside(row);
    }
    std::vector<SessionRecord> none;
    sessionTable_.deleteCourseSessions(currentRecord(), none);
}

// A command that stores the course or asks about it may come while the
// focus is still in a field: what leaving that field does happens first, so
// a row still being typed is part of the course (and no longer the blank row).
void CoursePlannerDialog::applyFieldRules()
{
    if (kova::controlId(focusWidget()) == START_TIME) {
        onCourseStartTimeLeft();
        return;
    }
    commitFocusedRow();
    refreshSchedule();
}

// ---------------------------------------------------------------------------
// Record commands

bool CoursePlannerDialog::saveCourse()
{
    quickFindDirty_ = false;
    const bool stored = save();
    if (quickFindDirty_)
        fillQuickFind();
    refreshSchedule();
    return stored;
}

bool CoursePlannerDialog::leaveCourse()
{
    quickFindDirty_ = false;
    const bool leave = queryLeave();
    if (quickFindDirty_)
        fillQuickFind();
    // Cancel, or a course or schedule the database refused, keeps
    // everything as typed.
    if (!leave)
        refreshSchedule();
    return leave;
}

void CoursePlannerDialog::navigate(const std::function<void()>& step)
{
    if (!tableOpen() || !leaveCourse())
        return;
    // Stored or dropped: the schedule shown next is the stored one.
    setScheduleModified(false);
    step();
    loadRows();
    refreshSchedule();
}

void CoursePlannerDialog::loadRows()
{
    const CourseKey key = currentRecord().getKey();
    schedule_.load(CourseRecord::isValidKey(key) ? sessionTable_.findCourseSessions(key)
                                                 : std::vector<SessionRecord>());
    schedule_.selectFirstRow();
    setScheduleModified(false);
}

void CoursePlannerDialog::setScheduleModified(bool changed)
{
    schedule_.setModified(changed);
    modified = changed;
}

void CoursePlannerDialog::onNewButton()
{
    navigate([this] { onNew(); });
}

void CoursePlannerDialog::onRemoveButton()
{
    // The question names the finished sessions that go with the course.
    rowsOfRemovedCourse_ =
        isNewEntry() ? std::vector<SessionRecord>() : sessionTable_.findCourseSessions(currentRecord().getKey());
    const bool removed = remove(true);
    removedDataFiles_.settle(removed);
    rowsOfRemovedCourse_.clear();
    if (!removed)
        return;
    loadRows();
    refreshSchedule();
}

void CoursePlannerDialog::onSaveButton() { saveCourse(); }

void CoursePlannerDialog::onDiscardButton()
{
    onDiscard();
    loadRows();
    refreshSchedule();
}

void CoursePlannerDialog::onFirstButton()
{
    navigate([this] { onFirst(); });
}

void CoursePlannerDialog::onLastButton()
{
    navigate([this] { onLast(); });
}

void CoursePlannerDialog::onNextButton()
{
    navigate([this] { onNext(); });
}

void CoursePlannerDialog::onPreviousButton()
{
    navigate([this] { onPrevious(); });
}

void CoursePlannerDialog::onQuickFindChosen(const QString& text)
{
    CourseRecord course;
    course.parseDisplayText(text.toStdWString());
    if (text.isEmpty() || !CourseRecord::isValidKey(course.getKey()))
        return;
    navigate([this, &course] { quickFindRecord(course); });
}

// ---------------------------------------------------------------------------
// The schedule on screen

void CoursePlannerDialog::refreshSchedule()
{
    // A record being put into the fields is half there; whoever put it in
    // shows its schedule once it is whole.
    if (isLoading())
        return;
    schedule_.refresh(readRecord());
    schedulecontrols::syncScrollBar(schedule_, scrollBar_);
    const int count = schedule_.visibleRows();
    if (schedule_.locked()) {
        highlightRow(0);
        setRowsVisible(VISIBLE_ROWS - count);
        showRows(count);
        enableRowControls(false);
    } else {
        enableRowControls(true);
        highlightRow(schedule_.selectedRow());
        setRowsVisible(VISIBLE_ROWS - count);
        showRows(count);
    }
    modified = schedule_.modified();
    updateButtons();
}

void CoursePlannerDialog::showRows(int count)
{
    const bool locked = schedule_.locked();
    for (int k = 1; k <= count; ++k) {
        const RowControls& controls = ROWS[k - 1];
        const int index = schedule_.indexOfVisibleRow(k);
        const SessionRecord& row = schedule_.row(index);
        kova::setWindowTextIfChanged(getDlgItem(controls.number), QString::number(index + 1));
        kova::ComboUtil::selectString(box(controls.ventilation), QString::fromStdString(row.PersonVentilation));
        kova::ComboUtil::selectString(box(controls.compression), QString::fromStdString(row.PersonChestCompression));
        // Only the boxes the training mode needs are open, and the names
        // follow the mode (one person does both in single-person CPR). A
        // schedule row takes no default names, or the blank row would never
        // stay blank.
        if (!locked)
            TrainingMode::fillParticipants(static_cast<int>(row.TrainingMode), box(controls.ventilation), nullptr,
                                           box(controls.compression), nullptr, true, false);
        schedulecontrols::showManikin(box(controls.manikin), row);
        if (kova::MaskedEdit* start = masked(controls.start))
            start->SetInputText(QString::fromStdString(row.StartTime));
        kova::setWindowTextIfChanged(getDlgItem(controls.end), QString::fromStdString(row.EndTime));
        const bool opens = static_cast<bool>(rowDetails());
        kova::enableControl(getDlgItem(controls.details), opens && !locked && !schedule_.isBlankRow(index));
        if (row.Done && !locked) {
            kova::enableControl(getDlgItem(controls.manikin), false);
            kova::enableControl(getDlgItem(controls.start), false);
        }
    }
}

void CoursePlannerDialog::readRows(int count)
{
    for (int k = 1; k <= count; ++k) {
        const RowControls& controls = ROWS[k - 1];
        CourseSchedule::RowFields fields =
            schedulecontrols::readRow(box(controls.ventilation), box(controls.compression), box(controls.manikin),
                                      getDlgItem(controls.start), getDlgItem(controls.end));
        // The disabled box may not show the mode's rule yet when the row is
        // read straight after typing.
        const int index = schedule_.indexOfVisibleRow(k);
        if (index >= 0)
            TrainingMode::keepParticipants(static_cast<int>(schedule_.row(index).TrainingMode), fields.ventilation,
                                           fields.compression);
        schedule_.commitRow(index, fields);
    }
    modified = schedule_.modified();
}

void CoursePlannerDialog::applyRowStartTime(int visibleRow)
{
    const int index = schedule_.indexOfVisibleRow(visibleRow);
    if (index < 0 || visibleRow < 1 || visibleRow > VISIBLE_ROWS)
        return;
    const RowControls& controls = ROWS[visibleRow - 1];
    if (!schedulecontrols::applyStartTime(schedule_, index, getDlgItem(controls.start), getDlgItem(controls.end)))
        return;
    modified = schedule_.modified();
}

void CoursePlannerDialog::highlightRow(int visibleRow)
{
    highlightedRow_ = visibleRow;
    QWidget* frame = getDlgItem(HIGHLIGHT);
    if (!frame)
        return;
    if (visibleRow < 1 || visibleRow > VISIBLE_ROWS) {
        frame->hide();
        return;
    }
    const QWidget* ventilation = getDlgItem(ROWS[visibleRow - 1].ventilation);
    const QWidget* details = getDlgItem(ROWS[0].details);
    if (!ventilation || !details)
        return;
    const QRect field = ventilation->geometry();
    const int right = details->geometry().right() + 1 + 3;
    frame->setGeometry(0, field.top() - 3, right, field.height() + 3 + 4);
    frame->lower();
    frame->show();
}

void CoursePlannerDialog::setRowsVisible(int hidden)
{
    for (int k = 1; k <= VISIBLE_ROWS; ++k) {
        const RowControls& c = ROWS[k - 1];
        const bool shown = k <= VISIBLE_ROWS - hidden;
        for (int id : {c.number, c.ventilation, c.compression, c.manikin, c.start, c.end, c.details})
            kova::showControl(getDlgItem(id), shown);
    }
}

void CoursePlannerDialog::enableRowControls(bool enable)
{
    for (const RowControls& c : ROWS)
        for (int id : {c.ventilation, c.compression, c.manikin, c.start, c.end})
            kova::enableControl(getDlgItem(id), enable);
}

int CoursePlannerDialog::visibleRowOf(const QWidget* control) const
{
    const int id = kova::controlId(control);
    for (int k = 1; k <= VISIBLE_ROWS; ++k) {
        const RowControls& c = ROWS[k - 1];
        for (int rowId : {c.number, c.ventilation, c.compression, c.manikin, c.start, c.end})
            if (rowId == id)
                return k;
    }
    return 0;
}

bool CoursePlannerDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        const int k = visibleRowOf(qobject_cast<QWidget*>(watched));
        if (k > 0 && !schedule_.locked()) {
            schedule_.selectVisibleRow(k);
            highlightRow(schedule_.selectedRow());
        }
    }
    return LayoutDialog::eventFilter(watched, event);
}

void CoursePlannerDialog::commitFocusedRow()
{
    const int k = visibleRowOf(focusWidget());
    if (k > 0 && kova::controlId(focusWidget()) == ROWS[k - 1].start)
        applyRowStartTime(k);
    readRows(schedule_.visibleRows());
}

void CoursePlannerDialog::onScroll(int action)
{
    if (!scrollBar_ || scrolling_)
        return;
    scrolling_ = true;
    commitFocusedRow();
    // The schedule decides where the window stands; the bar follows it.
    const bool moved = schedulecontrols::scroll(schedule_, *scrollBar_, action);
    if (moved)
        refreshSchedule();
    scrolling_ = false;
}

void CoursePlannerDialog::onSize(int cx, int cy)
{
    LayoutDialog::onSize(cx, cy);
    if (isInitialised())
        highlightRow(highlightedRow_);
}

// ---------------------------------------------------------------------------
// Row commands

void CoursePlannerDialog::moveRowUp()
{
    if (!schedule_.moveUp()) {
        platform::messageBeep();
        return;
    }
    refreshSchedule();
}

void CoursePlannerDialog::moveRowDown()
{
    if (!schedule_.moveDown()) {
        platform::messageBeep();
        return;
    }
    refreshSchedule();
}

void CoursePlannerDialog::removeRow()
{
    if (!schedule_.canRemoveSelected()) {
        platform::messageBeep();
        return;
    }
    // Saving then deletes a finished row's stored result and data file.
    const int index = schedule_.selectedIndex();
    if (schedule_.row(index).Done && !finishedsessions::confirmRemoveRow(schedule_.row(index), index + 1))
        return;
    schedule_.removeSelected();
    refreshSchedule();
}

void CoursePlannerDialog::sortByStartTime()
{
    if (!schedule_.sortByStartTime()) {
        platform::messageBeep();
        return;
    }
    refreshSchedule();
}

// What is printed is what was just stored: the blank row is no session.
void CoursePlannerDialog::printSchedule()
{
    if (!saveCourse())
        return;
    SchedulePrinter::printSchedule(currentRecord(), schedule_.storedRows(), this);
}

void CoursePlannerDialog::runCourse()
{
    if (!tableOpen() || !runCourseHandler()) {
        platform::messageBeep();
        return;
    }
    if (!saveCourse())
        return;
    runCourseChosen_ = true;
    onCancel();
    const CourseRecord course = currentRecord();
    if (RunCourse run = runCourseHandler())
        run(course);
}

void CoursePlannerDialog::showRowDetails(int visibleRow)
{
    const int index = schedule_.indexOfVisibleRow(visibleRow);
    if (index < 0 || schedule_.isBlankRow(index) || schedule_.locked() || !rowDetails())
        return;
    // The session dialog looks the row up by its serial identifier, so the
    // course goes to the database first; it opens whatever that answered.
    saveCourse();
    const SessionRecord row = schedule_.row(index);
    const RowDetails details = rowDetails();
    const std::optional<SessionRecord> edited = details(row, this);
    fillQuickFind();
    if (edited)
        schedule_.replaceRow(index, *edited);
    refreshSchedule();
    applyRowStartTime(visibleRow);
    readRows(schedule_.visibleRows());
    refreshSchedule();
}

// Close, Escape and the close box: a changed course is stored, dropped or
// kept as the user answers; a store the database refused keeps it.
void CoursePlannerDialog::onCancel()
{
    if (QWidget* close = getDlgItem(recordcontrols::CLOSE))
        close->setFocus(Qt::OtherFocusReason);
    if (leaveCourse())
        reject();
}

void CoursePlannerDialog::onOK()
{
    QWidget* focused = focusWidget();
    if (focused && kova::controlId(focused) == NOTES) {
        if (QWidget* instructor = getDlgItem(INSTRUCTOR))
            instructor->setFocus(Qt::TabFocusReason);
        return;
    }
    focusNextChild();
}

// ---------------------------------------------------------------------------
// Course fields

void CoursePlannerDialog::onCourseStartTimeLeft()
{
    schedule_.courseStartTimeChanged(readRecord());
    refreshSchedule();
}

void CoursePlannerDialog::onDefaultScenarioChosen()
{
    schedule_.defaultScenarioChosen(comboText(DEFAULT_SCENARIO));
    refreshSchedule();
}

void CoursePlannerDialog::showInstructorDetails()
{
    PersonDialog editor(comboText(INSTRUCTOR), true, false, this);
    editor.run();
    fillQuickFind();
    const std::string key = editor.getCurrentKey();
    if (key.empty())
        return;
    kova::ComboUtil::selectString(box(INSTRUCTOR), QString::fromStdString(key));
    refreshSchedule();
}

void CoursePlannerDialog::showScenarioDetails()
{
    ScenarioRecord initial;
    initial.name = comboText(DEFAULT_SCENARIO);
    ScenarioDialog editor(initial, false, this);
    editor.run();
    fillQuickFind();
    const std::string key = editor.getCurrentKey();
    if (key.empty())
        return;
    kova::ComboUtil::selectString(box(DEFAULT_SCENARIO), QString::fromStdString(key));
    onDefaultScenarioChosen();
}
