#include "app/courses/RunCourseDialog.h"

#include "Database/record-controls/ComboBoxList.h"
#include "Database/Database.h"
#include "Database/TrainingMode.h"
#include "Database/record-controls/TrainingModeCombo.h"
#include "Database/course-planner/ScheduleControls.h"
#include "Database/course-planner/SchedulePrinter.h"
#include "Database/stored-sessions/SessionDialog.h"
#include "Rodezir/ComboUtil.h"
#include "Rodezir/DateText.h"
#include "Rodezir/WindowTextUtil.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/DialogRegistry.h"
#include "Rodezir/dialogs/DialogTable.h"
#include "Rodezir/dialogs/WindowGeometry.h"
#include "app/sessions/SessionManager.h"
#include "app/shell/CprTrainingApp.h"
#include "comm/ports/CalibrateManager.h"
#include "comm/ports/PortCombo.h"
#include "controls/MapBitmapButton.h"
#include "controls/MaskedEdit.h"
#include "controls/RoundButton.h"
#include "gettext/Gettext.h"
#include "platform/Beep.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>

using namespace kova;

namespace {

constexpr int NAME_LIMIT = 80;
constexpr int TIME_LIMIT = 5;
const QString TIME_MASK = QStringLiteral("##:##");

// The labels the four bitmap buttons at the bottom show beside them.
constexpr int MOVE_UP_LABEL = 108;
constexpr int MOVE_DOWN_LABEL = 109;
constexpr int REMOVE_LABEL = 110;
constexpr int PRINT_LABEL = 112;

// Where the rows stand, in dialog units: the first row's top, the step to
// the next, and each column's left edge and width.
constexpr int FIRST_ROW_Y = 44, ROW_STEP = 16, FIELD_CY = 12;
constexpr int NUMBER_X = 2, NUMBER_CX = 12;
constexpr int VENTILATION_X = 16, COMPRESSION_X = 85, PERSON_CX = 65;
constexpr int SCENARIO_X = 154, SCENARIO_CX = 57;
constexpr int MANIKIN_X = 215, MANIKIN_CX = 112;
constexpr int START_X = 329, END_X = 359, TIME_CX = 26;
constexpr int DONE_X = 389, DONE_CX = 9;
constexpr int PLAY_X = 402, PAUSE_X = 419, BUTTON_CX = 11;
constexpr int DETAILS_X = 436, DETAILS_CX = 41;
constexpr int BOTTOM_Y = 176;

std::wstring marked(const wchar_t* text) { return std::wstring(L"\u00A4") + text; }

QString translated(const char* text) { return QString::fromStdWString(Gettext::translate(text)); }

DialogControlTable comboBox(int id, std::uint32_t kind, int x, int y, int cx)
{
    // A combo box's height in a template is that of its open list.
    return control(L"", id, L"COMBOBOX", kind | WS_VSCROLL | WS_TABSTOP, x, y, cx, 100);
}

DialogControlTable ownerDrawn(const std::wstring& text, int id, int x, int y, int cx, int cy,
                              std::uint32_t extra = WS_TABSTOP)
{
    return control(text, id, L"BUTTON", BS_OWNERDRAW | extra, x, y, cx, cy);
}

DialogTable runCourseTable()
{
    using Rows = RunCourseDialog;
    constexpr std::uint32_t READ_ONLY = ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP;
    constexpr std::uint32_t EDITABLE_SORTED = CBS_DROPDOWN | CBS_SORT;
    DialogTable table;
    table.id = RunCourseDialog::TEMPLATE_ID;
    table.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
    table.cx = 487;
    table.cy = 208;
    auto& c = table.controls;
    // The highlight stands behind the rows, so it never covers what they show.
    DialogControlTable highlight = label(L"", Rows::HIGHLIGHT, 0, FIRST_ROW_Y - 2, 479, ROW_STEP, SS_GRAYRECT);
    highlight.style &= ~WS_VISIBLE;
    c.push_back(highlight);

    c.push_back(label(marked(L"Instructor"), IDC_STATIC, 2, 6, 40, 8, SS_RIGHT));
    c.push_back(editText(Rows::INSTRUCTOR, 46, 4, 140, FIELD_CY, READ_ONLY | ES_CENTER));
    c.push_back(label(marked(L"Date"), IDC_STATIC, 192, 6, 30, 8, SS_RIGHT));
    c.push_back(editText(Rows::DATE, 226, 4, 60, FIELD_CY, READ_ONLY | ES_CENTER));
    c.push_back(label(marked(L"Start time"), IDC_STATIC, 292, 6, 40, 8, SS_RIGHT));
    c.push_back(editText(Rows::START_TIME, 336, 4, 30, FIELD_CY, READ_ONLY | ES_CENTER));

    c.push_back(label(marked(L"Schedule"), 1132, 2, 22, 80, 8));
    const int headingY = FIRST_ROW_Y - 10;
    c.push_back(label(marked(L"Ventilation"), IDC_STATIC, VENTILATION_X, headingY, PERSON_CX, 8));
    c.push_back(label(marked(L"Chest compression"), IDC_STATIC, COMPRESSION_X, headingY, PERSON_CX, 8));
    c.push_back(label(marked(L"Scenario"), IDC_STATIC, SCENARIO_X, headingY, SCENARIO_CX, 8));
    c.push_back(label(marked(L"Manikin"), IDC_STATIC, MANIKIN_X, headingY, MANIKIN_CX, 8));
    c.push_back(label(marked(L"Start"), IDC_STATIC, START_X, headingY, TIME_CX, 8));
    c.push_back(label(marked(L"End"), IDC_STATIC, END_X, headingY, TIME_CX, 8));
    c.push_back(label(marked(L"Done"), IDC_STATIC, DONE_X - 4, headingY, 18, 8));

    for (int k = 0; k < Rows::VISIBLE_ROWS; ++k) {
        const Rows::RowControls& row = Rows::ROWS[k];
        const int y = FIRST_ROW_Y + ROW_STEP * k;
        c.push_back(editText(row.number, NUMBER_X, y, NUMBER_CX, FIELD_CY, READ_ONLY | ES_RIGHT));
        c.push_back(comboBox(row.ventilation, EDITABLE_SORTED, VENTILATION_X, y, PERSON_CX));
        c.push_back(comboBox(row.compression, EDITABLE_SORTED, COMPRESSION_X, y, PERSON_CX));
        c.push_back(comboBox(row.scenario, CBS_DROPDOWNLIST | CBS_SORT, SCENARIO_X, y, SCENARIO_CX));
        c.push_back(comboBox(row.manikin, EDITABLE_SORTED, MANIKIN_X, y, MANIKIN_CX));
        c.push_back(editText(row.start, START_X, y, TIME_CX, FIELD_CY));
        c.push_back(editText(row.end, END_X, y, TIME_CX, FIELD_CY, READ_ONLY));
        c.push_back(control(L"", row.done, L"BUTTON", BS_AUTOCHECKBOX | WS_DISABLED, DONE_X, y + 1, DONE_CX, 10));
        c.push_back(ownerDrawn(L">", row.play, PLAY_X, y, BUTTON_CX, FIELD_CY));
        c.push_back(ownerDrawn(L">|", row.pause, PAUSE_X, y, BUTTON_CX, FIELD_CY));
        c.push_back(ownerDrawn(marked(L"Details..."), row.details, DETAILS_X, y - 1, DETAILS_CX, 14));
    }
    c.push_back(control(L"", Rows::SCROLL_BAR, L"SCROLLBAR", SBS_VERT, 479, 43, 8, 126));

    c.push_back(label(L"", IDC_STATIC, 2, BOTTOM_Y - 4, 483, 1, SS_ETCHEDHORZ));
    c.push_back(ownerDrawn(marked(L"Move row up"), Rows::MOVE_UP, 4, BOTTOM_Y, 16, 15));
    c.push_back(ownerDrawn(marked(L"Move row down"), Rows::MOVE_DOWN, 4, BOTTOM_Y + 16, 16, 15));
    c.push_back(ownerDrawn(marked(L"Remove row"), Rows::REMOVE_ROW, 120, BOTTOM_Y, 16, 15));
    // Kept in the template; this window never shows it.
    DialogControlTable sort = ownerDrawn(marked(L"Sort by start time"), Rows::SORT, 120, BOTTOM_Y + 16, 16, 15);
    sort.style &= ~WS_VISIBLE;
    c.push_back(sort);
    c.push_back(ownerDrawn(marked(L"Print schedule"), Rows::PRINT, 236, BOTTOM_Y, 16, 15));
    c.push_back(ownerDrawn(marked(L"Help"), ChildDialog::ID_HELP, 370, BOTTOM_Y + 8, 54, 14));
    c.push_back(ownerDrawn(marked(L"Close"), Rows::CLOSE, 430, BOTTOM_Y + 8, 54, 14));
    return table;
}

int registeredTemplate()
{
    if (!DialogRegistry::find(RunCourseDialog::TEMPLATE_ID))
        DialogRegistry::add(runCourseTable());
    return RunCourseDialog::TEMPLATE_ID;
}

} // namespace

