#include "BatteryImages.h"

#include <QPainter>

namespace images {
namespace {

constexpr int WIDTH = 36;
constexpr int HEIGHT = 18;
const QColor SILVER(0xC0, 0xC0, 0xC0);
const QColor OUTLINE(0, 0, 0);
const QColor EMPTY_OUTLINE(200, 0, 0);
const QColor INSIDE(255, 255, 255);
const QColor NOT_AVAILABLE(96, 96, 96);

// A low charge shows red, a half one amber, the rest green: an instructor
// sees at a glance whether the manikin lasts the course.
QColor barColour(int bars)
{
    if (bars == 1)
        return QColor(210, 30, 30);
    if (bars == 2)
        return QColor(235, 160, 0);
    return QColor(0, 160, 60);
}

// The body from (1, 2) to (30, 15) with a double outline, and the nub.
QImage body(QColor outline)
{
    QImage image(WIDTH, HEIGHT, QImage::Format_RGB888);
    image.fill(SILVER);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(1, 2, 30, 14, outline);
    p.fillRect(3, 4, 26, 10, INSIDE);
    p.fillRect(31, 6, 3, 6, outline);
    return image;
}

QImage charged(int bars)
{
    QImage image = body(OUTLINE);
    QPainter p(&image);
    for (int i = 0; i < bars; ++i)
        p.fillRect(5 + i * 6, 6, 5, 6, barColour(bars));
    return image;
}

// "N/A" in strokes of two pixels across the body.
QImage notAvailable()
{
    QImage image = body(NOT_AVAILABLE);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(OUTLINE);
    // N
    p.fillRect(6, 5, 2, 8, OUTLINE);
    p.fillRect(11, 5, 2, 8, OUTLINE);
    for (int y = 5; y < 13; ++y)
        p.fillRect(8 + (y - 5) * 3 / 8, y, 1, 1, OUTLINE);
    // /
    for (int y = 5; y < 13; ++y)
        p.fillRect(17 - (y - 5) / 2, y, 1, 1, OUTLINE);
    // A
    p.fillRect(20, 6, 2, 7, OUTLINE);
    p.fillRect(25, 6, 2, 7, OUTLINE);
    p.fillRect(21, 5, 5, 1, OUTLINE);
    p.fillRect(22, 9, 3, 1, OUTLINE);
    return image;
}

} // namespace

std::vector<ButtonImage> batteryImages()
{
    return {{307, body(EMPTY_OUTLINE)}, {289, charged(1)}, {290, charged(2)},
            {291, charged(3)},          {292, charged(4)}, {293, notAvailable()}};
}

} // namespace images
