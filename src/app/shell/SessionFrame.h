#pragma once
// The session window's frame: it hosts the view of the sessions (made by
// its creator when the frame is created), asks its creator whether it may
// close, and never gets smaller than 540 x 300 pixels.

#include "app/shell/ChildFrame.h"

#include <functional>

class SessionFrame : public ChildFrame {
    Q_OBJECT
public:
    static constexpr int MINIMUM_WIDTH = 540;
    static constexpr int MINIMUM_HEIGHT = 300;

    // Makes the view inside the frame (its parent); null fails the creation.
    using ViewFactory = std::function<QWidget*(SessionFrame& frame)>;
    // Whether the sessions let the window close; none lets it close.
    using CloseQuery = std::function<bool()>;

    SessionFrame(kova::MdiClientWnd* client, ViewFactory createView, CloseQuery mayClose = {});

    bool canClose() override;

protected:
    bool createClient() override;
    void focusInEvent(QFocusEvent* event) override;

private:
    ViewFactory createView_;
    CloseQuery mayClose_;
};