const RunCourseDialog::RowControls RunCourseDialog::ROWS[VISIBLE_ROWS] = {
    {1134, 1243, 1030, 1254, 1032, 1200, 1201, 1000, 1172, 1173, 1202},
    {1203, 1035, 1219, 1244, 1236, 1378, 1204, 1002, 1170, 1175, 1205},
    {1206, 1251, 1037, 1245, 1039, 1207, 1208, 1011, 1176, 1177, 1209},
    {1210, 1041, 1220, 1246, 1237, 1211, 1212, 1213, 1178, 1180, 1149},
    {1150, 1252, 1043, 1247, 1045, 1151, 1152, 1214, 1181, 1182, 1153},
    {1154, 1047, 1221, 1248, 1238, 1155, 1156, 1215, 1195, 1196, 1157},
    {1158, 1253, 1049, 1249, 1051, 1159, 1160, 1216, 1197, 1198, 1161},
    {1162, 1053, 1222, 1250, 1239, 1163, 1164, 1217, 1187, 1188, 1165},
};

RunCourseDialog::RunCourseDialog(const CourseRecord& course)
    : ChildDialog(registeredTemplate()),
      courseTable_(theDatabase),
      sessionTable_(theDatabase),
      scenarioTable_(theDatabase),
      algorithmTable_(theDatabase),
      personTable_(theDatabase),
      sources_(scenarioTable_),
      run_(course, sources_, algorithmTable_, *this)
{
}

