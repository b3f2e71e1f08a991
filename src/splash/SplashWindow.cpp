#include "splash/SplashWindow.h"

#include "platform/SplashMessage.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace splash {

namespace {

const QColor FACE(0xF0, 0xF0, 0xF0);
const QColor HIGHLIGHT(0xFF, 0xFF, 0xFF);
const QColor LIGHT(0xE3, 0xE3, 0xE3);
const QColor SHADOW(0xA0, 0xA0, 0xA0);
const QColor DARK_SHADOW(0x69, 0x69, 0x69);

// One ring of a 3D frame: `topLeft` on the upper and left sides.
void drawRing(QPainter& painter, const QRect& rect, QColor topLeft, QColor bottomRight)
{
    painter.setPen(topLeft);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

} // namespace

SplashWindow::SplashWindow(SplashLauncher& launcher, std::function<void()> finished)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      launcher_(launcher),
      finished_(std::move(finished))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("splash"));

    const SplashLauncher::Pictures pictures = launcher_.initDialog();
    if (pictures.picture)
        picture_ = toImage(*pictures.picture);
    if (pictures.logo)
        logo_ = toImage(*pictures.logo);

    const QSize size = picture_.isNull() ? QSize(EMPTY_SIZE, EMPTY_SIZE)
                                         : picture_.size() + QSize(2 * FRAME, 2 * FRAME);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, size.width(), size.height());
    setFixedSize(size);
    move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);

    timer_.setInterval(SplashLauncher::TIMER_MILLISECONDS);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    timer_.start();
}

QImage SplashWindow::toImage(const kova::DibImage& bitmap)
{
    QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < bitmap.width; ++x)
            line[x] = bitmap.pixel(x, y);
    }
    return image;
}

void SplashWindow::closeMessage(const platform::SplashMessage& message)
{
    if (launcher_.onCloseMessage(message) == SplashLauncher::Tick::End)
        endSplash();
}

void SplashWindow::hideSplash()
{
    hide();
    // The updates that follow keep this thread busy: the window must be off
    // the screen before they start.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void SplashWindow::stopTimer() { timer_.stop(); }

void SplashWindow::tick()
{
    if (launcher_.onTimer(*this) == SplashLauncher::Tick::End)
        endSplash();
}

void SplashWindow::endSplash()
{
    if (done_)
        return;
    done_ = true;
    timer_.stop();
    hide();
    if (finished_)
        finished_();
}

void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), FACE);
    if (picture_.isNull())
        return;
    // The picture field: a raised dialog frame, then a sunken edge.
    const QRect outer = rect();
    drawRing(painter, outer, LIGHT, DARK_SHADOW);
    drawRing(painter, outer.adjusted(1, 1, -1, -1), HIGHLIGHT, SHADOW);
    drawRing(painter, outer.adjusted(3, 3, -3, -3), SHADOW, HIGHLIGHT);
    drawRing(painter, outer.adjusted(4, 4, -4, -4), DARK_SHADOW, LIGHT);
    painter.drawImage(FRAME, FRAME, picture_);
    if (!logo_.isNull())
        painter.drawImage(QPoint(LOGO_X, LOGO_Y), logo_, QRect(0, 0, LOGO_SIZE, LOGO_SIZE));
}

void SplashWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    launcher_.onClick();
    hide();
}

} // namespace splash
