#include "app/livepanel/WindowedSessionManager.h"

#include "Rodezir/LogStream.h"
#include "app/livepanel/SessionManagerTabView.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionPanel.h"
#include "app/sessions/SessionView.h"
#include "app/shell/SessionFrame.h"
#include "app/surveillance/SurveillanceWindow.h"
#include "gettext/Gettext.h"
#include "platform/Beep.h"

namespace {

// A session's view for its tab: made on its first showing.
SessionView* viewOf(Session& session)
{
    if (SessionView* view = session.getSessionView())
        return view;
    return session.getState() == Session::INIT ? session.createSessionView() : nullptr;
}

} // namespace

WindowedSessionManager::WindowedSessionManager(bool showCardiacOutput) : SessionManager(showCardiacOutput) {}

WindowedSessionManager::~WindowedSessionManager()
{
    ending_ = true;
    // The tiles reach into the sessions: they go first.
    surveillance_.reset();
    const QPointer<SessionManagerTabView> tabView = tabView_;
    tabView_ = nullptr;
    // Each session leaves the list as its views close: its connections to
    // this manager must still hold while they do.
    destroyAllSessions();
    // The frame's end must not come back here while this object goes.
    slotConnections().disconnectAll();
    // The tab view goes with its frame, or alone when it never got one.
    delete sessionFrame_.data();
    delete tabView.data();
}

SessionManagerTabView* WindowedSessionManager::makeTabView()
{
    auto* tabView = new SessionManagerTabView();
    for (Session* session : sessions())
        if (SessionView* view = viewOf(*session))
            tabView->addView(view);
    return tabView;
}

void WindowedSessionManager::showSessionWindow()
{
    if (getSessionCount() == 0 || !client_) {
        platform::messageBeep();
        return;
    }
    if (!sessionFrame_) {
        sessionFrame_ = new SessionFrame(
            client_,
            [this](SessionFrame& frame) -> QWidget* {
                if (!tabView_)
                    tabView_ = makeTabView();
                return tabView_->create(&frame) ? tabView_.data() : nullptr;
            },
            [this] { return mayClose(); });
        ::connect(sessionFrame_->frameDestroyed, *this, &WindowedSessionManager::frameDestroyed);
    }
    if (!tabView_)
        tabView_ = makeTabView();
    if (!sessionFrame_->isCreated())
        sessionFrame_->createFrame(QString::fromStdWString(Gettext::translate("Kova Man")));
    else
        sessionFrame_->showFrame();
}

void WindowedSessionManager::showSurveillance()
{
    if (!client_) {
        platform::messageBeep();
        return;
    }
    if (!surveillance_)
        surveillance_ = std::make_unique<SurveillanceWindow>(*this, client_);
    surveillance_->show();
}

void WindowedSessionManager::showSession(Session* session)
{
    if (!session || !sessionFrame_ || !tabView_)
        return;
    if (SessionView* view = session->getSessionView())
        tabView_->activateView(view, true);
    showSessionWindow();
}

void WindowedSessionManager::selectTab(int n)
{
    const bool windowThere = sessionFrame_ && sessionFrame_->isCreated() && tabView_;
    if (getSessionCount() == 0 || !windowThere || n < 1 || n > getSessionCount()) {
        platform::messageBeep();
        return;
    }
    Session* session = sessions()[static_cast<std::size_t>(n - 1)];
    SessionView* view = session->getSessionView();
    if (!view) {
        platform::messageBeep();
        return;
    }
    tabView_->activateView(view, true);
    sessionFrame_->showFrame();
}

Session* WindowedSessionManager::getCurrentSession() const
{
    if (!tabView_)
        return nullptr;
    SessionView* view = tabView_->getActiveView();
    return view ? &view->getSession() : nullptr;
}

void WindowedSessionManager::onSessionAdded(Session& session)
{
    if (!tabView_)
        return;
    if (SessionView* view = viewOf(session))
        tabView_->addView(view);
}

void WindowedSessionManager::onSessionRemoved(Session& session)
{
    if (!tabView_)
        return;
    if (SessionView* view = session.getSessionView())
        tabView_->removeView(view);
}

void WindowedSessionManager::onLastSessionGone()
{
    if (ending_)
        return;
    // Whichever road the last session took (its own panel, the session
    // window's close box, a course's row), the station does the same: no
    // window is left showing nothing, and the instructor goes on.
    closeSessionWindow();
    if (surveillance_)
        surveillance_->close();
    if (afterLastSession_)
        afterLastSession_();
}

void WindowedSessionManager::closeSessionWindow()
{
    // A session added from here on waits for a new window, and the frame's
    // end is no longer this window's.
    const QPointer<ChildFrame> frame = sessionFrame_;
    const QPointer<SessionManagerTabView> tabView = tabView_;
    sessionFrame_ = nullptr;
    tabView_ = nullptr;
    if (frame && frame->isCreated()) {
        // The tabs go with the frame.
        frame->destroyFrame();
        return;
    }
    delete frame.data();
    delete tabView.data();
}

void WindowedSessionManager::frameDestroyed(ChildFrame* frame)
{
    if (!frame || frame != sessionFrame_.data())
        return;
    sessionFrame_ = nullptr;
    const QPointer<SessionManagerTabView> tabView = tabView_;
    tabView_ = nullptr;
    // Closing the session window ends every session: each one's views leave
    // the window, then the tabs go.
    destroyAllSessions();
    delete tabView.data();
}