RunCourseDialog::~RunCourseDialog()
{
    // The focus leaves a field while the window goes: that must not reach the rows.
    ControlNotifier& events = notifier();
    for (QWidget* control : findChildren<QWidget*>()) {
        control->removeEventFilter(&events);
        control->removeEventFilter(this);
        QObject::disconnect(control, nullptr, &events, nullptr);
    }
    if (scrollBar_)
        QObject::disconnect(scrollBar_, nullptr, this, nullptr);
    // The window went without Close (the program ends): what changed is kept.
    if (isCreated() && run_.schedule().modified())
        writeRows();
    if (CprTrainingApp* app = CprTrainingApp::instance())
        app->runCourseClosed();
}

QComboBox* RunCourseDialog::box(int id) const { return qobject_cast<QComboBox*>(getDlgItem(id)); }

kova::MaskedEdit* RunCourseDialog::masked(int id) const { return qobject_cast<kova::MaskedEdit*>(getDlgItem(id)); }

std::string RunCourseDialog::comboText(int id) const
{
    QComboBox* combo = box(id);
    return combo ? ComboUtil::getText(combo, false).toStdString() : std::string();
}

// ---------------------------------------------------------------------------
// Initialisation

bool RunCourseDialog::onInitDialog()
{
    ChildDialog::onInitDialog();
    bindControls();
    courseTable_.open("");
    sessionTable_.open("");
    scenarioTable_.open("");
    algorithmTable_.open("");
    personTable_.open("");
    showCourse();
    refillChoices();
    run_.load(sessionTable_.findCourseSessions(run_.course().getKey()));
    run_.schedule().forgetScrollRange();
    refreshRows();
    bindNotifications();
    return true;
}

