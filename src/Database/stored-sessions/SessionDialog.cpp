#include "Database/stored-sessions/SessionDialog.h"

#include "Database/record-controls/ApprovalCombo.h"
#include "Database/record-controls/ComboBoxList.h"
#include "Database/Database.h"
#include "Database/Duration.h"
#include "Database/record-controls/DurationCombo.h"
#include "Database/TablePool.h"
#include "Database/TrainingMode.h"
#include "Database/record-controls/TrainingModeCombo.h"
#include "Database/editors/AlgorithmDialog.h"
#include "Database/editors/PersonDialog.h"
#include "Database/editors/ScenarioDialog.h"
#include "Database/stored-sessions/DataFolderOwner.h"
#include "Database/stored-sessions/SessionDialogTables.h"
#include "Rodezir/DateText.h"
#include "Rodezir/WindowTextUtil.h"
#include "Rodezir/dialogs/DialogTranslation.h"
#include "comm/ports/CalibrateManager.h"
#include "comm/link/PortNumbers.h"
#include "config/AlgorithmRecord.h"
#include "gettext/Gettext.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTimer>

#include <system_error>

using namespace kova;

namespace {

constexpr int NAME_LIMIT = 80;
constexpr int MANIKIN_LIMIT = 16;
constexpr int NOTES_LIMIT = 250;

SessionDialog::Inspector& inspector()
{
    static SessionDialog::Inspector installed;
    return installed;
}

int registeredTemplate()
{
    registerSessionDialogTables();
    return SessionDialog::TEMPLATE_ID;
}

bool isEnter(const QKeyEvent& key)
{
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

void SessionDialog::setInspector(Inspector installed) { inspector() = std::move(installed); }

bool SessionDialog::hasInspector() { return static_cast<bool>(inspector()); }

SessionDialog::SessionDialog(const SessionRecord& record, bool allowDelete, QWidget* parent)
    : RecordEditorDialog(registeredTemplate(), HELP_TOPIC, allowDelete, NOTES, parent),
      sessionTable_(theDatabase),
      personTable_(theDatabase),
      scenarioTable_(theDatabase),
      algorithmTable_(theDatabase),
      given_(record)
{
}

// The controls go after this part of the dialog: a box that loses the focus
// as they go must not reach the record rules any more.
SessionDialog::~SessionDialog()
{
    for (QWidget* control : findChildren<QWidget*>())
        control->blockSignals(true);
}

std::string SessionDialog::manikinText(long port)
{
    if (port < 1 || port > COM_PORTS)
        return {};
    return CalibrateManager::get().manikinText(static_cast<int>(port));
}

QComboBox* SessionDialog::box(int id) const { return qobject_cast<QComboBox*>(getDlgItem(id)); }

std::string SessionDialog::comboText(int id) const { return ComboUtil::shownText(box(id)).toStdString(); }

std::string SessionDialog::text(int id) const { return windowText(getDlgItem(id)).toStdString(); }

// A list that has no entry of the text shows none, never another one.
void SessionDialog::select(int id, const std::string& wanted)
{
    QComboBox* combo = box(id);
    if (!combo)
        return;
    const QString text = QString::fromStdString(wanted);
    ComboUtil::selectString(combo, text);
    if (!combo->isEditable() && combo->currentText().compare(text, Qt::CaseInsensitive) != 0)
        combo->setCurrentIndex(-1);
}

bool SessionDialog::onInitDialog()
{
    translateDialog(this);
    for (int id : {recordcontrols::SAVE, recordcontrols::DISCARD, GRAPH, DEBRIEFING, recordcontrols::REMOVE,
                   recordcontrols::HELP, recordcontrols::CLOSE, VENTILATION_DETAILS, COMPRESSION_DETAILS,
                   SCENARIO_DETAILS, ALGORITHM_DETAILS, INSTRUCTOR_DETAILS, APPROVED_BY_DETAILS})
        RoundButton::attach(this, id);

    for (int id : {VENTILATION, COMPRESSION, APPROVED_BY})
        limitText(getDlgItem(id), NAME_LIMIT);
    limitText(getDlgItem(MANIKIN), MANIKIN_LIMIT);
    limitText(getDlgItem(NOTES), NOTES_LIMIT);
    if (QWidget* notes = getDlgItem(NOTES))
        notes->installEventFilter(this);

    TrainingMode::fillCombo(box(TRAINING_MODE));
    Duration::fillCombo(box(DURATION));
    Approval::fillCombo(box(APPROVED));

    ControlNotifier& events = notifier();
    events.on(recordcontrols::SAVE, Notification::Clicked, [this] { save(); });
    events.on(recordcontrols::DISCARD, Notification::Clicked, [this] { onDiscard(); });
    events.on(recordcontrols::REMOVE, Notification::Clicked, [this] { onDelete(); });
    events.on(GRAPH, Notification::Clicked, [this] { openSession(false); });
    events.on(DEBRIEFING, Notification::Clicked, [this] { openSession(true); });
    events.on(recordcontrols::HELP, Notification::Clicked, [] {
        if (!platform::showHelpTopic(HELP_TOPIC))
            LogStream::instance() << "Online help is not available (topic " << HELP_TOPIC << ").\n";
    });
    events.on(VENTILATION_DETAILS, Notification::Clicked,
              [this] { showPersonDetails(VENTILATION, comboText(VENTILATION), false, true); });
    events.on(COMPRESSION_DETAILS, Notification::Clicked,
              [this] { showPersonDetails(COMPRESSION, comboText(COMPRESSION), false, true); });
    events.on(INSTRUCTOR_DETAILS, Notification::Clicked,
              [this] { showPersonDetails(COURSE_INSTRUCTOR, currentRecord().CourseInstructor, true, false); });
    events.on(APPROVED_BY_DETAILS, Notification::Clicked,
              [this] { showPersonDetails(APPROVED_BY, comboText(APPROVED_BY), false, true); });
    events.on(SCENARIO_DETAILS, Notification::Clicked, [this] { showScenarioDetails(); });
    events.on(ALGORITHM_DETAILS, Notification::Clicked, [this] { showAlgorithmDetails(); });
    events.on(SCENARIO, Notification::SelectionChanged, [this] { applyScenario(); });
    events.on(TRAINING_MODE, Notification::SelectionChanged, [this] { onTrainingMode(); });
    events.on(ALGORITHM, Notification::SelectionChanged, [this] {
        scenarioCheck();
        updateButtons();
    });
    for (auto notification : {Notification::EditChanged, Notification::SelectionChanged}) {
        events.on(VENTILATION, notification, [this] { onParticipantChanged(VENTILATION, COMPRESSION); });
        events.on(COMPRESSION, notification, [this] { onParticipantChanged(COMPRESSION, VENTILATION); });
        // The length is read once the box has taken the new text.
        events.on(DURATION, notification, [this] { queueScenarioCheck(); });
    }
    refreshButtonsOn({MANIKIN, APPROVED_BY}, Notification::EditChanged);
    refreshButtonsOn({MANIKIN, APPROVED_BY, APPROVED}, Notification::SelectionChanged);
    refreshButtonsOn({METRONOME}, Notification::Clicked);
    refreshButtonsOn({NOTES}, Notification::EditChanged);

    personTable_.open("");
    scenarioTable_.open("");
    algorithmTable_.open("");
    // The record as given stays the comparison base, not the stored row: a
    // course row hands in what its own row shows.
    start(sessionTable_, given_);
    if (tableOpen() && !isNewEntry()) {
        setCurrentRecord(given_);
        showCurrent();
    }
    enableByDone();
    return false;
}

// A session that has been run keeps its manikin and length and may be
// approved; a planned one the other way round.
void SessionDialog::enableByDone()
{
    const bool done = currentRecord().Done;
    enableControl(getDlgItem(MANIKIN), !done);
    enableControl(getDlgItem(DURATION), !done);
    enableControl(getDlgItem(GRAPH), done && hasInspector());
    enableControl(getDlgItem(DEBRIEFING), done && hasInspector());
    for (int id : {APPROVED, APPROVED_BY, APPROVED_BY_DETAILS})
        enableControl(getDlgItem(id), done);
}

void SessionDialog::fillManikinList()
{
    QComboBox* combo = box(MANIKIN);
    if (!combo)
        return;
    const QString remembered = combo->currentText();
    combo->clear();
    for (const PortChoice& choice : CalibrateManager::get().portChoices())
        combo->addItem(QString::fromStdString(choice.text), choice.port);
    if (combo->count() > 0)
        combo->setCurrentIndex(0);
    ComboUtil::selectString(combo, remembered);
}

void SessionDialog::fillQuickFind()
{
    fillManikinList();
    if (QComboBox* ventilation = box(VENTILATION)) {
        ComboBoxList list(*ventilation);
        personTable_.fillComboBox(list, "name", "");
        ComboUtil::copyItems(ventilation, box(COMPRESSION));
    }
    if (QComboBox* approvedBy = box(APPROVED_BY)) {
        ComboBoxList list(*approvedBy);
        personTable_.fillComboBox(list, "name", PersonTable::instructorsOnly());
    }
    if (QComboBox* scenario = box(SCENARIO)) {
        ComboBoxList list(*scenario);
        scenarioTable_.fillComboBox(list, "name", "");
    }
    if (QComboBox* algorithm = box(ALGORITHM)) {
        ComboBoxList list(*algorithm);
        algorithmTable_.fillComboBox(list, "name", "");
    }
}

void SessionDialog::showRecord(const SessionRecord& record)
{
    if (QComboBox* mode = box(TRAINING_MODE))
        mode->setCurrentIndex(record.TrainingMode >= 0 && record.TrainingMode < mode->count()
                                  ? static_cast<int>(record.TrainingMode)
                                  : -1);
    select(VENTILATION, record.PersonVentilation);
    select(COMPRESSION, record.PersonChestCompression);
    TrainingMode::fillParticipants(static_cast<int>(record.TrainingMode), box(VENTILATION),
                                   getDlgItem(VENTILATION_DETAILS), box(COMPRESSION), getDlgItem(COMPRESSION_DETAILS),
                                   false, false);
    select(SCENARIO, record.Scenario);
    select(ALGORITHM, record.Algorithm);
    Duration::select(box(DURATION), record.Duration);
    checkDlgButton(METRONOME, record.Metronome);
    select(MANIKIN, manikinText(record.Manikin));
    const std::string date = isoDateToText(record.CourseDate);
    setDlgItemText(DATE, QString::fromStdString(date.empty() ? record.CourseDate : date));
    setDlgItemText(START_TIME, QString::fromStdString(record.StartTime));
    setDlgItemText(COURSE_INSTRUCTOR, QString::fromStdString(record.CourseInstructor));
    if (QComboBox* approved = box(APPROVED))
        approved->setCurrentIndex(record.Approved < approved->count() ? record.Approved : 0);
    select(APPROVED_BY, record.ApprovedBy);
    setDlgItemText(NOTES, QString::fromStdString(record.Note));
    if (QWidget* ventilation = getDlgItem(VENTILATION))
        ventilation->setFocus(Qt::OtherFocusReason);
}

// The length as the record keeps it while its text is the record's own, so
// a value the list cannot show (0 seconds) survives an unrelated change.
long SessionDialog::selectedDuration() const
{
    const QComboBox* combo = box(DURATION);
    if (combo && combo->currentText().toStdWString() == Duration::format(currentRecord().Duration))
        return currentRecord().Duration;
    return Duration::getSelected(combo);
}

// The same for the manikin: only another text chooses another port.
long SessionDialog::selectedManikin() const
{
    const std::string shown = comboText(MANIKIN);
    if (shown == manikinText(currentRecord().Manikin))
        return currentRecord().Manikin;
    return CalibrateManager::get().findPort(shown);
}

SessionRecord SessionDialog::readRecord()
{
    SessionRecord record = currentRecord();
    if (const QComboBox* mode = box(TRAINING_MODE))
        record.TrainingMode = mode->currentIndex() >= 0 ? mode->currentIndex() : record.TrainingMode;
    record.PersonVentilation = comboText(VENTILATION);
    record.PersonChestCompression = comboText(COMPRESSION);
    record.Scenario = comboText(SCENARIO);
    record.Algorithm = comboText(ALGORITHM);
    record.ApprovedBy = comboText(APPROVED_BY);
    record.Duration = selectedDuration();
    record.Metronome = isDlgButtonChecked(METRONOME);
    record.Manikin = selectedManikin();
    if (const QComboBox* approved = box(APPROVED))
        record.Approved = static_cast<unsigned char>(std::max(approved->currentIndex(), 0));
    record.Note = text(NOTES);
    return record;
}

bool SessionDialog::isChanged()
{
    const SessionRecord& current = currentRecord();
    const QComboBox* mode = box(TRAINING_MODE);
    const QComboBox* approved = box(APPROVED);
    return (mode && mode->currentIndex() != current.TrainingMode)
        || comboText(VENTILATION) != current.PersonVentilation
        || comboText(COMPRESSION) != current.PersonChestCompression || comboText(SCENARIO) != current.Scenario
        || comboText(ALGORITHM) != current.Algorithm || selectedDuration() != current.Duration
        || isDlgButtonChecked(METRONOME) != current.Metronome || comboText(MANIKIN) != manikinText(current.Manikin)
        || (approved && approved->currentIndex() != current.Approved) || comboText(APPROVED_BY) != current.ApprovedBy
        || text(NOTES) != current.Note;
}

void SessionDialog::enableButtons(unsigned mask)
{
    enableControl(getDlgItem(recordcontrols::SAVE), (mask & recordbuttons::SAVE) != 0);
    enableControl(getDlgItem(recordcontrols::DISCARD), (mask & recordbuttons::DISCARD) != 0);
    enableControl(getDlgItem(recordcontrols::REMOVE),
                  (mask & recordbuttons::REMOVE) && allowDelete() && currentRecord().Done);
}

std::wstring SessionDialog::message(int kind)
{
    switch (kind) {
    case recordmessages::SAVE_CHANGES:
        return Gettext::translate("Session information was changed. Save the changes?");
    case recordmessages::REMOVE_CHANGED:
    case recordmessages::REMOVE:
        return Gettext::translate("Are you sure you want to remove this session?\nYou can not undo this operation.");
    default:
        KOVA_ASSERT(false);
        return {};
    }
}

void SessionDialog::notifyChanged() { TablePool::refresh(TableKind::Session); }

// The data file goes aside before the row is deleted, so a row the database
// keeps still has its file when it is put back (see DataFileRemoval).
void SessionDialog::beforeRemove() { dataFile_.moveAside(currentRecord()); }

void SessionDialog::onDelete()
{
    // The data file of a session in a data folder of other records stays.
    if (!DataFolderOwner::permitsWritingOrTell())
        return;
    const bool removed = remove(false);
    dataFile_.settle(removed);
    // The session is gone: nothing is left to save, whatever the fields hold.
    if (removed)
        done(QDialog::Rejected);
}

void SessionDialog::openSession(bool showDebriefing)
{
    opened_.reset();
    if (!hasInspector())
        return;
    SessionRecord record = readRecord();
    // Bound to the data file of the session, not to a manikin port.
    record.Manikin = -1;
    const AlgorithmRecord algorithm = algorithmTable_.getByName(record.Algorithm);
    opened_ = inspector()(record, algorithm, showDebriefing, this);
}

void SessionDialog::applyScenario()
{
    const ScenarioRecord scenario = scenarioTable_.getScenario(comboText(SCENARIO));
    select(ALGORITHM, scenario.algorithm);
    Duration::select(box(DURATION), scenario.duration);
    if (QComboBox* mode = box(TRAINING_MODE))
        mode->setCurrentIndex(scenario.trainingMode >= 0 && scenario.trainingMode < mode->count()
                                  ? static_cast<int>(scenario.trainingMode)
                                  : -1);
    fillParticipantsWithDefaults();
    scenarioCheck();
    if (!isLoading())
        enableButtons(computeMask());
}

void SessionDialog::fillParticipantsWithDefaults()
{
    const QComboBox* mode = box(TRAINING_MODE);
    TrainingMode::fillParticipants(mode ? mode->currentIndex() : TrainingMode::DEFAULT_MODE, box(VENTILATION),
                                   getDlgItem(VENTILATION_DETAILS), box(COMPRESSION), getDlgItem(COMPRESSION_DETAILS),
                                   true, true);
}

void SessionDialog::onTrainingMode()
{
    fillParticipantsWithDefaults();
    scenarioCheck();
    updateButtons();
}

void SessionDialog::scenarioCheck()
{
    QComboBox* scenarioBox = box(SCENARIO);
    if (!scenarioBox || scenarioBox->currentIndex() < 0)
        return;
    const ScenarioRecord scenario = scenarioTable_.getScenario(comboText(SCENARIO));
    const QComboBox* mode = box(TRAINING_MODE);
    const bool agrees = textMatches(comboText(ALGORITHM), scenario.algorithm, TextMatch::IgnoringCase)
        && Duration::getSelected(box(DURATION)) == scenario.duration
        && (!mode || mode->currentIndex() == scenario.trainingMode);
    if (agrees)
        return;
    scenarioBox->setCurrentIndex(-1);
    if (!isLoading())
        enableButtons(computeMask());
}

// Like the posted message of the dialog manager: the box has taken the new
// text by the time the check runs.
void SessionDialog::queueScenarioCheck()
{
    if (isLoading() || checkQueued_)
        return;
    checkQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        checkQueued_ = false;
        scenarioCheck();
        updateButtons();
    });
}

