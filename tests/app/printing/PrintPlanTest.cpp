// The pages of a printed session: how many, which strips each strip page
// carries, and where the closing parts go.

#include "app/printing/PrintPlan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Page = PrintPlan::Page;

// A page as one short text, so a whole plan compares in one line:
// "1:T G F" is page 1 with the evaluation table, graphs and footer.
std::string describe(const Page& page)
{
    std::string text = std::to_string(page.number) + ":";
    text += page.kind == Page::FIRST ? "" : page.kind == Page::STRIPS ? "S" : "Z";
    if (page.evaluationTable)
        text += " T";
    if (page.graphs)
        text += " G";
    for (const int strip : page.strips)
        text += " " + std::to_string(strip);
    if (page.eventList)
        text += " E";
    if (page.debriefingText)
        text += " D";
    if (page.approval)
        text += " A";
    if (page.footer)
        text += " F";
    return text;
}

std::vector<std::string> describe(const PrintPlan& plan)
{
    std::vector<std::string> pages;
    for (const Page& page : plan.pages())
        pages.push_back(describe(page));
    return pages;
}

PrintPlan::Options allOn() { return {}; }

} // namespace

TEST(PrintPlan, theGraphPageIsOneLandscapePageWithGraphsWhateverTheSettings)
{
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on);
        const PrintPlan plan = PrintPlan::make(false, {on, on, on, on}, 7);
        EXPECT_TRUE(plan.landscape());
        EXPECT_EQ(describe(plan), (std::vector<std::string>{"1: G"}));
    }
}

TEST(PrintPlan, graphStripsGoTwoToAPageAfterTheFirstAndTheTotalIsThePagesPrinted)
{
    struct Case {
        int strips;
        std::vector<std::string> pages;
    };
    const Case cases[] = {
        {-3, {"1: T G F", "2:Z E D A F"}},
        {0, {"1: T G F", "2:Z E D A F"}},
        {1, {"1: T G F", "2:Z E D A F"}},
        {2, {"1: T G F", "2:S 1 F", "3:Z E D A F"}},
        {3, {"1: T G F", "2:S 1 2 F", "3:Z E D A F"}},
        {4, {"1: T G F", "2:S 1 2 F", "3:S 3 F", "4:Z E D A F"}},
        {5, {"1: T G F", "2:S 1 2 F", "3:S 3 4 F", "4:Z E D A F"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strips);
        const PrintPlan plan = PrintPlan::make(true, allOn(), c.strips);
        EXPECT_FALSE(plan.landscape());
        EXPECT_EQ(describe(plan), c.pages);
        // The footers' total as the old rule gave it: strips / 2 + 2.
        EXPECT_EQ(plan.pageTotal(), std::max(c.strips, 0) / 2 + 2);
    }
}

TEST(PrintPlan, theDebriefingSettingsDecideBetweenOneAndTwoPagesWithoutGraphs)
{
    struct Case {
        const char* name;
        PrintPlan::Options options;
        std::vector<std::string> pages;
    };
    const Case cases[] = {
        {"text only", {false, false, true, false}, {"1: T F", "2:Z D F"}},
        {"text and events", {false, true, true, true}, {"1: T F", "2:Z E D A F"}},
        {"nothing", {false, false, false, false}, {"1: T"}},
        {"approval alone", {false, false, false, true}, {"1: T A"}},
        // The event list needs a final page it does not get on its own.
        {"event list alone", {false, true, false, false}, {"1: T"}},
        {"graphs, no text", {true, true, false, true}, {"1: T G F", "2:S 1 F", "3:Z E A F"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(describe(PrintPlan::make(true, c.options, 2)), c.pages);
    }
}