void RunCourseDialog::bindControls()
{
    for (const RowControls& row : ROWS) {
        auto* play = new MapBitmapButton(this);
        play->autoLoad(row.play, this, 163, 161, 162, 164);
        auto* pause = new MapBitmapButton(this);
        pause->autoLoad(row.pause, this, 159, 157, 158, 160);
        RoundButton::attach(this, row.details);
    }
    // Normal, pressed, focused and disabled pictures, and the label beside each.
    const int pictures[4][6] = {
        {MOVE_UP, 196, 197, 198, 199, MOVE_UP_LABEL},
        {MOVE_DOWN, 202, 200, 201, 203, MOVE_DOWN_LABEL},
        {REMOVE_ROW, 206, 204, 205, 207, REMOVE_LABEL},
        {PRINT, 213, 215, 214, 212, PRINT_LABEL},
    };
    for (const auto& picture : pictures) {
        auto* button = new MapBitmapButton(this);
        if (button->autoLoad(picture[0], this, picture[1], picture[2], picture[3], picture[4]))
            button->createLabel(picture[5]);
    }
    for (int id : {CLOSE, static_cast<int>(ID_HELP)})
        RoundButton::attach(this, id);

    for (const RowControls& row : ROWS) {
        if (MaskedEdit* edit = MaskedEdit::attach(this, row.start, TIME_MASK))
            edit->SetInsertMode(false);
        // The lists hold persons and ports only: Enter in a box moves on, it
        // adds no entry of the typed text.
        for (int id : {row.ventilation, row.compression, row.manikin}) {
            if (QComboBox* combo = box(id))
                combo->setInsertPolicy(QComboBox::NoInsert);
            limitText(getDlgItem(id), NAME_LIMIT);
        }
        limitText(getDlgItem(row.start), TIME_LIMIT);
        limitText(getDlgItem(row.end), TIME_LIMIT);
        // Any field of the row that takes the focus selects the row.
        for (int id : {row.number, row.ventilation, row.compression, row.scenario, row.manikin, row.start, row.end})
            if (QWidget* control = getDlgItem(id))
                control->installEventFilter(this);
    }
    showControl(getDlgItem(SORT), false);
    if (QWidget* highlight = getDlgItem(HIGHLIGHT))
        highlight->lower();
    scrollBar_ = qobject_cast<QScrollBar*>(getDlgItem(SCROLL_BAR));
    if (scrollBar_)
        connect(scrollBar_, &QScrollBar::actionTriggered, this, [this](int action) { onScroll(action); });
}

void RunCourseDialog::bindNotifications()
{
    ControlNotifier& events = notifier();
    // Masked edits took the place of the template's edits after the notifier began.
    for (const RowControls& row : ROWS)
        if (QWidget* edit = getDlgItem(row.start))
            events.attach(edit);

    using kova::Notification;
    events.on(MOVE_UP, Notification::Clicked, [this] { moveRowUp(); });
    events.on(MOVE_DOWN, Notification::Clicked, [this] { moveRowDown(); });
    events.on(REMOVE_ROW, Notification::Clicked, [this] { removeRow(); });
    events.on(PRINT, Notification::Clicked, [this] { printSchedule(); });
    for (int k = 1; k <= VISIBLE_ROWS; ++k) {
        const RowControls& row = ROWS[k - 1];
        events.on(row.play, Notification::Clicked, [this, k] { startRow(k); });
        events.on(row.pause, Notification::Clicked, [this, k] { pauseRow(k); });
        events.on(row.details, Notification::Clicked, [this, k] { showRowDetails(k); });
        events.on(row.start, Notification::FocusLost, [this, k] {
            if (refreshing_)
                return;
            applyRowStartTime(k);
            onRowLeft();
        });
        events.on(row.scenario, Notification::SelectionChanged, [this, k] { onScenarioChosen(k); });
        for (int id : {row.ventilation, row.compression}) {
            events.on(id, Notification::FocusLost, [this] { onRowLeft(); });
            events.on(id, Notification::SelectionChanged, [this] { onRowLeft(); });
        }
        for (int id : {row.manikin, row.number, row.end})
            events.on(id, Notification::FocusLost, [this] { onRowLeft(); });
    }
}

void RunCourseDialog::showCourse()
{
    const CourseRecord& course = run_.course();
    setWindowTextIfChanged(getDlgItem(INSTRUCTOR), QString::fromStdString(course.instructor));
    setWindowTextIfChanged(getDlgItem(DATE), QString::fromStdString(isoDateToText(course.date)));
    setWindowTextIfChanged(getDlgItem(START_TIME), QString::fromStdString(course.time));
}

