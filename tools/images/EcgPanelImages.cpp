#include "EcgPanelImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace images {
namespace {

// The panel's blue, RGB(0x00, 0x93, 0xD6).
const QColor PANEL_BLUE(0x00, 0x93, 0xD6);
const QColor KEY_FACE(0x2A, 0xA8, 0xE4);
const QColor KEY_LIGHT(0x8C, 0xD4, 0xF4);
const QColor KEY_SHADOW(0x00, 0x5C, 0x8A);

// Two pixels per dialog unit of a 27 x 17 unit button.
constexpr int BUTTON_WIDTH = 54;
constexpr int BUTTON_HEIGHT = 34;
// Two pixels per dialog unit of the 182 x 150 unit panel.
constexpr int PANEL_WIDTH = 364;
constexpr int PANEL_HEIGHT = 300;

enum class Lamp { None, White, Green, Amber };

QImage buttonFace(Lamp lamp)
{
    QImage image(BUTTON_WIDTH, BUTTON_HEIGHT, QImage::Format_RGB32);
    image.fill(PANEL_BLUE);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    // The key: raised, light above and left, dark below and right.
    // The key ends above the caption lines, which cover the lower half.
    const QRectF key(3.5, 1.5, BUTTON_WIDTH - 7, 12.5);
    p.setPen(Qt::NoPen);
    p.setBrush(KEY_SHADOW);
    p.drawRoundedRect(key.translated(1, 1), 4, 4);
    p.setBrush(KEY_LIGHT);
    p.drawRoundedRect(key.translated(-0.5, -0.5), 4, 4);
    p.setBrush(KEY_FACE);
    p.drawRoundedRect(key.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);

    const QPointF centre = key.center();
    const double radius = 4;
    // The lamp's socket, and the lamp lit in its colour.
    p.setBrush(KEY_SHADOW);
    p.drawEllipse(centre, radius + 1.2, radius + 1.2);
    if (lamp == Lamp::None)
        return image;
    QColor colour;
    switch (lamp) {
    case Lamp::White:
        colour = QColor(0xF4, 0xF4, 0xF4);
        break;
    case Lamp::Green:
        colour = QColor(0x30, 0xE0, 0x40);
        break;
    case Lamp::Amber:
        colour = QColor(0xFF, 0xB0, 0x00);
        break;
    case Lamp::None:
        break;
    }
    QRadialGradient glow(centre - QPointF(1.5, 1.5), radius * 1.6);
    glow.setColorAt(0.0, Qt::white);
    glow.setColorAt(0.35, colour);
    glow.setColorAt(1.0, colour.darker(160));
    p.setBrush(glow);
    p.drawEllipse(centre, radius, radius);
    return image;
}

QImage background()
{
    QImage image(PANEL_WIDTH, PANEL_HEIGHT, QImage::Format_RGB32);
    image.fill(PANEL_BLUE);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    // A faint heartbeat along the line between the rhythms and the options.
    const double y = 121 * 2;
    QPainterPath trace;
    trace.moveTo(6, y);
    const double beat = 60;
    for (double x = 6; x + beat <= PANEL_WIDTH - 6; x += beat) {
        trace.lineTo(x + 20, y);
        trace.lineTo(x + 24, y - 3);
        trace.lineTo(x + 28, y);
        trace.lineTo(x + 31, y + 3);
        trace.lineTo(x + 34, y - 10);
        trace.lineTo(x + 37, y + 5);
        trace.lineTo(x + 40, y);
        trace.lineTo(x + beat, y);
    }
    p.setPen(QPen(KEY_LIGHT, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trace);
    return image;
}

} // namespace

std::vector<ButtonImage> ecgPanelImages()
{
    return {
        {297, background()},
        {302, buttonFace(Lamp::White)},
        {303, buttonFace(Lamp::None)},
        {304, buttonFace(Lamp::Green)},
        {305, buttonFace(Lamp::Amber)},
    };
}

} // namespace images
