#include "app/livepanel/SessionGraphView.h"

#include "Rodezir/LogStream.h"
#include "app/graphs/AxisCtrl.h"
#include "app/graphs/GraphDoc.h"
#include "app/graphs/GraphSource.h"
#include "app/graphs/GraphToggles.h"
#include "app/graphs/GraphView.h"
#include "app/graphs/ToolBar.h"
#include "app/livepanel/EcgRhythmBox.h"
#include "app/livepanel/GraphPrintWindow.h"
#include "app/livepanel/GraphScrollRange.h"
#include "app/livepanel/LiveButtons.h"
#include "app/livepanel/LiveGraphLayout.h"
#include "app/livepanel/LivePanelTemplate.h"
#include "app/livepanel/LiveZoom.h"
#include "app/printing/Print.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionLink.h"
#include "app/sessions/SessionWindowSet.h"
#include "app/surveillance/GraphLabelFont.h"
#include "app/surveillance/ZoomCombo.h"
#include "app/surveillance/ZoomWindows.h"
#include "config/Configuration.h"
#include "controls/ControlReplacement.h"
#include "controls/HoverHintStatic.h"
#include "controls/MapBitmapButton.h"
#include "controls/RoundButton.h"
#include "gettext/Gettext.h"
#include "platform/Beep.h"
#include "platform/Help.h"
#include "platform/Resources.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

using T = LivePanelTemplate;

namespace {

constexpr int CURSOR_HOT_SPOT = 12;

EcgBox::Factory& ecgBoxFactory()
{
    static EcgBox::Factory factory;
    return factory;
}

SessionGraphView::LowBatteryNotice& lowBatteryNotice()
{
    static SessionGraphView::LowBatteryNotice notice;
    return notice;
}

QPixmap bitmapResource(int id)
{
    QPixmap pixmap;
    if (const auto bytes = platform::loadResource(platform::ResourceType::Bitmap, id))
        pixmap.loadFromData(bytes->data(), static_cast<uint>(bytes->size()));
    return pixmap;
}

// Silver (0xC0C0C0) takes the button face's colour, as the battery
// pictures are drawn on it.
QPixmap mapFaceColour(const QPixmap& picture, const QColor& face)
{
    QImage image = picture.toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0xC0C0C0)
                line[x] = face.rgb();
    }
    return QPixmap::fromImage(image);
}

QCursor cursorResource(int id)
{
    QPixmap pixmap;
    if (const auto bytes = platform::loadResource(platform::ResourceType::Cursor, id))
        pixmap.loadFromData(bytes->data(), static_cast<uint>(bytes->size()));
    if (pixmap.isNull())
        return QCursor(Qt::CrossCursor);
    return QCursor(pixmap, CURSOR_HOT_SPOT, CURSOR_HOT_SPOT);
}

void moveWithin(QWidget* window, const LiveGraphLayout::Rect& rect, bool checked)
{
    if (!window)
        return;
    if (checked) {
        const bool inside = LiveGraphLayout::withinLimits(rect);
        KOVA_ASSERT(inside);
    }
    window->setGeometry(rect.x, rect.y, rect.width, rect.height);
}

} // namespace

SessionGraphView::SessionGraphView(Session& session)
    : SessionPanel(session, [] {
          LivePanelTemplate::registerTemplate();
          return LivePanelTemplate::TEMPLATE_ID;
      }()),
      toolbarsShown_(session.getRecord().RegisterEvents),
      pauseText_(QString::fromStdWString(Gettext::translate("Pause"))),
      axis_(std::make_unique<AxisCtrl>(session, this))
{
    if (ecgBoxFactory()) {
        const SessionLink* link = session.link();
        // A wireless manikin is known by its own name.
        const std::wstring title = link && link->portNumber() > 256
                                       ? QString::fromStdString(link->manikinName()).toStdWString()
                                       : session.getTitleWide();
        ecgBox_ = ecgBoxFactory()(session, title);
        if (ecgBox_)
            ecgBox_->hide();
    }
    ::connect(session.viewsDestroyed, *this, &SessionGraphView::releaseSession);
    pauseTimer_.setInterval(PAUSE_BLINK_MS);
    connect(&pauseTimer_, &QTimer::timeout, this, &SessionGraphView::onPauseTimer);
    zoomInCursor_ = cursorResource(1025);
    zoomOutCursor_ = cursorResource(1026);
}

SessionGraphView::~SessionGraphView()
{
    pauseTimer_.stop();
    // The axis goes first: it detaches the panes, which go with the window.
    axis_.reset();
    ecgBox_.reset();
}

