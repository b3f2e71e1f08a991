#include "app/courses/CourseRun.h"

#include "Database/AlgorithmTable.h"
#include "Database/Duration.h"
#include "Database/PersonTable.h"
#include "Database/RecordTime.h"
#include "Database/SessionTable.h"
#include "Database/course-planner/FinishedSessionQuestion.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/Signal.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionManager.h"
#include "comm/ports/CalibrateManager.h"
#include "comm/link/PortNumbers.h"
#include "comm/link/SerialPort.h"
#include "gettext/Gettext.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <utility>

namespace {

void tell(const char* text, const char* caption)
{
    platform::messageBox(Gettext::translate(text), Gettext::translate(caption), platform::MB_OK);
}

} // namespace

CourseRun::CourseRun(const CourseRecord& course, CourseSchedule::Sources& sources, AlgorithmTable& algorithms,
                     View& view)
    : course_(course),
      schedule_(sources, VISIBLE_ROWS, CourseSchedule::Swap::WholeRows),
      algorithms_(algorithms),
      view_(view)
{
}

CourseRun::~CourseRun()
{
    for (Listening& entry : listening_)
        disconnect(entry);
    listening_.clear();
}

Session* CourseRun::session(int index) const
{
    if (index < 0 || index >= static_cast<int>(sessionsRunning.size()))
        return nullptr;
    return sessionsRunning[static_cast<std::size_t>(index)];
}

void CourseRun::load(std::vector<SessionRecord> rows)
{
    KOVA_ASSERT(sessionsRunning.empty() || sessionsRunning.size() == rows.size());
    schedule_.load(std::move(rows));
    keepSessionsInStep();
}

void CourseRun::refresh()
{
    schedule_.refresh(course_);
    keepSessionsInStep();
}

// Rows only ever join at the end (the blank row); the commands that move
// and remove rows move the sessions with them.
void CourseRun::keepSessionsInStep() { sessionsRunning.resize(static_cast<std::size_t>(schedule_.rowCount()), nullptr); }

CourseRun::RowState CourseRun::rowState(int index) const
{
    RowState state;
    if (index < 0 || index >= schedule_.rowCount())
        return state;
    if (schedule_.isBlankRow(index)) {
        state.fieldsEnabled = true;
        return state;
    }
    if (const Session* running = session(index)) {
        state.personsByMode = false;
        state.detailsEnabled = true;
        state.sessionDetails = true;
        const bool ended = running->getEnded();
        if (running->isRunning()) {
            state.startPressed = true;
            state.pauseEnabled = true;
        } else {
            state.startEnabled = !ended;
            state.pausePressed = !ended;
        }
        state.done = ended;
        return state;
    }
    state.detailsEnabled = true;
    if (schedule_.row(index).Done) {
        state.done = true;
        return state;
    }
    state.fieldsEnabled = true;
    state.startEnabled = true;
    return state;
}

bool CourseRun::moveUp()
{
    const int selected = schedule_.selectedIndex();
    if (!schedule_.moveUp())
        return false;
    std::swap(sessionsRunning[static_cast<std::size_t>(selected - 1)], sessionsRunning[static_cast<std::size_t>(selected)]);
    return true;
}

bool CourseRun::moveDown()
{
    const int selected = schedule_.selectedIndex();
    if (!schedule_.moveDown())
        return false;
    std::swap(sessionsRunning[static_cast<std::size_t>(selected)], sessionsRunning[static_cast<std::size_t>(selected + 1)]);
    return true;
}

CourseRun::RemoveResult CourseRun::removeSelected()
{
    if (!schedule_.canRemoveSelected())
        return RemoveResult::Refused;
    const int i = schedule_.selectedIndex();
    if (Session* running = session(i)) {
        if (!running->close())
            return RemoveResult::KeptBySession;
        // Its closing notice clears the row's place.
        running->destroyViews();
    }
    KOVA_ASSERT(sessionsRunning[i] == 0);
    // A session that did not say goodbye is no longer followed either way.
    sessionsRunning[static_cast<std::size_t>(i)] = nullptr;
    // The write-back deletes a finished row's stored result and data file.
    if (schedule_.row(i).Done && !finishedsessions::confirmRemoveRow(schedule_.row(i), i + 1))
        return RemoveResult::KeptByUser;
    schedule_.removeSelected();
    sessionsRunning.erase(sessionsRunning.begin() + i);
    return RemoveResult::Removed;
}

CourseRun::StartResult CourseRun::start(int index)
{
    if (index < 0 || index >= schedule_.rowCount() || schedule_.isBlankRow(index))
        return StartResult::Refused;
    Session* running = session(index);
    if (!running)
        return schedule_.row(index).Done ? StartResult::Refused : startNew(index);
    // A session under review, or one that has ended, collects no more.
    if (running->getState() == Session::REVIEW || running->getEnded())
        return StartResult::Refused;
    running->start();
    running->setState(Session::COLLECT);
    return StartResult::Resumed;
}

