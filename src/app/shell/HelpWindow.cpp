#include "app/shell/HelpWindow.h"

#include "app/shell/HelpTopics.h"
#include "gettext/Gettext.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString translated(const char* text) { return QString::fromStdWString(Gettext::translate(text)); }

QUrl fileUrl(const std::filesystem::path& path) { return QUrl::fromLocalFile(QString::fromStdString(path.string())); }

// The help's size where the screen has room for it.
constexpr QSize PREFERRED_SIZE(720, 560);
// The narrowest help worth opening beside a window rather than over it.
constexpr int MIN_WIDTH_BESIDE = 360;
// Room kept for the window manager's title bar and borders until the frame is known.
constexpr QMargins FRAME_ALLOWANCE(8, 32, 8, 8);

} // namespace

HelpWindow::HelpWindow(std::filesystem::path stationDir, QWidget* home)
    : QWidget(home, Qt::Window), stationDir_(std::move(stationDir)), home_(home), browser_(new QTextBrowser(this)),
      toolBar_(new QToolBar(this))
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(translated("Kova CPR Software Help"));
    resize(PREFERRED_SIZE);
    browser_->setOpenExternalLinks(true);

    QAction* back = toolBar_->addAction(translated("Back"), browser_, &QTextBrowser::backward);
    QAction* forward = toolBar_->addAction(translated("Forward"), browser_, &QTextBrowser::forward);
    toolBar_->addAction(translated("Contents"), this, &HelpWindow::showContents);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(browser_);
}

bool HelpWindow::showTopic(const std::string& languageCode, int topic)
{
    const std::filesystem::path page = HelpTopics::locate(stationDir_, languageCode, topic);
    if (page.empty())
        return false;
    // Contents leads to the start page of the help the topic came from.
    startPage_ = HelpTopics::page(topic) ? page.parent_path().parent_path() / HelpTopics::START_PAGE : page;
    browser_->setSource(fileUrl(page));
    // A modal dialog blocks every window but its own: the help is made one
    // of them, or it would open behind the dialog and take no input.
    QWidget* modal = QApplication::activeModalWidget();
    belongTo(modal && modal != this ? modal : home_.data());
    if (!isVisible())
        placeOnScreen();
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    return true;
}

HelpWindow::~HelpWindow()
{
    if (modalOwner_)
        modalOwner_->removeEventFilter(this);
}

void HelpWindow::belongTo(QWidget* owner)
{
    if (parentWidget() == owner)
        return;
    if (modalOwner_)
        modalOwner_->removeEventFilter(this);
    modalOwner_ = owner && owner != home_ ? owner : nullptr;
    // Watched so the help leaves the dialog before the dialog goes, and
    // takes nothing of it along.
    if (modalOwner_)
        modalOwner_->installEventFilter(this);
    const bool shown = isVisible();
    const QPoint position = pos();
    // A new parent hides the window; it comes back where it was.
    setParent(owner, Qt::Window);
    if (shown) {
        move(position);
        show();
    }
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == modalOwner_ && event->type() == QEvent::Hide) {
        // The dialog is closing: the help stays open over the main window,
        // or over the modal dialog beneath once that one is in front again.
        belongTo(home_);
        QMetaObject::invokeMethod(this, &HelpWindow::followActiveModal, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void HelpWindow::followActiveModal()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (isVisible() && modal && modal != this && modal != parentWidget())
        belongTo(modal);
}

void HelpWindow::placeOnScreen()
{
    // On the screen of the window it was asked from.
    const QWidget* over = parentWidget();
    QScreen* screen = over ? over->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QMargins frame = FRAME_ALLOWANCE;
    if (placed_ && frameGeometry().size() != size())
        frame = QMargins(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(),
                         frameGeometry().bottom() - geometry().bottom());
    const QRect room = screen->availableGeometry().marginsRemoved(frame);
    QRect wanted(QPoint(0, 0), PREFERRED_SIZE.boundedTo(room.size()));
    if (over && over->isVisible()) {
        // Beside the window it was asked from, on the side with more room,
        // so both can be read; over it where neither side has room enough.
        const QRect beside = over->frameGeometry();
        const int rightRoom = room.right() - (beside.right() + frame.left());
        const int leftRoom = (beside.left() - frame.right()) - room.left();
        const bool right = rightRoom >= leftRoom;
        if (std::max(rightRoom, leftRoom) >= MIN_WIDTH_BESIDE)
            wanted.setWidth(std::min(wanted.width(), std::max(rightRoom, leftRoom)));
        const int left = right ? beside.right() + 1 + frame.left() : beside.left() - frame.right() - wanted.width();
        wanted.moveTopLeft(QPoint(left, over->geometry().top()));
    } else {
        wanted.moveCenter(room.center());
    }
    // Wholly on the screen, title bar and all.
    wanted.moveLeft(std::clamp(wanted.left(), room.left(), room.right() - wanted.width() + 1));
    wanted.moveTop(std::clamp(wanted.top(), room.top(), room.bottom() - wanted.height() + 1));
    setGeometry(wanted);
    placed_ = true;
}

std::filesystem::path HelpWindow::currentPage() const
{
    const QUrl source = browser_->source();
    if (source.isEmpty())
        return {};
    return std::filesystem::path(source.toLocalFile().toStdString());
}

void HelpWindow::showContents()
{
    if (!startPage_.empty())
        browser_->setSource(fileUrl(startPage_));
}