void SessionGraphView::releaseSession(Session* session)
{
    if (released_ || session != &getSession())
        return;
    released_ = true;
    pauseTimer_.stop();
    slotConnections().disconnectAll();
    if (ecgBox_)
        ecgBox_->hide();
    // The panes leave the curves and the axis the session's receivers.
    for (GraphView** pane : {&ventilationPane_, &compressionPane_, &ecgPane_}) {
        delete *pane;
        *pane = nullptr;
    }
    axis_.reset();
    delete upperToolbar_;
    delete lowerToolbar_;
    upperToolbar_ = nullptr;
    lowerToolbar_ = nullptr;
    pressedButton_ = nullptr;
    layoutReady_ = false;
}

void SessionGraphView::install()
{
    EcgRhythmBox::install();
    SessionWindowSet::setPanelFactory(SessionWindows::Panel::Graph, [](Session& session) {
        return std::unique_ptr<SessionPanel>(std::make_unique<SessionGraphView>(session));
    });
}

QMessageBox* SessionGraphView::lowBatteryBox() const { return lowBatteryBox_; }

void SessionGraphView::setEcgBoxFactory(EcgBox::Factory factory) { ecgBoxFactory() = std::move(factory); }

void SessionGraphView::setLowBatteryNotice(LowBatteryNotice notice) { lowBatteryNotice() = std::move(notice); }

void SessionGraphView::fillZoomCombo(QComboBox& combo, QSpinBox* upDown, int defaultMs)
{
    ZoomCombo::fill(combo, upDown, defaultMs);
}

// ---------------------------------------------------------------------------
// Creation

