#pragma once
// The splash on the screen: a frameless window that stays on top and has no
// task-bar entry, showing the picture in a framed field, centred; its 20 ms
// timer drives the launcher, and a click hides it.

#include "splash/SplashLauncher.h"
#include "splash/SplashView.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

namespace platform {
struct SplashMessage;
}

namespace splash {

class SplashWindow final : public QWidget, public SplashView {
public:
    // Width of the picture field's frame on each side: a raised dialog frame
    // around a sunken edge.
    static constexpr int FRAME = 5;
    // The size of the window without any picture.
    static constexpr int EMPTY_SIZE = 80;
    static constexpr int LOGO_X = 50;
    static constexpr int LOGO_Y = 370;
    static constexpr int LOGO_SIZE = 80;

    // Reads the pictures through the launcher, sizes and centres itself on
    // the primary screen and starts the timer; `finished` is called once when
    // the launcher has ended.
    SplashWindow(SplashLauncher& launcher, std::function<void()> finished);

    void closeMessage(const platform::SplashMessage& message);
    void hideSplash() override;
    void stopTimer() override;
    bool timerActive() const { return timer_.isActive(); }
    // What the window shows as the picture (null without one).
    const QImage& picture() const { return picture_; }
    const QImage& logo() const { return logo_; }

    static QImage toImage(const kova::DibImage& bitmap);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void tick();
    void endSplash();

    SplashLauncher& launcher_;
    std::function<void()> finished_;
    QTimer timer_;
    QImage picture_;
    QImage logo_;
    bool done_ = false;
};

} // namespace splash
