#include "ToolbarImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <functional>
#include <vector>

namespace images {
namespace {

const QColor INK(40, 40, 48);
const QColor PAPER(255, 255, 255);
const QColor BLUE(40, 100, 190);
const QColor GREEN(30, 150, 60);
const QColor RED(200, 40, 40);
const QColor AMBER(230, 160, 20);
const QColor GREY(150, 150, 160);
const QColor WOOD(170, 110, 60);

// Every picture is drawn on a 32 x 32 grid.
using Drawing = std::function<void(QPainter&)>;

QPen pen(QColor colour, double width = 2.0)
{
    QPen p(colour, width);
    p.setJoinStyle(Qt::RoundJoin);
    p.setCapStyle(Qt::RoundCap);
    return p;
}

void page(QPainter& p)
{
    p.setPen(pen(INK, 1.6));
    p.setBrush(PAPER);
    p.drawPolygon(QPolygonF({{6, 3}, {20, 3}, {26, 9}, {26, 29}, {6, 29}}));
    p.drawPolyline(QPolygonF({{20, 3}, {20, 9}, {26, 9}}));
}

void newSession(QPainter& p)
{
    page(p);
    p.setPen(pen(INK, 1.2));
    for (int y : {14, 18, 22})
        p.drawLine(QPointF(10, y), QPointF(18, y));
    // The plus of a new one.
    p.setPen(pen(GREEN, 3.2));
    p.drawLine(QPointF(24, 17), QPointF(24, 29));
    p.drawLine(QPointF(18, 23), QPointF(30, 23));
}

void searchManikins(QPainter& p)
{
    // A lens over a heart line.
    p.setPen(pen(RED, 2.0));
    p.drawPolyline(QPolygonF({{2, 20}, {7, 20}, {9, 15}, {12, 25}, {14, 20}, {18, 20}}));
    p.setPen(pen(INK, 2.4));
    p.setBrush(QColor(200, 225, 255, 160));
    p.drawEllipse(QPointF(17, 13), 9, 9);
    p.setPen(pen(INK, 4.0));
    p.drawLine(QPointF(23.5, 19.5), QPointF(29.5, 27.5));
}

void controllerSetUp(QPainter& p)
{
    // The hand-held controller with its screen and keys.
    p.setPen(pen(INK, 1.6));
    p.setBrush(QColor(90, 95, 110));
    p.drawRoundedRect(QRectF(9, 2, 14, 28), 3, 3);
    p.setBrush(QColor(170, 220, 170));
    p.drawRect(QRectF(12, 5, 8, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(AMBER);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 2; ++column)
            p.drawEllipse(QPointF(13.5 + column * 5, 17.5 + row * 4), 1.5, 1.5);
}

void sessionView(QPainter& p)
{
    // A window with tabs and a curve.
    p.setPen(pen(INK, 1.4));
    p.setBrush(QColor(220, 230, 245));
    p.drawRect(QRectF(3, 6, 8, 5));
    p.drawRect(QRectF(11, 6, 8, 5));
    p.setBrush(PAPER);
    p.drawRect(QRectF(3, 11, 26, 18));
    p.setPen(pen(BLUE, 2.0));
    p.drawPolyline(QPolygonF({{5, 22}, {9, 22}, {11, 14}, {14, 27}, {16, 22}, {20, 22}, {22, 16}, {24, 24}, {27, 22}}));
}

void surveillance(QPainter& p)
{
    // Four tiles, one per session.
    p.setPen(pen(INK, 1.4));
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column) {
            const QRectF tile(3 + column * 14, 4 + row * 13, 12, 11);
            p.setBrush(PAPER);
            p.drawRect(tile);
            p.save();
            p.setPen(pen((row + column) % 2 ? GREEN : BLUE, 1.4));
            const double x = tile.left();
            const double y = tile.top() + 6;
            p.drawPolyline(QPolygonF({{x + 1, y}, {x + 4, y}, {x + 6, y - 4}, {x + 8, y + 3}, {x + 11, y}}));
            p.restore();
        }
}

void startAll(QPainter& p)
{
    p.setPen(pen(GREEN.darker(140), 1.4));
    p.setBrush(GREEN);
    p.drawPolygon(QPolygonF({{3, 5}, {16, 16}, {3, 27}}));
    p.drawPolygon(QPolygonF({{15, 5}, {28, 16}, {15, 27}}));
}

void pauseAll(QPainter& p)
{
    p.setPen(pen(AMBER.darker(150), 1.4));
    p.setBrush(AMBER);
    p.drawRect(QRectF(6, 5, 7, 22));
    p.drawRect(QRectF(19, 5, 7, 22));
}

void print(QPainter& p)
{
    p.setPen(pen(INK, 1.5));
    p.setBrush(PAPER);
    p.drawRect(QRectF(9, 3, 14, 10));
    p.setBrush(GREY);
    p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
    p.setBrush(PAPER);
    p.drawRect(QRectF(8, 20, 16, 9));
    p.setPen(pen(INK, 1.0));
    p.drawLine(QPointF(11, 23.5), QPointF(21, 23.5));
    p.drawLine(QPointF(11, 26.5), QPointF(18, 26.5));
    p.setPen(Qt::NoPen);
    p.setBrush(GREEN);
    p.drawEllipse(QPointF(25, 16), 1.4, 1.4);
}

void metronome(QPainter& p)
{
    // The wooden pyramid with its pendulum swung to one side.
    p.setPen(pen(WOOD.darker(160), 1.5));
    p.setBrush(WOOD);
    p.drawPolygon(QPolygonF({{12, 3}, {20, 3}, {27, 29}, {5, 29}}));
    p.setBrush(QColor(245, 235, 210));
    p.drawPolygon(QPolygonF({{13.5, 6}, {18.5, 6}, {22, 22}, {10, 22}}));
    p.setPen(pen(INK, 1.8));
    p.drawLine(QPointF(16, 24), QPointF(22, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(INK);
    p.drawRect(QRectF(18.2, 11, 3.2, 3));
}

void about(QPainter& p)
{
    p.setPen(pen(BLUE.darker(130), 1.6));
    p.setBrush(BLUE);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    p.setPen(Qt::NoPen);
    p.setBrush(PAPER);
    p.drawEllipse(QPointF(16, 9), 2.3, 2.3);
    p.drawRoundedRect(QRectF(13.8, 13, 4.4, 12), 1.2, 1.2);
}

const std::vector<Drawing>& drawings()
{
    static const std::vector<Drawing> list = {
        newSession, searchManikins, controllerSetUp, sessionView, surveillance,
        startAll,   pauseAll,       print,           metronome,   about,
    };
    return list;
}

} // namespace

QImage toolbarStrip(QRgb maskColour)
{
    QImage strip(TOOLBAR_IMAGE_SIZE * TOOLBAR_IMAGE_COUNT, TOOLBAR_IMAGE_SIZE, QImage::Format_RGB32);
    // Drawn on white, so smoothed edges fade to paper, not to the mask colour.
    strip.fill(Qt::white);
    {
        QPainter painter(&strip);
        painter.setRenderHint(QPainter::Antialiasing, true);
        for (int i = 0; i < TOOLBAR_IMAGE_COUNT; ++i) {
            painter.save();
            painter.setClipRect(i * TOOLBAR_IMAGE_SIZE, 0, TOOLBAR_IMAGE_SIZE, TOOLBAR_IMAGE_SIZE);
            painter.translate(i * TOOLBAR_IMAGE_SIZE, 0);
            painter.scale(TOOLBAR_IMAGE_SIZE / 32.0, TOOLBAR_IMAGE_SIZE / 32.0);
            drawings()[static_cast<std::size_t>(i)](painter);
            painter.restore();
        }
    }
    for (int y = 0; y < strip.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0xFFFFFF)
                line[x] = maskColour;
    }
    return strip.convertToFormat(QImage::Format_RGB888);
}

} // namespace images
