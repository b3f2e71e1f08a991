// The printed session's texts that need no printer.

#include "app/printing/PrintedTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(PrintedTexts, markTimesAreMinutesAndTwoDigitSeconds)
{
    struct Case {
        int index;
        double rate;
        const wchar_t* text;
    };
    const Case cases[] = {
        {1300, 20.0, L"1:05"}, {12000, 20.0, L"10:00"}, {0, 50.0, L"0:00"},
        {2999, 50.0, L"0:59"}, // 59.99 s: seconds are cut, not rounded
        {-1, 50.0, L"0:00"},   // a mark set before the first sample
        {100, 0.0, L"0:00"},   // no rate yet
    };
    for (const Case& c : cases)
        EXPECT_EQ(PrintedTexts::markTime(c.index, c.rate), c.text) << c.index << " at " << c.rate;
}

TEST(PrintedTexts, theDotLeaderEndsLeftOfItsLimitAndIsEmptyWhenNoDotFits)
{
    const auto width = [](const std::wstring& text) { return 10 * static_cast<int>(text.size()); };
    EXPECT_EQ(PrintedTexts::dotLeader(0, 35, width), L"...");
    EXPECT_EQ(PrintedTexts::dotLeader(0, 30, width), L"..");
    EXPECT_EQ(PrintedTexts::dotLeader(100, 105, width), L"");
    // The text already reaches past the time: no dot was added, none is taken.
    EXPECT_EQ(PrintedTexts::dotLeader(200, 100, width), L"");
    // A font that gives "." no width must not loop for ever.
    EXPECT_EQ(PrintedTexts::dotLeader(0, 50, [](const std::wstring&) { return 0; }), L"");
}

TEST(PrintedTexts, headingsMarkTextsAndApproval)
{
    using Lines = std::vector<std::wstring>;
    EXPECT_EQ(PrintedTexts::headingLines(L"A\r\nB"), (Lines{L"A", L"B"}));
    EXPECT_EQ(PrintedTexts::headingLines(L"A\r\n"), (Lines{L"A"}));
    EXPECT_EQ(PrintedTexts::headingLines(L"A\r\n\r\nB"), (Lines{L"A", L"", L"B"}));
    EXPECT_EQ(PrintedTexts::headingLines(L""), Lines{});
    EXPECT_EQ(PrintedTexts::headingLines(L"A\nB"), (Lines{L"A\nB"}));

    EXPECT_EQ(PrintedTexts::markText(L"CPR && AED && more"), L"CPR & AED & more");
    EXPECT_EQ(PrintedTexts::markText(L"&&&"), L"&&");

    EXPECT_EQ(PrintedTexts::approvalText(0), L"Approved: __ Yes ___No");
    EXPECT_EQ(PrintedTexts::approvalText(1), L"Approved: Yes");
    for (const int other : {2, 3, 255, -1})
        EXPECT_EQ(PrintedTexts::approvalText(other), L"Approved: No") << other;
}

TEST(PrintedTexts, eventColumnsFollowTheTrainingMode)
{
    const auto marks = [](const wchar_t* prefix, std::vector<int> indexes) {
        std::vector<GraphEvent> events;
        for (std::size_t i = 0; i < indexes.size(); ++i)
            events.emplace_back(ToolbarButton(prefix + std::to_wstring(i), L"", 1), indexes[i]);
        return events;
    };
    const auto names = [](const std::vector<GraphEvent>& events) {
        std::wstring joined;
        for (const GraphEvent& event : events)
            joined += event.name + L" ";
        return joined;
    };
    const std::vector<GraphEvent> ventilation = marks(L"V", {5, 10, 20});
    const std::vector<GraphEvent> compression = marks(L"C", {10, 15});

    PrintedTexts::Columns two = PrintedTexts::eventColumns(1, ventilation, compression);
    EXPECT_EQ(names(two.left), L"V0 V1 V2 ");
    EXPECT_EQ(names(two.right), L"C0 C1 ");
    EXPECT_TRUE(two.twoHeadings);

    // Merged by sample, the compression mark first at one index.
    EXPECT_EQ(names(PrintedTexts::eventColumns(0, ventilation, compression).left), L"V0 C0 V1 C1 V2 ");
    EXPECT_EQ(names(PrintedTexts::eventColumns(2, ventilation, compression).left), L"V0 V1 V2 ");
    const PrintedTexts::Columns chest = PrintedTexts::eventColumns(3, ventilation, compression);
    EXPECT_EQ(names(chest.left), L"C0 C1 ");
    EXPECT_TRUE(chest.compressionHeading);

    // 50 marks: 21 left, 22 right (the last stands for "...").
    std::vector<int> many(50);
    for (int i = 0; i < 50; ++i)
        many[static_cast<std::size_t>(i)] = i;
    const PrintedTexts::Columns full = PrintedTexts::eventColumns(2, marks(L"V", many), {});
    EXPECT_EQ(full.left.size(), 21u);
    ASSERT_EQ(full.right.size(), 22u);
    EXPECT_EQ(full.right.front().sampleIndex, 21);
}
