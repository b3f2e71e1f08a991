#pragma once
// The animation control of the dialogs (window class SysAnimate32): shows the
// frames of an AVI resource and plays them on a timer, as a busy sign beside
// a long operation. Centred in its rectangle with ACS_CENTER, otherwise sized
// to the clip; with ACS_TRANSPARENT the colour of the first frame's top-left
// pixel lets the dialog show through.

#include "Rodezir/dialogs/DialogTable.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace kova {

inline constexpr std::uint32_t ACS_CENTER = 0x1;
inline constexpr std::uint32_t ACS_TRANSPARENT = 0x2;
inline constexpr std::uint32_t ACS_AUTOPLAY = 0x4;
inline constexpr std::uint32_t ACS_TIMER = 0x8;

class AnimateCtrl : public QWidget {
    Q_OBJECT
public:
    explicit AnimateCtrl(QWidget* parent = nullptr, std::uint32_t style = ACS_CENTER | ACS_TRANSPARENT);

    // Makes SysAnimate32 controls of dialog templates animation controls.
    static void registerWindowClass();

    // Loads the AVI resource of that id and shows its first frame; false (and
    // the control empty) when there is no such resource or it cannot be read.
    bool open(int aviResourceId);
    // Loads a clip from the bytes of an AVI file.
    bool open(const std::vector<std::uint8_t>& aviBytes);
    // Plays frames `from` to `to` (-1: the last), `repeat` times (-1: for ever).
    bool play(int from, int to, int repeat);
    bool stop();
    // Shows that frame (stopping a play).
    bool seek(int frame);
    // Shows the next frame of the running play at once, for code that keeps
    // the event loop waiting while it works.
    void stepNow();

    int frameCount() const { return static_cast<int>(frames_.size()); }
    int currentFrame() const { return current_; }
    bool isPlaying() const { return timer_.isActive(); }
    QSize frameSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void advance();

    std::uint32_t style_;
    std::vector<QImage> frames_;
    QTimer timer_;
    int current_ = 0;
    int from_ = 0;
    int to_ = 0;
    int repeatsLeft_ = 0;
};

} // namespace kova
