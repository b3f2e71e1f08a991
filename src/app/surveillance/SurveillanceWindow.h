#pragma once
// The surveillance window of the station: the frame "Surveillance" in the
// main window with the view inside it, made on first use and made anew after
// it was closed. It follows the session manager's list by itself: a session
// added gets its tile, a session removed loses it, whether or not the window
// is open. The windowed session manager owns one, shows it from the
// Surveillance command and closes it when the last session has gone.

#include "Rodezir/SlotHolder.h"

#include <QPointer>

class ChildFrame;
class DialogFrame;
class SessionManager;
class sessionManagerMultiView;

namespace kova {
class MdiClientWnd;
}

class SurveillanceWindow : public virtual SlotHolder {
public:
    SurveillanceWindow(SessionManager& manager, kova::MdiClientWnd* client);
    ~SurveillanceWindow() override;
    SurveillanceWindow(const SurveillanceWindow&) = delete;
    SurveillanceWindow& operator=(const SurveillanceWindow&) = delete;

    // Makes the frame and the view with a tile for every listed session when
    // they are absent and opens the window, or shows the open one.
    void show();
    // Closes the window for good (the last session went); the next show makes it anew.
    void close();

    DialogFrame* frame() const;
    sessionManagerMultiView* view() const;

private:
    // The manager's list changed: tiles follow it.
    void followSessions();
    void onFrameDestroyed(ChildFrame* frame);

    SessionManager& manager_;
    kova::MdiClientWnd* client_;
    // Held as its base: the frame tells of its end from the base's destructor,
    // when only that part of it is left to compare with.
    QPointer<ChildFrame> frame_;
    QPointer<sessionManagerMultiView> view_;
};