// The persons, scenarios and ports, each list filled once and copied into
// the boxes of the other rows; every box keeps what it shows.
void RunCourseDialog::refillChoices()
{
    QComboBox* persons = box(ROWS[0].ventilation);
    if (persons) {
        PersonTable everyone(theDatabase);
        everyone.open("");
        ComboBoxList list(*persons);
        everyone.fillComboBox(list, "name", "");
    }
    QComboBox* scenarios = box(ROWS[0].scenario);
    if (scenarios) {
        ComboBoxList list(*scenarios);
        scenarioTable_.fillComboBox(list, "name", "");
    }
    QComboBox* manikins = box(ROWS[0].manikin);
    if (manikins) {
        const QString kept = ComboUtil::getText(manikins, false);
        PortCombo::fillPortCombo(*manikins, CalibrateManager::get());
        ComboUtil::selectString(manikins, kept);
        if (manikins->currentIndex() < 0)
            manikins->setEditText(kept);
    }
    for (int k = 0; k < VISIBLE_ROWS; ++k) {
        const RowControls& row = ROWS[k];
        if (k > 0) {
            ComboUtil::copyItems(persons, box(row.ventilation));
            ComboUtil::copyItems(scenarios, box(row.scenario));
            ComboUtil::copyItems(manikins, box(row.manikin));
        }
        ComboUtil::copyItems(persons, box(row.compression));
    }
}

// ---------------------------------------------------------------------------
// The rows on screen

void RunCourseDialog::refreshRows()
{
    if (!isCreated() || refreshing_)
        return;
    refreshing_ = true;
    run_.refresh();
    schedulecontrols::syncScrollBar(run_.schedule(), scrollBar_);
    const CourseSchedule& schedule = run_.schedule();
    highlightRow(schedule.selectedRow());
    const int count = schedule.visibleRows();
    setRowsVisible(count);
    showRows(count);
    refreshing_ = false;
    updateRowStates();
}

void RunCourseDialog::highlightRow(int visibleRow)
{
    highlightedRow_ = visibleRow >= 1 && visibleRow <= VISIBLE_ROWS ? visibleRow : 0;
    QWidget* highlight = getDlgItem(HIGHLIGHT);
    if (!highlight)
        return;
    const QWidget* details = highlightedRow_ ? getDlgItem(ROWS[highlightedRow_ - 1].details) : nullptr;
    if (!details) {
        highlight->hide();
        return;
    }
    const QRect button = details->geometry();
    const QRect now = highlight->geometry();
    highlight->setGeometry(now.left(), button.top() - 2, now.width(), button.height() + 2 + 3);
    highlight->lower();
    highlight->show();
}

void RunCourseDialog::setRowsVisible(int count)
{
    for (int k = 1; k <= VISIBLE_ROWS; ++k) {
        const RowControls& c = ROWS[k - 1];
        const bool shown = k <= count;
        for (int id : {c.number, c.ventilation, c.compression, c.scenario, c.manikin, c.start, c.end, c.done, c.play,
                       c.pause, c.details}) {
            QWidget* control = getDlgItem(id);
            showControl(control, shown);
            if (auto* button = qobject_cast<MapBitmapButton*>(control); button && button->label())
                button->label()->setVisible(shown);
        }
    }
}

void RunCourseDialog::showRows(int count)
{
    const CourseSchedule& schedule = run_.schedule();
    for (int k = 1; k <= count; ++k) {
        const RowControls& controls = ROWS[k - 1];
        const int index = schedule.indexOfVisibleRow(k);
        const SessionRecord& row = schedule.row(index);
        setWindowTextIfChanged(getDlgItem(controls.number), QString::number(index + 1));
        ComboUtil::selectString(box(controls.ventilation), QString::fromStdString(row.PersonVentilation));
        ComboUtil::selectString(box(controls.compression), QString::fromStdString(row.PersonChestCompression));
        ComboUtil::selectString(box(controls.scenario), QString::fromStdString(row.Scenario));
        schedulecontrols::showManikin(box(controls.manikin), row);
        if (MaskedEdit* start = masked(controls.start))
            start->SetInputText(QString::fromStdString(row.StartTime));
        setWindowTextIfChanged(getDlgItem(controls.end), QString::fromStdString(row.EndTime));
    }
}

