// The event toolbar of a session: its buttons and their tooltips, the toolbar
// controls filled from it, and the pictures of marks drawn from bitmap 280.

#include "app/graphs/ToolBar.h"
#include "app/shell/ToolTipAnswer.h"
#include "app/shell/idMap.h"

#include "Database/EventRecord.h"

#include "Rodezir/BitmapDraw.h"
#include "Rodezir/dialogs/MenuBuilder.h"
#include "controls/IconImageList.h"

#include <QAction>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class EventToolBar : public ::testing::Test {
protected:
    EventToolBar() { idMap::clear(); }
    ~EventToolBar() override { idMap::clear(); }
};

std::vector<QAction*> buttonActions(const QToolBar& toolBar)
{
    std::vector<QAction*> buttons;
    for (QAction* action : toolBar.actions())
        if (!action->isSeparator())
            buttons.push_back(action);
    return buttons;
}

} // namespace

TEST_F(EventToolBar, buttonsEnterTheirTooltipsAndAreFoundByCommandId)
{
    ToolBar bar;
    const ToolbarButton phone(L"Phone", L"Call for help", 0);
    const ToolbarButton airway(L"Airway", L"Open the airway", 3);
    bar.add(phone);
    bar.add(ToolbarButton::separator());
    bar.add(airway);

    EXPECT_EQ(bar.getButtonCount(), 3);
    EXPECT_EQ(idMap::lookup(phone.id), L"Call for help");
    EXPECT_EQ(idMap::lookup(airway.id), L"Open the airway");
    ASSERT_NE(bar.findButton(airway.id), nullptr);
    EXPECT_EQ(bar.findButton(airway.id)->name, L"Airway");
    EXPECT_EQ(bar.findButton(airway.id + 1000), nullptr);
    EXPECT_EQ(bar.findButton(0), nullptr) << "a separator is never found by a command id";
}

TEST_F(EventToolBar, theToolbarShowsOneButtonPerRecordWithItsPictureTextAndCommand)
{
    ToolBar empty;
    QToolBar none;
    empty.addButtons(&none);
    EXPECT_TRUE(none.actions().isEmpty());

    ToolBar bar;
    EventRecord event;
    event.name = "A&B";
    event.tooltip = "Airway & breathing";
    event.icon = 3;
    const ToolbarButton ab = ToolbarButton::fromEvent(event);
    bar.add(ab);
    bar.add(ToolbarButton::separator());
    bar.add(ToolbarButton(L"Pulse", L"Check the pulse", 2));
    QToolBar toolBar;
    bar.addButtons(&toolBar);

    ASSERT_EQ(toolBar.actions().size(), 3);
    EXPECT_TRUE(toolBar.actions()[1]->isSeparator());
    const auto buttons = buttonActions(toolBar);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0]->iconText(), QStringLiteral("A&B")) << "the doubled ampersand shows as written";
    EXPECT_EQ(kova::MenuBuilder::commandId(buttons[0]), ab.id);
    EXPECT_EQ(ToolBar::buttonOf(buttons[0]), bar.findButton(ab.id));
    EXPECT_EQ(ToolBar::buttonOf(buttons[1])->name, L"Pulse");
    EXPECT_FALSE(buttons[0]->icon().isNull());
    // The tooltip shows the one "&" the event's text holds.
    EXPECT_EQ(idMap::lookup(ab.id), L"Airway & breathing");
    ToolTipAnswer::enable(&toolBar);
    EXPECT_EQ(ToolTipAnswer::toolTipFor(toolBar.widgetForAction(buttons[0])), QStringLiteral("Airway & breathing"));

    bar.enableButtons(&toolBar, false);
    for (QAction* action : buttons)
        EXPECT_FALSE(action->isEnabled());
    EXPECT_TRUE(toolBar.actions()[1]->isEnabled()) << "separators are left alone";
    bar.enableButtons(&toolBar, true);
    for (QAction* action : buttons)
        EXPECT_TRUE(action->isEnabled());
}

TEST_F(EventToolBar, imageThreeIsDrawnFromColumns48To63AndScaledForPaper)
{
    const auto strip = kova::loadBitmapResource(ToolBar::BITMAP_ID);
    ASSERT_TRUE(strip.has_value());
    const QImage source = strip->convertToFormat(QImage::Format_RGB32);
    ASSERT_GE(source.width(), 97 * 16);
    ASSERT_EQ(source.height(), 15);

    ToolBar bar;
    const ToolbarButton mark(L"", L"", 3);
    QImage target(40, 30, QImage::Format_RGB32);
    target.fill(Qt::white);
    {
        QPainter painter(&target);
        bar.drawImage(mark, painter, 5, 7);
    }
    int drawn = 0;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb pixel = source.pixel(48 + x, y) & 0xFFFFFF;
            const QRgb expected = pixel == (kova::IconImageList::MASK_COLOUR & 0xFFFFFF) ? 0xFFFFFF : pixel;
            drawn += expected != 0xFFFFFF;
            ASSERT_EQ(target.pixel(5 + x, 7 + y) & 0xFFFFFF, expected) << x << "," << y;
        }
    EXPECT_GT(drawn, 20) << "the picture is more than background";
    EXPECT_EQ(target.pixel(4, 7) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(target.pixel(21, 7) & 0xFFFFFF, 0xFFFFFFu);

    QImage paper(64, 60, QImage::Format_RGB32);
    paper.fill(Qt::white);
    {
        QPainter painter(&paper);
        bar.showImage(mark, painter, 0, 0, 64, 60);
    }
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb pixel = source.pixel(48 + x, y) & 0xFFFFFF;
            if (pixel == (kova::IconImageList::MASK_COLOUR & 0xFFFFFF))
                continue;
            ASSERT_EQ(paper.pixel(4 * x + 1, 4 * y + 1) & 0xFFFFFF, pixel) << x << "," << y;
        }

    QImage untouched = paper;
    {
        QPainter painter(&untouched);
        bar.drawImage(ToolbarButton(L"", L"", 97), painter, 0, 0);
    }
    EXPECT_EQ(untouched, paper) << "an image outside the strip draws nothing";
}
