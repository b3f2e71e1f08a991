#include "controls/AnimateCtrl.h"

#include "Rodezir/AviClip.h"
#include "Rodezir/dialogs/DialogBuilder.h"
#include "platform/Resources.h"

#include <QPainter>

namespace kova {
namespace {

constexpr int MIN_FRAME_MS = 10;

QImage toImage(const DibImage& frame, bool transparent, std::uint32_t key)
{
    QImage image(frame.width, frame.height, QImage::Format_ARGB32);
    for (int y = 0; y < frame.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < frame.width; ++x) {
            const std::uint32_t pixel = frame.pixel(x, y);
            line[x] = transparent && pixel == key ? qRgba(0, 0, 0, 0) : pixel;
        }
    }
    return image;
}

} // namespace

AnimateCtrl::AnimateCtrl(QWidget* parent, std::uint32_t style) : QWidget(parent), style_(style)
{
    connect(&timer_, &QTimer::timeout, this, &AnimateCtrl::advance);
}

void AnimateCtrl::registerWindowClass()
{
    static const bool registered = [] {
        DialogBuilder::registerWindowClass(L"SysAnimate32", [](QWidget* parent, const DialogControlTable& control) {
            return static_cast<QWidget*>(new AnimateCtrl(parent, control.style));
        });
        return true;
    }();
    (void)registered;
}

bool AnimateCtrl::open(int aviResourceId)
{
    const auto bytes = platform::loadResource(platform::ResourceType::Avi, aviResourceId);
    if (!bytes) {
        open(std::vector<std::uint8_t>{});
        return false;
    }
    return open(*bytes);
}

bool AnimateCtrl::open(const std::vector<std::uint8_t>& aviBytes)
{
    stop();
    frames_.clear();
    current_ = 0;
    const auto clip = AviClip::decode(aviBytes.data(), aviBytes.size());
    if (clip) {
        const bool transparent = style_ & ACS_TRANSPARENT;
        const std::uint32_t key = clip->frames.front().pixel(0, 0);
        for (const DibImage& frame : clip->frames)
            frames_.push_back(toImage(frame, transparent, key));
        const auto ms = static_cast<int>(clip->microsecondsPerFrame / 1000);
        timer_.setInterval(std::max(ms, MIN_FRAME_MS));
        if (!(style_ & ACS_CENTER))
            resize(frameSize());
    }
    update();
    if (clip && (style_ & ACS_AUTOPLAY))
        play(0, -1, -1);
    return clip.has_value();
}

QSize AnimateCtrl::frameSize() const
{
    return frames_.empty() ? QSize() : frames_.front().size();
}

bool AnimateCtrl::play(int from, int to, int repeat)
{
    const int last = frameCount() - 1;
    if (last < 0 || from < 0 || from > last)
        return false;
    to_ = (to < 0 || to > last) ? last : to;
    if (to_ < from)
        return false;
    from_ = from;
    repeatsLeft_ = repeat;
    current_ = from_;
    update();
    if (repeat != 0 && to_ > from_)
        timer_.start();
    return true;
}

bool AnimateCtrl::stop()
{
    timer_.stop();
    return true;
}

bool AnimateCtrl::seek(int frame)
{
    if (frame < 0 || frame >= frameCount())
        return false;
    stop();
    current_ = frame;
    update();
    return true;
}

void AnimateCtrl::advance()
{
    if (current_ < to_) {
        ++current_;
    } else {
        // The end of one pass: another one, or the play is over.
        if (repeatsLeft_ > 0)
            --repeatsLeft_;
        if (repeatsLeft_ == 0) {
            timer_.stop();
            return;
        }
        current_ = from_;
    }
    update();
}

void AnimateCtrl::stepNow()
{
    if (!isPlaying())
        return;
    advance();
    repaint();
}

void AnimateCtrl::paintEvent(QPaintEvent*)
{
    if (current_ < 0 || current_ >= frameCount())
        return;
    const QImage& frame = frames_[static_cast<std::size_t>(current_)];
    QPainter painter(this);
    QPoint at(0, 0);
    if (style_ & ACS_CENTER)
        at = QPoint((width() - frame.width()) / 2, (height() - frame.height()) / 2);
    painter.drawImage(at, frame);
}

} // namespace kova
