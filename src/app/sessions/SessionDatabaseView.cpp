#include "app/sessions/SessionDatabaseView.h"

#include "Database/record-controls/ApprovalCombo.h"
#include "Database/record-controls/ComboBoxList.h"
#include "Database/DBUtil.h"
#include "Database/Database.h"
#include "Database/DatabaseError.h"
#include "Database/DatabaseTransaction.h"
#include "Database/Duration.h"
#include "Database/PersonTable.h"
#include "Database/TablePool.h"
#include "Database/TrainingMode.h"
#include "Database/record-controls/TrainingModeCombo.h"
#include "Database/editors/AlgorithmDialog.h"
#include "Database/editors/PersonDialog.h"
#include "Database/editors/ScenarioDialog.h"
#include "Database/stored-sessions/DataFileChange.h"
#include "Database/stored-sessions/DataFolderOwner.h"
#include "Rodezir/ComboUtil.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/WindowTextUtil.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/WindowGeometry.h"
#include "Rodezir/gstringUtil.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionRowStore.h"
#include "app/stored-sessions/ReviewDialogTables.h"
#include "controls/RoundButton.h"
#include "gettext/Gettext.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QComboBox>

#include <algorithm>
#include <filesystem>
#include <system_error>

using namespace kova;

namespace {

constexpr int NAME_LIMIT = 80;
constexpr int NOTES_LIMIT = 250;
constexpr int PRINT_FROM_REVIEW = 1;

SessionDatabaseView::Printer& printer()
{
    static SessionDatabaseView::Printer installed;
    return installed;
}

int registeredTemplate()
{
    registerReviewDialogTables();
    return SessionDatabaseView::TEMPLATE_ID;
}

} // namespace

void SessionDatabaseView::registerTemplate() { registerReviewDialogTables(); }

void SessionDatabaseView::setPrinter(Printer installed) { printer() = std::move(installed); }

bool SessionDatabaseView::hasPrinter() { return static_cast<bool>(printer()); }

SessionDatabaseView::SessionDatabaseView(Session& session)
    : SessionPanel(session, registeredTemplate()), table_(theDatabase)
{
    KOVA_ASSERT(!session.getUsingFile());
}

// The controls go after the record rules: a box that loses the focus as they
// go must not reach them any more.
SessionDatabaseView::~SessionDatabaseView()
{
    for (QWidget* control : findChildren<QWidget*>())
        control->blockSignals(true);
}

QComboBox* SessionDatabaseView::box(int id) const { return qobject_cast<QComboBox*>(getDlgItem(id)); }

std::string SessionDatabaseView::comboText(int id) const { return ComboUtil::shownText(box(id)).toStdString(); }

bool SessionDatabaseView::onInitDialog()
{
    const bool result = SessionPanel::onInitDialog();
    for (int id : {IDC_PRINT, IDC_DEBRIEFING, ID_HELP, IDC_ABORT, IDC_VENTILATION_DETAILS, IDC_COMPRESSION_DETAILS,
                   IDC_SCENARIO_DETAILS, IDC_ALGORITHM_DETAILS, IDC_INSTRUCTOR_DETAILS, IDC_APPROVED_BY_DETAILS})
        RoundButton::attach(this, id);
    for (int id : {IDC_VENTILATION, IDC_COMPRESSION, IDC_APPROVED_BY})
        limitText(getDlgItem(id), NAME_LIMIT);
    limitText(getDlgItem(IDC_NOTES), NOTES_LIMIT);

    QComboBox* approved = box(IDC_APPROVED);
    KOVA_ASSERT(approved && !approved->isEditable());
    Approval::fillCombo(approved);
    if (getSession().getEnded())
        setDlgItemText(IDC_ABORT, QString::fromStdWString(Gettext::translate("Close")));
    enableControl(getDlgItem(IDC_PRINT), hasPrinter());

    ControlNotifier& events = notifier();
    events.on(IDC_DEBRIEFING, Notification::Clicked, [this] {
        handRecordToSession();
        getSession().setState(Session::DEBRIEF);
    });
    events.on(IDC_PRINT, Notification::Clicked, [this] {
        handRecordToSession();
        if (hasPrinter())
            printer()(getSession(), PRINT_FROM_REVIEW);
    });
    events.on(IDC_VENTILATION_DETAILS, Notification::Clicked,
              [this] { showPersonDetails(IDC_VENTILATION, comboText(IDC_VENTILATION), false, true); });
    events.on(IDC_COMPRESSION_DETAILS, Notification::Clicked,
              [this] { showPersonDetails(IDC_COMPRESSION, comboText(IDC_COMPRESSION), false, true); });
    events.on(IDC_INSTRUCTOR_DETAILS, Notification::Clicked, [this] {
        showPersonDetails(IDC_COURSE_INSTRUCTOR, windowText(getDlgItem(IDC_COURSE_INSTRUCTOR)).toStdString(), true,
                          false);
    });
    events.on(IDC_APPROVED_BY_DETAILS, Notification::Clicked,
              [this] { showPersonDetails(IDC_APPROVED_BY, comboText(IDC_APPROVED_BY), true, true); });
    events.on(IDC_SCENARIO_DETAILS, Notification::Clicked, [this] { showScenarioDetails(); });
    events.on(IDC_ALGORITHM_DETAILS, Notification::Clicked, [this] { showAlgorithmDetails(); });

    table_.open("");
    saved_ = false;
    // The session's record stays the comparison base even when its row is
    // stored already: it carries what the session measured since. A row of
    // another session under its identifier is never shown as its own.
    SessionRecord record = getSession().getRecord();
    if (SessionRowStore::takenByAnother(getSession(), record)) {
        record.newSerialIdentifier();
        getSession().setRecord(record);
    }
    start(table_, record);
    if (tableOpen() && !isNewEntry()) {
        setCurrentRecord(record);
        showCurrent();
    }
    return result;
}

