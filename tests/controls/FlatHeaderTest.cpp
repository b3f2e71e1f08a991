// The flat header: dividers held inside their limits, fixed-width items, the
// drop marker's position and the item info that sizes an item.

#include "controls/reportctrl/CFlatHeaderCtrl.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

namespace {

using namespace kova;

struct Header {
    QWidget window;
    CFlatHeaderCtrl* header;

    Header()
    {
        window.resize(600, 40);
        header = new CFlatHeaderCtrl(&window);
        header->setGeometry(0, 0, 600, 24);
        for (int i = 0; i < 3; ++i) {
            FlatHeaderItem item;
            item.width = 180;
            item.caption = QString("Column %1").arg(i);
            item.lParam = i;
            header->insertItem(i, item);
        }
    }

    void send(QEvent::Type type, QPoint point, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, point, header->mapToGlobal(point), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(header, &event);
    }

    // Drags the right divider of item `index` by `dx` pixels.
    void drag(int index, int dx)
    {
        const QPoint start(header->getItemRect(index).right() + 1, 10);
        send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, start + QPoint(dx / 2, 0), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseMove, start + QPoint(dx, 0), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, start + QPoint(dx, 0), Qt::LeftButton, Qt::NoButton);
    }

    int width(int index) const
    {
        FlatHeaderItem item;
        header->getItem(index, item);
        return item.width;
    }
};

TEST(FlatHeader, dividerDragsStayWithinTheItemsLimits)
{
    struct Case {
        int minimum;
        int maximum;
        int dx;
        int width;
    };
    const Case cases[] = {
        {150, -1, -100, 150}, {150, -1, 60, 240}, {0, 200, 100, 200}, {100, 250, -50, 130}, {0, -1, -500, 0},
    };
    for (const Case& c : cases) {
        Header h;
        FlatHeaderItemInfo info;
        info.minWidth = c.minimum;
        info.maxWidth = c.maximum;
        ASSERT_TRUE(h.header->setItemInfo(0, info));
        QSignalSpy changes(h.header, &CFlatHeaderCtrl::itemChanged);
        h.drag(0, c.dx);
        EXPECT_EQ(h.width(0), c.width) << c.minimum << " " << c.maximum << " " << c.dx;
        EXPECT_FALSE(changes.isEmpty());
        EXPECT_EQ(h.width(1), 180);
    }
}

TEST(FlatHeader, aFixedWidthItemCannotBeResized)
{
    Header h;
    FlatHeaderItemInfo info;
    info.flags = FH_FIXEDWIDTH;
    info.minWidth = 300; // limits do not apply to a fixed width
    ASSERT_TRUE(h.header->setItemInfo(1, info));
    EXPECT_EQ(h.width(1), 180);
    QSignalSpy doubleClicks(h.header, &CFlatHeaderCtrl::dividerDoubleClicked);
    h.drag(1, 80);
    EXPECT_EQ(h.width(1), 180);
    const QPoint divider(h.header->getItemRect(1).right() + 1, 10);
    h.send(QEvent::MouseMove, divider, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(h.header->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseDClick(h.header, Qt::LeftButton, {}, divider);
    EXPECT_EQ(doubleClicks.count(), 0);

    const QPoint resizable(h.header->getItemRect(0).right() + 1, 10);
    h.send(QEvent::MouseMove, resizable, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(h.header->cursor().shape(), Qt::SplitHCursor);
    QTest::mouseDClick(h.header, Qt::LeftButton, {}, resizable);
    EXPECT_EQ(doubleClicks.count(), 1);
}

TEST(FlatHeader, itemInfoClampsOrSizesTheItem)
{
    Header h;
    FlatHeaderItemInfo info;
    info.minWidth = 200;
    info.maxWidth = 260;
    ASSERT_TRUE(h.header->setItemInfo(0, info));
    EXPECT_EQ(h.width(0), 200);
    info.flags = FH_AUTOWIDTH;
    info.minWidth = 0;
    info.maxWidth = -1;
    ASSERT_TRUE(h.header->setItemInfo(2, info));
    EXPECT_EQ(h.width(2), h.header->contentWidth(2));
    EXPECT_LT(h.width(2), 180);
    EXPECT_FALSE(h.header->setItemInfo(3, info));
    FlatHeaderItemInfo back;
    EXPECT_FALSE(h.header->getItemInfo(3, back));
    // A new item starts with empty info.
    h.header->insertItem(9, FlatHeaderItem{});
    ASSERT_TRUE(h.header->getItemInfo(3, back));
    EXPECT_EQ(back.maxWidth, -1);
    EXPECT_EQ(back.flags, 0u);
}

TEST(FlatHeader, hotDividerMarksTheOrderOnTheSideOfThePoint)
{
    Header h;
    h.window.show();
    const QRect second = h.header->getItemRect(1);
    EXPECT_EQ(h.header->setHotDivider(QPoint(second.center().x() + 20, 10)), 2);
    EXPECT_TRUE(h.header->dropMarkerVisible());
    EXPECT_EQ(h.header->setHotDivider(QPoint(second.left() + 20, 10)), 1);
    EXPECT_EQ(h.header->setHotDivider(3), 3);
    EXPECT_TRUE(h.header->dropMarkerVisible());
    EXPECT_EQ(h.header->setHotDivider(-1), -1);
    EXPECT_FALSE(h.header->dropMarkerVisible());
}

TEST(FlatHeader, anItemDraggedPastAnotherMovesInTheDisplayOrder)
{
    Header h;
    h.window.show();
    QSignalSpy clicks(h.header, &CFlatHeaderCtrl::itemClicked);
    QSignalSpy moves(h.header, &CFlatHeaderCtrl::orderChanged);
    const QPoint start = h.header->getItemRect(0).center();
    const QPoint target(h.header->getItemRect(2).center().x() + 30, 10);
    h.send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    h.send(QEvent::MouseMove, target, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(h.header->dropMarkerVisible());
    EXPECT_EQ(h.header->dropPosition(), 3);
    h.send(QEvent::MouseButtonRelease, target, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(h.header->dropMarkerVisible());
    EXPECT_EQ(moves.count(), 1);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(h.header->orderToIndex(0), 1);
    EXPECT_EQ(h.header->orderToIndex(2), 0);
    EXPECT_EQ(h.header->getItemRect(0).left(), 360);

    // A press and release on the spot is a click and moves nothing.
    const QPoint spot = h.header->getItemRect(1).center();
    h.send(QEvent::MouseButtonPress, spot, Qt::LeftButton, Qt::LeftButton);
    h.send(QEvent::MouseButtonRelease, spot, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(moves.count(), 1);
    EXPECT_FALSE(h.header->moveItem(1, 1));
}

TEST(FlatHeader, optionsOutsideOneToSixAreRefused)
{
    Header h;
    EXPECT_TRUE(h.header->setOption(1, 4));
    EXPECT_TRUE(h.header->setOption(2, (10 << 16) | 12));
    EXPECT_FALSE(h.header->setOption(7, 1));
    EXPECT_FALSE(h.header->setOption(0, 1));
    h.header->setSortColumn(2, false);
    bool ascending = true;
    EXPECT_EQ(h.header->getSortColumn(&ascending), 2);
    EXPECT_FALSE(ascending);
}

} // namespace
