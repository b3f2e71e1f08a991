#include "app/sessions/Session.h"

#include "app/debriefing/RecommendationList.h"

#include "Database/Database.h"
#include "Database/PersonTable.h"
#include "Database/RecordTime.h"
#include "Database/ScenarioEventList.h"
#include "Database/stored-sessions/DataFileChange.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "app/debriefing/RecommendationList.h"
#include "app/graphs/GraphToggles.h"
#include "app/sessions/SessionDataFile.h"
#include "app/sessions/SessionLink.h"
#include "app/sessions/SessionManager.h"
#include "app/sessions/SessionPortLink.h"
#include "app/sessions/UpdateReceiver.h"
#include "comm/ports/CalibrateManager.h"
#include "comm/session/ConfigurationAnalysisSettings.h"
#include "comm/reader/ManikinReader.h"
#include "comm/link/PortNumbers.h"
#include "comm/link/SerialPort.h"
#include "config/Configuration.h"
#include "config/PropertyModel.h"
#include "gettext/Gettext.h"
#include "platform/MessageBox.h"
#include "platform/ReplacingFile.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include <unistd.h>

namespace {

Signal<>* metronomeBeat = nullptr;

bool isStoredRecord(const SessionRecord& record)
{
    // Only the low 32 bits count: the port field is wider than the value
    // the station stores for "no port".
    return static_cast<std::uint32_t>(record.Manikin) == Session::STORED_MANIKIN;
}

std::unique_ptr<SessionLink> stationLink(const SessionRecord& record)
{
    if (isStoredRecord(record))
        return nullptr;
    return std::make_unique<SessionPortLink>(CalibrateManager::get(), static_cast<int>(record.Manikin));
}

std::wstring withPath(const char* format, const std::string& path)
{
    return formatWide(Gettext::translate(format).c_str(), cStr(path));
}

} // namespace

Session::Session(const SessionRecord& record, const AlgorithmRecord& algorithm)
    : Session(record, algorithm, stationLink(record))
{
}

Session::Session(const SessionRecord& record, const AlgorithmRecord& algorithm, std::unique_ptr<SessionLink> link)
    : record_(record)
    , algorithm_(algorithm)
    , usingFile_(isStoredRecord(record))
    , link_(usingFile_ ? nullptr : std::move(link))
    , comm_(&ConfigurationAnalysisSettings::instance())
    , compressionSource_(GraphSource::compression(comm_, algorithm_))
    , ecgSource_(GraphSource::ecg(comm_, algorithm_))
    , ventilationSource_(GraphSource::ventilation(comm_, algorithm_))
    , compressionDoc_(compressionSource_)
    , ecgDoc_(ecgSource_)
    , ventilationDoc_(ventilationSource_)
    , ecgEnabled_(Configuration::instance().getPropertyModel().ecgEnabled)
{
    buildTitle();
    comm_.setAlgorithm(&algorithm_);
    comm_.trainingMode = static_cast<std::int32_t>(record_.TrainingMode);
    if (usingFile_) {
        if (!record_.namesDataFile()) {
            // Whatever a row holds, only an identifier of the station's own
            // form may lead to a file: nothing is read.
            dataFileMissing_ = true;
            record_.tellIdentifierRefused();
        } else if (!loadDataFile()) {
            LogStream::instance() << "The session " << record_.Serialidentifier << " could not be read from "
                                  << dataFilePath() << (dataFileMissing_ ? ": the file cannot be opened.\n" : ".\n");
            if (dataFileMissing_)
                tellDataFileMissing();
            else
                platform::messageBox(Gettext::translate("Unable to read the session from file."),
                                     Gettext::translate("Database file error"), platform::MB_OK);
        }
        ended_ = true;
    } else {
        KOVA_ASSERT(link_!=0);
        if (link_) {
            comm_.attach(link_->reader());
            batteryLevel_ = link_->batteryLevel();
            link_->reader().restartTimers();
        }
    }
    loadEventButtons();
    windows_ = SessionWindows::make(*this);
    if (metronomeBeat)
        connect(*metronomeBeat, *this, &Session::onMetronomeBeat);
}

Session::~Session()
{
    // The panels go before the curves and the store they show.
    windows_.reset();
    link_.reset();
}

void Session::buildTitle()
{
    const int port = static_cast<int>(record_.Manikin);
    if (record_.linkType == SerialPort::LINK_FRAMED_COM) {
        title_ = toNarrow(Gettext::translate("Kova Man USB ")) + std::to_string(port);
        return;
    }
    if (record_.linkType == SerialPort::LINK_WIRELESS && link_) {
        title_ = link_->manikinName();
        if (!title_.empty())
            return;
    }
    title_ = toNarrow(Gettext::translate("Kova Man ")) + std::to_string(port);
}

