#include "app/shell/BuildDate.h"
#include "app/shell/idMap.h"

#include "FreshErrorLog.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

using kovatest::errorLog;

// Each test reads an error log of its own.
class FreshErrorLog : public ::testing::Test {
protected:
    FreshErrorLog() { kovatest::startFreshErrorLog(); }
    ~FreshErrorLog() override { LogStream::headerText.clear(); }
};

class TooltipTable : public FreshErrorLog {
protected:
    TooltipTable() { idMap::clear(); }
    ~TooltipTable() override { idMap::clear(); }
};

using BuildDate = FreshErrorLog;

} // namespace

TEST_F(BuildDate, compilerDateAndTimeJoinedWithTheDayInTwoDigits)
{
    EXPECT_EQ(formatBuildDate("Dec 10 2026", "16:03:03"), "Dec 10 2026, 16:03:03");
    EXPECT_EQ(formatBuildDate("Mar  4 2027", "09:05:00"), "Mar 04 2027, 09:05:00");
    EXPECT_TRUE(std::regex_match(getBuildDate(), std::regex(R"([A-Z][a-z]{2} \d\d \d{4}, \d\d:\d\d:\d\d)")))
        << getBuildDate();
}

// Start-up hands the version text to the error log, which heads the file with it.
TEST_F(BuildDate, theErrorLogHeaderCarriesBuildDateAndVersion)
{
    LogStream::headerText = getVersionText();
    const std::string log = errorLog();
    EXPECT_TRUE(std::regex_search(
        log, std::regex(R"(\n[A-Z][a-z]{2} \d\d \d{4}, \d\d:\d\d:\d\d 3\.1\.3 : Kova CPR Software\n)")))
        << log;
}

TEST_F(TooltipTable, startUpEntriesInOrder)
{
    idMap::fill();
    EXPECT_EQ(idMap::entries().size(), 32u);
    EXPECT_EQ(idMap::lookup(32780), L"Calibrate manikins");
    EXPECT_EQ(idMap::lookup(2), L"Abort this session.\nThere is no way to resume an aborted session");
    EXPECT_EQ(idMap::lookup(57665), L"Exit Kova CPR Software");
    EXPECT_EQ(idMap::lookup(1050), L"Initial ventilations");
    EXPECT_EQ(idMap::lookup(12345), L"");
    EXPECT_EQ(errorLog().find("Assert failed"), std::string::npos);
}

TEST_F(TooltipTable, aSecondTextForAnIdIsRefusedAndLogged)
{
    idMap::insert(100001, L"Airway opened");
    idMap::insert(100001, L"Pulse checked");
    EXPECT_EQ(idMap::lookup(100001), L"Airway opened");
    EXPECT_NE(errorLog().find("idMap.cpp"), std::string::npos);
}

TEST_F(TooltipTable, requestsAreAnsweredInTheirFormAndCut)
{
    idMap::insert(1018, L"Start/resume this session");
    idMap::insert(7, std::wstring(600, L'\u00E9'));

    kova::ToolTipTextRequest wide;
    ASSERT_TRUE(idMap::onNeedText(1018, wide));
    EXPECT_STREQ(wide.wideText, L"Start/resume this session");

    kova::ToolTipTextRequest narrow{kova::TTN_NEEDTEXTA};
    ASSERT_TRUE(idMap::onNeedText(7, narrow));
    // 1023 bytes hold 511 two-byte characters.
    EXPECT_EQ(std::string(narrow.text).size(), 1022u);
    ASSERT_TRUE(idMap::onNeedText(7, wide));
    EXPECT_EQ(std::wstring(wide.wideText).size(), kova::TOOLTIP_WIDE_LIMIT);

    kova::ToolTipTextRequest none;
    EXPECT_FALSE(idMap::onNeedText(1023, none));
    EXPECT_EQ(none.wideText, nullptr);
}
