// The rounded button's drawing, the hover hint and the MDI client.

#include "controls/HoverHintStatic.h"
#include "controls/MdiClientWnd.h"
#include "controls/RoundButton.h"

#include "Rodezir/dialogs/DialogItem.h"
#include "platform/SystemColours.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPointer>
#include <QTest>

namespace {

using namespace kova;

constexpr QRgb TEXT_COLOUR = qRgb(0, 0, 0);
constexpr QRgb GREY_TEXT = qRgb(150, 0, 150); // distinct from every face colour

QPalette testPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(212, 208, 200));
    palette.setColor(QPalette::Midlight, QColor(232, 230, 226));
    palette.setColor(QPalette::Light, QColor(255, 255, 255));
    palette.setColor(QPalette::Dark, QColor(128, 128, 128));
    palette.setColor(QPalette::Shadow, QColor(64, 64, 64));
    palette.setColor(QPalette::Mid, QColor(100, 100, 100));
    palette.setColor(QPalette::ButtonText, QColor(TEXT_COLOUR));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(GREY_TEXT));
    return palette;
}

int countPixels(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return count;
}

QImage drawButton(RoundButton& button, unsigned state)
{
    QImage image(button.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawItemStruct item;
    item.rcItem = QRect(QPoint(0, 0), button.size());
    item.itemState = state;
    button.DrawItem(painter, item);
    return image;
}

TEST(RoundButton, disabledCaptionIsGreyText)
{
    RoundButton button(QStringLiteral("HIIIL"), nullptr);
    button.setPalette(testPalette());
    button.resize(90, 28);
    const QImage enabled = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(countPixels(enabled, TEXT_COLOUR), 0);
    EXPECT_EQ(countPixels(enabled, GREY_TEXT), 0);

    button.setEnabled(false);
    const QImage disabled = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    disabled.save(QString::fromStdString((kovatest::binaryDir() / "tests" / "controls" / "round-button-disabled.png").string()));
    EXPECT_GT(countPixels(disabled, GREY_TEXT), 0);
    EXPECT_EQ(countPixels(disabled, TEXT_COLOUR), 0);
}

TEST(RoundButton, theStationsGreyTextShowsOnBothHalvesOfADisabledFace)
{
    // The station's own palette, as start-up gives it; the style's pale
    // disabled text vanished on the light upper half.
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    ASSERT_NE(application, nullptr);
    const QPalette before = QApplication::palette();
    platform::applySystemColours(*application);
    RoundButton button(QStringLiteral("HIIIL"), nullptr);
    button.resize(90, 28);
    button.setEnabled(false);
    const QImage image = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QApplication::setPalette(before);
    const int half = image.height() / 2;
    EXPECT_GT(countPixels(image.copy(0, 0, image.width(), half), platform::GRAY_TEXT), 0);
    EXPECT_GT(countPixels(image.copy(0, half, image.width(), image.height() - half), platform::GRAY_TEXT), 0);
}

TEST(RoundButton, faceIsTwoToneAndLightBlueWithTheFocus)
{
    RoundButton button(QString(), nullptr);
    button.setPalette(testPalette());
    button.resize(80, 32);
    const QPoint upper(3, 8);
    const QPoint lower(3, 24);
    struct Case {
        unsigned state;
        QRgb upper;
        QRgb lower;
        QRgb edge; // (1, 16): the outermost region
    };
    const Case cases[] = {
        {0, qRgb(232, 230, 226), qRgb(212, 208, 200), qRgb(255, 255, 255)},
        {ODS_FOCUS, qRgb(0xBC, 0xEC, 0xFE), qRgb(0x97, 0xE1, 0xFD), qRgb(255, 255, 255)},
        {ODS_SELECTED, qRgb(232, 230, 226), qRgb(212, 208, 200), qRgb(100, 100, 100)},
    };
    for (const Case& c : cases) {
        const QImage image = drawButton(button, c.state);
        EXPECT_EQ(image.pixel(upper) & 0xFFFFFF, c.upper & 0xFFFFFF) << c.state;
        EXPECT_EQ(image.pixel(lower) & 0xFFFFFF, c.lower & 0xFFFFFF) << c.state;
        EXPECT_EQ(image.pixel(1, 16) & 0xFFFFFF, c.edge & 0xFFFFFF) << c.state;
    }
    // The focus rectangle, inset by 4, crosses the light-blue face.
    const QImage focused = drawButton(button, ODS_FOCUS);
    focused.save(QString::fromStdString((kovatest::binaryDir() / "tests" / "controls" / "round-button-focused.png").string()));
    int marked = 0;
    for (int x = 6; x < 74; ++x)
        marked += (focused.pixel(x, 4) & 0xFFFFFF) != (qRgb(0xBC, 0xEC, 0xFE) & 0xFFFFFF);
    EXPECT_GT(marked, 10);
    const QImage plain = drawButton(button, 0);
    for (int x = 6; x < 74; ++x)
        ASSERT_EQ(plain.pixel(x, 4) & 0xFFFFFF, qRgb(232, 230, 226) & 0xFFFFFF);
}

TEST(RoundButton, focusedButtonOnScreenShowsTheLightBlueFace)
{
    QWidget window;
    window.resize(120, 60);
    auto* button = new RoundButton(QStringLiteral("OK"), &window);
    button->setPalette(testPalette());
    button->setGeometry(10, 10, 80, 32);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    const QImage shown = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(3, 8) & 0xFFFFFF, qRgb(0xBC, 0xEC, 0xFE) & 0xFFFFFF);
    EXPECT_EQ(shown.pixel(3, 24) & 0xFFFFFF, qRgb(0x97, 0xE1, 0xFD) & 0xFFFFFF);
    button->clearFocus();
    const QImage unfocused = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(unfocused.pixel(3, 24) & 0xFFFFFF, qRgb(212, 208, 200) & 0xFFFFFF);
}