bool SessionGraphView::onInitDialog()
{
    const bool result = SessionPanel::onInitDialog();
    createGraphs();

    // Toolbar height; without toolbars the Events switch has nothing to switch.
    if (upperToolbar_)
        toolbarHeight_ = upperToolbar_->sizeHint().height() + 6;
    else
        setControlEnabled(T::IDC_EVENTS, false);

    if (QWidget* label = getDlgItem(T::IDC_VENTILATION_LABEL))
        labelLeft_ = label->x();
    if (QWidget* label = getDlgItem(T::IDC_RATE_LABEL))
        rateLabelHeight_ = label->height();

    positionReadout_ = new kova::HoverHintStatic();
    if (positionReadout_->attach(this)) {
        for (GraphView* pane : {ventilationPane_, compressionPane_, ecgPane_})
            pane->setReadoutTarget(positionReadout_);
    } else {
        delete positionReadout_;
        positionReadout_ = nullptr;
    }

    for (const int id : {int(kova::IDCANCEL), T::IDC_HELP, T::IDC_PRINT, T::IDC_DEBRIEFING, T::IDC_ECG_BOX})
        kova::RoundButton::attach(this, id);

    zoomList_ = qobject_cast<QComboBox*>(getDlgItem(T::IDC_ZOOM_LIST));
    zoomSpin_ = qobject_cast<QSpinBox*>(getDlgItem(T::IDC_ZOOM_SPIN));
    if (!zoomSpin_) {
        auto* spin = new QSpinBox();
        if (kova::replaceDialogControl(this, T::IDC_ZOOM_SPIN, spin))
            zoomSpin_ = spin;
        else
            delete spin;
    }
    if (zoomSpin_) {
        // Only the arrows show: the list beside it names the window.
        zoomSpin_->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
        zoomSpin_->setStyleSheet(QStringLiteral("QSpinBox { color: transparent; selection-color: transparent; "
                                                "selection-background-color: transparent; }"));
        connect(zoomSpin_, &QSpinBox::valueChanged, this, &SessionGraphView::onZoomStepped);
    }
    if (zoomList_) {
        fillZoomCombo(*zoomList_, zoomSpin_, DEFAULT_WINDOW_MS);
        notifier().on(T::IDC_ZOOM_LIST, kova::Notification::SelectionChanged, [this] { onZoomSelected(); });
    }

    for (const int id : {T::IDC_VENTILATION_LABEL, T::IDC_COMPRESSION_LABEL})
        if (QWidget* label = getDlgItem(id))
            label->setFont(GraphLabelFont::font());

    const auto loadButton = [this](int id, int normal, int selected, int focus, int disabled) {
        auto* button = new kova::MapBitmapButton();
        if (!button->autoLoad(id, this, normal, selected, focus, disabled)) {
            delete button;
            return static_cast<kova::MapBitmapButton*>(nullptr);
        }
        return button;
    };
    startButton_ = loadButton(T::IDC_START, 163, 161, 162, 164);
    pauseButton_ = loadButton(T::IDC_PAUSE, 159, 157, 158, 160);
    magnifyButton_ = loadButton(T::IDC_MAGNIFY, 142, 138, 140, 144);
    deMagnifyButton_ = loadButton(T::IDC_DE_MAGNIFY, 152, 155, 153, 151);
    for (kova::MapBitmapButton* button : {startButton_, pauseButton_, magnifyButton_, deMagnifyButton_})
        if (button)
            button->setToolTip({});
    // The magnifiers show pressed while their mode is on.
    for (kova::MapBitmapButton* button : {magnifyButton_, deMagnifyButton_})
        if (button)
            button->setCheckable(true);

    notifier().on(T::IDC_START, kova::Notification::Clicked, [this] { onStart(); });
    notifier().on(T::IDC_PAUSE, kova::Notification::Clicked, [this] { getSession().pause(); });
    notifier().on(T::IDC_DEBRIEFING, kova::Notification::Clicked,
                  [this] { getSession().setState(Session::DEBRIEF); });
    notifier().on(T::IDC_PRINT, kova::Notification::Clicked, [this] { Print::printSession(getSession(), false); });
    notifier().on(T::IDC_ECG_BOX, kova::Notification::Clicked, [this] {
        if (ecgBox_)
            ecgBox_->toggleVisible();
    });
    notifier().on(T::IDC_MAGNIFY, kova::Notification::Clicked, [this] { onMagnify(); });
    notifier().on(T::IDC_DE_MAGNIFY, kova::Notification::Clicked, [this] { onDeMagnify(); });
    for (const int id : {T::IDC_PROBLEMS, T::IDC_EVENTS, T::IDC_CR_RATIO, T::IDC_CARDIAC_OUTPUT})
        notifier().on(id, kova::Notification::Clicked, [this, id] { onToggleClicked(id); });
    notifier().on(T::IDC_ECG_SIGNAL, kova::Notification::Clicked, [this] { onEcgSignalClicked(); });

    connectToggles();

    // The time bar counts the session's seconds; a session without limit has none.
    if (auto* bar = qobject_cast<QProgressBar*>(getDlgItem(T::IDC_TIME_BAR))) {
        const long duration = getSession().getRecord().Duration;
        if (duration == -1) {
            bar->setEnabled(false);
        } else {
            bar->setRange(0, static_cast<int>(std::clamp<long>(duration, 0, INT_MAX)));
            bar->setEnabled(true);
        }
        bar->setValue(0);
    }

    loadPictures();
    updateButtons();
    layoutReady_ = true;
    layoutGraphs();
    applyBattery();
    initEcgControls();
    return result;
}

void SessionGraphView::createGraphs()
{
    Session& session = getSession();
    ventilationPane_ = GraphView::createView(session.getVentilationDoc());
    compressionPane_ = GraphView::createView(session.getCompressionDoc());
    ecgPane_ = GraphView::createView(session.getEcgDoc());
    ecgPane_->setEcgStyle(true);

    const double frequency = rate();
    KOVA_ASSERT(frequency!=0.0);
    axis_->setViewIndexes(LiveZoom::viewFor(DEFAULT_WINDOW_MS, frequency, true, 0).count);
    // The axis window first, so the panes it draws on join a window that exists.
    axis_->Create(this);
    for (GraphView* pane : {ventilationPane_, compressionPane_, ecgPane_}) {
        pane->Create(this);
        pane->setAxisCtrl(axis_.get());
    }
    connect(axis_.get(), &AxisCtrl::viewChanged, this, &SessionGraphView::onViewChanged);

    if (registersEvents() && session.getToolBar()) {
        upperToolbar_ = createToolbar(T::IDC_UPPER_TOOLBAR);
        lowerToolbar_ = createToolbar(T::IDC_LOWER_TOOLBAR);
    }

    scrollBar_ = new QScrollBar(Qt::Horizontal, this);
    scrollBar_->setGeometry(0, 0, 10, 10);
    scrollBar_->setVisible(scrollBarShown_);
    connect(scrollBar_, &QScrollBar::valueChanged, this, &SessionGraphView::onScrolled);
    firstStartPending_ = true;
}

