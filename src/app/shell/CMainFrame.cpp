#include "app/shell/CMainFrame.h"

#include "Database/editors/AlgorithmDialog.h"
#include "Database/editors/PersonDialog.h"
#include "Database/editors/ScenarioDialog.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/MenuBuilder.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionManager.h"
#include "app/shell/MainCommands.h"
#include "app/shell/MetronomeSound.h"
#include "app/shell/ToolTipAnswer.h"
#include "config/Configuration.h"
#include "controls/MdiClientWnd.h"
#include "gettext/Gettext.h"
#include "platform/Beep.h"
#include "platform/Clock.h"
#include "platform/LockKeys.h"
#include "platform/Resources.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

using namespace MainCommands;

namespace {

// The toolbar strip's background, left out of every picture.
const QRgb MASK_COLOUR = qRgb(0x15, 0x02, 0x03);

constexpr const char* WINDOW_LIST_PROPERTY = "kovaWindowList";

QString translated(const char* text) { return QString::fromStdWString(Gettext::translate(text)); }

// The pictures of the toolbar buttons, cut from the strip; empty when the
// program holds no strip.
std::vector<QIcon> toolbarIcons()
{
    std::vector<QIcon> icons;
    QImage strip;
    if (!strip.load(QString::fromStdString(platform::resourcePath(platform::ResourceType::Bitmap, TOOLBAR_BITMAP))))
        return icons;
    strip = strip.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < strip.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (MASK_COLOUR & 0xFFFFFF))
                line[x] = qRgba(0, 0, 0, 0);
    }
    const int size = TOOLBAR_IMAGE_SIZE;
    for (int i = 0; i < toolbarImageCount() && (i + 1) * size <= strip.width(); ++i)
        icons.emplace_back(QPixmap::fromImage(strip.copy(i * size, 0, size, size)));
    return icons;
}

} // namespace

CMainFrame::CMainFrame(Owner& owner, int fullScreenHeight, Sound beatSound)
    : owner_(owner), fullScreenHeight_(fullScreenHeight), beatSound_(std::move(beatSound))
{
    setWindowTitle(QStringLiteral("Kova CPR Software"));
    if (!beatSound_) {
        auto click = std::make_shared<MetronomeSound>();
        beatSound_ = [click] { click->play(); };
    }
    // The record editors of the Database menu, each opened on no particular
    // record with deleting allowed.
    setCommand(PERSONS, [this] { PersonDialog("", false, true, this).doModal(); });
    setCommand(ALGORITHMS, [this] { AlgorithmDialog("", true, this).doModal(); });
    setCommand(SCENARIOS, [this] { ScenarioDialog(ScenarioRecord{}, true, this).doModal(); });
}

CMainFrame::~CMainFrame()
{
    if (qApp)
        qApp->removeEventFilter(this);
    // The MDI client tells of its last active window as it goes, which is
    // after this frame's own part is gone: nothing of it may answer then.
    if (client_)
        client_->disconnect(this);
    Session::setMetronomeSignal(nullptr);
}

bool CMainFrame::create()
{
    client_ = new kova::MdiClientWnd(this);
    setCentralWidget(client_);
    if (!buildMenu() || !buildToolBar())
        return false;
    if (fullScreenHeight_ > STATUS_BAR_MIN_HEIGHT)
        buildStatusBar();
    installShortcuts();
    ToolTipAnswer::enable(this);
    ToolTipAnswer::applyStatusTips(this);
    connect(client_, &QMdiArea::subWindowActivated, this, [this] { refreshWindowMenu(); });
    Session::setMetronomeSignal(&metronomeBeat);

    timer_ = new QTimer(this);
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setInterval(TIMER_INTERVAL_MS);
    // The step runs from a posted call, not inside the timer's own event: Qt
    // fires no timer again while its event is being handled, so a message box
    // one session opens in its step would hold every other session's ticks.
    connect(timer_, &QTimer::timeout, this, &CMainFrame::onTimer, Qt::QueuedConnection);
    timer_->start();
    updateCommandStates();
    return true;
}

