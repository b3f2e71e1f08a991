#include "Rodezir/dialogs/AreaGroup.h"
#include "Rodezir/dialogs/AspectLayout.h"
#include "Rodezir/dialogs/BoxLayout.h"
#include "Rodezir/dialogs/ControlGroup.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/FrameLayout.h"
#include "Rodezir/dialogs/LayoutSpacer.h"
#include "Rodezir/dialogs/WindowGeometry.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <memory>

namespace {

using namespace kova;

// A parent window with controls at given rectangles, the way a template builds them.
class LayoutEngineTest : public ::testing::Test {
protected:
    QWidget parent;

    QWidget* control(int id, int x, int y, int width, int height)
    {
        auto* widget = new QWidget(&parent);
        setControlId(widget, id);
        widget->setGeometry(x, y, width, height);
        return widget;
    }
    static RECT rectOf(const QWidget* widget) { return getWindowRectInParent(widget); }

    LayoutItemPtr column(std::initializer_list<std::pair<int, LayoutItemPtr>> items, double cap = 0.0)
    {
        auto box = std::make_unique<ColumnLayout>();
        for (const auto& [weight, item] : items)
            box->add(weight, item, cap);
        return LayoutItemPtr(box.release());
    }
    LayoutItemPtr row(std::initializer_list<std::pair<int, LayoutItemPtr>> items)
    {
        auto box = std::make_unique<RowLayout>();
        for (const auto& [weight, item] : items)
            box->add(weight, item);
        return LayoutItemPtr(box.release());
    }
};

TEST_F(LayoutEngineTest, columnSharesExtraHeightByWeight)
{
    struct Case {
        int weightA, weightB, extra;
        int heightA, topB, heightB;
    };
    // Items: A at y 10 height 20, B at y 40 height 30; column bounds 10..70.
    const Case cases[] = {
        {1, 0, 40, 60, 80, 30},   // the first grows, the second moves down and keeps its height
        {1, 2, 10, 23, 43, 36},   // shares 3 and 6; the last pixel stays empty
        {1, 1, -20, 10, 30, 20},  // smaller: both shrink, the second moves up
        {0, 0, 40, 20, 40, 30},   // all weights 0: no height changes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.weightA << "/" << c.weightB << " extra " << c.extra);
        QWidget* a = control(1, 5, 10, 100, 20);
        QWidget* b = control(2, 5, 40, 100, 30);
        LayoutItemPtr tree = column({{c.weightA, ControlGroup::create(&parent, 1)}, {c.weightB, ControlGroup::create(&parent, 2)}});
        tree->place({5, 10, 105 + 50, 70 + c.extra});
        EXPECT_EQ(rectOf(a), (RECT{5, 10, 155, 10 + c.heightA}));
        EXPECT_EQ(rectOf(b), (RECT{5, c.topB, 155, c.topB + c.heightB}));
        delete a;
        delete b;
    }
}

TEST_F(LayoutEngineTest, capsLimitGrowthButNeverShrinking)
{
    control(1, 0, 0, 50, 20);
    LayoutItemPtr tree = column({{1, ControlGroup::create(&parent, 1)}}, 1.5);
    tree->place({0, 0, 50, 60});
    EXPECT_EQ(rectOf(getDlgItem(&parent, 1)).height(), 30);
    tree->place({0, 0, 50, 5});
    EXPECT_EQ(rectOf(getDlgItem(&parent, 1)).height(), 5);
}

TEST_F(LayoutEngineTest, rowIsTheMirrorImage)
{
    QWidget* a = control(1, 10, 5, 40, 20);
    QWidget* b = control(2, 60, 5, 30, 20);
    LayoutItemPtr tree = row({{1, ControlGroup::create(&parent, 1)}, {0, ControlGroup::create(&parent, 2)}});
    tree->place({10, 5, 130, 45});
    EXPECT_EQ(rectOf(a), (RECT{10, 5, 90, 45}));
    EXPECT_EQ(rectOf(b), (RECT{100, 5, 130, 45}));
}

TEST_F(LayoutEngineTest, controlGroupScalesItsControlsIntoTheRectangle)
{
    QWidget* a = control(1, 10, 10, 40, 20);
    QWidget* b = control(2, 60, 10, 40, 20);
    LayoutItemPtr group = ControlGroup::create(&parent, 1, 0, 2);
    EXPECT_EQ(group->getBounds(), (RECT{10, 10, 100, 30}));
    group->place({10, 10, 190, 30});
    EXPECT_EQ(rectOf(a), (RECT{10, 10, 90, 30}));
    EXPECT_EQ(rectOf(b), (RECT{110, 10, 190, 30}));

    // One control fills the rectangle exactly.
    LayoutItemPtr single = ControlGroup::createFromWindows(a);
    single->place({3, 4, 50, 60});
    EXPECT_EQ(rectOf(a), (RECT{3, 4, 50, 60}));
    EXPECT_EQ(group->getCurrentExtent(), (RECT{3, 4, 190, 60}));
}

TEST_F(LayoutEngineTest, itemsOfZeroSizeArePlacedWithoutDividingByZero)
{
    QWidget* line = control(1, 10, 10, 0, 30);
    LayoutItemPtr group = ControlGroup::create(&parent, 1);
    group->place({20, 10, 80, 70});
    EXPECT_EQ(rectOf(line), (RECT{20, 10, 20, 70}));

    // A box or aspect item over it has no bounds at all (empty rectangles add nothing).
    LayoutItemPtr aspect = AspectLayout::create(group);
    aspect->place({0, 0, 100, 100});
    EXPECT_EQ(rectOf(line), (RECT{0, 0, 0, 100}));
    EXPECT_EQ(AspectLayout::fit({0, 0, 0, 100}, {0, 0, 100, 100}), (RECT{50, 0, 50, 100}));

    LayoutItemPtr flat = AspectLayout::create(LayoutItemPtr(new LayoutSpacer(0, 0)));
    flat->place({0, 0, 100, 40});
    LayoutItemPtr areas = AreaGroup::create(LayoutArea(RECT{5, 5, 5, 5}, true));
    areas->place({0, 0, 100, 40});
    EXPECT_EQ(static_cast<AreaGroup*>(areas.get())->areas()[0].rect, (RECT{0, 0, 0, 0}));
}

TEST_F(LayoutEngineTest, aspectKeepsTheProportionsCentred)
{
    EXPECT_EQ(AspectLayout::fit({0, 0, 200, 100}, {0, 0, 100, 100}), (RECT{0, 25, 100, 75}));
    EXPECT_EQ(AspectLayout::fit({0, 0, 100, 200}, {0, 0, 100, 100}), (RECT{25, 0, 75, 100}));
    EXPECT_EQ(AspectLayout::fit({0, 0, 100, 0}, {10, 10, 60, 40}), (RECT{20, 10, 50, 40}));

    QWidget* picture = control(1, 0, 0, 200, 100);
    LayoutItemPtr aspect = AspectLayout::create(ControlGroup::create(&parent, 1));
    aspect->place({0, 0, 100, 100});
    EXPECT_EQ(rectOf(picture), (RECT{0, 25, 100, 75}));
}

TEST_F(LayoutEngineTest, topItemKeepsItsMarginsToTheClientArea)
{
    QWidget* list = control(1, 10, 10, 180, 100);
    QWidget* button = control(2, 140, 120, 50, 20);
    LayoutItemPtr tree =
        column({{1, ControlGroup::create(&parent, 1)}, {0, row({{1, LayoutSpacer::create(0, 0)}, {0, ControlGroup::create(&parent, 2)}})}});
    tree->setup({0, 0, 200, 150});
    EXPECT_EQ(tree->getMargins(), (Margins{10, 10, 10, 10}));
    EXPECT_EQ(tree->getSetupRect(), (RECT{0, 0, 200, 150}));
    tree->placeWithMargins({0, 0, 300, 250});
    EXPECT_EQ(rectOf(list), (RECT{10, 10, 290, 210}));
    EXPECT_EQ(rectOf(button), (RECT{240, 220, 290, 240}));
}

TEST_F(LayoutEngineTest, frameKeepsTheContentsInsetsAndHidesWhenEmpty)
{
    parent.show();
    QWidget* box = control(1, 5, 5, 200, 100);
    QWidget* inner = control(2, 15, 25, 180, 70);
    LayoutItemPtr frame = FrameLayout::create(ControlGroup::create(&parent, 1), ControlGroup::create(&parent, 2));
    frame->setup({0, 0, 220, 120});
    EXPECT_EQ(static_cast<FrameLayout*>(frame.get())->getInsets(), (Margins{10, 20, 10, 10}));
    frame->place({5, 5, 305, 205});
    EXPECT_EQ(rectOf(box), (RECT{5, 5, 305, 205}));
    EXPECT_EQ(rectOf(inner), (RECT{15, 25, 295, 195}));

    inner->hide();
    frame->updateFrames();
    EXPECT_FALSE(box->isVisible());
    inner->show();
    frame->updateFrames();
    EXPECT_TRUE(box->isVisible());
}

TEST_F(LayoutEngineTest, addMarginsWrapsTheItemInSpacers)
{
    control(1, 0, 0, 10, 10);
    const LayoutItemPtr item = ControlGroup::create(&parent, 1);

    const LayoutItemPtr left = addMargins(item, 5, 0, 0, 0);
    const auto* leftRow = dynamic_cast<const RowLayout*>(left.get());
    ASSERT_NE(leftRow, nullptr);
    ASSERT_EQ(leftRow->count(), 2u);
    EXPECT_EQ(static_cast<const LayoutSpacer*>(leftRow->itemAt(0))->width(), 5);
    EXPECT_EQ(leftRow->getTotalWeight(), 1);

    const LayoutItemPtr vertical = addMargins(item, 0, 3, 0, 7);
    const auto* verticalColumn = dynamic_cast<const ColumnLayout*>(vertical.get());
    ASSERT_NE(verticalColumn, nullptr);
    ASSERT_EQ(verticalColumn->count(), 3u);
    EXPECT_EQ(static_cast<const LayoutSpacer*>(verticalColumn->itemAt(0))->height(), 3);
    EXPECT_EQ(static_cast<const LayoutSpacer*>(verticalColumn->itemAt(2))->height(), 7);

    const LayoutItemPtr none = addMargins(item, 0, 0, 0, 0);
    EXPECT_NE(none.get(), item.get());
    EXPECT_NE(dynamic_cast<const ControlGroup*>(none.get()), nullptr);
}

TEST_F(LayoutEngineTest, pointersCloneWholeSubtrees)
{
    control(1, 0, 0, 10, 10);
    LayoutItemPtr tree = column({{1, ControlGroup::create(&parent, 1)}});
    LayoutItemPtr copy = tree;
    EXPECT_NE(copy.get(), tree.get());
    EXPECT_NE(static_cast<BoxLayout*>(copy.get())->itemAt(0), static_cast<BoxLayout*>(tree.get())->itemAt(0));
    EXPECT_EQ(copy->getBounds(), tree->getBounds());
    copy = copy;
    EXPECT_EQ(copy->getBounds(), (RECT{0, 0, 10, 10}));
    LayoutItemPtr none;
    LayoutItemPtr noneCopy = none;
    EXPECT_FALSE(noneCopy);
    // A null child is tolerated and still takes its share.
    auto box = std::make_unique<ColumnLayout>();
    box->add(1, none);
    box->add(1, ControlGroup::create(&parent, 1));
    box->place({0, 0, 10, 10});
}

TEST_F(LayoutEngineTest, areaGroupsTellTheirListenersWhereTheyWent)
{
    struct Listener : SlotHolder {
        std::vector<std::tuple<int, int, int, int, bool>> calls;
        void placed(int l, int t, int r, int b, bool visible) { calls.emplace_back(l, t, r, b, visible); }
    } listener;
    LayoutArea graph(RECT{0, 0, 100, 50}, true);
    connect(graph.listeners, listener, &Listener::placed);

    LayoutItemPtr group = AreaGroup::create(LayoutArea{}, graph, LayoutArea{});
    ASSERT_EQ(static_cast<AreaGroup*>(group.get())->areas().size(), 2u); // the first is kept, later defaults skipped
    LayoutItemPtr copy = group; // copies share the listeners
    copy->place({0, 0, 200, 100});
    copy->show(false);
    copy->notifyPlaced();
    ASSERT_EQ(listener.calls.size(), 1u);
    EXPECT_EQ(listener.calls[0], std::make_tuple(0, 0, 200, 100, false));
    EXPECT_FALSE(copy->hasVisiblePart());
}

TEST_F(LayoutEngineTest, unknownIdsAreSkipped)
{
    control(1, 0, 0, 10, 10);
    LayoutItemPtr group = ControlGroup::create(&parent, 1, 999);
    EXPECT_EQ(static_cast<ControlGroup*>(group.get())->windows().size(), 1u);
    LayoutItemPtr extended = ControlGroup::createExtended(group, 1);
    EXPECT_EQ(static_cast<ControlGroup*>(extended.get())->windows().size(), 2u);
    EXPECT_EQ(static_cast<ControlGroup*>(group.get())->windows().size(), 1u);
}

} // namespace
