// The application's start-up state: the command-line switches that the
// manikin links read, and the recorded data sets kept for the whole run.

#include "app/shell/CprTrainingAppState.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/Util.h"
#include "TempDir.h"
#include "comm/link/LinkEnvironment.h"

#include <gtest/gtest.h>

namespace {

std::string logText()
{
    return kovatest::readFile(LogStream::instance().path());
}

TEST(CprTrainingAppState, demoIsAPlainSubstringSearch)
{
    const struct {
        const char* commandLine;
        bool demo;
    } cases[] = {
        {"demo", true},
        {"lang:de.mo demo", true},
        {"nodemonstration", true},
        {"Demo", false},
        {"", false},
        {"commdelay:100", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CprTrainingAppState(c.commandLine).demoMode(), c.demo) << c.commandLine;
}

TEST(CprTrainingAppState, commDelayIsReadLikeTextToInteger)
{
    const struct {
        const char* commandLine;
        int delay;
    } cases[] = {
        {"", 0},
        {"demo", 0},
        {"commdelay:250", 250},
        {"demo commdelay:40 lang:en.mo", 40},
        {"commdelay:12ms", 12},
        {"commdelay:\"75\"", 75},
        {"commdelay:", 0},
        {"commdelay:abc", 0},
        {"commdelay:0", 0},
        {"commdelay:10000", 10000},
        {"xcommdelay:5", 5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CprTrainingAppState(c.commandLine).commDelay(), c.delay) << c.commandLine;
}

TEST(CprTrainingAppState, aDelayOutsideTheRangeIsIgnoredWithALogLine)
{
    for (const char* commandLine : {"commdelay:-5", "commdelay:10001", "commdelay:99999999999999999999"}) {
        SCOPED_TRACE(commandLine);
        EXPECT_EQ(CprTrainingAppState(commandLine).commDelay(), 0);
        EXPECT_NE(logText().find(std::string(commandLine) + " ignored"), std::string::npos);
    }
}

TEST(CprTrainingAppState, argumentsAreJoinedIntoOneCommandLine)
{
    const char* argv[] = {"KOVA_CPR", "demo", "lang:/opt/my catalogs/de.mo", "commdelay:20"};
    const std::string line = CprTrainingAppState::joinCommandLine(4, argv);
    EXPECT_EQ(line, "demo lang:\"/opt/my catalogs/de.mo\" commdelay:20");
    EXPECT_EQ(kova::getCommandLineOption(line, "lang:", ""), "/opt/my catalogs/de.mo");
    const CprTrainingAppState state(line);
    EXPECT_EQ(state.commandLine(), line);
    EXPECT_TRUE(state.demoMode());
    EXPECT_EQ(state.commDelay(), 20);
}

TEST(CprTrainingAppState, theInstalledStateIsWhatTheLinksSee)
{
    EXPECT_EQ(LinkEnvironment::instance(), nullptr);
    EXPECT_FALSE(LinkEnvironment::isRecordedDataPortNumber(250));
    {
        CprTrainingAppState state("demo commdelay:30");
        state.loadRecordedData();
        CprTrainingAppState::setInstance(&state);
        EXPECT_EQ(CprTrainingAppState::instance(), &state);
        EXPECT_EQ(LinkEnvironment::instance(), &state);
        EXPECT_EQ(LinkEnvironment::communicationDelay(), 30);
        EXPECT_TRUE(LinkEnvironment::isRecordedDataPortNumber(247));
        EXPECT_TRUE(LinkEnvironment::isRecordedDataPortNumber(256));
        EXPECT_FALSE(LinkEnvironment::isRecordedDataPortNumber(246));
        EXPECT_FALSE(LinkEnvironment::isRecordedDataPortNumber(257));
        for (int set = 0; set < 3; ++set) {
            ASSERT_NE(state.collectedDataSet(set), nullptr);
            EXPECT_EQ(state.collectedDataSet(set)->compression().size(), 1275u);
        }
        EXPECT_EQ(state.collectedDataSet(1)->ecg().size(), 1276u);
        EXPECT_EQ(state.collectedDataSet(3), nullptr);
    }
    // A state that goes away takes itself out.
    EXPECT_EQ(CprTrainingAppState::instance(), nullptr);
    EXPECT_EQ(LinkEnvironment::instance(), nullptr);
}

} // namespace
