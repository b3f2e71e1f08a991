// The tab strip: fitting tabs into its width, selection with the
// listener's veto, and keyboard selection.

#include "propertyPage/TabStrip.h"

#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct RecordingListener : TabStripListener {
    std::vector<TabNotification> codes;
    int veto = 0;
    int tabNotify(TabStrip&, TabNotification code, int) override
    {
        codes.push_back(code);
        return code == TabNotification::SelChanging ? veto : 0;
    }
};

std::vector<int> widths(const TabStrip& strip)
{
    std::vector<int> result;
    for (int i = 0; i < strip.getItemCount(); ++i)
        result.push_back(strip.getItem(i)->width);
    return result;
}

// A strip whose tabs have the given widths, without measuring text.
void setWidths(TabStrip& strip, const std::vector<int>& values)
{
    while (strip.getItemCount() > 0)
        strip.removeItem(0);
    for (std::size_t i = 0; i < values.size(); ++i)
        strip.addItem("", 0);
    for (int i = 0; i < strip.getItemCount(); ++i)
        const_cast<TabStrip::TabItem*>(strip.getItem(i))->width = values[static_cast<std::size_t>(i)];
}

} // namespace

TEST(TabStrip, fittingShrinksTheWidestOrWidensTheNarrowestInStepsOfEight)
{
    struct Case {
        std::vector<int> before;
        int available;
        std::vector<int> after;
    };
    const Case cases[] = {
        // Too narrow: the widest (first of equals) loses up to 8 pixels at a time.
        {{100, 60, 60, 60, 60}, 330, {84, 60, 60, 60, 60}},
        {{80, 80, 40}, 181, {64, 72, 40}},
        // 32 pixels or less a tab: all equal, the last takes the rest.
        {{50, 50, 50, 50, 50}, 150, {30, 30, 30, 30, 29}},
        // Wide enough: the narrow tab grows until widths match or the room (less 10) is used.
        {{20, 60}, 200, {60, 60}},
        {{20, 60}, 96, {28, 60}},
    };
    TabStrip strip;
    for (const Case& c : cases) {
        setWidths(strip, c.before);
        int needed = 1;
        for (int w : c.before)
            needed += w;
        strip.fitItems(needed, c.available);
        EXPECT_EQ(widths(strip), c.after) << "available " << c.available;
        EXPECT_EQ(strip.getItem(0)->x, 1);
    }
}

TEST(TabStrip, vetoedSelectionKeepsTheOldTabAndSendsNothingMore)
{
    TabStrip strip;
    strip.resize(300, 100);
    RecordingListener listener;
    strip.setListener(&listener);
    strip.addItem("General", 0);
    strip.addItem("Print", 0);
    EXPECT_TRUE(strip.select(0));
    EXPECT_EQ(listener.codes, (std::vector{TabNotification::SelChanging, TabNotification::SelChange}));

    listener.codes.clear();
    EXPECT_TRUE(strip.select(0));
    EXPECT_TRUE(listener.codes.empty());

    listener.veto = 1;
    QTest::mouseClick(&strip, Qt::LeftButton, {}, strip.getItemRect(1).center());
    EXPECT_EQ(strip.getCurSel(), 0);
    EXPECT_EQ(listener.codes, std::vector{TabNotification::SelChanging});

    listener.veto = 0;
    listener.codes.clear();
    QTest::mouseClick(&strip, Qt::LeftButton, {}, strip.getItemRect(1).center());
    EXPECT_EQ(strip.getCurSel(), 1);
    EXPECT_EQ(listener.codes, (std::vector{TabNotification::SelChanging, TabNotification::SelChange,
                                           TabNotification::Click}));
    EXPECT_FALSE(strip.select(2));
    EXPECT_FALSE(strip.select(-1));
}

TEST(TabStrip, arrowsWrapAndHomeEndJump)
{
    TabStrip strip;
    strip.resize(400, 100);
    for (const char* text : {"A", "B", "C", "D"})
        strip.addItem(text, 0);
    strip.select(3);
    const std::pair<Qt::Key, int> steps[] = {
        {Qt::Key_Right, 0}, {Qt::Key_Left, 3}, {Qt::Key_Left, 2}, {Qt::Key_Home, 0}, {Qt::Key_End, 3}};
    for (const auto& [key, expected] : steps) {
        QTest::keyClick(&strip, key);
        EXPECT_EQ(strip.getCurSel(), expected);
    }
    QTest::keyClick(&strip, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(strip.getCurSel(), 0);
}