void RunCourseDialog::updateRowStates()
{
    if (!isCreated())
        return;
    // Disabling the field with the focus moves the focus on: that is no edit.
    const bool wasRefreshing = refreshing_;
    refreshing_ = true;
    const CourseSchedule& schedule = run_.schedule();
    const int count = schedule.visibleRows();
    for (int k = 1; k <= count; ++k) {
        const RowControls& c = ROWS[k - 1];
        const int index = schedule.indexOfVisibleRow(k);
        const CourseRun::RowState state = run_.rowState(index);
        if (state.personsByMode) {
            // Only the boxes the training mode needs are open, and the names
            // follow the mode (one person does both in single-person CPR). A
            // row takes no default names, or the blank row would never stay blank.
            TrainingMode::fillParticipants(static_cast<int>(schedule.row(index).TrainingMode), box(c.ventilation),
                                           nullptr, box(c.compression), nullptr, true, false);
        } else {
            enableControl(getDlgItem(c.ventilation), false);
            enableControl(getDlgItem(c.compression), false);
        }
        for (int id : {c.scenario, c.manikin, c.start, c.end})
            enableControl(getDlgItem(id), state.fieldsEnabled);
        QWidget* details = getDlgItem(c.details);
        setWindowTextIfChanged(details, translated(state.sessionDetails ? "Session..." : "Details..."));
        enableControl(details, state.detailsEnabled);
        if (auto* play = qobject_cast<QAbstractButton*>(getDlgItem(c.play))) {
            play->setDown(state.startPressed);
            enableControl(play, state.startEnabled);
        }
        if (auto* pause = qobject_cast<QAbstractButton*>(getDlgItem(c.pause))) {
            pause->setDown(state.pausePressed);
            enableControl(pause, state.pauseEnabled);
        }
        checkDlgButton(c.done, state.done);
    }
    refreshing_ = wasRefreshing;
}

void RunCourseDialog::commitRows()
{
    CourseSchedule& schedule = run_.schedule();
    const int count = schedule.visibleRows();
    for (int k = 1; k <= count; ++k) {
        const RowControls& c = ROWS[k - 1];
        const int index = schedule.indexOfVisibleRow(k);
        CourseSchedule::RowFields fields = schedulecontrols::readRow(
            box(c.ventilation), box(c.compression), box(c.manikin), getDlgItem(c.start), getDlgItem(c.end));
        // The disabled box may not show the mode's rule yet when the row is
        // read straight after typing; a session's own names stay as they are.
        if (!run_.session(index))
            TrainingMode::keepParticipants(static_cast<int>(schedule.row(index).TrainingMode), fields.ventilation,
                                           fields.compression);
        // A scenario the list no longer holds stays the row's scenario.
        if (QComboBox* scenario = box(c.scenario); scenario && scenario->currentIndex() >= 0)
            fields.scenario = comboText(c.scenario);
        fields.done = isDlgButtonChecked(c.done);
        schedule.commitRow(index, fields);
    }
}

void RunCourseDialog::applyRowStartTime(int visibleRow)
{
    CourseSchedule& schedule = run_.schedule();
    const int index = schedule.indexOfVisibleRow(visibleRow);
    // A row's session keeps the row's times itself.
    if (index < 0 || run_.session(index))
        return;
    const RowControls& c = ROWS[visibleRow - 1];
    schedulecontrols::applyStartTime(schedule, index, getDlgItem(c.start), getDlgItem(c.end));
}

void RunCourseDialog::onRowLeft()
{
    if (refreshing_)
        return;
    commitRows();
    refreshRows();
}

void RunCourseDialog::onScenarioChosen(int visibleRow)
{
    if (refreshing_)
        return;
    CourseSchedule& schedule = run_.schedule();
    const int index = schedule.indexOfVisibleRow(visibleRow);
    if (index < 0)
        return;
    schedule.takeScenario(index, comboText(ROWS[visibleRow - 1].scenario));
    refreshRows();
    // The new length gives the row its end at once.
    applyRowStartTime(visibleRow);
    onRowLeft();
}

int RunCourseDialog::visibleRowOf(const QWidget* control) const
{
    const int id = controlId(control);
    for (int k = 1; k <= VISIBLE_ROWS; ++k) {
        const RowControls& c = ROWS[k - 1];
        for (int rowId : {c.number, c.ventilation, c.compression, c.scenario, c.manikin, c.start, c.end})
            if (rowId == id)
                return k;
    }
    return 0;
}

bool RunCourseDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        const int k = visibleRowOf(qobject_cast<QWidget*>(watched));
        if (k > 0) {
            run_.schedule().selectVisibleRow(k);
            highlightRow(run_.schedule().selectedRow());
        }
    }
    return ChildDialog::eventFilter(watched, event);
}

void RunCourseDialog::commitFocusedRow()
{
    const int k = visibleRowOf(focusWidget());
    if (k > 0 && controlId(focusWidget()) == ROWS[k - 1].start)
        applyRowStartTime(k);
    commitRows();
}