void SessionDatabaseView::help()
{
    if (!platform::showHelpTopic(HELP_TOPIC))
        LogStream::instance() << "Online help is not available (topic " << HELP_TOPIC << ").\n";
}

void SessionDatabaseView::fillQuickFind()
{
    PersonTable persons(theDatabase);
    persons.open("");
    if (QComboBox* ventilation = box(IDC_VENTILATION)) {
        ComboBoxList list(*ventilation);
        persons.fillComboBox(list, "name", "");
        ComboUtil::copyItems(ventilation, box(IDC_COMPRESSION));
    }
    if (QComboBox* approvedBy = box(IDC_APPROVED_BY)) {
        ComboBoxList list(*approvedBy);
        persons.fillComboBox(list, "name", PersonTable::instructorsOnly());
    }
}

void SessionDatabaseView::showRecord(const SessionRecord& record)
{
    const auto text = [](const std::string& narrow) { return QString::fromStdString(narrow); };
    setDlgItemText(IDC_TRAINING_MODE,
                   QString::fromStdWString(TrainingMode::getText(static_cast<int>(record.TrainingMode))));
    ComboUtil::selectString(box(IDC_VENTILATION), text(record.PersonVentilation));
    ComboUtil::selectString(box(IDC_COMPRESSION), text(record.PersonChestCompression));
    TrainingMode::fillParticipants(static_cast<int>(record.TrainingMode), box(IDC_VENTILATION),
                                   getDlgItem(IDC_VENTILATION_DETAILS), box(IDC_COMPRESSION),
                                   getDlgItem(IDC_COMPRESSION_DETAILS), true, false);
    setDlgItemText(IDC_SCENARIO, text(record.Scenario));
    setDlgItemText(IDC_ALGORITHM, text(record.Algorithm));
    setDlgItemText(IDC_DURATION, QString::fromStdWString(Duration::format(record.Duration)));
    setDlgItemText(IDC_MANIKIN, QString::number(record.Manikin));
    setDlgItemText(IDC_DATE, text(record.CourseDate));
    setDlgItemText(IDC_START_TIME, text(record.StartTime));
    setDlgItemText(IDC_COURSE_INSTRUCTOR, text(record.CourseInstructor));
    if (QComboBox* approved = box(IDC_APPROVED))
        approved->setCurrentIndex(record.Approved < approved->count() ? record.Approved : 0);
    ComboUtil::selectString(box(IDC_APPROVED_BY), text(record.ApprovedBy));
    setDlgItemText(IDC_NOTES, text(record.Note));
    checkDlgButton(IDC_METRONOME, record.Metronome);
    if (QWidget* ventilation = getDlgItem(IDC_VENTILATION))
        ventilation->setFocus(Qt::OtherFocusReason);
}

SessionRecord SessionDatabaseView::readRecord()
{
    SessionRecord record = currentRecord();
    record.PersonVentilation = comboText(IDC_VENTILATION);
    record.PersonChestCompression = comboText(IDC_COMPRESSION);
    if (const QComboBox* approved = box(IDC_APPROVED))
        record.Approved = static_cast<unsigned char>(std::max(approved->currentIndex(), 0));
    record.ApprovedBy = comboText(IDC_APPROVED_BY);
    record.Note = windowText(getDlgItem(IDC_NOTES)).toStdString();
    record.Metronome = isDlgButtonChecked(IDC_METRONOME);
    return record;
}

