#include "app/sessions/SessionManager.h"

#include "Rodezir/LogStream.h"
#include "app/sessions/Session.h"

#include <algorithm>

namespace {

SessionManager* theManager = nullptr;

} // namespace

// Marks an operation of the manager as under way; the last one to end
// deletes the sessions retired meanwhile.
class SessionManager::Busy {
public:
    explicit Busy(SessionManager& manager) : manager_(manager) { ++manager_.busy_; }
    ~Busy()
    {
        if (--manager_.busy_ == 0)
            manager_.deleteRetired();
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    SessionManager& manager_;
};

SessionManager* SessionManager::instance() { return theManager; }

SessionManager::SessionManager(bool showCardiacOutput) : toggles_(showCardiacOutput) { theManager = this; }

SessionManager::~SessionManager()
{
    destroyAllSessions();
    owned_.clear();
    if (theManager == this)
        theManager = nullptr;
}

bool SessionManager::contains(const Session* session) const
{
    return std::find(sessionList_.begin(), sessionList_.end(), session) != sessionList_.end();
}

void SessionManager::tick()
{
    // A step may hold a message box open, and the timer ticks on under it:
    // those ticks step every other session, so one box holds up no class,
    // but never the session whose step is still inside its box.
    Busy busy(*this);
    const std::vector<Session*> sessions = sessionList_;
    for (Session* session : sessions) {
        if (!contains(session) || isStepping(session))
            continue;
        stepping_.push_back(session);
        session->onTimer();
        std::erase(stepping_, session);
    }
}

bool SessionManager::isStepping(const Session* session) const
{
    return std::find(stepping_.begin(), stepping_.end(), session) != stepping_.end();
}

void SessionManager::addSession(Session* session)
{
    if (!session || contains(session))
        return;
    Busy busy(*this);
    connect(session->viewsDestroyed, *this, &SessionManager::retire);
    connect(session->viewsClosing, *this, &SessionManager::removeSession);
    owned_.emplace_back(session);
    sessionList_.push_back(session);
    onSessionAdded(*session);
    sessionsChanged.notify();
}

void SessionManager::removeSession(Session* session)
{
    const auto listed = std::find(sessionList_.begin(), sessionList_.end(), session);
    if (listed == sessionList_.end())
        return;
    sessionList_.erase(listed);
    onSessionRemoved(*session);
    sessionsChanged.notify();
    if (sessionList_.empty())
        onLastSessionGone();
}

void SessionManager::retire(Session* session)
{
    removeSession(session);
    const auto owner = std::find_if(owned_.begin(), owned_.end(), [&](const auto& s) { return s.get() == session; });
    if (owner == owned_.end())
        return;
    retired_.push_back(std::move(*owner));
    owned_.erase(owner);
}

void SessionManager::deleteRetired()
{
    // Deleting a session may end further sessions' lives: take the list first.
    while (!retired_.empty()) {
        std::vector<std::unique_ptr<Session>> going = std::move(retired_);
        retired_.clear();
        going.clear();
    }
}

bool SessionManager::mayClose()
{
    Busy busy(*this);
    const std::vector<Session*> sessions = sessionList_;
    for (Session* session : sessions)
        if (contains(session) && !session->close())
            return false;
    return true;
}

int SessionManager::getRunningCount() const
{
    return static_cast<int>(std::count_if(sessionList_.begin(), sessionList_.end(),
                                          [](const Session* s) { return s->isRunning(); }));
}

void SessionManager::startAll()
{
    Busy busy(*this);
    const std::vector<Session*> sessions = sessionList_;
    for (Session* session : sessions)
        if (contains(session) && !session->getEnded() && !session->isRunning()
            && session->getState() == Session::COLLECT)
            session->start();
}

void SessionManager::pauseAll()
{
    Busy busy(*this);
    const std::vector<Session*> sessions = sessionList_;
    for (Session* session : sessions)
        if (contains(session) && !session->getEnded() && session->isRunning())
            session->pause();
}

void SessionManager::destroyAllSessions()
{
    Busy busy(*this);
    int debugCount = 0;
    while (!sessionList_.empty() && debugCount < CLOSING_LIMIT) {
        sessionList_.front()->destroyViews();
        ++debugCount;
    }
    KOVA_ASSERT(debugCount<100000);
    // A session that did not leave through its views is unlinked all the same.
    while (!sessionList_.empty())
        removeSession(sessionList_.front());
}
