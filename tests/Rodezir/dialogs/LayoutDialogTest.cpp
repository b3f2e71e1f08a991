#include "Rodezir/dialogs/BoxLayout.h"
#include "Rodezir/dialogs/ControlGroup.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/LayoutDialog.h"
#include "Rodezir/dialogs/WindowGeometry.h"
#include "Rodezir/dialogs/WindowGroup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QResizeEvent>

namespace {

using namespace kova;

DialogTable listDialog()
{
    DialogTable table;
    table.caption = L"List";
    table.style = WS_POPUP | WS_CAPTION | WS_THICKFRAME | DS_SETFONT;
    table.cx = 200;
    table.cy = 120;
    table.controls = {control(L"", 1001, L"LISTBOX", WS_BORDER, 7, 7, 186, 86),
                      pushButton(L"OK", IDOK, 143, 99, 50, 14)};
    return table;
}

// A resizable dialog whose list takes the growth and whose button keeps to the bottom right.
class ListDialog : public LayoutDialog {
public:
    explicit ListDialog(bool noMinimumTrack = false, bool resizeDuringInit = false)
        : LayoutDialog(DialogTemplate(listDialog())), noMinimumTrack_(noMinimumTrack), resizeDuringInit_(resizeDuringInit)
    {
    }
    RECT listRectDuringInit;

protected:
    bool onInitDialog() override
    {
        if (resizeDuringInit_) {
            // A layout set before the base has finished must not be placed by a resize.
            LayoutDialog::setLayout(tree(), noMinimumTrack_);
            listRectDuringInit = getWindowRectInParent(getDlgItem(1001));
            QResizeEvent resize(QSize(600, 500), size());
            QApplication::sendEvent(this, &resize);
            EXPECT_EQ(getWindowRectInParent(getDlgItem(1001)), listRectDuringInit);
        }
        const bool result = LayoutDialog::onInitDialog();
        setLayout(tree(), noMinimumTrack_);
        return result;
    }

private:
    LayoutItemPtr tree()
    {
        auto buttons = std::make_unique<RowLayout>();
        buttons->add(1, LayoutItemPtr{});
        buttons->add(0, ControlGroup::create(this, IDOK));
        auto column = std::make_unique<ColumnLayout>();
        column->add(1, ControlGroup::create(this, 1001));
        column->add(0, LayoutItemPtr(buttons.release()));
        return LayoutItemPtr(column.release());
    }
    bool noMinimumTrack_;
    bool resizeDuringInit_;
};

TEST(LayoutDialog, trackingSizesFollowTheSizeAtSetLayout)
{
    ListDialog dialog;
    ASSERT_TRUE(dialog.create());
    const QSize client = dialog.size();
    const MinMaxInfo info = dialog.getMinMaxInfo();
    ASSERT_TRUE(info.hasMinTrack);
    EXPECT_EQ(info.minTrackSize, (POINT{dialog.frameWidth() + client.width(), dialog.frameHeight() + client.height()}));
    EXPECT_EQ(info.maxTrackSize, (POINT{dialog.frameWidth() + 10000, dialog.frameHeight() + 10000}));
    EXPECT_EQ(dialog.minimumSize(), client);
    EXPECT_EQ(dialog.maximumSize(), QSize(10000, 10000));

    dialog.resize(client.width() - 50, client.height() - 50);
    EXPECT_EQ(dialog.size(), client);
}

TEST(LayoutDialog, noMinimumTrackStillSetsTheMaximum)
{
    ListDialog dialog(true);
    ASSERT_TRUE(dialog.create());
    const MinMaxInfo info = dialog.getMinMaxInfo();
    EXPECT_FALSE(info.hasMinTrack);
    EXPECT_EQ(info.maxTrackSize, (POINT{dialog.frameWidth() + 10000, dialog.frameHeight() + 10000}));
    EXPECT_EQ(dialog.minimumSize(), QSize(0, 0));
}

TEST(LayoutDialog, resizingPlacesTheLayoutOnlyOnceInitialised)
{
    ListDialog dialog(false, true);
    ASSERT_TRUE(dialog.create());
    dialog.show();
    const RECT list = getWindowRectInParent(dialog.getDlgItem(1001));
    const RECT button = getWindowRectInParent(dialog.getDlgItem(IDOK));
    dialog.resize(dialog.width() + 100, dialog.height() + 60);
    QApplication::processEvents();
    EXPECT_EQ(getWindowRectInParent(dialog.getDlgItem(1001)), (RECT{list.left, list.top, list.right + 100, list.bottom + 60}));
    EXPECT_EQ(getWindowRectInParent(dialog.getDlgItem(IDOK)), button.offset(100, 60));
}

TEST(WindowGeometry, computePlacementForEveryPlacement)
{
    const RECT ours{10, 20, 50, 40}; // 40 x 20
    const RECT anchor{100, 100, 200, 160};
    const struct {
        int placement;
        POINT corner;
    } cases[] = {
        {PLACE_LEFT, {55, 20}},           {PLACE_RIGHT, {205, 20}},         {PLACE_ABOVE, {10, 75}},
        {PLACE_BELOW, {10, 165}},         {PLACE_LEFT_CENTRED, {55, 120}},  {PLACE_RIGHT_CENTRED, {205, 120}},
        {PLACE_ABOVE_CENTRED, {130, 75}}, {PLACE_BELOW_CENTRED, {130, 165}}, {PLACE_RIGHT_TOP, {205, 100}},
        {9, {0, 0}},                      {-1, {0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(computePlacement(ours, anchor, c.placement, 5), c.corner) << "placement " << c.placement;
    // Odd differences halve toward zero.
    EXPECT_EQ(computePlacement({0, 0, 41, 21}, anchor, PLACE_BELOW_CENTRED, 0), (POINT{129, 160}));
}

TEST(WindowGeometry, placeWindowBesideKeepsTheSize)
{
    QWidget parent;
    QWidget label(&parent);
    label.setGeometry(0, 0, 40, 20);
    placeWindowBeside(&label, {100, 100, 200, 160}, PLACE_RIGHT_CENTRED, 4);
    EXPECT_EQ(getWindowRectInParent(&label), (RECT{204, 120, 244, 140}));
}

TEST(WindowGeometry, focusMovesOnBeforeTheFocusedControlGoes)
{
    QWidget window;
    QWidget first(&window);
    QWidget second(&window);
    first.setFocusPolicy(Qt::StrongFocus);
    second.setFocusPolicy(Qt::StrongFocus);
    window.show();
    QApplication::setActiveWindow(&window);
    first.setFocus();
    ASSERT_TRUE(first.hasFocus());
    enableControl(&first, false);
    EXPECT_FALSE(first.isEnabled());
    EXPECT_TRUE(second.hasFocus());
    showControl(&second, false);
    EXPECT_FALSE(second.isVisible());
    enableControl(&first, true);
    EXPECT_TRUE(first.isEnabled());
}

TEST(WindowGroup, movesSizesAndCentresItsWindows)
{
    QWidget parent;
    parent.resize(300, 200);
    QWidget a(&parent);
    QWidget b(&parent);
    a.setGeometry(10, 10, 40, 20);
    b.setGeometry(60, 15, 30, 20);

    WindowGroup empty;
    empty.moveTo(50, 50);
    EXPECT_TRUE(empty.isEmpty());

    WindowGroup group;
    group.add(&a);
    group.add(&b);
    EXPECT_EQ(group.getBounds(), (RECT{10, 10, 90, 35}));
    group.moveTo(100, 100);
    EXPECT_EQ(getWindowRectInParent(&a), (RECT{100, 100, 140, 120}));
    EXPECT_EQ(getWindowRectInParent(&b), (RECT{150, 105, 180, 125}));
    EXPECT_EQ(group.getBounds(), (RECT{100, 100, 180, 125}));
    group.centerInParent();
    EXPECT_EQ(group.getBounds().left, 110);
    group.setWidth(50);
    EXPECT_EQ(getWindowRectInParent(&b).width(), 50);
    EXPECT_EQ(group.getBounds(), (RECT{110, 100, 210, 125}));

    QWidget box(&parent);
    group.addSurrounding(&box, 5, 15, 5, 5);
    EXPECT_EQ(getWindowRectInParent(&box), (RECT{105, 85, 215, 130}));
}

} // namespace
