// The animation control: a clip from a template's SysAnimate32 control,
// plays of part of a clip a number of times, stopping and seeking, and the
// transparent background.

#include "controls/AnimateCtrl.h"

#include "Rodezir/AviClip.h"
#include "Rodezir/dialogs/DialogBuilder.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/DialogTemplate.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QTest>

using namespace kova;

namespace {

// Four frames of one colour each on a white border pixel (the top-left pixel).
std::vector<std::uint8_t> fourFrameClip(std::uint32_t frameMs)
{
    std::vector<DibImage> frames;
    for (std::uint32_t i = 0; i < 4; ++i) {
        DibImage frame;
        frame.width = 4;
        frame.height = 2;
        frame.pixels.assign(8, 0xFF000000u | (0x10 * (i + 1)));
        frame.pixels[0] = 0xFFFFFFFFu;
        frames.push_back(frame);
    }
    return AviClip::encode(frames, frameMs * 1000);
}

QRgb pixelShown(AnimateCtrl& control, int x, int y)
{
    return control.grab().toImage().pixel(x, y);
}

} // namespace

TEST(AnimateCtrl, templatesMakeAnimationControlsThatShowTheFirstFrame)
{
    AnimateCtrl::registerWindowClass();
    DialogTable table;
    table.style = WS_POPUP | DS_SETFONT;
    table.cx = 100;
    table.cy = 40;
    table.controls = {control(L"", 1070, L"SysAnimate32", ACS_CENTER, 5, 5, 90, 30)};
    QDialog dialog;
    ASSERT_TRUE(DialogBuilder::build(&dialog, DialogTemplate(table)));
    auto* animation = qobject_cast<AnimateCtrl*>(getDlgItem(&dialog, 1070));
    ASSERT_TRUE(animation);
    EXPECT_FALSE(animation->open(999999)) << "no such resource";
    EXPECT_EQ(animation->frameCount(), 0);

    ASSERT_TRUE(animation->open(fourFrameClip(20)));
    EXPECT_EQ(animation->frameCount(), 4);
    EXPECT_EQ(animation->frameSize(), QSize(4, 2));
    // Centred in its rectangle, without transparency the border pixel shows as drawn.
    const QPoint corner((animation->width() - 4) / 2, (animation->height() - 2) / 2);
    EXPECT_EQ(pixelShown(*animation, corner.x(), corner.y()), qRgb(255, 255, 255));
    EXPECT_EQ(pixelShown(*animation, corner.x() + 1, corner.y()), qRgb(0, 0, 0x10));
}

TEST(AnimateCtrl, playsThePartAskedTheTimesAskedThenStops)
{
    AnimateCtrl animation(nullptr, 0);
    ASSERT_TRUE(animation.open(fourFrameClip(10)));
    EXPECT_EQ(animation.size(), QSize(4, 2)) << "without ACS_CENTER the control takes the clip's size";

    ASSERT_TRUE(animation.play(1, 2, 2));
    EXPECT_TRUE(animation.isPlaying());
    EXPECT_EQ(animation.currentFrame(), 1);
    std::vector<int> shown{animation.currentFrame()};
    while (animation.isPlaying() && shown.size() < 20) {
        QTest::qWait(12);
        if (animation.currentFrame() != shown.back() || !animation.isPlaying())
            shown.push_back(animation.currentFrame());
    }
    EXPECT_FALSE(animation.isPlaying());
    EXPECT_EQ(shown.front(), 1);
    EXPECT_EQ(shown.back(), 2) << "a play ends on its last frame";
    for (int frame : shown)
        EXPECT_TRUE(frame == 1 || frame == 2) << frame;

    // Played on and on (-1 = to the last frame), then stopped and set back.
    ASSERT_TRUE(animation.play(0, -1, 100000));
    for (int step = 0; step < 9; ++step)
        animation.stepNow();
    EXPECT_EQ(animation.currentFrame(), 1) << "nine steps from frame 0 of four wrap to frame 1";
    EXPECT_TRUE(animation.stop());
    EXPECT_TRUE(animation.seek(0));
    EXPECT_EQ(animation.currentFrame(), 0);
    EXPECT_FALSE(animation.isPlaying());

    EXPECT_FALSE(animation.play(3, 1, 1)) << "backwards";
    EXPECT_FALSE(animation.play(4, -1, 1)) << "beyond the clip";
    EXPECT_FALSE(animation.seek(4));
}

TEST(AnimateCtrl, theTopLeftColourIsTransparentWhenAsked)
{
    QWidget background;
    background.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0, 200, 0));
    background.setPalette(palette);
    background.resize(4, 2);
    auto* animation = new AnimateCtrl(&background, ACS_TRANSPARENT);
    ASSERT_TRUE(animation->open(fourFrameClip(20)));
    const QImage shown = background.grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 200, 0)) << "the white border pixel lets the window show";
    EXPECT_EQ(shown.pixel(1, 0), qRgb(0, 0, 0x10));
}