QToolBar* SessionGraphView::createToolbar(int id)
{
    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("control%1").arg(id));
    toolbar->setProperty("controlId", id);
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(ToolBar::BUTTON_WIDTH, ToolBar::BUTTON_HEIGHT));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar->setGeometry(10, 10, 10, 10);
    getSession().getToolBar()->addButtons(toolbar);
    watchToolbarButtons(toolbar);
    toolbar->show();
    return toolbar;
}

void SessionGraphView::watchToolbarButtons(QToolBar* toolbar)
{
    for (QAction* action : toolbar->actions())
        if (QWidget* button = toolbar->widgetForAction(action)) {
            button->installEventFilter(this);
            // A drag sets the mark; the button shows it can be taken.
            button->setCursor(Qt::OpenHandCursor);
        }
}

void SessionGraphView::connectToggles()
{
    GraphToggles& toggles = getSession().graphToggles();
    for (const int id : {GraphToggles::PROBLEMS, GraphToggles::EVENTS, GraphToggles::CR_RATIO,
                         GraphToggles::CARDIAC_OUTPUT}) {
        ::connect(toggles.signal(id), *this, &SessionGraphView::onToggleChanged);
        onToggleChanged(id, toggles.get(id));
    }
}

void SessionGraphView::initEcgControls()
{
    Session& session = getSession();
    const bool ecgSwitch = session.getEcgEnabled();
    if (isLive()) {
        const bool capable = isEcgCapable();
        setControlEnabled(T::IDC_ECG_BOX, capable && ecgBox_);
        setControlEnabled(T::IDC_ECG_SIGNAL, capable);
        checkDlgButton(T::IDC_ECG_SIGNAL, capable && ecgSwitch);
    } else {
        setControlEnabled(T::IDC_ECG_BOX, false);
        setControlEnabled(T::IDC_ECG_SIGNAL, true);
        checkDlgButton(T::IDC_ECG_SIGNAL, ecgSwitch);
    }
    collapseEcgPane();
}

void SessionGraphView::loadPictures()
{
    const QColor face = palette().color(QPalette::Button);
    for (const int id : {LiveDisplays::BITMAP_EMPTY, LiveDisplays::BITMAP_ONE_BAR, LiveDisplays::BITMAP_TWO_BARS,
                         LiveDisplays::BITMAP_THREE_BARS, LiveDisplays::BITMAP_FOUR_BARS,
                         LiveDisplays::BITMAP_NOT_AVAILABLE})
        batteryPictures_[id] = mapFaceColour(bitmapResource(id), face);
}

// ---------------------------------------------------------------------------
// Layout

void SessionGraphView::resizeEvent(QResizeEvent* event)
{
    SessionPanel::resizeEvent(event);
    if (layoutReady_)
        layoutGraphs();
}

void SessionGraphView::showEvent(QShowEvent* event)
{
    SessionPanel::showEvent(event);
    if (released_)
        return;
    Session& session = getSession();
    const auto caption = [&](const GraphDoc& doc, const std::wstring& person) {
        return QString::fromStdWString(doc.getSource().name + L": " + person);
    };
    setDlgItemText(T::IDC_VENTILATION_LABEL, caption(session.getVentilationDoc(), session.getPersonVentilation()));
    setDlgItemText(T::IDC_COMPRESSION_LABEL,
                   caption(session.getCompressionDoc(), session.getPersonChestCompression()));
}

void SessionGraphView::layoutGraphs() { layoutGraphs(width(), height()); }

void SessionGraphView::layoutGraphs(int width, int height)
{
    if (released_)
        return;
    LiveGraphLayout::Input in;
    in.clientWidth = width;
    in.clientHeight = height;
    in.labelLeft = labelLeft_;
    in.textHeight = GraphLabelFont::textHeight();
    in.rateLabelHeight = rateLabelHeight_;
    in.axisHeight = axis_->axisHeight();
    in.toolbarHeight = toolbarHeight_;
    in.toolbarsShown = toolbarsShown_ && upperToolbar_;
    in.scrollBarShown = scrollBarShown_;
    in.scrollBarHeight = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    in.ecg = isDlgButtonChecked(T::IDC_ECG_SIGNAL);
    const LiveGraphLayout::Screen out = LiveGraphLayout::screen(in);
    if (out.placed) {
        moveWithin(getDlgItem(T::IDC_VENTILATION_LABEL), out.ventilationLabel, false);
        moveWithin(getDlgItem(T::IDC_POSITION_LABEL), out.positionLabel, false);
        moveWithin(getDlgItem(T::IDC_COMPRESSION_LABEL), out.compressionLabel, false);
        moveWithin(getDlgItem(T::IDC_RATE_LABEL), out.rateLabel, false);
        if (out.upperToolbar)
            moveWithin(upperToolbar_, *out.upperToolbar, true);
        if (out.lowerToolbar)
            moveWithin(lowerToolbar_, *out.lowerToolbar, true);
        if (out.scrollBar)
            moveWithin(scrollBar_, *out.scrollBar, false);
        moveWithin(axis_.get(), out.axis, false);
        if (out.ventilation)
            moveWithin(ventilationPane_, *out.ventilation, true);
        if (out.compression)
            moveWithin(compressionPane_, *out.compression, true);
        if (out.ecgPane) {
            moveWithin(ecgPane_, *out.ecgPane, true);
            ecgPane_->show();
        }
    }
    applyBattery();
}