// Single-person CPR has one user in both roles.
void SessionDialog::onParticipantChanged(int changed, int other)
{
    if (isLoading())
        return;
    const QComboBox* mode = box(TRAINING_MODE);
    if (mode && mode->currentIndex() == TrainingMode::SINGLE_PERSON)
        ComboUtil::selectString(box(other), QString::fromStdString(comboText(changed)));
    updateButtons();
}

void SessionDialog::showPersonDetails(int comboId, const std::string& name, bool instructor, bool selectResult)
{
    PersonDialog editor(name, instructor, false, this);
    editor.run();
    fillQuickFind();
    const std::string key = editor.getCurrentKey();
    if (!selectResult || key.empty())
        return;
    select(comboId, key);
    updateButtons();
}

void SessionDialog::showScenarioDetails()
{
    ScenarioRecord scenario;
    scenario.name = comboText(SCENARIO);
    ScenarioDialog editor(scenario, false, this);
    editor.run();
    fillQuickFind();
    const std::string key = editor.getCurrentKey();
    if (key.empty())
        return;
    select(SCENARIO, key);
    applyScenario();
}

void SessionDialog::showAlgorithmDetails()
{
    AlgorithmDialog editor(comboText(ALGORITHM), false, this);
    editor.run();
    fillQuickFind();
    const std::string key = editor.getCurrentKey();
    if (key.empty())
        return;
    select(ALGORITHM, key);
    scenarioCheck();
    updateButtons();
}

// Enter never closes: from Notes it goes back to Ventilation, elsewhere on.
void SessionDialog::onOK()
{
    QWidget* focused = focusWidget();
    if (focused && controlId(focused) == NOTES) {
        if (QWidget* ventilation = getDlgItem(VENTILATION))
            ventilation->setFocus(Qt::TabFocusReason);
        return;
    }
    focusNextChild();
}

bool SessionDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched == getDlgItem(NOTES)
        && isEnter(*static_cast<QKeyEvent*>(event))) {
        onOK();
        return true;
    }
    return RecordEditorDialog::eventFilter(watched, event);
}
