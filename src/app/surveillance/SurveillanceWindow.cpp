#include "app/surveillance/SurveillanceWindow.h"

#include "app/sessions/SessionManager.h"
#include "app/shell/DialogFrame.h"
#include "app/surveillance/SurveillanceTile.h"
#include "app/surveillance/sessionManagerMultiView.h"
#include "gettext/Gettext.h"

#include <algorithm>

SurveillanceWindow::SurveillanceWindow(SessionManager& manager, kova::MdiClientWnd* client)
    : manager_(manager), client_(client)
{
    connect(manager_.sessionsChanged, *this, &SurveillanceWindow::followSessions);
}

SurveillanceWindow::~SurveillanceWindow() { delete frame_.data(); }

DialogFrame* SurveillanceWindow::frame() const { return static_cast<DialogFrame*>(frame_.data()); }

sessionManagerMultiView* SurveillanceWindow::view() const { return view_; }

void SurveillanceWindow::show()
{
    if (!frame_) {
        auto view = std::make_unique<sessionManagerMultiView>();
        view_ = view.get();
        // Every session there is now; their windows come with the view's.
        for (Session* session : manager_.sessions())
            view_->addSession(session);
        frame_ = new DialogFrame(client_, std::move(view));
        connect(frame_->frameDestroyed, *this, &SurveillanceWindow::onFrameDestroyed);
    }
    if (!frame_->isCreated())
        frame_->createFrame(QString::fromStdWString(Gettext::translate("Surveillance")));
    else
        frame_->showFrame();
}

void SurveillanceWindow::close()
{
    // Forgotten at once: the frame goes once control is back in the event
    // loop, and a window asked for meanwhile is a new one.
    const QPointer<ChildFrame> frame = frame_;
    frame_.clear();
    view_.clear();
    if (frame && frame->isCreated())
        frame->destroyFrame();
    else
        delete frame.data();
}

void SurveillanceWindow::followSessions()
{
    if (!view_)
        return;
    const std::vector<Session*>& listed = manager_.sessions();
    std::vector<Session*> shown;
    for (const auto& tile : view_->tiles())
        shown.push_back(&tile->getSession());
    for (Session* session : shown)
        if (std::find(listed.begin(), listed.end(), session) == listed.end())
            view_->removeSession(session);
    for (Session* session : listed)
        if (std::find(shown.begin(), shown.end(), session) == shown.end())
            view_->addSession(session);
}

void SurveillanceWindow::onFrameDestroyed(ChildFrame* frame)
{
    if (frame != frame_.data())
        return;
    // The frame takes the view with it.
    frame_.clear();
    view_.clear();
}