void Session::loadEventButtons()
{
    ScenarioEventList events(record_.Scenario);
    for (const EventRecord& event : events.load())
        eventButtons_.push_back(ToolbarButton::fromEvent(event));
}

std::wstring Session::getTitleWide() const { return toWide(title_); }

// ---- the step ---------------------------------------------------------------

int Session::onTimer()
{
    if (!link_) {
        publish();
        return batteryLevel_;
    }
    link_->reader().update();
    const std::size_t known = comm_.manData.size();
    comm_.processNewSamples();
    tellDefibrillationMarks(known);
    if (link_->isAlive())
        publish();
    else
        onLostLink();
    batteryLevel_ = link_->batteryLevel();
    return batteryLevel_;
}

void Session::tellDefibrillationMarks(std::size_t from)
{
    // A defibrillation switches the ECG rhythm once, when its sample arrives:
    // the windows that draw the curve (the live panel, a surveillance tile)
    // may draw a sample more than once, or not at all.
    for (std::size_t i = from; i < comm_.manData.size(); ++i)
        if (comm_.manData[i].error66 != 0)
            windows_->checkRhythmSwitch(static_cast<int>(i));
}

std::int64_t Session::sampleMilliseconds(int index, double rate)
{
    if (!(rate > 0.0))
        return 0;
    // A stored session's rate comes from its row, which an imported file may
    // have filled with any figure: the time saturates instead of wrapping.
    constexpr double LONGEST = 9.2e18;
    return static_cast<std::int64_t>(std::clamp(((index + 0.5) / rate) * 1000.0 + 0.5, -LONGEST, LONGEST));
}

bool Session::isPastDuration(long seconds, int index, double rate)
{
    if (seconds < 0)
        return false;
    return sampleMilliseconds(index, rate) > static_cast<std::int64_t>(seconds) * 1000;
}

void Session::publish()
{
    const int last = static_cast<int>(comm_.manData.size()) - 1;
    if (last < 0 || last == lastPublishedIndex_)
        return;
    // The session ends itself, whether or not a window shows its time.
    if (!usingFile_ && !ended_ && isPastDuration(record_.Duration, last, comm_.sampleRate)) {
        onEnd();
        if (state_ == COLLECT && windows_->view())
            setState(DEBRIEF);
    }
    // A receiver may leave the list while it is told (its window goes).
    const std::vector<UpdateReceiver*> receivers = receivers_;
    for (UpdateReceiver* receiver : receivers)
        if (std::find(receivers_.begin(), receivers_.end(), receiver) != receivers_.end())
            receiver->update(last);
    windows_->newData(last);
    lastPublishedIndex_ = last;
}

void Session::onLostLink()
{
    // An ended session has collected all it ever will (its debriefing
    // shows): a manikin unplugged now is no question, and no reason to open
    // its port again.
    if (ended_ || linkMessageShown_ || linkErrorDismissed_)
        return;
    if (isRunning())
        bringEndTimeUp();
    link_->reader().stop();
    windows_->refreshButtons();
    stateChanged.notify();

    linkMessageShown_ = true;
    const int answer = platform::messageBox(
        Gettext::translate("Error communicating with the Kova Man.\nPress 'Cancel' to pause session or 'Retry' to retry"),
        getTitleWide(), platform::MB_RETRYCANCEL | platform::MB_ICONERROR);
    linkMessageShown_ = false;
    if (answer != platform::IDRETRY) {
        linkErrorDismissed_ = true;
        return;
    }
    // The device is given back even when it refused the farewell, or it
    // could never be opened again while the session lives.
    link_->release();
    if (link_->reopen() != SerialPort::OPEN_SUCCESS)
        return;
    start();
    if (isWirelessPortNumber(link_->portNumber())) {
        if (link_->pulseOn())
            link_->setPulse(true);
        windows_->resendEcgRhythms();
    }
}

// ---- running ----------------------------------------------------------------

void Session::start()
{
    // An ended session has had its time: running on would run past its
    // duration and take its debriefing away.
    if (!link_ || ended_)
        return;
    modified_ = true;
    linkErrorDismissed_ = false;
    link_->reader().start();
    windows_->refreshButtons();
    stateChanged.notify();
    link_->requestBatteryLevel();
}

void Session::pause()
{
    if (link_) {
        if (link_->reader().isRunning())
            bringEndTimeUp();
        link_->reader().stop();
    }
    windows_->refreshButtons();
    stateChanged.notify();
}

