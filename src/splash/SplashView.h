#pragma once
// What the launcher asks of the window that shows the splash.

namespace splash {

class SplashView {
public:
    virtual ~SplashView() = default;
    // Hides the splash for the rest of its life.
    virtual void hideSplash() = 0;
    // Stops the ticks: nothing is left to check.
    virtual void stopTimer() = 0;
};

} // namespace splash