bool CMainFrame::buildMenu()
{
    const auto menu = createMainMenu();
    if (!menu)
        return false;
    if (!kova::MenuBuilder::buildMenuBar(menuBar(), *menu, [this](int command) { onCommand(command); }))
        return false;
    for (QAction* popup : menuBar()->actions()) {
        QMenu* items = popup->menu();
        if (!items)
            continue;
        connect(items, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
        if (kova::MenuBuilder::findCommand(items, CASCADE)) {
            windowMenu_ = items;
            connect(items, &QMenu::aboutToShow, this, &CMainFrame::refreshWindowMenu);
        }
    }
    return true;
}

bool CMainFrame::buildToolBar()
{
    toolBar_ = addToolBar(translated("Standard"));
    toolBar_->setObjectName(QStringLiteral("standardToolBar"));
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(TOOLBAR_IMAGE_SIZE, TOOLBAR_IMAGE_SIZE));
    const std::vector<QIcon> icons = toolbarIcons();
    if (static_cast<int>(icons.size()) != toolbarImageCount())
        LogStream::instance() << "The toolbar pictures are missing; the toolbar shows texts.\n";
    std::size_t picture = 0;
    for (const int command : toolbarButtons()) {
        if (command == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = kova::MenuBuilder::findCommand(menuBar(), command);
        if (!action) {
            // A command of the toolbar alone.
            action = new QAction(toolBar_);
            kova::MenuBuilder::setCommandId(action, command);
            connect(action, &QAction::triggered, this, [this, command] { onCommand(command); });
        }
        if (picture < icons.size())
            action->setIcon(icons[picture]);
        else if (action->text().isEmpty())
            action->setText(QString::number(command));
        ++picture;
        toolBar_->addAction(action);
        if (command == METRONOME) {
            action->setCheckable(true);
            metronomeAction_ = action;
        }
    }
    return metronomeAction_ != nullptr;
}

void CMainFrame::buildStatusBar()
{
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("statusBar"));
    // The prompt of the command under the mouse replaces this while it shows.
    statusBar_->addWidget(new QLabel(translated("Ready"), statusBar_), 1);
    // The lock keys on the right, each in a pane as wide as its text, so
    // nothing moves when a key is unlocked and its pane goes blank.
    const std::pair<const char*, const char*> indicators[] = {
        {"capsLockIndicator", "CAP"}, {"numLockIndicator", "NUM"}, {"scrollLockIndicator", "SCRL"}};
    for (const auto& [name, text] : indicators) {
        auto* pane = new QLabel(statusBar_);
        pane->setObjectName(QString::fromLatin1(name));
        pane->setAlignment(Qt::AlignCenter);
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        const QString shown = translated(text);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(shown) + 2 * pane->fontMetrics().averageCharWidth());
        statusBar_->addPermanentWidget(pane);
        lockIndicators_.emplace_back(pane, shown);
    }
    setStatusBar(statusBar_);
    // A lock key pressed in any window of the station shows at once; one
    // pressed while another program had the keyboard, within the interval.
    qApp->installEventFilter(this);
    auto* lockKeysTimer = new QTimer(this);
    lockKeysTimer->setInterval(LOCK_KEYS_INTERVAL_MS);
    connect(lockKeysTimer, &QTimer::timeout, this, &CMainFrame::updateLockIndicators);
    lockKeysTimer->start();
    updateLockIndicators();
}

