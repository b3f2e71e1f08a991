// The zoom list and its up-down as the graph windows fill them.

#include "app/surveillance/ZoomCombo.h"

#include <QComboBox>
#include <QSpinBox>

#include <gtest/gtest.h>

TEST(ZoomCombo, fillsTheElevenWindowsAndSelectsTheDefault)
{
    QComboBox combo;
    QSpinBox upDown;
    combo.addItem("left over");
    ZoomCombo::fill(combo, &upDown, 20000);
    ASSERT_EQ(combo.count(), 11);
    EXPECT_EQ(combo.itemText(0), "5 sec.");
    EXPECT_EQ(combo.itemText(4), "1 min.");
    EXPECT_EQ(combo.itemText(10), "60 min.");
    EXPECT_EQ(combo.itemData(10).toInt(), 3600000);
    EXPECT_EQ(combo.currentIndex(), 2);
    EXPECT_EQ(ZoomCombo::selectedMilliseconds(combo), 20000);
    EXPECT_EQ(upDown.minimum(), 0);
    EXPECT_EQ(upDown.maximum(), 10);
    EXPECT_EQ(upDown.value(), 2);

    // Past the end stays on the last entry; both controls agree.
    ZoomCombo::select(combo, &upDown, 12);
    EXPECT_EQ(combo.currentIndex(), 10);
    EXPECT_EQ(upDown.value(), 10);

    // A default that is no entry selects nothing.
    ZoomCombo::fill(combo, &upDown, 30000);
    EXPECT_EQ(combo.count(), 11);
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(ZoomCombo::selectedMilliseconds(combo), 0);
}
