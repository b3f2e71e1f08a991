// What a graph pane computes without a window: where samples and values land
// in its plot, and the texts it draws.

#include "app/graphs/GraphScale.h"
#include "app/graphs/GraphText.h"

#include <gtest/gtest.h>

TEST(GraphScale, theCompressionCurveHangsFromTheTopAndTheOthersStandOnTheBottom)
{
    GraphScale compression{10, 20, 600, 300, 0, 1000, 75.0, true};
    EXPECT_EQ(compression.yOf(0.0), 20);
    EXPECT_EQ(compression.yOf(75.0), 320);
    EXPECT_EQ(compression.yOf(37.5), 170);
    EXPECT_DOUBLE_EQ(compression.valueAt(150), 37.5);

    GraphScale ventilation{10, 20, 600, 300, 0, 1000, 1.2, false};
    EXPECT_EQ(ventilation.yOf(0.0), 319);
    EXPECT_EQ(ventilation.yOf(1.2), 19);
    EXPECT_DOUBLE_EQ(ventilation.valueAt(150), 0.6);

    // Values far outside the scale, and a scale of nothing, stay drawable numbers.
    EXPECT_LT(ventilation.yOf(1e300), -1000000);
    GraphScale flat{0, 0, 600, 300, 0, 1000, 0.0, false};
    EXPECT_EQ(flat.yOf(5.0), 299);
}

TEST(GraphScale, aFourHourStripOnAWidePageLandsWithoutOverflow)
{
    // 240 minutes at 50 samples a second across a 6600-pixel page: the
    // products reach 4.75e9, past 32 bits.
    GraphScale page{100, 0, 6600, 1000, 0, 720000, 1.2, false};
    EXPECT_EQ(page.xOf(0), 100);
    EXPECT_EQ(page.xOf(360000), 100 + 3300);
    EXPECT_EQ(page.xOf(719999), 100 + 6599);
    EXPECT_EQ(page.xOf(720000), 100 + 6600);
    EXPECT_EQ(page.indexAt(6600), 720000);
    EXPECT_EQ(page.indexAt(3300), 360000);

    GraphScale late{0, 0, 1600, 300, 4'000'000, 180000, 1.2, false};
    EXPECT_EQ(late.xOf(4'180'000), 1600);
    EXPECT_EQ(late.indexAt(800), 4'090'000);
}

TEST(GraphScale, anEmptyPlotOrWindowDividesByNothing)
{
    GraphScale none{0, 0, 0, 0, 50, 0, 1.2, false};
    EXPECT_EQ(none.xOf(100), 0);
    EXPECT_EQ(none.indexAt(10), 50);
    EXPECT_EQ(none.valueAt(10), 0.0);
}

TEST(GraphText, groupLabelsValueLabelsSpansAndTheReadout)
{
    struct Ratio {
        int percent;
        bool asPercent;
        const wchar_t* text;
    };
    for (const Ratio& r : {Ratio{50, false, L"1.0"}, Ratio{60, false, L"1.5"}, Ratio{100, false, L"-"},
                           Ratio{45, true, L"45:55"}, Ratio{5, true, L"05:95"}, Ratio{0, false, L"0.0"}})
        EXPECT_EQ(GraphText::crRatio(r.percent, r.asPercent), r.text) << r.percent;
    EXPECT_EQ(GraphText::cardiacOutput(4.25), L"4.2");
    EXPECT_EQ(GraphText::valueLabel(0.6, L"L."), L"0.60 L.");
    EXPECT_EQ(GraphText::valueLabel(75.0, L"mm."), L"75.00 mm.");
    EXPECT_EQ(GraphText::spanLength(65000), L"1:05 min:sec");
    EXPECT_EQ(GraphText::spanLength(60000), L"1:00 min:sec");
    EXPECT_EQ(GraphText::spanLength(12500), L"12.5 sec");
    EXPECT_EQ(GraphText::spanLength(59999), L"60.0 sec");
    EXPECT_EQ(GraphText::readout(65432, 0.456, L"L."), L" 1:05 min:sec, 0.46 L.");
    EXPECT_EQ(GraphText::readout(725999, 43.0, L"mm."), L"12:05 min:sec, 43.00 mm.");
}