TEST(RoundButton, attachTakesTheDialogButtonsPlace)
{
    QWidget dialog;
    auto* old = new QLabel(QStringLiteral("OK"), &dialog);
    setControlId(old, 1);
    old->setGeometry(10, 20, 70, 24);
    RoundButton* button = RoundButton::attach(&dialog, 1);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(getDlgItem(&dialog, 1), button);
    EXPECT_EQ(button->geometry(), QRect(10, 20, 70, 24));
    EXPECT_EQ(button->text(), QStringLiteral("OK"));
    EXPECT_EQ(RoundButton::attach(&dialog, 2), nullptr);
}

struct HintDialog {
    QWidget dialog;
    HoverHintStatic hint;
    QPoint cursor{100, 100};
    HintDialog()
    {
        auto* label = new QLabel(&dialog);
        setControlId(label, HoverHintStatic::HINT_CONTROL_ID);
        hint.setCursorReader([this] { return cursor; });
    }
};

TEST(HoverHintStatic, hintStaysWhileTheMouseRestsAndGoesWhenItMoves)
{
    HintDialog d;
    ASSERT_TRUE(d.hint.attach(&d.dialog));
    EXPECT_EQ(getDlgItem(&d.dialog, HoverHintStatic::HINT_CONTROL_ID), &d.hint);
    EXPECT_TRUE(d.hint.timer().isActive());
    EXPECT_EQ(d.hint.timer().interval(), 1000);

    d.hint.setHint(100, 100, QStringLiteral("Compression depth"));
    d.hint.onTimer();
    EXPECT_EQ(d.hint.text(), QStringLiteral("Compression depth"));
    d.cursor = QPoint(101, 100);
    d.hint.onTimer();
    EXPECT_TRUE(d.hint.text().isEmpty());

    d.hint.setHint(5, 5, QStringLiteral("Set elsewhere"));
    d.hint.onTimer();
    EXPECT_TRUE(d.hint.text().isEmpty()) << "a hint set for another position goes at the next tick";
}

TEST(HoverHintStatic, attachFailsWithoutTheHintLabel)
{
    QWidget dialog;
    HoverHintStatic hint;
    EXPECT_FALSE(hint.attach(&dialog));
    EXPECT_FALSE(hint.timer().isActive());
}

TEST(MdiClientWnd, aDestroyedChildIsHiddenAndDisabledBeforeItGoes)
{
    MdiClientWnd area;
    area.resize(400, 300);
    area.show();
    QMdiSubWindow* child = area.addSubWindow(new QWidget);
    child->show();
    QPointer<QMdiSubWindow> watch(child);
    area.mdiDestroy(child);
    ASSERT_TRUE(watch);
    EXPECT_FALSE(child->isVisible());
    EXPECT_FALSE(child->isEnabled());
    EXPECT_TRUE(area.subWindowList().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(watch);
}

} // namespace
