#pragma once
// The station's main window: the translated menu, the toolbar, the status
// bar on screens tall enough for it, the MDI client area where every session
// and dialog window opens, and the one 20 ms timer that steps the live
// sessions and sounds the metronome. Commands it does not handle itself go
// to its owner, the application; closing asks the Run-course window and
// every session whether the program may end.

#include "Rodezir/Signal.h"
#include "app/shell/Metronome.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;
class QToolBar;

namespace kova {
class MdiClientWnd;
}

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // The timer's period: 50 steps a second.
    static constexpr int TIMER_INTERVAL_MS = 1000 / 50;
    // The status bar shows only where the screen's usable height exceeds this.
    static constexpr int STATUS_BAR_MIN_HEIGHT = 500;

    // What the application offers the frame.
    class Owner {
    public:
        virtual ~Owner() = default;
        // Runs an application command; false when it is none of the application's.
        virtual bool onCommand(int command) = 0;
        // Whether the command is enabled now; nothing when the application has no rule for it.
        virtual std::optional<bool> isCommandEnabled(int command) = 0;
        // Whether the Run-course window (when open) lets the program end.
        virtual bool runCourseMayClose() = 0;
    };

    using Command = std::function<void()>;
    using Sound = std::function<void()>;

    // `fullScreenHeight` is the screen's usable height; `beatSound` sounds
    // one metronome beat (empty: the metronome click).
    CMainFrame(Owner& owner, int fullScreenHeight, Sound beatSound = {});
    ~CMainFrame() override;

    // Builds the menu, the toolbar, the status bar and the client area and
    // starts the timer; false when the menu or the toolbar could not be made.
    bool create();

    kova::MdiClientWnd* mdiClient() const { return client_; }
    QToolBar* toolBar() const { return toolBar_; }
    // Null on a screen too low for it.
    QStatusBar* frameStatusBar() const { return statusBar_; }
    // The status bar's indicators of Caps Lock, Num Lock and Scroll Lock:
    // "CAP", "NUM" and "SCRL" while the key is locked, blank otherwise.
    // Read again whenever a lock key is pressed, and every LOCK_KEYS_INTERVAL_MS.
    static constexpr int LOCK_KEYS_INTERVAL_MS = 250;
    void updateLockIndicators();
    QMenu* windowMenu() const { return windowMenu_; }
    // The menu or toolbar action of a command; null when there is none.
    QAction* commandAction(int command) const;

    // Runs a command of the menu, the toolbar or a shortcut.
    void onCommand(int command);
    // Whether the command is enabled now.
    bool isCommandEnabled(int command) const;
    // Greys and checks the menu and toolbar by the state of the sessions.
    void updateCommandStates();

    // A command of another part of the station (a record dialog of the
    // Database menu); one not installed is greyed. An empty command removes it.
    void setCommand(int command, Command run);

    // One step of the 20 ms timer: every session, then the metronome.
    void onTimer();
    bool isTimerActive() const;
    // Metronome on or off (the toolbar button).
    void toggleMetronome();
    bool metronomeOn() const { return metronome_.isOn(); }

    // Lists the open windows under the Window menu's own commands.
    void refreshWindowMenu();
    // Lines the minimised windows up along the bottom of the client area.
    void arrangeIcons();

    // A timed beat of the metronome; every session marks its record.
    Signal<> metronomeBeat;

    // The window agreed to close: the program is ending.
    bool isEnding() const { return ending_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool buildMenu();
    bool buildToolBar();
    void buildStatusBar();
    void installShortcuts();
    void onShortcut(int command);
    void sound();
    double metronomeRate() const;

    Owner& owner_;
    int fullScreenHeight_;
    Sound beatSound_;
    kova::MdiClientWnd* client_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    std::vector<std::pair<QLabel*, QString>> lockIndicators_;
    QMenu* windowMenu_ = nullptr;
    QAction* metronomeAction_ = nullptr;
    QTimer* timer_ = nullptr;
    std::map<int, Command> commands_;
    Metronome metronome_;
    bool ending_ = false;
};
