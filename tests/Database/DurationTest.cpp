#include "Database/Duration.h"
#include "Database/TrainingMode.h"

#include "CatalogBuilder.h"
#include "Rodezir/LogStream.h"
#include "TempDir.h"
#include "gettext/Gettext.h"

#include <gtest/gtest.h>

namespace {

std::string errorLog() { return kovatest::readFile(LogStream::instance().path()); }

} // namespace

TEST(Duration, formatShowsMinutesAndSecondsOrNoLimit)
{
    const std::pair<long, const wchar_t*> cases[] = {
        {90, L"01:30"}, {3600, L"60:00"}, {0, L"00:00"}, {59, L"00:59"}, {-1, L"No limit"}, {-5, L"No limit"},
        // Longer than 99 minutes: the minutes simply grow.
        {6000, L"100:00"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(Duration::format(seconds), text) << seconds;
}

TEST(Duration, parseReadsDigitsAroundTheFirstColon)
{
    const std::pair<const char*, long> cases[] = {
        {"01:30", 90},
        {"3:5", 185},
        {"1:2:3", 62},   // a second colon ends the text
        {"a5:0x7", 307}, // other characters are skipped
        {"10", 600},     // no colon: all minutes
        {":45", 45},
        {"00:00", -1},
        {"", -1},
        {"No limit", -1},
        {"0:0:30", -1},
    };
    for (const auto& [text, seconds] : cases) {
        EXPECT_EQ(Duration::parse(std::string_view(text)), seconds) << text;
        const std::wstring wide(text, text + std::char_traits<char>::length(text));
        EXPECT_EQ(Duration::parse(std::wstring_view(wide)), seconds) << text;
    }
}

// A part too long for an int used to overflow (undefined behaviour, and in
// practice a wrapped, often negative, length). Such a text is unreadable, and
// so is a total that a record's 32-bit column cannot hold.
TEST(Duration, parseOfANumberTooLargeGivesNoLimit)
{
    const std::pair<const char*, long> cases[] = {
        {"99999999999:00", -1},
        {"00:99999999999", -1},
        {"2147483648:0", -1},
        {"0:2147483648", -1},
        {"35791394:07", 2147483647}, // the largest length a record holds
        {"35791394:08", -1},
        {"0:2147483647", 2147483647},
    };
    for (const auto& [text, seconds] : cases)
        EXPECT_EQ(Duration::parse(std::string_view(text)), seconds) << text;
}

TEST(Duration, formatLongWritesTheUnitsThatAreThere)
{
    const std::pair<long, const wchar_t*> cases[] = {
        {120, L"2 min."}, {90, L"1 min. 30 sec."}, {45, L"45 sec."},  {0, L"0 sec."},
        {60, L"1 min."},  {-1, L"No limit"},       {-2, L""},         {3601, L"60 min. 1 sec."},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(Duration::formatLong(seconds), text) << seconds;
}

TEST(Duration, endTimeAddsTheLengthToTheStart)
{
    struct Case {
        const char* start;
        long seconds;
        const char* end;
    };
    const Case cases[] = {
        {"00:00", 600, "00:10"},
        {"09:15", 1800, "09:45"},
        {"23:30", 3600, "24:30"}, // hours go on past midnight
        {"09:15", 59, "09:15"},   // whole minutes only
        {"09:15", 0, "09:15"},
        // The sum in seconds is past what 32 bits hold.
        {"596523:00", 3600, "596524:00"},
        {"10:00", 2147483647L, "596533:14"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Duration::endTime(c.start, c.seconds), c.end) << c.start << " + " << c.seconds;
}

TEST(Duration, endTimeOfASessionWithoutLimitIsEmptyAndLogged)
{
    EXPECT_EQ(Duration::endTime("09:15", Duration::NO_LIMIT), "");
    EXPECT_NE(errorLog().find("Assert failed in "), std::string::npos);
}

TEST(TrainingMode, textsOfTheFourModes)
{
    const std::pair<int, const wchar_t*> cases[] = {
        {0, L"Single-person CPR"}, {1, L"Two-person CPR"}, {2, L"Ventilation only"},
        {3, L"Chest compression only"}, {4, L""}, {-1, L""},
    };
    for (const auto& [mode, text] : cases)
        EXPECT_EQ(TrainingMode::getText(mode), text) << mode;
    EXPECT_EQ(TrainingMode::DEFAULT_MODE, 1);
}

// Every text is translated at the moment it is made, into the language loaded then.
TEST(Duration, textsAreTranslatedWhenMade)
{
    kovatest::TempDir dir;
    const auto bytes = kovatest::buildCatalog({
        {" min.", " Min."},
        {" sec.", " Sek."},
        {"No limit", "Ohne Grenze"},
        {"Ventilation only", "Nur Beatmung"},
    });
    kovatest::writeFile(dir.path() / "de.mo", std::string(bytes.begin(), bytes.end()));
    ASSERT_TRUE(Gettext::instance().setCatalog(dir.file("de.mo")));

    EXPECT_EQ(Duration::format(-1), L"Ohne Grenze");
    EXPECT_EQ(Duration::formatLong(90), L"1 Min. 30 Sek.");
    EXPECT_EQ(Duration::formatLong(-1), L"Ohne Grenze");
    EXPECT_EQ(TrainingMode::getText(2), L"Nur Beatmung");
    EXPECT_EQ(TrainingMode::getText(0), L"Single-person CPR");

    Gettext::instance().setCatalog("");
    EXPECT_EQ(Duration::format(-1), L"No limit");
}
