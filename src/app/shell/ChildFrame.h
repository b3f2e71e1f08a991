#pragma once
// The frame of every window the station shows inside its main window: an MDI
// child of the main window's MdiClientWnd around one hosted window. Its
// creator makes it, sets the options and the hosted window, then calls
// createFrame; later it only shows or hides it. A frame closed for good
// takes its hosted window with it (Qt parentage) and tells frameDestroyed.

#include "Rodezir/Signal.h"

#include <QMdiSubWindow>
#include <QPointer>

#include <functional>

namespace kova {
class MdiClientWnd;
}

class ChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    // The gap kept between a frame that fills the client area and its edges,
    // and the corner of the first fixed-size frame.
    static constexpr int CLIENT_MARGIN = 5;

    explicit ChildFrame(kova::MdiClientWnd* client);
    // Tells frameDestroyed; the frame is half gone by then, so listeners only forget it.
    ~ChildFrame() override;

    // Options, set before createFrame.
    // The frame takes the size of its hosted window; otherwise it fills the
    // client area less CLIENT_MARGIN on every side.
    bool fitToDialog = false;
    // Opens maximised. A frame that does not fit its dialog also opens
    // maximised whenever the active frame is.
    bool maximized = false;
    // False: a fixed size with no maximise button, at (5, 5) the first time
    // any such frame opens in the run, centred in the client area after that.
    bool resizable = true;
    // Closing only hides the frame, so its window keeps its state.
    bool hideOnClose = false;
    // Adds a minimise button (fixed-size frames have none otherwise).
    bool minimizeBox = false;

    // Told with the frame when it goes away. (QObject::destroyed is Qt's own;
    // this one reaches the station's slot holders.)
    Signal<ChildFrame*> frameDestroyed;

    // The window the frame shows. It becomes the frame's child when the frame is created.
    virtual QWidget* getHostedWindow() const { return hosted_; }
    void setHostedWindow(QWidget* window) { hosted_ = window; }

    // Creates the frame with its title in the client area; false when the
    // client or the hosted window could not be made (the frame then deletes
    // itself once control returns to the event loop).
    bool createFrame(const QString& title);
    bool isCreated() const { return created_; }

    // Brings the frame back inside the client area (unless it fits its dialog
    // or the active frame is maximised), shows and activates it; the focus
    // goes back to the control that had it when the frame was hidden, else
    // to the first tab stop.
    void showFrame();
    void hideFrame();
    // Centres the frame in the client area, never at negative coordinates.
    void centerInClient();
    // Destroys the frame now, whatever its options (the OK and Cancel of a hosted dialog).
    void destroyFrame();

    // Whether the frame may close; asked before every close.
    virtual bool canClose() { return true; }

    kova::MdiClientWnd* mdiClient() const { return client_; }
    // The frame size that gives the hosted window that size.
    QSize frameSizeFor(const QSize& clientSize) const;

    // The main window's refresh of its Window menu, called whenever a frame
    // is shown or hidden.
    static void setWindowMenuRefresher(std::function<void()> refresh);
    static void refreshWindowMenu();

protected:
    // Makes the hosted window the frame's content; false without one.
    // Overrides make or build the window first, then call this.
    virtual bool createClient();
    // The frame was closed for good by its close box, Ctrl+F4 or its system
    // menu (not hidden, and not by its hosted window's own OK or Cancel).
    virtual void onClosed() {}
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void sizeAndPlace();
    void focusFirstTabStop();
    void restoreFocus();
    bool activeFrameIsMaximized() const;

    kova::MdiClientWnd* client_;
    QPointer<QWidget> hosted_;
    // The control that had the focus when the frame was hidden.
    QPointer<QWidget> focusWhenHidden_;
    QSize hostedSize_;
    bool created_ = false;
};
