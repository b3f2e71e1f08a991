#pragma once
// The panel a session shows while it collects: its ventilation, compression
// and (when switched on) ECG curves on the session's time axis, with Start
// and Pause, the zoom list and magnifiers, the scroll bar while paused, the
// five display switches shared by all sessions, the event toolbars whose
// buttons are dragged onto the curves as marks, the elapsed time against the
// duration, the compression rate and the manikin's battery. It also gives
// the printing its graph strips.

#include "Rodezir/SlotHolder.h"
#include "app/graphs/AxisOwner.h"
#include "app/livepanel/EcgBox.h"
#include "app/livepanel/LiveDisplays.h"
#include "app/printing/PrintedGraphs.h"
#include "app/sessions/SessionPanel.h"

#include <QCursor>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <string>

class AxisCtrl;
class GraphView;
class QAction;
class QComboBox;
class QMessageBox;
class QPainter;
class QScrollBar;
class QSpinBox;
class QToolBar;

namespace kova {
class HoverHintStatic;
class MapBitmapButton;
} // namespace kova

class SessionGraphView : public SessionPanel,
                         public AxisOwner,
                         public PrintedGraphs,
                         public virtual SlotHolder {
    Q_OBJECT
public:
    static constexpr int HELP_TOPIC = 10002;
    static constexpr int PAUSE_BLINK_MS = 1000;
    static constexpr int DEFAULT_WINDOW_MS = 20000;
    // The cursor modes: normal, zoom-in and zoom-out cursor.
    static constexpr int CURSOR_NORMAL = 0;
    static constexpr int CURSOR_ZOOM_IN = 1;
    static constexpr int CURSOR_ZOOM_OUT = 2;
    static constexpr const wchar_t* LOW_BATTERY_TEXT =
        L"Please finish this session. \nReplace the batteries or connect the manikin to the USB port";
    static constexpr const wchar_t* LOW_BATTERY_CAPTION = L"Low battery";

    // The ECG box is made here, hidden, when a factory is installed.
    explicit SessionGraphView(Session& session);
    ~SessionGraphView() override;

    // Every later session gets this panel as its live panel, with the ECG
    // rhythm panel as its ECG box.
    static void install();
    // The factory of the sessions' ECG boxes (empty: none).
    static void setEcgBoxFactory(EcgBox::Factory factory);
    // How the low-battery message is shown; the panel's own is a box that
    // does not wait for its answer. Tests put a recorder here.
    using LowBatteryNotice = std::function<void(SessionGraphView& panel, const std::wstring& text,
                                                const std::wstring& caption)>;
    static void setLowBatteryNotice(LowBatteryNotice notice);
    // Fills a graph window's zoom list and its up-down (this panel's, the
    // surveillance view's) with the eleven windows, `defaultMs` selected.
    static void fillZoomCombo(QComboBox& combo, QSpinBox* upDown, int defaultMs);

    // SessionPanel.
    void newData(int lastIndex) override;
    void updateButtons() override;
    void hideEcgPanel() override;
    void resendEcgRhythms() override;
    void showEcgPanel(bool show) override;
    bool isEcgPanelVisible() const override;
    void checkRhythmSwitch(int sampleIndex) override;
    void help() override;

    // AxisOwner: the zoom buttons and cursor follow the axis's mode; the
    // scroll bar follows its window.
    void setZoomCursor(int mode) override;
    void updateScrollBar() override;

    // The printed graphs: strips of the configured print time.
    void selectFirstActionPrintWindow() override;
    void selectPrintPage(int page) override;
    int getPrintPageCount() const override;
    // Draws the panes and the axis into the rectangle (inclusive page
    // coordinates); `monochrome` goes to the panes unchanged.
    void printGraphs(QPainter& painter, int left, int top, int right, int bottom, bool monochrome) override;

    // The parts of the panel, for the session window and the tests.
    AxisCtrl* axis() const { return axis_.get(); }
    GraphView* ventilationPane() const { return ventilationPane_; }
    GraphView* compressionPane() const { return compressionPane_; }
    GraphView* ecgPane() const { return ecgPane_; }
    QToolBar* upperToolbar() const { return upperToolbar_; }
    QToolBar* lowerToolbar() const { return lowerToolbar_; }
    QScrollBar* scrollBar() const { return scrollBar_; }
    bool isScrollBarShown() const { return scrollBarShown_; }
    bool areToolbarsShown() const { return toolbarsShown_; }
    int getCursorMode() const { return cursorMode_; }
    EcgBox* ecgBox() const { return ecgBox_.get(); }
    // The battery picture shown now (0 before the first).
    int batteryBitmap() const { return batteryBitmap_; }
    // The low-battery box on screen, if any.
    QMessageBox* lowBatteryBox() const;
    // One tick of the pause blink.
    void onPauseTimer();
    const QTimer& pauseTimer() const { return pauseTimer_; }
    // A drag out of an event toolbar's button (1014 upper, 1015 lower).
    void beginDrag(int toolbarId, const QAction* action);

protected:
    bool onInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createGraphs();
    // The session's views are gone and the session goes next: everything
    // that reaches into it (panes, axis, toolbars, switch connections) goes
    // now, while this object itself is deleted once control is back in the
    // event loop.
    void releaseSession(Session* session);
    QToolBar* createToolbar(int id);
    void watchToolbarButtons(QToolBar* toolbar);
    void connectToggles();
    void initEcgControls();
    void loadPictures();
    void layoutGraphs();
    void layoutGraphs(int width, int height);
    void applyBattery();
    void showLowBattery();
    void onStart();
    void onToggleClicked(int controlId);
    void onEcgSignalClicked();
    void onToggleChanged(int controlId, bool on);
    void onZoomSelected();
    void onZoomStepped(int position);
    void onViewChanged();
    void onScrolled(int position);
    void onMagnify();
    void onDeMagnify();
    void collapseEcgPane();
    void showTimeCaption(const QString& caption);
    void setControlEnabled(int id, bool enabled);
    void applyCursor();
    bool isLive() const;
    bool isEcgCapable() const;
    bool registersEvents() const;
    double rate() const;
    int sampleCount() const;

    LiveDisplays displays_;
    bool scrollBarShown_ = false;
    bool layoutReady_ = false;
    bool toolbarsShown_;
    bool eventButtonsEnabled_ = true;
    int cursorMode_ = CURSOR_NORMAL;
    QCursor zoomInCursor_;
    QCursor zoomOutCursor_;
    QString pauseText_;
    int toolbarHeight_ = 0;
    int labelLeft_ = 0;
    int rateLabelHeight_ = 0;
    QString savedTimeText_;
    bool blinkState_ = false;
    std::map<int, QPixmap> batteryPictures_;
    int batteryBitmap_ = 0;
    std::unique_ptr<EcgBox> ecgBox_;
    bool firstStartPending_ = false;
    QTimer pauseTimer_;
    std::unique_ptr<AxisCtrl> axis_;
    GraphView* ventilationPane_ = nullptr;
    GraphView* compressionPane_ = nullptr;
    GraphView* ecgPane_ = nullptr;
    QToolBar* upperToolbar_ = nullptr;
    QToolBar* lowerToolbar_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QComboBox* zoomList_ = nullptr;
    QSpinBox* zoomSpin_ = nullptr;
    kova::MapBitmapButton* startButton_ = nullptr;
    kova::MapBitmapButton* pauseButton_ = nullptr;
    kova::MapBitmapButton* magnifyButton_ = nullptr;
    kova::MapBitmapButton* deMagnifyButton_ = nullptr;
    kova::HoverHintStatic* positionReadout_ = nullptr;
    QPointer<QMessageBox> lowBatteryBox_;
    // Where a press on an event button began, for telling a drag from a click.
    QPoint pressPosition_;
    QObject* pressedButton_ = nullptr;
    bool dragging_ = false;
    bool released_ = false;
};