bool SessionDatabaseView::isChanged()
{
    const SessionRecord& current = currentRecord();
    const QComboBox* approved = box(IDC_APPROVED);
    return comboText(IDC_VENTILATION) != current.PersonVentilation
        || comboText(IDC_COMPRESSION) != current.PersonChestCompression
        || comboText(IDC_APPROVED_BY) != current.ApprovedBy
        || (approved && std::max(approved->currentIndex(), 0) != current.Approved)
        || windowText(getDlgItem(IDC_NOTES)).toStdString() != current.Note
        || isDlgButtonChecked(IDC_METRONOME) != current.Metronome;
}

// The session is stored without a single question: every text the template
// could ask for is a fault here.
std::wstring SessionDatabaseView::message(int)
{
    KOVA_ASSERT(false);
    return {};
}

void SessionDatabaseView::notifyChanged() { TablePool::refresh(TableKind::Session); }

bool SessionDatabaseView::afterStore()
{
    getSession().setRecord(currentRecord());
    if (!dataFile_)
        return getSession().save();
    // The new data file waits beside the old one for the row's commit.
    std::string reason;
    const bool written = getSession().save(*dataFile_)
                         && dataFile_->bindToRows(theDatabase, currentRecord().Serialidentifier, reason);
    if (!reason.empty())
        DBUtil::showError(reason);
    return written;
}

void SessionDatabaseView::beforeRemove()
{
    if (std::wstring refusal; !DataFolderOwner::permitsWriting(refusal))
        throw DatabaseError(toNarrow(refusal));
    std::error_code ignored;
    std::filesystem::remove(currentRecord().dataFileName(), ignored);
}

void SessionDatabaseView::showWaitCursor(bool on)
{
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void SessionDatabaseView::handRecordToSession() { getSession().setRecord(readRecord()); }

bool SessionDatabaseView::save()
{
    // A data folder of other records takes nothing: the session stays as it
    // is, to be stored once the station has a folder of its own.
    if (!DataFolderOwner::permitsWritingOrTell())
        return false;
    // A review that never got its window stores what the session holds.
    if (!isCreated())
        return SessionRowStore::store(getSession(), getSession().getRecord());
    if (!databaseOpen || !tableOpen()) {
        platform::messageBox(formatWide(Gettext::translate("The session could not be stored in the database:\n%hs")
                                            .c_str(),
                                        "The database is not connected.\n"),
                             Gettext::translate("Problem saving session"), platform::MB_OK);
        return false;
    }
    saved_ = true;
    const SessionRecord before = currentRecord();
    const bool wasNew = isNewEntry();
    SessionRecord withResults = before;
    withResults.Done = saved_;
    SessionRowStore::takeResults(withResults, getSession().getCommSession());
    // Another station may have stored a session under the identifier since
    // the panel opened: the new row takes a new one.
    if (wasNew && SessionRowStore::takenByAnother(getSession(), withResults))
        withResults.newSerialIdentifier();
    setCurrentRecord(withResults);

    bool committed = false;
    {
        // The data file changes with the row: its new contents wait beside
        // it until the row is committed, so a kill at any moment leaves the
        // old row with the old file or the new row with the new one.
        DataFileChange file(withResults.dataFileName());
        dataFile_ = &file;
        DatabaseTransaction whole(theDatabase);
        // The row's save counts only with its data file written (afterStore).
        if (Rules::save()) {
            try {
                whole.commit();
                file.commit();
                committed = true;
            } catch (const DatabaseError& error) {
                DBUtil::showError(error.what());
            }
        }
        dataFile_ = nullptr;
    }
    if (committed)
        return true;

    // Everything of the failed store is undone; the fields keep what was typed.
    saved_ = false;
    notifyChanged();
    setCurrentRecord(before);
    if (wasNew)
        showNewEntry(readRecord());
    return false;
}

void SessionDatabaseView::setMetronomeUsed(bool used)
{
    if (isCreated())
        checkDlgButton(IDC_METRONOME, used);
}

void SessionDatabaseView::showPersonDetails(int comboId, const std::string& name, bool instructor, bool selectResult)
{
    PersonDialog editor(name, instructor, false, this);
    editor.run();
    fillQuickFind();
    const std::string key = editor.getCurrentKey();
    if (selectResult && !key.empty())
        ComboUtil::selectString(box(comboId), QString::fromStdString(key));
}

void SessionDatabaseView::showScenarioDetails()
{
    ScenarioRecord scenario;
    scenario.name = currentRecord().Scenario;
    ScenarioDialog editor(scenario, false, this);
    editor.run();
    fillQuickFind();
}

void SessionDatabaseView::showAlgorithmDetails()
{
    AlgorithmDialog editor(currentRecord().Algorithm, false, this);
    editor.run();
    fillQuickFind();
}
