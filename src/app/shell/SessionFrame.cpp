#include "app/shell/SessionFrame.h"

#include <QFocusEvent>

SessionFrame::SessionFrame(kova::MdiClientWnd* client, ViewFactory createView, CloseQuery mayClose)
    : ChildFrame(client), createView_(std::move(createView)), mayClose_(std::move(mayClose))
{
    setMinimumSize(MINIMUM_WIDTH, MINIMUM_HEIGHT);
}

bool SessionFrame::canClose() { return !mayClose_ || mayClose_(); }

bool SessionFrame::createClient()
{
    QWidget* view = createView_ ? createView_(*this) : nullptr;
    if (!view)
        return false;
    setHostedWindow(view);
    return ChildFrame::createClient();
}

void SessionFrame::focusInEvent(QFocusEvent* event)
{
    ChildFrame::focusInEvent(event);
    if (QWidget* view = getHostedWindow())
        view->setFocus(event->reason());
}
