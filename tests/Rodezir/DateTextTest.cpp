// Date and time texts in the user's locale.
#include "Rodezir/DateText.h"
#include "Rodezir/LogStream.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>

namespace {

using namespace kova;

class DateTextTest : public ::testing::Test {
protected:
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd{dir.path()};
    const SYSTEMTIME morning{2013, 10, 4, 24, 9, 5, 7, 0};

    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::system());
        LogStream::destroy();
    }
    std::string log()
    {
        LogStream::destroy();
        return kovatest::readFile(dir.path() / "errors.txt");
    }
};

TEST_F(DateTextTest, isoDateBecomesTheUsersShortDateWithTheFullYear)
{
    EXPECT_EQ(isoDateToText("2013-10-24"), "24.10.2013");
    EXPECT_EQ(isoDateToText(std::wstring(L"2013-10-24 08:15:00")), L"24.10.2013");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(isoDateToText("2013-10-24"), "10/24/2013");
}

TEST_F(DateTextTest, isoDateToTextRefusesShortOrMalformedTexts)
{
    for (const char* text : {"", "2013-10", "2013-10-2", "2013-1x-24", "20l3-10-24", "2013-02-30", "2013-13-01"})
        EXPECT_EQ(isoDateToText(text), "") << text;
    EXPECT_NE(log().find("isoDateToText(2013-10) : not a date of the form YYYY-MM-DD"), std::string::npos);
}

TEST_F(DateTextTest, datesAndTimesFollowTheLocale)
{
    EXPECT_EQ(dateText(morning, false), "24.10.2013");
    EXPECT_EQ(dateText(morning, true), "Donnerstag, 24. Oktober 2013");
    EXPECT_EQ(timeText(morning, false), "09:05");
    EXPECT_EQ(timeText(morning, true), "09:05:07");
    EXPECT_EQ(dateTimeText(morning, false, true), "24.10.2013 09:05:07");
}

TEST_F(DateTextTest, picturesFormatEveryField)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(formatDate(morning, "d/M/y dd.MM.yy yyyy"), "24/10/13 24.10.13 2013");
    EXPECT_EQ(formatDate(morning, "ddd dddd MMM MMMM"), "Thu Thursday Oct October");
    EXPECT_EQ(formatDate(morning, "'day' d 'o''clock' gg"), "day 24 o'clock ");
    const QDate today = QDate::currentDate();
    EXPECT_EQ(formatToday("yyyy-MM-dd"), today.toString("yyyy-MM-dd").toStdString());
    EXPECT_EQ(formatToday(std::wstring(L"yyyy")), std::to_wstring(today.year()));
}

} // namespace