void SessionGraphView::collapseEcgPane()
{
    if (!ecgPane_)
        return;
    ecgPane_->setGeometry(0, 0, 0, 0);
    ecgPane_->hide();
    layoutGraphs();
}

// ---------------------------------------------------------------------------
// Displays

void SessionGraphView::newData(int lastIndex)
{
    if (released_)
        return;
    KOVA_ASSERT(lastIndex>=0);
    applyBattery();
    const double frequency = rate();
    KOVA_ASSERT(frequency!=0.0);
    if (const auto time = displays_.time(lastIndex, frequency, getSession().getRecord().Duration)) {
        showTimeCaption(QString::fromStdWString(time->caption));
        if (auto* bar = qobject_cast<QProgressBar*>(getDlgItem(T::IDC_TIME_BAR)))
            bar->setValue(std::min(time->seconds, bar->maximum()));
    }
    if (const auto label = displays_.rate(getSession().getCommSession().getCompressionRate()))
        setDlgItemText(T::IDC_RATE_LABEL, QString::fromStdWString(*label));
}

void SessionGraphView::showTimeCaption(const QString& caption)
{
    // While the pause text blinks, the time waits in the saved text.
    if (pauseTimer_.isActive()) {
        savedTimeText_ = caption;
        if (!blinkState_)
            return;
    }
    setDlgItemText(T::IDC_TIME_GROUP, caption);
}

void SessionGraphView::applyBattery()
{
    Session& session = getSession();
    const int level = session.getUsingFile() ? LiveDisplays::STORED_LEVEL : session.getBatteryLevel();
    const auto change = displays_.battery(level, isEcgCapable());
    if (!change)
        return;
    batteryBitmap_ = change->bitmapId;
    if (auto* picture = qobject_cast<QLabel*>(getDlgItem(T::IDC_BATTERY)))
        picture->setPixmap(batteryPictures_[change->bitmapId]);
    if (change->pulseOff && session.link())
        session.link()->setPulse(false);
    if (change->lowBatteryMessage)
        showLowBattery();
}

void SessionGraphView::showLowBattery()
{
    // The texts stay as they are: they are not in the catalogs.
    if (lowBatteryNotice()) {
        lowBatteryNotice()(*this, LOW_BATTERY_TEXT, LOW_BATTERY_CAPTION);
        return;
    }
    // A box that shows and returns at once: a modal one would hold this
    // tick, and the other sessions' steps with it, until it is answered. It
    // goes with the panel.
    if (!lowBatteryBox_) {
        lowBatteryBox_ = new QMessageBox(QMessageBox::Information, QString::fromWCharArray(LOW_BATTERY_CAPTION),
                                         QString::fromWCharArray(LOW_BATTERY_TEXT), QMessageBox::Ok, this);
        lowBatteryBox_->setAttribute(Qt::WA_DeleteOnClose);
        lowBatteryBox_->setWindowModality(Qt::NonModal);
    }
    lowBatteryBox_->show();
    lowBatteryBox_->raise();
}

// ---------------------------------------------------------------------------
// Start, pause and the buttons