void Session::bringEndTimeUp()
{
    const std::string now = RecordTime::timeText(RecordTime::now());
    if (now == record_.EndTime)
        return;
    record_.EndTime = now;
    recordChanged.notify(this);
}

void Session::onEnd()
{
    ended_ = true;
    if (!link_)
        return;
    if (Configuration::instance().getPropertyModel().playEndSound)
        windows_->playEndSound();
    pause();
    link_->sendCommand24(false);
    if (link_->sendsEcg())
        link_->setPulse(false);
}

bool Session::isRunning() const { return link_ && link_->reader().isRunning(); }

std::int64_t Session::getElapsedSeconds() const
{
    const double currentFreq = comm_.sampleRate;
    KOVA_ASSERT(currentFreq!=0.0);
    const std::int64_t ms = sampleMilliseconds(static_cast<int>(comm_.manData.size()), currentFreq);
    return (ms + 500) / 1000;
}

std::wstring Session::getPersonVentilation() const { return toWide(record_.PersonVentilation); }

std::wstring Session::getPersonChestCompression() const { return toWide(record_.PersonChestCompression); }

void Session::setRecord(const SessionRecord& record)
{
    record_ = record;
    recordChanged.notify(this);
}

void Session::onMetronomeBeat()
{
    record_.Metronome = true;
    if (state_ == REVIEW && windows_->panel(SessionWindows::Panel::Review, false))
        windows_->setMetronomeUsed(true);
}

void Session::setMetronomeSignal(Signal<>* beat) { metronomeBeat = beat; }

// ---- windows and states -----------------------------------------------------

SessionView* Session::createSessionView()
{
    KOVA_ASSERT(state_==INIT);
    if (state_ != INIT)
        return windows_->view();
    SessionView* view = windows_->createView();
    if (view)
        setState(COLLECT);
    return view;
}

SessionView* Session::getSessionView() const { return windows_->view(); }

void Session::setState(int state)
{
    const SessionView* sessionView = windows_->view();
    KOVA_ASSERT(sessionView!=0);
    if (!sessionView)
        return;
    const int newState = state;
    KOVA_ASSERT(!(state_==COLLECT && newState==REVIEW));
    switch (newState) {
    case COLLECT:
        windows_->showPanel(SessionWindows::Panel::Graph);
        break;
    case DEBRIEF:
        windows_->hideEcgPanel();
        windows_->showPanel(SessionWindows::Panel::Debrief);
        break;
    case REVIEW:
        windows_->showPanel(SessionWindows::Panel::Review);
        break;
    default: {
        // An unknown state shows nothing and leaves the state as it was.
        constexpr bool KNOWN_STATE = false;
        KOVA_ASSERT(KNOWN_STATE);
        return;
    }
    }
    if (newState != REVIEW)
        windows_->destroyPanel(SessionWindows::Panel::Review);
    state_ = newState;
}

SessionPanel* Session::getSessionGraphView() { return windows_->panel(SessionWindows::Panel::Graph, true); }

SessionPanel* Session::getSessionDebriefView() { return windows_->panel(SessionWindows::Panel::Debrief, true); }

SessionPanel* Session::getReviewView() { return windows_->panel(SessionWindows::Panel::Review, true); }

ToolBar* Session::getToolBar() const { return windows_->toolBar(); }

void Session::destroyViews()
{
    viewsClosing.notify(this);
    windows_->destroyAll();
    // The session manager may retire this session now: nothing is touched after it.
    viewsDestroyed.notify(this);
}

void Session::addUpdateReceiver(UpdateReceiver& receiver)
{
    UpdateReceiver* updateReciver = &receiver;
    KOVA_ASSERT(updateReciver!=0);
    receivers_.push_back(updateReciver);
}

void Session::removeUpdateReceiver(UpdateReceiver& receiver)
{
    std::erase(receivers_, &receiver);
}

GraphToggles& Session::graphToggles()
{
    if (SessionManager* manager = SessionManager::instance())
        return manager->toggles();
    // Without a manager (a stored session in a dialog of its own) the
    // switches are the station's defaults.
    static GraphToggles defaults(Configuration::instance().getPropertyModel().showCardiacOutput);
    return defaults;
}

void Session::showSessionWindow()
{
    if (SessionManager* manager = SessionManager::instance())
        manager->showSession(this);
}

// ---- closing ----------------------------------------------------------------

