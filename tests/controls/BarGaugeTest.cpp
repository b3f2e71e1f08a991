// The bar gauge's scale, its marker and what it refuses to draw.

#include "controls/BarGaugeWnd.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPicture>

namespace {

using kova::BarGaugeWnd;

constexpr kova::COLORREF GREEN = 0x00C000;

QImage drawGauge(BarGaugeWnd& gauge, int width, int height)
{
    QImage image(width + 20, height + 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    gauge.drawInto(painter, 10, 10, 10 + width, 10 + height, false);
    return image;
}

bool allWhite(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                return false;
    return true;
}

TEST(BarGauge, markerSitsAtTheEndsOfTheScale)
{
    // 200 x 20: depth 18, usable length 199 - 18 - 20 = 161, half depth 9.
    struct Case {
        double value;
        bool leftFlag;
        bool rightFlag;
        int centre;
    };
    const Case cases[] = {
        {0, true, true, 10 + 9},       {100, true, true, 10 + 9 + 161}, {50, true, true, 10 + 9 + 80},
        {-5, true, true, 9},           {-5, false, true, 10 + 9},       {120, true, true, 10 + 9 + 161 + 10},
        {120, true, false, 10 + 9 + 161},
    };
    for (const Case& c : cases) {
        BarGaugeWnd gauge;
        gauge.setArea(0, 100, 0xFFFFFF);
        gauge.setScale(c.leftFlag, c.rightFlag, 10, 10);
        gauge.setOffset(c.value);
        EXPECT_EQ(gauge.markerCentre(0, 200, 0, 20), c.centre) << c.value << " " << c.leftFlag << c.rightFlag;
    }
}

TEST(BarGauge, ballIsDrawnAtTheMarker)
{
    BarGaugeWnd gauge;
    gauge.setArea(-1.3333, 1.6667, 0xFFFFFF);
    gauge.setScale(true, true, 10, 10);
    gauge.setColor(0xC00000);
    gauge.addRange(-0.5, 0.5, GREEN, false, false);
    gauge.setOffset(1.6667);
    const QImage image = drawGauge(gauge, 300, 24);
    image.save(QString::fromStdString((kovatest::binaryDir() / "tests" / "controls" / "bar-gauge.png").string()));
    const int centre = gauge.markerCentre(10, 310, 10, 34);
    const QRgb ball = image.pixel(centre - 2, 10 + 10);
    EXPECT_EQ(qBlue(ball), 255);
    EXPECT_LT(qRed(ball), 250);
    // The green range lies in the middle, not at the marker.
    const int middle = 10 + 10 + 9 + static_cast<int>(1.3333 * (299 - 22 - 20) / 3.0);
    EXPECT_EQ(image.pixel(middle, 10 + 12) & 0xFFFFFF, 0x00C000u);
}

TEST(BarGauge, drawsNothingWithoutARangeOrRoom)
{
    struct Case {
        double minimum;
        double maximum;
        int width;
        int height;
    };
    const Case cases[] = {{0, 0, 200, 20}, {5, 5, 200, 20}, {0, 100, 49, 20}, {0, 100, 200, 5}};
    for (const Case& c : cases) {
        BarGaugeWnd gauge;
        gauge.setArea(c.minimum, c.maximum, 0x808080);
        gauge.setOffset(3);
        gauge.addRange(1, 2, GREEN, false, false);
        EXPECT_TRUE(allWhite(drawGauge(gauge, c.width, c.height))) << c.minimum << ".." << c.maximum << " "
                                                                  << c.width << "x" << c.height;
    }
    BarGaugeWnd drawn;
    drawn.setArea(0, 100, 0x808080);
    EXPECT_FALSE(allWhite(drawGauge(drawn, 50, 6)));
}

TEST(BarGauge, rangeStartingBelowTheMinimumIsDrawnFromTheMinimum)
{
    BarGaugeWnd gauge;
    gauge.setArea(0, 100, 0xFFFFFF);
    gauge.setScale(true, true, 10, 10);
    gauge.setOffset(100);
    gauge.addRange(-50, 30, GREEN, false, false);
    const QImage image = drawGauge(gauge, 200, 20);
    const int row = 10 + 10;
    EXPECT_EQ(image.pixel(10 + 12, row) & 0xFFFFFF, 0x00C000u) << "from the minimum";
    EXPECT_EQ(image.pixel(10 + 10 + 18 + 40, row) & 0xFFFFFF, 0x00C000u);
    EXPECT_NE(image.pixel(10 + 10 + 18 + 60, row) & 0xFFFFFF, 0x00C000u) << "and no further than its end";
}

TEST(BarGauge, colourDropsTheOverlayAndShadesAreCapped)
{
    BarGaugeWnd gauge;
    QPicture picture;
    {
        QPainter painter(&picture);
        painter.fillRect(0, 0, 10, 10, Qt::red);
    }
    gauge.setOverlay(picture);
    EXPECT_TRUE(gauge.hasOverlay());
    gauge.setColor(0xC00000);
    EXPECT_FALSE(gauge.hasOverlay());
    EXPECT_EQ(gauge.secondColour(), 0xC00000u);

    EXPECT_EQ(BarGaugeWnd::lightVariant(QColor(200, 10, 100)), QColor(255, 106, 196));
    EXPECT_EQ(BarGaugeWnd::darkVariant(QColor(200, 10, 100)), QColor(136, 0, 36));
}

TEST(BarGauge, overlayPictureReplacesTheBall)
{
    BarGaugeWnd gauge;
    gauge.setArea(0, 100, 0xFFFFFF);
    gauge.setScale(true, true, 10, 10);
    gauge.setOffset(50);
    QPicture picture;
    {
        QPainter painter(&picture);
        painter.fillRect(0, 0, 10, 10, QColor(255, 0, 0));
    }
    gauge.setOverlay(picture);
    const QImage image = drawGauge(gauge, 200, 20);
    const int centre = gauge.markerCentre(10, 210, 10, 30);
    EXPECT_EQ(image.pixel(centre, 10 + 9) & 0xFFFFFF, 0xFF0000u);
}

} // namespace