void SessionGraphView::updateButtons()
{
    if (released_)
        return;
    Session& session = getSession();
    const bool running = session.isRunning();
    const LiveButtons::States states =
        LiveButtons::forSession(running, session.getUsingFile(), session.getEnded(), session.getElapsedSeconds(),
                                upperToolbar_);
    if (states.closeText)
        setDlgItemText(kova::IDCANCEL, QString::fromStdWString(Gettext::translate("Close")));
    if (states.blink && !pauseTimer_.isActive()) {
        // Once per pause: a second call while paused keeps the time saved.
        savedTimeText_ = getDlgItemText(T::IDC_TIME_GROUP);
        setDlgItemText(T::IDC_TIME_GROUP, pauseText_);
        blinkState_ = false;
        pauseTimer_.start();
    }
    if (running && pauseTimer_.isActive()) {
        pauseTimer_.stop();
        if (!blinkState_)
            setDlgItemText(T::IDC_TIME_GROUP, savedTimeText_);
    }
    setControlEnabled(T::IDC_START, states.start);
    setControlEnabled(T::IDC_PAUSE, states.pause);
    setControlEnabled(T::IDC_DEBRIEFING, states.debriefing);
    setControlEnabled(T::IDC_PRINT, states.print);
    setControlEnabled(T::IDC_MAGNIFY, states.zoomButtons);
    setControlEnabled(T::IDC_DE_MAGNIFY, states.zoomButtons);
    if (upperToolbar_) {
        upperToolbar_->setVisible(states.toolbars);
        lowerToolbar_->setVisible(states.toolbars);
        toolbarsShown_ = states.toolbars;
    }
    if (states.scrollBar != scrollBarShown_) {
        scrollBarShown_ = states.scrollBar;
        scrollBar_->setVisible(scrollBarShown_);
        layoutGraphs();
        updateScrollBar();
    } else if (layoutReady_) {
        layoutGraphs();
    }
    if (running)
        axis_->setMode(TimeAxis::MODE_RELEASE);
}

void SessionGraphView::setControlEnabled(int id, bool enabled)
{
    QWidget* control = getDlgItem(id);
    if (!control)
        return;
    // The focus leaves a control before it is disabled, so the keyboard stays usable.
    if (!enabled && control->hasFocus())
        focusNextChild();
    control->setEnabled(enabled);
}

void SessionGraphView::onPauseTimer()
{
    if (getSession().isRunning()) {
        pauseTimer_.stop();
        return;
    }
    blinkState_ = !blinkState_;
    setDlgItemText(T::IDC_TIME_GROUP, blinkState_ ? savedTimeText_ : pauseText_);
}

void SessionGraphView::onStart()
{
    Session& session = getSession();
    if (session.getUsingFile())
        return;
    session.start();
    if (!firstStartPending_)
        return;
    firstStartPending_ = false;
    const bool ecg = isDlgButtonChecked(T::IDC_ECG_SIGNAL);
    if (ecg && ecgBox_)
        ecgBox_->sendToManikin();
    session.graphToggles().set(GraphToggles::ECG_SIGNAL, ecg);
    collapseEcgPane();
}

void SessionGraphView::hideEcgPanel()
{
    if (ecgBox_)
        ecgBox_->hide();
}

void SessionGraphView::resendEcgRhythms()
{
    if (ecgBox_)
        ecgBox_->sendToManikin();
}

void SessionGraphView::showEcgPanel(bool show)
{
    if (!ecgBox_)
        return;
    if (show)
        ecgBox_->show();
    else
        ecgBox_->hide();
}

bool SessionGraphView::isEcgPanelVisible() const { return ecgBox_ && ecgBox_->isVisible(); }

void SessionGraphView::checkRhythmSwitch(int sampleIndex)
{
    if (ecgBox_)
        ecgBox_->checkRhythmSwitch(sampleIndex);
}

void SessionGraphView::help() { platform::showHelpTopic(HELP_TOPIC); }

// ---------------------------------------------------------------------------
// Display switches

void SessionGraphView::onToggleClicked(int controlId)
{
    getSession().graphToggles().set(controlId, isDlgButtonChecked(controlId));
}

void SessionGraphView::onEcgSignalClicked()
{
    const bool on = isDlgButtonChecked(T::IDC_ECG_SIGNAL);
    if (isLive() && on && ecgBox_)
        ecgBox_->sendToManikin();
    getSession().graphToggles().set(GraphToggles::ECG_SIGNAL, on);
    collapseEcgPane();
}

void SessionGraphView::onToggleChanged(int controlId, bool on)
{
    if (auto* box = qobject_cast<QAbstractButton*>(getDlgItem(controlId))) {
        const QSignalBlocker quiet(box);
        box->setChecked(on);
    }
    if (controlId == GraphToggles::EVENTS && upperToolbar_) {
        eventButtonsEnabled_ = on;
        getSession().getToolBar()->enableButtons(upperToolbar_, on);
        getSession().getToolBar()->enableButtons(lowerToolbar_, on);
    }
}

// ---------------------------------------------------------------------------
// Zoom and scrolling

