#include "splash/PrivateProfile.h"
#include "splash/SplashCommandLine.h"

#include <gtest/gtest.h>

using splash::PrivateProfile;
using splash::SplashCommandLine;

TEST(SplashCommandLine, passesTheArgumentsOnAndFindsTheIniOption)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string text;
        std::string iniName;
    };
    const Case cases[] = {
        {{}, "KOVA_CPR", "splash.ini"},
        {{"splashini:my.ini", "-x"}, "KOVA_CPR splashini:my.ini -x", "my.ini"},
        {{"-x", "splashini:"}, "KOVA_CPR -x splashini:", "splash.ini"},
        {{"splashini:", "-x"}, "KOVA_CPR splashini: -x", "splash.ini"},
        // Found inside a longer word too, and ended by a blank inside an argument.
        {{"--setsplashini:other.ini"}, "KOVA_CPR --setsplashini:other.ini", "other.ini"},
        {{"splashini:a b.ini"}, "KOVA_CPR splashini:a b.ini", "a"},
        {{"lang:de.mo", "demo"}, "KOVA_CPR lang:de.mo demo", "splash.ini"},
    };
    for (const Case& c : cases) {
        const SplashCommandLine line = SplashCommandLine::parse("KOVA_CPR", c.arguments);
        EXPECT_EQ(line.text, c.text);
        EXPECT_EQ(line.iniName, c.iniName) << line.text;
        EXPECT_EQ(line.arguments, c.arguments);
    }
}

TEST(PrivateProfile, readsValuesAsTheProfileReaderDoes)
{
    struct Case {
        const char* text;
        const char* value;
    };
    const Case cases[] = {
        {"[splash]\npicture=pic.bmp\n", "pic.bmp"},
        {"[SPLASH]\r\nPicture  =   pic one.bmp  \r\n", "pic one.bmp"},
        {"\xEF\xBB\xBF[splash]\npicture=\"quoted.bmp\"\n", "quoted.bmp"},
        {"[splash]\npicture='single.bmp'\n", "single.bmp"},
        {"[splash]\npicture=\"half.bmp\n", "\"half.bmp"},
        {"[splash]\npicture=\"\"two\"\"\n", "\"two\""},
        {"[other]\npicture=no.bmp\n[splash]\nlogo=l.bmp\npicture=yes.bmp\n", "yes.bmp"},
        {"[splash]\nlogo=l.bmp\n[other]\npicture=no.bmp\n", ""},
        {"[splash]\n;picture=commented.bmp\npictures=no.bmp\n", ""},
        {"picture=outside.bmp\n[splash]\n", ""},
        {"[splash]\npicture=first.bmp\npicture=second.bmp\n[splash]\npicture=third.bmp\n", "first.bmp"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PrivateProfile::findValue(c.text, "splash", "picture"), c.value) << c.text;

    const std::string longValue(400, 'x');
    EXPECT_EQ(PrivateProfile::findValue("[splash]\npicture=" + longValue, "splash", "picture"),
              std::string(PrivateProfile::MAX_VALUE, 'x'));
    EXPECT_EQ(PrivateProfile::findValue("[splash]\n", "splash", "picture", "fallback"), "fallback");
    EXPECT_EQ(PrivateProfile::getString("/nonexistent/splash.ini", "splash", "picture"), "");
}