void RunCourseDialog::onScroll(int action)
{
    if (!scrollBar_ || scrolling_)
        return;
    scrolling_ = true;
    commitFocusedRow();
    // The rows decide where the window stands; the bar follows them.
    const bool moved = schedulecontrols::scroll(run_.schedule(), *scrollBar_, action);
    if (moved)
        refreshRows();
    scrolling_ = false;
}

// ---------------------------------------------------------------------------
// Row commands

void RunCourseDialog::startRow(int visibleRow)
{
    const int index = run_.schedule().indexOfVisibleRow(visibleRow);
    commitFocusedRow();
    if (run_.start(index) == CourseRun::StartResult::Refused)
        platform::messageBeep();
    refreshRows();
}

void RunCourseDialog::pauseRow(int visibleRow)
{
    if (!run_.pause(run_.schedule().indexOfVisibleRow(visibleRow)))
        platform::messageBeep();
    updateRowStates();
}

void RunCourseDialog::showRowDetails(int visibleRow)
{
    CourseSchedule& schedule = run_.schedule();
    const int index = schedule.indexOfVisibleRow(visibleRow);
    if (index < 0)
        return;
    if (Session* running = run_.session(index)) {
        if (SessionManager* manager = SessionManager::instance())
            manager->showSession(running);
    } else {
        const SessionRecord row = schedule.row(index);
        SessionDialog details(row, false, this);
        details.run();
        refillChoices();
        if (!(details.currentRecord() == row))
            schedule.replaceRow(index, details.currentRecord());
        refreshRows();
    }
    applyRowStartTime(visibleRow);
    commitRows();
    refreshRows();
}

void RunCourseDialog::moveRowUp()
{
    commitFocusedRow();
    if (!run_.moveUp())
        platform::messageBeep();
    refreshRows();
}

void RunCourseDialog::moveRowDown()
{
    commitFocusedRow();
    if (!run_.moveDown())
        platform::messageBeep();
    refreshRows();
}

void RunCourseDialog::removeRow()
{
    commitFocusedRow();
    if (run_.removeSelected() == CourseRun::RemoveResult::Refused)
        platform::messageBeep();
    refreshRows();
}

// The blank row prints too: the next trainees can be written in by hand.
void RunCourseDialog::printSchedule()
{
    commitFocusedRow();
    SchedulePrinter::printSchedule(run_.course(), run_.schedule().rows(), this);
}

void RunCourseDialog::showWindow() { showFrame(); }

void RunCourseDialog::help() { CprTrainingApp::showHelpTopic(HELP_TOPIC); }

// ---------------------------------------------------------------------------
// Enter and closing

void RunCourseDialog::onOK()
{
    QWidget* focused = focusWidget();
    if (focused && controlId(focused) == ROWS[VISIBLE_ROWS - 1].end) {
        if (QWidget* first = getDlgItem(ROWS[0].ventilation))
            first->setFocus(Qt::TabFocusReason);
        return;
    }
    focusNextChild();
}

void RunCourseDialog::keyPressEvent(QKeyEvent* event)
{
    // A push button takes Enter as its click; every other field moves on.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier
        && !qobject_cast<QPushButton*>(focusWidget())) {
        onOK();
        event->accept();
        return;
    }
    ChildDialog::keyPressEvent(event);
}

bool RunCourseDialog::writeRows() { return run_.writeRows(sessionTable_, personTable_); }

// Every road out (Close, the frame's close box, the end of the program)
// asks here: the sessions first, then the rows are written, and rows the
// database refused keep the window open, to be written again.
bool RunCourseDialog::canClose()
{
    commitFocusedRow();
    if (!run_.mayClose() || (run_.schedule().modified() && !writeRows())) {
        refreshRows();
        return false;
    }
    return true;
}

void RunCourseDialog::onCancel()
{
    // The field being edited counts before anything goes.
    commitFocusedRow();
    if (QWidget* close = getDlgItem(CLOSE))
        close->setFocus(Qt::OtherFocusReason);
    if (!canClose())
        return;
    ChildDialog::onCancel();
    goOnToNewSession();
}

void RunCourseDialog::onFrameClosed() { goOnToNewSession(); }

void RunCourseDialog::goOnToNewSession()
{
    // The end of the program asks this window too, and closes it with the
    // main window: nothing is to come up then.
    CprTrainingApp* app = CprTrainingApp::instance();
    if (app && !app->isEnding())
        app->onNewSession();
}
