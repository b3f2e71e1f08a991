#include "app/sessions/SessionView.h"

#include "app/sessions/SessionPanel.h"

#include <QResizeEvent>

SessionView::SessionView(Session& session) : session_(session)
{
    // The panel covers the view: there is no background of its own to paint.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

bool SessionView::create(QWidget* parent)
{
    if (!created_) {
        setParent(parent);
        created_ = true;
    }
    show();
    placeCurrent();
    return true;
}

void SessionView::showPanel(SessionPanel* panel)
{
    if (current_ && current_ != panel)
        current_->hide();
    current_ = panel;
    placeCurrent();
}

void SessionView::placeCurrent()
{
    if (!created_ || !current_)
        return;
    if (!current_->isCreated() && !current_->create(this))
        return;
    if (current_->parentWidget() != this)
        current_->setParent(this);
    current_->setGeometry(rect());
    current_->setAttribute(Qt::WA_ShowWithoutActivating);
    current_->show();
    current_->raise();
}

void SessionView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Only the panel shown takes the size now; a hidden one gets it when it is shown again.
    if (current_)
        current_->setGeometry(0, 0, event->size().width(), event->size().height());
}