CourseRun::StartResult CourseRun::startNew(int index)
{
    const long port = schedule_.row(index).Manikin;
    if (port < 1 || port > COM_PORTS) {
        tell("The manikin number is not valid. Please select another.", "Start problem");
        return StartResult::InvalidManikin;
    }
    CalibrateManager& ports = CalibrateManager::get();
    const int number = static_cast<int>(port);
    if (!ports.getIsAvailable(number)) {
        tell("The selected manikin is not available. Please select another.", "Start problem");
        view_.refillChoices();
        return StartResult::ManikinTaken;
    }
    SerialPort* link = ports.getSerPort(number);
    bool opened = false;
    if (link) {
        opened = link->open(number) == SerialPort::OPEN_SUCCESS;
        // Only a wireless slot has an address to connect to.
        if (!opened && isWirelessPortNumber(link->getPortNumber()))
            opened = link->openWireless(link->getPortNumber()) == SerialPort::OPEN_SUCCESS;
    }
    if (!opened || !ports.getIsCalibrated(number) || !SessionManager::instance()) {
        KOVA_ASSERT(SessionManager::instance() != 0);
        // Closed on every path, so another row can start on the manikin.
        if (link)
            link->close();
        tell("There was a problem opening the port. Please make sure that the manikin is properly connected and "
             "recalibrate.",
             "COM port problem");
        view_.refillChoices();
        return StartResult::LinkProblem;
    }

    SessionRecord row = schedule_.row(index);
    row.StartTime = RecordTime::timeText(RecordTime::now());
    row.EndTime = Duration::endTime(row.StartTime, row.Duration);
    row.linkType = link->getLinkType();
    schedule_.replaceRow(index, row);
    // The row shows its times before the session window covers it.
    view_.refreshRows();

    const AlgorithmRecord algorithm = algorithms_.getByName(row.Algorithm);
    // The record's RegisterEvents is the session's event registration.
    auto* created = new Session(schedule_.row(index), algorithm);
    sessionsRunning[static_cast<std::size_t>(index)] = created;
    SessionManager* manager = SessionManager::instance();
    manager->addSession(created);
    manager->showSessionWindow();
    listenTo(*created);
    created->start();
    view_.showWindow();
    return StartResult::Started;
}

bool CourseRun::pause(int index)
{
    Session* running = session(index);
    if (!running)
        return false;
    running->pause();
    return true;
}

void CourseRun::listenTo(Session& session)
{
    Listening entry{&session, nullptr, nullptr, nullptr, nullptr};
    entry.stateChanged = connect(session.stateChanged, *this, &CourseRun::onSessionState);
    entry.saved = connect(session.modifiedChanged, *this, &CourseRun::onSessionState);
    entry.recordChanged = connect(session.recordChanged, *this, &CourseRun::onRecordChanged);
    entry.closing = connect(session.viewsClosing, *this, &CourseRun::onClosing);
    listening_.push_back(entry);
}

void CourseRun::disconnect(Listening& entry)
{
    for (SignalConnection** connection : {&entry.stateChanged, &entry.saved, &entry.recordChanged, &entry.closing}) {
        SignalConnection::disconnect(*connection);
        *connection = nullptr;
    }
}

void CourseRun::onSessionState() { view_.updateRowStates(); }

void CourseRun::onRecordChanged(Session* changed)
{
    const auto found = std::find(sessionsRunning.begin(), sessionsRunning.end(), changed);
    if (found == sessionsRunning.end() || !changed)
        return;
    // Everything the session knows of its run: times, participants, results.
    schedule_.replaceRow(static_cast<int>(found - sessionsRunning.begin()), changed->getRecord());
    view_.refreshRows();
}

void CourseRun::onClosing(Session* closing)
{
    const auto found = std::find(sessionsRunning.begin(), sessionsRunning.end(), closing);
    if (found == sessionsRunning.end() || !closing) {
        constexpr bool FOLLOWED = false;
        KOVA_ASSERT(FOLLOWED);
        view_.updateRowStates();
        return;
    }
    *found = nullptr;
    const auto entry = std::find_if(listening_.begin(), listening_.end(),
                                    [closing](const Listening& e) { return e.session == closing; });
    if (entry != listening_.end()) {
        disconnect(*entry);
        listening_.erase(entry);
    }
    view_.updateRowStates();
}

bool CourseRun::mayClose()
{
    for (Session* running : sessionsRunning)
        if (running && !running->close())
            return false;
    // Each closing notice clears its row's place; the copy keeps the walk steady.
    const std::vector<Session*> closing = sessionsRunning;
    for (Session* running : closing)
        if (running)
            running->destroyViews();
    for (auto i = sessionsRunning.begin(); i != sessionsRunning.end(); ++i) {
        KOVA_ASSERT((*i) == 0);
        *i = nullptr;
    }
    return true;
}

bool CourseRun::writeRows(SessionTable& sessions, PersonTable& persons)
{
    std::vector<SessionRecord> stored = schedule_.storedRows();
    if (!sessions.writeCourseSessions(course_, stored, schedule_.rowsAsRead(), schedule_.removedRows(),
                                      SessionTable::CourseScope::HeldRows)) {
        schedule_.setModified(true);
        return false;
    }
    // The rows take the course order they were stored with, and a row
    // another station finished takes its stored result.
    schedule_.markStored(stored);
    for (const SessionRecord& row : stored)
        for (const std::string* name : {&row.PersonVentilation, &row.PersonChestCompression})
            persons.addPerson(*name, false);
    return true;
}
