#pragma once
// The session manager of the windowed program: besides the sessions it owns
// the session window, a frame in the main window holding a tab per session,
// and the surveillance window with a tile per session.
// It brings a session's tab to the front, selects tabs by number, tells
// which session is in front, and when the session window closes it ends
// every session (the frame asked each one before closing). However the last
// session went, both windows close with it and the station goes on (to the
// Run-course window or to New session).

#include "app/livepanel/SessionManagerTabView.h"
#include "app/sessions/SessionManager.h"
#include "app/shell/SessionFrame.h"

#include <QPointer>

#include <functional>
#include <memory>

class ChildFrame;
class Session;
class SurveillanceWindow;

namespace kova {
class MdiClientWnd;
}

class WindowedSessionManager : public SessionManager {
public:
    explicit WindowedSessionManager(bool showCardiacOutput);
    // The session window goes with the sessions.
    ~WindowedSessionManager() override;

    // The main window's client area, where the session window opens; set
    // once the main window exists.
    void setMdiClient(kova::MdiClientWnd* client) { client_ = client; }
    // What the station does once its last session has gone and the windows
    // closed: the application shows the Run-course window when there is
    // one, else opens New session. Never while the manager itself goes.
    void setAfterLastSession(std::function<void()> action) { afterLastSession_ = std::move(action); }

    // Opens the session window with a tab for every session, or brings it
    // back; without any session only beeps.
    void showSessionWindow() override;
    // Brings the session's tab and the session window to the front, when
    // the window exists.
    void showSession(Session* session) override;
    // The n-th session's tab (from 1) and the window to the front; beeps
    // when there is no such session or no session window.
    void selectTab(int n) override;
    // The session of the tab in front, or null.
    Session* getCurrentSession() const override;
    // Opens the surveillance window with a tile for every session, or brings
    // it back; without the main window only beeps.
    void showSurveillance() override;

    SessionFrame* sessionFrame() const { return static_cast<SessionFrame*>(sessionFrame_.data()); }
    SessionManagerTabView* tabView() const { return tabView_; }
    // Null until the surveillance window is first asked for.
    SurveillanceWindow* surveillance() const { return surveillance_.get(); }

protected:
    void onSessionAdded(Session& session) override;
    void onSessionRemoved(Session& session) override;
    void onLastSessionGone() override;

private:
    SessionManagerTabView* makeTabView();
    void frameDestroyed(ChildFrame* frame);
    // Closes the session window (when it is open) and forgets it and its
    // tabs at once; the frame goes once control is back in the event loop.
    void closeSessionWindow();

    kova::MdiClientWnd* client_ = nullptr;
    std::function<void()> afterLastSession_;
    // The manager is going (the program ends): its sessions go unasked, and
    // the station does not go on after the last one.
    bool ending_ = false;
    // Held as its base: the frame tells of its end from the base's destructor,
    // when only that part of it is left to compare with.
    QPointer<ChildFrame> sessionFrame_;
    QPointer<SessionManagerTabView> tabView_;
    std::unique_ptr<SurveillanceWindow> surveillance_;
};
