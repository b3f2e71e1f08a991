#include "app/shell/ChildFrame.h"

#include "Rodezir/LogStream.h"
#include "controls/MdiClientWnd.h"
#include "platform/Resources.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QLayout>
#include <QPixmap>

namespace {

constexpr int FRAME_ICON = 128;

// Fixed-size frames open at the client's corner once per run, centred after.
bool fixedFramePlaced = false;

std::function<void()>& windowMenuRefresher()
{
    static std::function<void()> refresh;
    return refresh;
}

QIcon frameIcon()
{
    QPixmap picture;
    if (const auto bytes = platform::loadResource(platform::ResourceType::Icon, FRAME_ICON))
        picture.loadFromData(bytes->data(), static_cast<uint>(bytes->size()));
    if (picture.isNull()) {
        // Without the program's icon the frame shows none, not the toolkit's logo.
        picture = QPixmap(16, 16);
        picture.fill(Qt::transparent);
    }
    return QIcon(picture);
}

} // namespace

ChildFrame::ChildFrame(kova::MdiClientWnd* client) : client_(client)
{
    // A hidden frame keeps its place in the client's list; closing decides
    // in closeEvent whether it hides or goes.
    setAttribute(Qt::WA_DeleteOnClose, false);
}

ChildFrame::~ChildFrame() { frameDestroyed.notify(this); }

void ChildFrame::setWindowMenuRefresher(std::function<void()> refresh) { windowMenuRefresher() = std::move(refresh); }

void ChildFrame::refreshWindowMenu()
{
    if (windowMenuRefresher())
        windowMenuRefresher()();
}

bool ChildFrame::createFrame(const QString& title)
{
    KOVA_ASSERT(!created_ && client_);
    if (created_ || !client_)
        return false;
    setWindowTitle(title);
    setWindowIcon(frameIcon());
    if (!resizable) {
        Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
            | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (minimizeBox)
            flags |= Qt::WindowMinimizeButtonHint;
        setWindowFlags(flags);
    }
    const bool openMaximized = maximized || (!fitToDialog && activeFrameIsMaximized());

    client_->addSubWindow(this);
    if (!createClient()) {
        client_->removeSubWindow(this);
        deleteLater();
        return false;
    }
    created_ = true;
    sizeAndPlace();
    if (openMaximized)
        showMaximized();
    else
        show();
    client_->setActiveSubWindow(this);
    // The hosted window takes its place now, not at the next event, so the
    // creator sees the frame as it will be drawn.
    if (layout())
        layout()->activate();
    focusFirstTabStop();
    refreshWindowMenu();
    return true;
}

bool ChildFrame::createClient()
{
    QWidget* hosted = getHostedWindow();
    if (!hosted)
        return false;
    // Taken in, the window gets the frame's size: its own is kept for fitting the frame to it.
    hostedSize_ = hosted->size();
    setWidget(hosted);
    return true;
}

QSize ChildFrame::frameSizeFor(const QSize& clientSize) const
{
    const QWidget* hosted = widget();
    if (!hosted || !layout())
        return clientSize;
    // The frame keeps its title bar and borders as contents margins.
    return clientSize.grownBy(contentsMargins() + layout()->contentsMargins());
}

void ChildFrame::sizeAndPlace()
{
    if (fitToDialog) {
        resize(frameSizeFor(hostedSize_));
    } else {
        const QRect area = client_->viewport()->rect();
        setGeometry(area.adjusted(CLIENT_MARGIN, CLIENT_MARGIN, -CLIENT_MARGIN, -CLIENT_MARGIN));
    }
    if (resizable)
        return;
    setFixedSize(size());
    if (!fixedFramePlaced) {
        fixedFramePlaced = true;
        move(CLIENT_MARGIN, CLIENT_MARGIN);
    } else {
        centerInClient();
    }
}

void ChildFrame::focusFirstTabStop()
{
    QWidget* hosted = getHostedWindow();
    if (!hosted)
        return;
    for (QWidget* w = hosted->nextInFocusChain(); w && w != hosted; w = w->nextInFocusChain()) {
        if (!hosted->isAncestorOf(w))
            break;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(hosted)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    hosted->setFocus(Qt::OtherFocusReason);
}

bool ChildFrame::activeFrameIsMaximized() const
{
    const QMdiSubWindow* active = client_ ? client_->activeSubWindow() : nullptr;
    return active && active != this && active->isMaximized();
}

void ChildFrame::showFrame()
{
    KOVA_ASSERT(created_);
    if (!created_)
        return;
    if (!fitToDialog && !activeFrameIsMaximized() && !isMaximized()) {
        // Pull the right and bottom edges in, never past the top-left corner.
        const QSize area = client_->viewport()->size();
        QPoint position = pos();
        if (position.x() + width() > area.width())
            position.setX(std::max(0, area.width() - width()));
        if (position.y() + height() > area.height())
            position.setY(std::max(0, area.height() - height()));
        move(position);
    }
    show();
    client_->setActiveSubWindow(this);
    restoreFocus();
    refreshWindowMenu();
}

void ChildFrame::hideEvent(QHideEvent* event)
{
    // Once the frame is hidden Qt hands the focus on to the next control in
    // the chain, a button of this very window as often as not ("Help",
    // "Details..."), where Enter would press it when the frame comes back.
    if (QWidget* focused = QApplication::focusWidget(); focused && isAncestorOf(focused))
        focusWhenHidden_ = focused;
    QMdiSubWindow::hideEvent(event);
}

void ChildFrame::restoreFocus()
{
    const bool wasFocused = !focusWhenHidden_.isNull();
    QWidget* control = focusWhenHidden_;
    focusWhenHidden_.clear();
    if (control && control->isVisible() && control->isEnabled()) {
        control->setFocus(Qt::OtherFocusReason);
        return;
    }
    // A control that can no longer take it (a disabled Continue) leaves the
    // focus on the first field, as when the window opened.
    const QWidget* focused = QApplication::focusWidget();
    if (wasFocused || !focused || !isAncestorOf(focused))
        focusFirstTabStop();
}

void ChildFrame::hideFrame()
{
    hide();
    refreshWindowMenu();
}

void ChildFrame::centerInClient()
{
    if (!client_)
        return;
    const QSize area = client_->viewport()->size();
    move(std::max(0, (area.width() - width()) / 2), std::max(0, (area.height() - height()) / 2));
}

void ChildFrame::destroyFrame()
{
    if (client_ && mdiArea() == client_) {
        client_->mdiDestroy(this);
    } else {
        hide();
        deleteLater();
    }
    refreshWindowMenu();
}

void ChildFrame::closeEvent(QCloseEvent* event)
{
    // The frame decides alone: the base class would first close the hosted
    // dialog, which takes that as Cancel.
    event->ignore();
    if (!canClose())
        return;
    if (hideOnClose) {
        hideFrame();
        return;
    }
    destroyFrame();
    onClosed();
}
