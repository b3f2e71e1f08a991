#include "ButtonImages.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace images {
namespace {

constexpr int SIZE = 24;

enum class State { Normal, Selected, Focus, Disabled };

const QColor SILVER(192, 192, 192);
const QColor CYAN(0, 255, 255);
const QColor YELLOW(255, 255, 0);
const QColor GLYPH(0, 0, 128);
const QColor GREYED(128, 128, 128);

using Glyph = std::function<void(QPainter&, QColor)>;

void polygon(QPainter& p, QColor colour, std::initializer_list<QPoint> points)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygon(QList<QPoint>(points)));
}

void bar(QPainter& p, QColor colour, int x, int y, int w, int h)
{
    p.fillRect(x, y, w, h, colour);
}

void magnifier(QPainter& p, QColor colour, bool plus)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 2));
    p.drawEllipse(5, 5, 10, 10);
    bar(p, colour, 7, 9, 7, 2);
    if (plus)
        bar(p, colour, 9, 7, 2, 7);
    p.setPen(QPen(colour, 3));
    p.drawLine(15, 15, 19, 19);
}

const Glyph PLAY = [](QPainter& p, QColor c) { polygon(p, c, {{8, 5}, {17, 11}, {8, 18}}); };
const Glyph PAUSE = [](QPainter& p, QColor c) {
    bar(p, c, 7, 6, 4, 12);
    bar(p, c, 13, 6, 4, 12);
};
const Glyph ZOOM_IN = [](QPainter& p, QColor c) { magnifier(p, c, true); };
const Glyph ZOOM_OUT = [](QPainter& p, QColor c) { magnifier(p, c, false); };
const Glyph FIRST = [](QPainter& p, QColor c) {
    bar(p, c, 6, 6, 2, 12);
    polygon(p, c, {{16, 6}, {9, 12}, {16, 18}});
};
const Glyph LAST = [](QPainter& p, QColor c) {
    bar(p, c, 16, 6, 2, 12);
    polygon(p, c, {{8, 6}, {15, 12}, {8, 18}});
};
const Glyph NEXT = [](QPainter& p, QColor c) { polygon(p, c, {{9, 6}, {16, 12}, {9, 18}}); };
const Glyph PREVIOUS = [](QPainter& p, QColor c) { polygon(p, c, {{15, 6}, {8, 12}, {15, 18}}); };
const Glyph UP = [](QPainter& p, QColor c) {
    polygon(p, c, {{12, 5}, {18, 12}, {6, 12}});
    bar(p, c, 10, 12, 4, 6);
};
const Glyph DOWN = [](QPainter& p, QColor c) {
    bar(p, c, 10, 6, 4, 6);
    polygon(p, c, {{6, 12}, {18, 12}, {12, 19}});
};
const Glyph REMOVE = [](QPainter& p, QColor c) {
    p.setPen(QPen(c, 3));
    p.drawLine(7, 7, 16, 16);
    p.drawLine(16, 7, 7, 16);
};
// Two rows trading places: an arrow up beside an arrow down, above a short and a long bar.
const Glyph SORT = [](QPainter& p, QColor c) {
    polygon(p, c, {{8, 4}, {12, 9}, {4, 9}});
    bar(p, c, 7, 9, 2, 5);
    bar(p, c, 15, 4, 2, 5);
    polygon(p, c, {{16, 14}, {20, 9}, {12, 9}});
    bar(p, c, 5, 16, 6, 2);
    bar(p, c, 5, 19, 14, 2);
};
const Glyph PRINT = [](QPainter& p, QColor c) {
    p.setPen(QPen(c, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(8, 4, 7, 5);
    bar(p, c, 5, 9, 14, 6);
    p.drawRect(8, 13, 7, 5);
};

void drawFace(QPainter& p, State state)
{
    p.fillRect(0, 0, SIZE, SIZE, SILVER);
    const QRect face(2, 2, SIZE - 4, SIZE - 4);
    if (state == State::Selected || state == State::Focus) {
        // Two-tone face: cyan above, yellow below, mapped to the light blues when loaded.
        p.fillRect(face.left(), face.top(), face.width(), face.height() / 2, CYAN);
        p.fillRect(face.left(), face.top() + face.height() / 2, face.width(), face.height() - face.height() / 2, YELLOW);
    }
    const bool pressed = state == State::Selected;
    p.setBrush(Qt::NoBrush);
    p.setPen(pressed ? QColor(64, 64, 64) : QColor(255, 255, 255));
    p.drawLine(1, 1, SIZE - 2, 1);
    p.drawLine(1, 1, 1, SIZE - 2);
    p.setPen(pressed ? QColor(255, 255, 255) : QColor(64, 64, 64));
    p.drawLine(1, SIZE - 2, SIZE - 2, SIZE - 2);
    p.drawLine(SIZE - 2, 1, SIZE - 2, SIZE - 2);
    if (state == State::Focus) {
        p.setPen(QPen(QColor(0, 0, 0), 1, Qt::DotLine));
        p.drawRect(3, 3, SIZE - 7, SIZE - 7);
    }
}

QImage render(const Glyph& glyph, State state)
{
    QImage image(SIZE, SIZE, QImage::Format_RGB888);
    QPainter p(&image);
    // Without smoothing, so every face pixel keeps the exact colour the button maps.
    p.setRenderHint(QPainter::Antialiasing, false);
    drawFace(p, state);
    if (state == State::Selected)
        p.translate(1, 1);
    if (state == State::Disabled) {
        p.save();
        p.translate(1, 1);
        glyph(p, QColor(255, 255, 255));
        p.restore();
        glyph(p, GREYED);
    } else {
        glyph(p, GLYPH);
    }
    return image;
}

struct ButtonSet {
    const Glyph* glyph;
    int normal, selected, focus, disabled;
};

const ButtonSet BUTTON_SETS[] = {
    {&PLAY, 163, 161, 162, 164},    {&PAUSE, 159, 157, 158, 160},   {&ZOOM_IN, 142, 138, 140, 144},
    {&ZOOM_OUT, 152, 155, 153, 151}, {&FIRST, 186, 184, 185, 187},   {&LAST, 190, 188, 189, 191},
    {&NEXT, 194, 192, 193, 195},    {&PREVIOUS, 182, 180, 181, 183}, {&UP, 196, 197, 198, 199},
    {&DOWN, 202, 200, 201, 203},    {&REMOVE, 206, 204, 205, 207},  {&SORT, 210, 208, 209, 211},
    {&PRINT, 213, 215, 214, 212},
};

} // namespace

std::vector<ButtonImage> buttonImages()
{
    std::vector<ButtonImage> images;
    for (const ButtonSet& set : BUTTON_SETS) {
        images.push_back({set.normal, render(*set.glyph, State::Normal)});
        images.push_back({set.selected, render(*set.glyph, State::Selected)});
        images.push_back({set.focus, render(*set.glyph, State::Focus)});
        images.push_back({set.disabled, render(*set.glyph, State::Disabled)});
    }
    return images;
}

} // namespace images
