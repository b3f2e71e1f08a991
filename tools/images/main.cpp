// station-images: draws the station's bitmaps and writes them as BMP files
// named by their resource id into the given folder: the event-icon strips 280
// (16 x 15 per icon, transparent where the mask colour is), 279 (24 x 24) and
// 278 (32 x 32), both pure black on white for the hand-held controller, the
// main window's toolbar 128, the bitmap buttons' state pictures, the graphs'
// problem markers, the live panel's battery pictures, the ECG rhythm panel's
// background and button faces and the two pictures at the head of printed
// pages; the zoom cursors go as PNG files (they keep their transparency) into
// the folder's "cursors". The same bytes come out on every run.

#include "BatteryImages.h"
#include "ButtonImages.h"
#include "CursorImages.h"
#include "EcgPanelImages.h"
#include "EventIcons.h"
#include "IconCanvas.h"
#include "MarkerImages.h"
#include "PrintPictures.h"
#include "ToolbarImages.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <string>

namespace {

// COLORREF 0x030215: the image list treats these pixels as transparent.
const QRgb MASK_COLOUR = qRgb(0x15, 0x02, 0x03);

QImage renderStrip(int cellWidth, int cellHeight, bool monochrome)
{
    QImage strip(cellWidth * images::EVENT_ICON_COUNT, cellHeight, QImage::Format_RGB32);
    strip.fill(Qt::white);
    const int side = std::min(cellWidth, cellHeight);
    const double pixelsPerUnit = side / 32.0;
    {
        QPainter painter(&strip);
        painter.setRenderHint(QPainter::Antialiasing, true);
        for (int i = 0; i < images::EVENT_ICON_COUNT; ++i) {
            painter.save();
            painter.setClipRect(i * cellWidth, 0, cellWidth, cellHeight);
            painter.translate(i * cellWidth + (cellWidth - side) / 2.0, (cellHeight - side) / 2.0);
            painter.scale(pixelsPerUnit, pixelsPerUnit);
            const images::IconCanvas canvas(painter, monochrome, pixelsPerUnit);
            images::drawEventIcon(canvas, i);
            painter.restore();
        }
    }
    for (int y = 0; y < strip.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x) {
            const QRgb pixel = line[x];
            if (monochrome)
                line[x] = qGray(pixel) < 150 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            else if ((pixel & 0xFFFFFF) == 0xFFFFFF)
                line[x] = MASK_COLOUR;
            else
                line[x] = qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
        }
    }
    return strip.convertToFormat(QImage::Format_RGB888);
}

bool write(const QImage& image, const std::string& folder, int id, const char* format = "BMP")
{
    const std::string path = folder + "/" + std::to_string(id);
    if (image.save(QString::fromStdString(path), format))
        return true;
    std::fprintf(stderr, "station-images: could not write %s\n", path.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: station-images <output folder>\n");
        return 2;
    }
    // The banner's name is text, which needs the font database, which needs an application object.
    QGuiApplication application(argc, argv);
    const std::string folder = argv[1];
    bool ok = write(renderStrip(16, 15, false), folder, 280);
    ok = write(renderStrip(24, 24, true), folder, 279) && ok;
    ok = write(renderStrip(32, 32, true), folder, 278) && ok;
    ok = write(images::toolbarStrip(MASK_COLOUR), folder, 128) && ok;
    for (const images::ButtonImage& button : images::buttonImages())
        ok = write(button.image, folder, button.id) && ok;
    for (const images::ButtonImage& marker : images::markerImages())
        ok = write(marker.image, folder, marker.id) && ok;
    for (const images::ButtonImage& battery : images::batteryImages())
        ok = write(battery.image, folder, battery.id) && ok;
    for (const images::ButtonImage& picture : images::ecgPanelImages())
        ok = write(picture.image, folder, picture.id) && ok;
    for (const images::ButtonImage& picture : images::printPictures())
        ok = write(picture.image, folder, picture.id) && ok;
    const std::string cursors = folder + "/cursors";
    if (!QDir().mkpath(QString::fromStdString(cursors))) {
        std::fprintf(stderr, "station-images: could not make %s\n", cursors.c_str());
        return 1;
    }
    for (const images::ButtonImage& cursor : images::cursorImages())
        ok = write(cursor.image, cursors, cursor.id, "PNG") && ok;
    return ok ? 0 : 1;
}
