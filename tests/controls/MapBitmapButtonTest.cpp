// The bitmap button with the station's generated button pictures, and its label.

#include "controls/MapBitmapButton.h"

#include "Rodezir/dialogs/DialogItem.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>

namespace {

using namespace kova;

// The start button's pictures: normal, pressed, focused, disabled.
constexpr int NORMAL = 163, SELECTED = 161, FOCUS = 162, DISABLED = 164;
// Any other picture serves as the pressed-with-focus one.
constexpr int SELECTED_FOCUS = 190;

struct ButtonDialog {
    QWidget dialog;
    QPushButton* original;
    MapBitmapButton button;
    ButtonDialog()
    {
        original = new QPushButton(QStringLiteral("Start session"), &dialog);
        setControlId(original, 1018);
        original->setGeometry(10, 40, 90, 30);
    }
};

TEST(MapBitmapButton, picksThePictureOfItsState)
{
    MapBitmapButton onlyNormal;
    ASSERT_TRUE(onlyNormal.loadBitmaps(NORMAL));
    for (unsigned state : {0u, unsigned(ODS_SELECTED), unsigned(ODS_FOCUS), unsigned(ODS_DISABLED),
                           unsigned(ODS_SELECTED | ODS_FOCUS)})
        EXPECT_EQ(&onlyNormal.pictureFor(state), &onlyNormal.picture(MapBitmapButton::NORMAL)) << state;

    MapBitmapButton all;
    ASSERT_TRUE(all.loadBitmaps(NORMAL, SELECTED, FOCUS, DISABLED, SELECTED_FOCUS));
    struct Case {
        unsigned state;
        MapBitmapButton::Picture shown;
    };
    const Case cases[] = {
        {0, MapBitmapButton::NORMAL},
        {ODS_SELECTED | ODS_FOCUS, MapBitmapButton::SELECTED_FOCUS},
        {ODS_SELECTED, MapBitmapButton::SELECTED},
        {ODS_FOCUS, MapBitmapButton::FOCUS},
        {ODS_DISABLED, MapBitmapButton::DISABLED},
        {ODS_DISABLED | ODS_FOCUS, MapBitmapButton::FOCUS},
    };
    for (const Case& c : cases)
        EXPECT_EQ(&all.pictureFor(c.state), &all.picture(c.shown)) << c.state;
}

TEST(MapBitmapButton, missingPicturesAreReported)
{
    MapBitmapButton button;
    EXPECT_FALSE(button.loadBitmaps(9999, SELECTED));
    EXPECT_TRUE(button.picture(MapBitmapButton::SELECTED).isNull()) << "nothing loads without the normal picture";
    EXPECT_FALSE(button.loadBitmaps(NORMAL, 9999, FOCUS));
    EXPECT_FALSE(button.picture(MapBitmapButton::NORMAL).isNull());
    EXPECT_FALSE(button.picture(MapBitmapButton::FOCUS).isNull()) << "loading goes on after a failure";
}

TEST(MapBitmapButton, pressedAndFocusedPicturesAreColourMapped)
{
    QImage source(4, 1, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(255, 255, 0));   // yellow
    source.setPixel(1, 0, qRgb(0, 255, 255));   // cyan
    source.setPixel(2, 0, qRgb(192, 192, 192)); // silver
    source.setPixel(3, 0, qRgb(0, 0, 128));
    const QImage mapped = mapButtonColours(source, QColor(10, 20, 30));
    EXPECT_EQ(mapped.pixel(0, 0), qRgb(0x97, 0xE1, 0xFD));
    EXPECT_EQ(mapped.pixel(1, 0), qRgb(0xBC, 0xEC, 0xFE));
    EXPECT_EQ(mapped.pixel(2, 0), qRgb(10, 20, 30));
    EXPECT_EQ(mapped.pixel(3, 0), qRgb(0, 0, 128));

    // The generated pressed picture has silver around a cyan and yellow face;
    // the normal and disabled ones keep their silver.
    MapBitmapButton button;
    ASSERT_TRUE(button.loadBitmaps(NORMAL, SELECTED, FOCUS, DISABLED));
    const QRgb face = QApplication::palette().color(QPalette::Button).rgb();
    const QImage& pressed = button.picture(MapBitmapButton::SELECTED);
    EXPECT_EQ(pressed.pixel(0, 0), face);
    EXPECT_EQ(pressed.pixel(3, 4), qRgb(0xBC, 0xEC, 0xFE));
    EXPECT_EQ(pressed.pixel(3, 18), qRgb(0x97, 0xE1, 0xFD));
    EXPECT_EQ(button.picture(MapBitmapButton::NORMAL).pixel(0, 0), qRgb(192, 192, 192));
    EXPECT_EQ(button.picture(MapBitmapButton::DISABLED).pixel(0, 0), qRgb(192, 192, 192));
}

TEST(MapBitmapButton, autoLoadTakesTheButtonsPlaceAtThePicturesSize)
{
    ButtonDialog d;
    ASSERT_TRUE(d.button.autoLoad(1018, &d.dialog, NORMAL, SELECTED, FOCUS, DISABLED));
    EXPECT_EQ(getDlgItem(&d.dialog, 1018), &d.button);
    EXPECT_EQ(d.button.geometry(), QRect(10, 40, 24, 24));
    EXPECT_EQ(d.button.text(), QStringLiteral("Start session"));

    const QImage shown = d.button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, d.button.picture(MapBitmapButton::NORMAL));

    MapBitmapButton missingControl;
    EXPECT_FALSE(missingControl.autoLoad(4242, &d.dialog, NORMAL));
    ButtonDialog withoutPicture;
    EXPECT_FALSE(withoutPicture.button.autoLoad(1018, &withoutPicture.dialog, 9999));
}

TEST(MapBitmapButton, labelShowsTheCaptionBesideTheButtonButReadsBackEmpty)
{
    ButtonDialog d;
    ASSERT_TRUE(d.button.autoLoad(1018, &d.dialog, NORMAL));
    d.button.createLabel(5018);
    auto* label = qobject_cast<HiddenTextStatic*>(getDlgItem(&d.dialog, 5018));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label, d.button.label());
    EXPECT_TRUE(windowText(label).isEmpty());
    EXPECT_EQ(label->caption(), QStringLiteral("Start session"));
    EXPECT_EQ(label->x(), 10 + 24 + 6);
    EXPECT_GT(label->width(), 20);
    EXPECT_NEAR(label->y() + label->height() / 2.0, 40 + 12, 1.0) << "centred on the button";

    const QImage drawn = label->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage empty(drawn.size(), QImage::Format_RGB32);
    empty.fill(drawn.pixel(0, 0));
    EXPECT_NE(drawn, empty) << "the caption is drawn";
}

} // namespace
