#pragma once
// Every open session of the station: it owns them, steps them all on each
// 20 ms tick of the main frame, starts and pauses them together, asks them
// whether the program may close, counts them for the commands, and holds the
// display switches their graphs share. One instance, made at start-up.
//
// The windows that show several sessions (the session window with a tab per
// session, the surveillance window with a tile per session) belong to the
// windowed manager, which derives from this one and overrides the window
// operations below; this one has no windows.

#include "Rodezir/Signal.h"
#include "Rodezir/SlotHolder.h"
#include "app/graphs/GraphToggles.h"

#include <memory>
#include <vector>

class Session;

class SessionManager : public virtual SlotHolder {
public:
    // Closing loops give up after this many rounds (a session that will not leave).
    static constexpr int CLOSING_LIMIT = 100000;

    // The station's manager while one exists.
    static SessionManager* instance();

    // The cardiac-output switch starts as the station's setting says; the
    // others start on. The new manager becomes the instance.
    explicit SessionManager(bool showCardiacOutput);
    // Destroys every session still listed (their windows first), unasked.
    ~SessionManager() override;
    SessionManager(const SessionManager&) = delete;
    SessionManager& operator=(const SessionManager&) = delete;

    // Steps every session in list order. The ticks that come while a step
    // holds a message box open step the other sessions, never the one whose
    // step is still under way; a session that leaves the list meanwhile is
    // not stepped.
    void tick();
    // Takes the session over and appends it; sessionsChanged.
    void addSession(Session* session);
    // Unlinks the session from the list and the windows (when listed);
    // sessionsChanged. After the last one, onLastSessionGone.
    void removeSession(Session* session);
    // Asks each session in list order whether it may close; false at the first that refuses.
    bool mayClose();
    int getSessionCount() const { return static_cast<int>(sessionList_.size()); }
    int getRunningCount() const;
    // Starts every session that has not ended, is not running and shows its live graphs.
    void startAll();
    // Pauses every running session that has not ended.
    void pauseAll();
    const std::vector<Session*>& sessions() const { return sessionList_; }
    bool contains(const Session* session) const;

    // The display switches of every session's graphs.
    GraphToggles& toggles() { return toggles_; }

    // Window operations of the windowed manager; here there is no window to show.
    // Brings the session's tab (and the session window) to the front.
    virtual void showSession(Session* session) {}
    // Opens the session window with a tab for every session, or brings it back.
    virtual void showSessionWindow() {}
    // Opens the surveillance window with a tile for every session.
    virtual void showSurveillance() {}
    // Brings the n-th session's tab (from 1) to the front.
    virtual void selectTab(int n) {}
    // The session of the tab in front, or null.
    virtual Session* getCurrentSession() const { return nullptr; }

    // After a session was added or removed.
    Signal<> sessionsChanged;

protected:
    // The windowed manager gives an added session its tab and tile, and takes
    // them away when it leaves.
    virtual void onSessionAdded(Session& session) {}
    virtual void onSessionRemoved(Session& session) {}
    // The list has just lost its last session, whichever way it went (its
    // panel's Close or Abort, the session window's close, a course's row):
    // the windowed manager closes its windows and the station goes on.
    virtual void onLastSessionGone() {}
    // Destroys the views of every listed session, which removes and retires
    // each in turn (the closing loop), then deletes them.
    void destroyAllSessions();

private:
    // A session that reported its views destroyed is deleted once no
    // operation of the manager (or of the session itself) is under way.
    void retire(Session* session);
    void deleteRetired();
    bool isStepping(const Session* session) const;

    class Busy;

    std::vector<Session*> sessionList_;
    std::vector<std::unique_ptr<Session>> owned_;
    std::vector<std::unique_ptr<Session>> retired_;
    GraphToggles toggles_;
    int busy_ = 0;
    // The sessions whose step is under way, outermost first.
    std::vector<Session*> stepping_;
};
