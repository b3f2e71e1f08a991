// The controller language table: lookups by code and by index.

#include "Rodezir/LogStream.h"
#include "TempDir.h"
#include "config/LangStruct.h"

#include <gtest/gtest.h>

namespace {

int assertionsLogged()
{
    LogStream::destroy();
    const std::string log = kovatest::readFile("errors.txt");
    int count = 0;
    for (auto at = log.find("langs[nr].second.empty() == false"); at != std::string::npos;
         at = log.find("langs[nr].second.empty() == false", at + 1))
        ++count;
    return count;
}

} // namespace

TEST(LangStruct, codesMapToTheirIndexAndUnknownCodesToMinusOne)
{
    const std::pair<const char*, int> cases[] = {{"en", 0}, {"ko", 11}, {"hu", 9}, {"xx", -1}, {"", -1}, {"EN", -1}};
    for (const auto& [code, index] : cases)
        EXPECT_EQ(LangStruct::indexOf(code), index) << code;
    EXPECT_EQ(LangStruct::getName(5), L"Portugese");
    EXPECT_EQ(LangStruct::table().size(), 13u);
}

TEST(LangStruct, getCodeOutsideTheLanguagesGivesAnEmptyCode)
{
    LogStream::instance();
    assertionsLogged(); // each new log starts empty
    EXPECT_EQ(LangStruct::getCode(3), "es");
    EXPECT_EQ(LangStruct::getCode(13), "");
    EXPECT_EQ(LangStruct::getCode(-1), "");
    EXPECT_EQ(assertionsLogged(), 0);
    EXPECT_EQ(LangStruct::getCode(12), "");
    EXPECT_EQ(assertionsLogged(), 1);
}
