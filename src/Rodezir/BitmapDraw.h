#pragma once
// Drawing bitmaps: bitmap resources stretched from a source to a destination
// rectangle, magnified icons drawn cell by cell, bitmaps with a transparent
// colour, and the small filled rectangles those are made of.

#include "Rodezir/Geometry.h"

#include <QColor>
#include <QImage>

#include <optional>

class QPainter;

namespace kova {

// The bitmap resource of that id (a device-independent bitmap, or an image
// file Qt reads), or nothing.
std::optional<QImage> loadBitmapResource(int bitmapId);

namespace Util {
// Stretches the source rectangle of the bitmap resource onto the destination
// without smoothing. False, with a log line, when the resource is missing or
// refused or the painter cannot draw.
bool showDib(QPainter& painter, int bitmapId, int x, int y, int width, int height, int sourceX, int sourceY,
             int sourceWidth, int sourceHeight);
} // namespace Util

bool showDibInRect(QPainter& painter, int bitmapId, const RECT& destination, const RECT& source);

// Every source pixel that is not the transparent colour becomes a filled cell
// of the destination, scaled by destination / source size.
void drawBitmapAsRectangles(QPainter& painter, const QImage& bitmap, QColor transparent, int x, int y, int width,
                            int height, int sourceX, int sourceY, int sourceWidth, int sourceHeight);
// The bitmap at (x, y) with the pixels of the transparent colour left out.
void drawTransparentBitmap(QPainter& painter, const QImage& bitmap, int x, int y, QColor transparent);
// A rectangle at least 3 pixels wide and high is filled as a borderless
// rectangle one pixel larger on every side, which covers from one pixel before
// its left and top edges to just before its right and bottom ones, so
// neighbouring cells of a magnified icon overlap and never leave a seam. A
// narrower or lower one is traced as its outline, corners included.
void drawRectangle(QPainter& painter, int left, int top, int right, int bottom, QColor colour);

} // namespace kova