void SessionGraphView::onZoomSelected()
{
    if (!axis_)
        return;
    if (!zoomList_ || zoomList_->currentIndex() < 0)
        return;
    if (zoomSpin_) {
        const QSignalBlocker quiet(zoomSpin_);
        zoomSpin_->setValue(zoomList_->currentIndex());
    }
    const LiveZoom::View view =
        LiveZoom::viewFor(zoomList_->currentData().toInt(), rate(), getSession().isRunning(), sampleCount());
    if (view.count < 1)
        return;
    if (view.followNewest)
        axis_->setViewIndexes(view.count);
    else
        axis_->setView(view.left, view.count);
    updateScrollBar();
}

void SessionGraphView::onZoomStepped(int position)
{
    if (!zoomList_)
        return;
    const int index = LiveZoom::stepTo(position, zoomList_->count());
    {
        const QSignalBlocker quiet(zoomList_);
        zoomList_->setCurrentIndex(index);
    }
    onZoomSelected();
}

void SessionGraphView::onViewChanged()
{
    if (!axis_)
        return;
    if (zoomList_) {
        const LiveZoom::Entry entry = LiveZoom::entryFor(axis_->getViewIndexes(), rate(), ZoomWindows::LENGTHS_MS);
        const QSignalBlocker quiet(zoomList_);
        zoomList_->setCurrentIndex(entry.selected ? entry.index : -1);
        if (zoomSpin_) {
            const QSignalBlocker quietSpin(zoomSpin_);
            zoomSpin_->setValue(entry.index);
        }
    }
    updateScrollBar();
}

void SessionGraphView::updateScrollBar()
{
    if (!scrollBarShown_ || !scrollBar_ || !axis_)
        return;
    const GraphScrollRange range =
        GraphScrollRange::of(sampleCount(), axis_->getLeftIndex(), axis_->getViewIndexes());
    const QSignalBlocker quiet(scrollBar_);
    scrollBar_->setRange(0, range.maximumPosition);
    scrollBar_->setPageStep(range.page);
    scrollBar_->setSingleStep(range.lineStep);
    scrollBar_->setValue(range.position);
}

void SessionGraphView::onScrolled(int position)
{
    if (!axis_)
        return;
    if (position != axis_->getLeftIndex())
        axis_->setLeftIndex(std::max(position, 0));
}

// The axis tells setZoomCursor its new mode, which sets both buttons: a
// click does not toggle a magnifier on its own.
void SessionGraphView::onMagnify()
{
    if (!axis_)
        return;
    axis_->setMode(axis_->getMode() != TimeAxis::MODE_ZOOM ? TimeAxis::MODE_ZOOM : TimeAxis::MODE_RELEASE);
}

void SessionGraphView::onDeMagnify()
{
    if (axis_)
        axis_->setMode(TimeAxis::MODE_SHOW_ALL);
}

void SessionGraphView::setZoomCursor(int mode)
{
    cursorMode_ = mode == 0 ? CURSOR_ZOOM_IN : mode == 1 ? CURSOR_ZOOM_OUT : CURSOR_NORMAL;
    if (magnifyButton_)
        magnifyButton_->setChecked(mode == 0);
    if (deMagnifyButton_)
        deMagnifyButton_->setChecked(mode == 1);
    applyCursor();
}

void SessionGraphView::applyCursor()
{
    switch (cursorMode_) {
    case CURSOR_NORMAL:
        unsetCursor();
        break;
    case CURSOR_ZOOM_IN:
        setCursor(zoomInCursor_);
        break;
    case CURSOR_ZOOM_OUT:
        setCursor(zoomOutCursor_);
        break;
    default:
        KOVA_ASSERT(false);
        break;
    }
}

// ---------------------------------------------------------------------------
// Marks

bool SessionGraphView::eventFilter(QObject* watched, QEvent* event)
{
    auto* button = qobject_cast<QToolButton*>(watched);
    if (!button)
        return SessionPanel::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            pressedButton_ = watched;
            pressPosition_ = mouse->position().toPoint();
            dragging_ = false;
        }
        break;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (pressedButton_ != watched || dragging_ || !(mouse->buttons() & Qt::LeftButton))
            break;
        if ((mouse->position().toPoint() - pressPosition_).manhattanLength() < QApplication::startDragDistance())
            break;
        dragging_ = true;
        const int toolbarId = button->parentWidget() == lowerToolbar_ ? T::IDC_LOWER_TOOLBAR : T::IDC_UPPER_TOOLBAR;
        beginDrag(toolbarId, button->defaultAction());
        break;
    }
    case QEvent::MouseButtonRelease:
        pressedButton_ = nullptr;
        dragging_ = false;
        break;
    default:
        break;
    }
    return SessionPanel::eventFilter(watched, event);
}

