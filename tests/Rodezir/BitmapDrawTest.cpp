// Bitmap resources stretched onto a painter, magnified icons, transparent
// bitmaps and the small rectangles they are made of.
#include "Rodezir/BitmapDraw.h"
#include "Rodezir/LogStream.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <filesystem>

namespace {

using namespace kova;

constexpr int SWATCH_BITMAP = 30401; // 4 x 2: red, green, blue, white over black and three magenta
constexpr int MISSING_BITMAP = 30499;

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::gray);
    return image;
}

void saveShot(const QImage& image, const char* name)
{
    const std::filesystem::path shots = kovatest::binaryDir() / "screenshots";
    std::filesystem::create_directories(shots);
    ASSERT_TRUE(image.save(QString::fromStdString((shots / name).string())));
}

TEST(DrawRectangle, fillsWideRectanglesAndTracesNarrowOnes)
{
    QImage image = canvas(40, 30);
    {
        QPainter painter(&image);
        drawRectangle(painter, 10, 5, 20, 7, Qt::red);    // 2 pixels high: an outline
        drawRectangle(painter, 10, 15, 14, 19, Qt::blue); // 4 x 4: filled from one pixel before to one short of the end
    }
    const QRgb red = QColor(Qt::red).rgb();
    const QRgb blue = QColor(Qt::blue).rgb();
    const QRgb gray = QColor(Qt::gray).rgb();
    for (int x = 10; x <= 20; ++x) {
        EXPECT_EQ(image.pixel(x, 5), red) << x;
        EXPECT_EQ(image.pixel(x, 7), red) << x;
    }
    EXPECT_EQ(image.pixel(10, 6), red);
    EXPECT_EQ(image.pixel(20, 6), red);
    EXPECT_EQ(image.pixel(15, 6), gray);
    EXPECT_EQ(image.pixel(21, 5), gray);

    EXPECT_EQ(image.pixel(9, 14), blue);
    EXPECT_EQ(image.pixel(13, 18), blue);
    EXPECT_EQ(image.pixel(14, 18), gray);
    EXPECT_EQ(image.pixel(13, 19), gray);
    EXPECT_EQ(image.pixel(8, 14), gray);
}

TEST(BitmapDraw, showDibStretchesTheResourceWithoutBlending)
{
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd(dir.path());
    QImage image = canvas(80, 40);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        EXPECT_TRUE(Util::showDib(painter, SWATCH_BITMAP, 0, 0, 40, 20, 0, 0, 4, 2));
        EXPECT_TRUE(painter.testRenderHint(QPainter::SmoothPixmapTransform)) << "the painter's hints are restored";
        // Only the top row's green and blue, doubled into a rectangle of its own.
        EXPECT_TRUE(showDibInRect(painter, SWATCH_BITMAP, RECT{50, 0, 70, 10}, RECT{1, 0, 3, 1}));
        EXPECT_FALSE(Util::showDib(painter, MISSING_BITMAP, 0, 0, 4, 4, 0, 0, 4, 4));
    }
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(9, 9), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(10, 0), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(35, 5), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(0, 10), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(15, 15), qRgb(255, 0, 255));
    EXPECT_EQ(image.pixel(59, 5), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(60, 5), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(75, 5), QColor(Qt::gray).rgb());
    saveShot(image, "utils-show-dib.png");

    QPainter inactive;
    EXPECT_FALSE(Util::showDib(inactive, SWATCH_BITMAP, 0, 0, 4, 2, 0, 0, 4, 2));
    LogStream::destroy();
    const std::string log = kovatest::readFile(dir.path() / "errors.txt");
    EXPECT_NE(log.find("Rodezir::showDib(..) resource error"), std::string::npos);
    EXPECT_NE(log.find("Util::showDib(..) StretchDIBits bits error: "), std::string::npos);
}

TEST(BitmapDraw, magnifiedAndTransparentBitmapsLeaveTheTransparentColourOut)
{
    const auto swatch = loadBitmapResource(SWATCH_BITMAP);
    ASSERT_TRUE(swatch);
    const QColor magenta(255, 0, 255);
    QImage image = canvas(60, 30);
    {
        QPainter painter(&image);
        drawBitmapAsRectangles(painter, *swatch, magenta, 10, 10, 32, 16, 0, 0, 4, 2);
        drawTransparentBitmap(painter, *swatch, 50, 2, magenta);
    }
    // Cells of 8 x 8, each filled from one pixel before its corner.
    EXPECT_EQ(image.pixel(9, 9), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(17, 12), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(35, 17), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(12, 22), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(22, 22), QColor(Qt::gray).rgb()) << "magenta cells are left out";

    EXPECT_EQ(image.pixel(50, 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(50, 3), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(51, 3), QColor(Qt::gray).rgb());
    saveShot(image, "utils-bitmaps.png");
}

} // namespace
