#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/FontUtil.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>

namespace {

using namespace kova;

// A paint device of exactly 96 dots per inch.
QImage screenOf96Dpi()
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    return image;
}

TEST(FontUtil, windowsFacesMapToInstalledFamilies)
{
    struct Case {
        const char* face;
        std::vector<QString> families; // acceptable, closest first
    };
    const Case cases[] = {
        {"MS Sans Serif", {"Liberation Sans"}},
        {"MS Shell Dlg", {"Liberation Sans"}},
        {"Tahoma", {"Liberation Sans"}},
        {"Verdana", {"Liberation Sans"}},
        {"arial", {"Liberation Sans"}},
        {"Arial Narrow", {"Liberation Sans Narrow"}},
        {"Times New Roman", {"Liberation Serif"}},
        {"Century Gothic", {"URW Gothic", "DejaVu Sans"}},
    };
    for (const auto& c : cases) {
        const QString family = FontUtil::installedFamily(c.face);
        EXPECT_TRUE(std::find(c.families.begin(), c.families.end(), family) != c.families.end())
            << c.face << " -> " << family.toStdString();
        // The family is really there: a font of it resolves to it.
        QFont font;
        ASSERT_TRUE(FontUtil::create(font, c.face, -12, false, false));
        EXPECT_EQ(QFontInfo(font).family(), family) << c.face;
        EXPECT_TRUE(FontUtil::isFontInstalled(c.face)) << c.face;
    }
    EXPECT_FALSE(FontUtil::isFontInstalled("No Such Face At All"));
    EXPECT_FALSE(FontUtil::fontExists("", nullptr, FontUtil::DEFAULT_CHARSET));
}

TEST(FontUtil, heightsAndStyles)
{
    QFont font;
    ASSERT_TRUE(FontUtil::create(font, "Arial", -20, true, true));
    EXPECT_EQ(QFontInfo(font).pixelSize(), 20);
    EXPECT_TRUE(QFontInfo(font).bold());
    EXPECT_TRUE(QFontInfo(font).italic());

    // A positive height asks for the cell height.
    ASSERT_TRUE(FontUtil::create(font, "Arial", 30, false, false));
    EXPECT_NEAR(FontUtil::getTextHeight(font), 30, 1);
    EXPECT_FALSE(QFontInfo(font).bold());

    const auto metrics = FontUtil::getTextMetrics(font);
    EXPECT_EQ(metrics.height, metrics.ascent + metrics.descent);
    EXPECT_GT(metrics.aveCharWidth, 0);
    EXPECT_GE(metrics.maxCharWidth, metrics.aveCharWidth);

    // A face that does not exist still gives a usable font.
    EXPECT_TRUE(FontUtil::create(font, "No Such Face At All", -12, false, false));
    EXPECT_TRUE(FontUtil::createHandle("No Such Face At All", -12, false, false).has_value());
}

TEST(FontUtil, failedCreationLogsAndLeavesTheSystemFont)
{
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd(dir.path());
    QFont font;
    EXPECT_FALSE(FontUtil::createHandle("Arial", 100000, false, true).has_value());
    EXPECT_FALSE(FontUtil::create(font, "Arial", 100000, false, true));
    EXPECT_GT(QFontInfo(font).pixelSize(), 0);
    LogStream::destroy();
    const std::string log = kovatest::readFile(dir.path() / "errors.txt");
    EXPECT_NE(log.find("FontUtil::create( .., Arial, 100000, false, true) : can't create font."), std::string::npos)
        << log;
}

TEST(FontUtil, pointConversionsTruncate)
{
    const QImage device = screenOf96Dpi();
    ASSERT_EQ(device.logicalDpiY(), 96);
    EXPECT_EQ(FontUtil::pointsToLogical(100, &device), -13);
    EXPECT_EQ(FontUtil::pointsToLogical(80, &device), -10);
    EXPECT_EQ(FontUtil::logicalToPoints(13, &device), 97);
    EXPECT_EQ(FontUtil::logicalToPoints(16, &device), 120);
}

TEST(FontUtil, charsetIsTheStationsOwn)
{
    EXPECT_EQ(FontUtil::getCharset(), FontUtil::ANSI_CHARSET);
    EXPECT_FALSE(FontUtil::isNonAnsiCharset());
    EXPECT_EQ(FontUtil::hasSmallFonts(), FontUtil::isFontInstalled("Small Fonts", FontUtil::ANSI_CHARSET));
    EXPECT_TRUE(FontUtil::fontExists("Arial", nullptr, FontUtil::RUSSIAN_CHARSET));
}

} // namespace