void SessionGraphView::beginDrag(int toolbarId, const QAction* action)
{
    const ToolbarButton* dragged = ToolBar::buttonOf(action);
    if (!dragged || dragged->id == ToolbarButton::SEPARATOR_ID)
        return;
    Session& session = getSession();
    const ToolbarButton* item = session.getToolBar()->findButton(dragged->id);
    KOVA_ASSERT(item);
    if (!item)
        return;
    GraphDoc& doc = toolbarId == T::IDC_LOWER_TOOLBAR ? session.getCompressionDoc() : session.getVentilationDoc();
    doc.addMark(*item);
}

// ---------------------------------------------------------------------------
// Printing

void SessionGraphView::selectFirstActionPrintWindow()
{
    if (!axis_)
        return;
    const int strip = GraphPrintWindow::stripLength(Configuration::instance().getPropertyModel().graphMaxPrintTime,
                                                    rate());
    const GraphPrintWindow::Window window = GraphPrintWindow::firstAction(
        getSession().getCommSession().getFirstActionTime(), rate(), sampleCount(), strip);
    if (window.count > 0)
        axis_->setView(window.left, window.count);
}

void SessionGraphView::selectPrintPage(int page)
{
    if (!axis_)
        return;
    const int strip = GraphPrintWindow::stripLength(Configuration::instance().getPropertyModel().graphMaxPrintTime,
                                                    rate());
    const GraphPrintWindow::Window window = GraphPrintWindow::page(page, strip);
    if (window.count > 0)
        axis_->setView(window.left, window.count);
}

int SessionGraphView::getPrintPageCount() const
{
    const int minutes = Configuration::instance().getPropertyModel().graphMaxPrintTime;
    return std::min(GraphPrintWindow::pageCount(getSession().getElapsedSeconds(), minutes),
                    GraphPrintWindow::stripsHolding(sampleCount(), GraphPrintWindow::stripLength(minutes, rate())));
}

void SessionGraphView::printGraphs(QPainter& painter, int left, int top, int right, int bottom, bool monochrome)
{
    if (released_)
        return;
    painter.save();
    painter.setClipRect(QRect(QPoint(left, top), QPoint(right, bottom)));
    const int axisHeight = AxisCtrl::printHeight(painter.device());
    const bool ecg = getSession().graphToggles().showEcgSignal();
    const LiveGraphLayout::Paper paper = LiveGraphLayout::paper({left, top, right, bottom}, axisHeight, ecg);
    const auto print = [&](GraphView* pane, const LiveGraphLayout::Box& box) {
        pane->printTo(painter, box.left, box.top, box.right, box.bottom, monochrome);
    };
    // The panes write their labels in the axis's font: the print font must
    // be in force before they print, or the screen's pixels come out as
    // device pixels, a fraction of a point high.
    axis_->setPrintFont(painter.device());
    print(ventilationPane_, paper.ventilation);
    if (paper.ecgPane)
        print(ecgPane_, *paper.ecgPane);
    print(compressionPane_, paper.compression);
    axis_->printTo(painter, QRect(QPoint(paper.axis.left, paper.axis.top), QPoint(paper.axis.right, paper.axis.bottom)));
    painter.setClipping(false);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(QRect(QPoint(left, top), QPoint(right, bottom)));
    painter.setPen(QPen(Qt::black, 1));
    const auto frame = [&](const LiveGraphLayout::Box& box) {
        painter.drawRect(QRect(QPoint(box.left, box.top), QPoint(box.right, box.bottom)));
    };
    frame(paper.axisFrame);
    if (paper.ecgBandFrame)
        frame(*paper.ecgBandFrame);
    painter.restore();
}

// ---------------------------------------------------------------------------
// The session

bool SessionGraphView::isLive() const { return !getSession().getUsingFile(); }

bool SessionGraphView::isEcgCapable() const
{
    const SessionLink* link = getSession().link();
    return link && link->sendsEcg();
}

bool SessionGraphView::registersEvents() const { return getSession().getRecord().RegisterEvents; }

double SessionGraphView::rate() const { return getSession().getCommSession().sampleRate; }

int SessionGraphView::sampleCount() const { return static_cast<int>(getSession().getCommSession().manData.size()); }