void CMainFrame::updateLockIndicators()
{
    if (lockIndicators_.empty())
        return;
    const platform::LockKeys keys = platform::lockKeys().value_or(platform::LockKeys{});
    const bool locked[] = {keys.capsLock, keys.numLock, keys.scrollLock};
    for (std::size_t i = 0; i < lockIndicators_.size(); ++i) {
        const auto& [pane, text] = lockIndicators_[i];
        pane->setText(locked[i] ? text : QString());
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock)
            updateLockIndicators();
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::installShortcuts()
{
    const auto& table = accelerators();
    kova::MenuBuilder::installAccelerators(this, table, [this](int command) { onShortcut(command); });
    // The menus name their keys, as the toolbar's tooltips do not.
    for (const auto& entry : table.entries) {
        QAction* action = kova::MenuBuilder::findCommand(menuBar(), entry.command);
        if (!action || action->text().contains('\t'))
            continue;
        const QKeySequence keys = kova::MenuBuilder::keySequence(entry);
        action->setText(action->text() + '\t' + keys.toString(QKeySequence::NativeText));
    }
}

void CMainFrame::onShortcut(int command)
{
    // A key of a greyed command does nothing but beep.
    if (!isCommandEnabled(command)) {
        platform::messageBeep();
        return;
    }
    onCommand(command);
}

QAction* CMainFrame::commandAction(int command) const
{
    if (command == METRONOME)
        return metronomeAction_;
    return kova::MenuBuilder::findCommand(menuBar(), command);
}

void CMainFrame::setCommand(int command, Command run)
{
    if (run)
        commands_[command] = std::move(run);
    else
        commands_.erase(command);
    if (client_)
        updateCommandStates();
}

void CMainFrame::onCommand(int command)
{
    switch (command) {
    case METRONOME:
        toggleMetronome();
        return;
    case CASCADE:
        client_->cascadeSubWindows();
        return;
    case TILE:
        client_->tileSubWindows();
        return;
    case ARRANGE:
        arrangeIcons();
        return;
    case EXIT:
        close();
        return;
    default:
        break;
    }
    if (const auto installed = commands_.find(command); installed != commands_.end()) {
        // A copy: the command may replace itself while it runs.
        const Command run = installed->second;
        run();
        return;
    }
    if (!owner_.onCommand(command))
        LogStream::instance() << "Command " << command << " is not available.\n";
}

bool CMainFrame::isCommandEnabled(int command) const
{
    switch (command) {
    case METRONOME:
    case CASCADE:
    case TILE:
    case ARRANGE:
    case EXIT:
        return true;
    case PERSONS:
    case ALGORITHMS:
    case SCENARIOS:
    case SESSION_MANAGER:
        return commands_.count(command) != 0;
    default:
        break;
    }
    if (commands_.count(command) != 0)
        return true;
    return owner_.isCommandEnabled(command).value_or(true);
}

void CMainFrame::updateCommandStates()
{
    const auto actions = findChildren<QAction*>();
    for (QAction* action : actions) {
        const int command = kova::MenuBuilder::commandId(action);
        if (command != 0)
            action->setEnabled(isCommandEnabled(command));
    }
    if (metronomeAction_)
        metronomeAction_->setChecked(metronome_.isOn());
}

bool CMainFrame::isTimerActive() const { return timer_ && timer_->isActive(); }

double CMainFrame::metronomeRate() const
{
    return Configuration::instance().getPropertyModel().metronomeRate;
}

void CMainFrame::onTimer()
{
    SessionManager* manager = SessionManager::instance();
    KOVA_ASSERT(manager!=0);
    // A step that holds a message box open gets ticks under it: they step
    // the other sessions (the manager skips the one whose box is up), and
    // the metronome keeps the beat.
    if (manager)
        manager->tick();
    if (metronome_.isOn() && metronome_.tick(platform::Clock::instance().tickCount(), metronomeRate())) {
        sound();
        metronomeBeat.notify();
    }
    updateCommandStates();
}

void CMainFrame::toggleMetronome()
{
    // Switched on, it sounds at once; the sessions hear of timed beats only.
    if (metronome_.toggle(platform::Clock::instance().tickCount()))
        sound();
    if (metronomeAction_)
        metronomeAction_->setChecked(metronome_.isOn());
}

void CMainFrame::sound()
{
    if (beatSound_)
        beatSound_();
}

void CMainFrame::refreshWindowMenu()
{
    if (!windowMenu_)
        return;
    for (QAction* action : windowMenu_->actions())
        if (action->property(WINDOW_LIST_PROPERTY).toBool()) {
            windowMenu_->removeAction(action);
            action->deleteLater();
        }
    const QList<QMdiSubWindow*> windows = client_->subWindowList();
    int number = 0;
    for (QMdiSubWindow* window : windows) {
        if (!window->isVisible() && !window->isMinimized())
            continue;
        if (number == 0) {
            QAction* separator = windowMenu_->addSeparator();
            separator->setProperty(WINDOW_LIST_PROPERTY, true);
        }
        ++number;
        const QString prefix = number <= 9 ? QStringLiteral("&%1 ").arg(number) : QString();
        QAction* entry = windowMenu_->addAction(prefix + window->windowTitle());
        entry->setProperty(WINDOW_LIST_PROPERTY, true);
        entry->setCheckable(true);
        entry->setChecked(window == client_->activeSubWindow());
        const QPointer<QMdiSubWindow> target = window;
        connect(entry, &QAction::triggered, this, [this, target] {
            if (!target)
                return;
            if (target->isMinimized())
                target->showNormal();
            client_->setActiveSubWindow(target);
        });
    }
}

void CMainFrame::arrangeIcons()
{
    int x = 0;
    const int bottom = client_->viewport()->height();
    for (QMdiSubWindow* window : client_->subWindowList()) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        window->move(x, bottom - size.height());
        x += size.width();
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!owner_.runCourseMayClose()) {
        event->ignore();
        return;
    }
    if (SessionManager* manager = SessionManager::instance(); manager && !manager->mayClose()) {
        event->ignore();
        return;
    }
    ending_ = true;
    if (timer_)
        timer_->stop();
    event->accept();
}