bool Session::close()
{
    if (usingFile_)
        return true;
    switch (windows_->askSave(getTitleWide(), state_ != COLLECT)) {
    case SessionWindows::SaveAnswer::Review:
        pause();
        if (state_ == COLLECT)
            setState(DEBRIEF);
        setState(REVIEW);
        showSessionWindow();
        return false;
    case SessionWindows::SaveAnswer::Yes:
        pause();
        if (state_ != REVIEW) {
            setState(DEBRIEF);
            setState(REVIEW);
        }
        // A session whose storing failed stays open: closing it now would lose it.
        if (!windows_->storeReview())
            return false;
        addKnownPerson(record_.PersonVentilation);
        addKnownPerson(record_.PersonChestCompression);
        return true;
    case SessionWindows::SaveAnswer::No:
        pause();
        return true;
    case SessionWindows::SaveAnswer::Cancel:
        break;
    }
    return false;
}

void Session::addKnownPerson(const std::string& name)
{
    if (name.empty())
        return;
    for (const char* placeholder : {"User", "User 1", "User 2"})
        if (name == toNarrow(Gettext::translate(placeholder)))
            return;
    PersonTable persons(theDatabase);
    persons.open("");
    persons.addPerson(name, false);
}

// ---- the data file ----------------------------------------------------------

std::string Session::getRecommendationBoxText() const
{
    return SessionDataFile::limitRecommendations(windows_->recommendationBoxText(), RECOMMENDATIONS_LIMIT);
}

std::wstring Session::getRecommendationText() const
{
    return RecommendationList(recommendations_, windows_->recommendationBoxText()).join();
}

bool Session::save()
{
    const std::optional<std::string> path = record_.dataFileName();
    if (!path) {
        record_.tellIdentifierRefused();
        return false;
    }
    platform::ReplacingFile target(*path);
    return tellSaved(target.open() && writeDataFile(target.fd()) && target.finish() && target.commit());
}

bool Session::save(DataFileChange& change)
{
    return tellSaved(change.open() && writeDataFile(change.fd()) && change.finishWriting());
}

bool Session::writeDataFile(int fd) const
{
    const int copy = ::dup(fd);
    std::FILE* file = copy >= 0 ? ::fdopen(copy, "wb") : nullptr;
    if (!file) {
        if (copy >= 0)
            ::close(copy);
        return false;
    }
    const bool written =
        SessionDataFile::write(file, compressionDoc_, ventilationDoc_, comm_, getRecommendationBoxText());
    return std::fclose(file) == 0 && written;
}

bool Session::tellSaved(bool saved)
{
    if (!saved) {
        LogStream::instance() << "The data file " << dataFilePath() << " could not be written.\n";
        platform::messageBox(
            withPath("Could not save the session data.\nPlease make sure that there is free space on your harddisk to "
                     "write this file:\n%hs\nAlso make sure that the directory exists, and that you have sufficient "
                     "write access rights.\n",
                     dataFilePath()),
            Gettext::translate("Problem saving session"), platform::MB_OK);
        return false;
    }
    storedSerial_ = record_.Serialidentifier;
    modified_ = false;
    modifiedChanged.notify();
    return true;
}

bool Session::loadDataFile()
{
    const std::optional<std::string> path = record_.dataFileName();
    if (!path) {
        dataFileMissing_ = true;
        return false;
    }
    std::ifstream in(*path, std::ios::binary);
    if (!in) {
        dataFileMissing_ = true;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        tellDataFileDamaged();
        return false;
    }
    const std::string contents = std::move(text).str();
    const auto result = SessionDataFile::read(contents, record_.InterfaceFrequency, compressionDoc_, ventilationDoc_,
                                              comm_, recommendations_);
    if (result != SessionDataFile::ReadResult::Read) {
        tellDataFileDamaged();
        return false;
    }
    return true;
}

void Session::tellDataFileDamaged() const
{
    platform::messageBox(withPath("There was a problem opening the datafile:\n%hs\nThe graph and debriefing for this "
                                  "session is not available.",
                                  dataFilePath()),
                         Gettext::translate("Unexpected problem occurred while opening data files"), platform::MB_OK);
}

void Session::tellDataFileMissing() const
{
    std::string folder;
    if (!readDataFolder(folder))
        folder = "-";
    platform::messageBox(formatWide(Gettext::translate("The data file of this session is missing or cannot be read:\n"
                                                       "%hs\nThe data folder of this station is\n%hs\nStations "
                                                       "that share their training records must share their data "
                                                       "folder as well.")
                                        .c_str(),
                                    cStr(dataFilePath()), cStr(folder)),
                         Gettext::translate("Database file error"), platform::MB_OK);
}
