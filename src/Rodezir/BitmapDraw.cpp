#include "Rodezir/BitmapDraw.h"

#include "Rodezir/DibImage.h"
#include "Rodezir/LogStream.h"
#include "platform/Resources.h"

#include <QPainter>

namespace kova {
namespace {

constexpr int MIN_FILLED_SIZE = 3;

QImage toQImage(const DibImage& dib)
{
    QImage image(dib.width, dib.height, QImage::Format_RGB32);
    for (int y = 0; y < dib.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < dib.width; ++x)
            line[x] = dib.pixel(x, y);
    }
    return image;
}

} // namespace

std::optional<QImage> loadBitmapResource(int bitmapId)
{
    const auto bytes = platform::loadResource(platform::ResourceType::Bitmap, bitmapId);
    if (!bytes || bytes->empty())
        return std::nullopt;
    if (DibImage::looksLikeDib(bytes->data(), bytes->size())) {
        const auto dib = DibImage::decode(bytes->data(), bytes->size());
        if (!dib)
            return std::nullopt;
        return toQImage(*dib);
    }
    QImage image;
    if (!image.loadFromData(bytes->data(), static_cast<int>(bytes->size())))
        return std::nullopt;
    return image;
}

bool Util::showDib(QPainter& painter, int bitmapId, int x, int y, int width, int height, int sourceX, int sourceY,
                   int sourceWidth, int sourceHeight)
{
    const auto image = loadBitmapResource(bitmapId);
    if (!image) {
        LogStream::instance() << "Rodezir::showDib(..) resource error" << LogStream::endl;
        return false;
    }
    if (!painter.isActive()) {
        LogStream::instance() << "Util::showDib(..) StretchDIBits bits error: the painter is not active"
                              << LogStream::endl;
        return false;
    }
    // Colour on colour: every destination pixel takes one source pixel, never a blend.
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(x, y, width, height), *image, QRect(sourceX, sourceY, sourceWidth, sourceHeight));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    return true;
}

bool showDibInRect(QPainter& painter, int bitmapId, const RECT& destination, const RECT& source)
{
    return Util::showDib(painter, bitmapId, destination.left, destination.top, destination.width(),
                         destination.height(), source.left, source.top, source.width(), source.height());
}

void drawBitmapAsRectangles(QPainter& painter, const QImage& bitmap, QColor transparent, int x, int y, int width,
                            int height, int sourceX, int sourceY, int sourceWidth, int sourceHeight)
{
    if (sourceWidth <= 0 || sourceHeight <= 0)
        return;
    const double scaleX = static_cast<double>(width) / sourceWidth;
    const double scaleY = static_cast<double>(height) / sourceHeight;
    const int cellWidth = static_cast<int>(scaleX + 0.5);
    const int cellHeight = static_cast<int>(scaleY + 0.5);
    for (int row = 0; row < sourceHeight; ++row) {
        for (int column = 0; column < sourceWidth; ++column) {
            const QPoint source(sourceX + column, sourceY + row);
            if (!bitmap.valid(source))
                continue;
            const QColor colour = bitmap.pixelColor(source);
            if (colour.rgb() == transparent.rgb())
                continue;
            const int left = x + static_cast<int>(column * scaleX);
            const int top = y + static_cast<int>(row * scaleY);
            drawRectangle(painter, left, top, left + cellWidth, top + cellHeight, colour);
        }
    }
}

void drawTransparentBitmap(QPainter& painter, const QImage& bitmap, int x, int y, QColor transparent)
{
    QImage masked = bitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparent.rgb();
    for (int row = 0; row < masked.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(row));
        for (int column = 0; column < masked.width(); ++column)
            if ((line[column] | 0xFF000000u) == key)
                line[column] = 0;
    }
    painter.drawImage(x, y, masked);
}

void drawRectangle(QPainter& painter, int left, int top, int right, int bottom, QColor colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (right - left >= MIN_FILLED_SIZE && bottom - top >= MIN_FILLED_SIZE) {
        painter.fillRect(QRect(left - 1, top - 1, right - left + 1, bottom - top + 1), colour);
    } else {
        painter.setPen(QPen(colour, 0));
        painter.setBrush(Qt::NoBrush);
        const QPoint outline[] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
        painter.drawPolyline(outline, 5);
    }
    painter.restore();
}

} // namespace kova
