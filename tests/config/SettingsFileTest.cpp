#include "config/SettingsFile.h"

#include "Rodezir/LogStream.h"
#include "SettingsTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using settingstest::FileBytes;
using settingstest::logReports;
using Lines = std::vector<std::string>;

const std::string NAME = "configuration.cprcfg";
const std::string NOT_ALL = "Could not read all of the configuration in file 'configuration.cprcfg'. Ignoring file.";
const std::string OVERRUN = "Could not load configuration file 'configuration.cprcfg': XTL mem_buffer overflow";

class SettingsFileTest : public ::testing::Test {
protected:
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd{dir.path()};

    void TearDown() override { LogStream::destroy(); }
    std::string file() const { return kovatest::readFile(dir.path() / NAME); }
    void putFile(const std::string& bytes) const { kovatest::writeFile(dir.path() / NAME, bytes); }

    // A record unlike the defaults, to see that a failed load leaves it be.
    static PropertyModel sentinel()
    {
        PropertyModel model;
        model.metronomeRate = 77.0;
        model.setLanguage(1, "ko");
        return model;
    }
};

TEST_F(SettingsFileTest, defaultFileHasItsExactBytes)
{
    ASSERT_TRUE(SettingsFile::save(NAME, PropertyModel()));
    const std::string bytes = file();
    EXPECT_EQ(bytes.size(), 219u);
    EXPECT_EQ(bytes, FileBytes::defaultFile().bytes);
    // Spot checks against the layout's fixed offsets.
    EXPECT_EQ(bytes.substr(0, 5), std::string("\x01\x00\x00\x00\x01", 5));
    EXPECT_EQ(bytes.substr(5, 8), std::string("\x00\x00\x00\x00\x00\x00\x59\x40", 8));
    EXPECT_EQ(bytes.substr(38, 8), std::string("\xB8\x1E\x85\xEB\x51\xB8\x9E\x3F", 8));
    EXPECT_EQ(bytes.substr(74, 4), std::string("\x09\x00\x00\x00", 4));
    EXPECT_EQ(bytes.substr(98, 4), std::string("\x00\x00\x00\x00", 4));
    EXPECT_EQ(bytes.substr(215), std::string("\x34\x12\x00\x00", 4));
    EXPECT_TRUE(logReports(dir.path()).empty());
}

TEST_F(SettingsFileTest, everyFieldSurvivesSaveAndLoad)
{
    PropertyModel edited;
    edited.playEndSound = false;
    edited.metronomeRate = 112.5;
    edited.debriefingAsCounts = false;
    edited.showCardiacOutput = true;
    edited.minuteVolumeLow = 0.0001;
    edited.cardiacOutputHigh = 99.99;
    edited.maxPauseBetweenCompressions = 100;
    edited.overrideCompressionDepth = true;
    edited.compressionDepthLow = 0.01;
    edited.printHeading = L"\u00dcbung \u4e2d\u6587 \U0001F600";
    edited.graphMaxPrintTime = 240;
    edited.printEventList = false;
    edited.setAlgorithm1("Eigener \xc3\x84lgorithmus");
    edited.setAlgorithm2("");
    for (int i = 0; i < NUMBER_OF_ICONS; ++i) {
        edited.setIcon(i, 5 - i);
        edited.setIconLegend(i, "Legend " + std::to_string(i));
    }
    edited.setLanguage(0, "ko");
    edited.registerEvents = false;
    edited.enableLegends = true;
    edited.ecgEnabled = false;
    ASSERT_TRUE(SettingsFile::save(NAME, edited));

    PropertyModel loaded;
    ASSERT_TRUE(SettingsFile::load(NAME, loaded));
    EXPECT_TRUE(loaded == edited);
    EXPECT_TRUE(logReports(dir.path()).empty());
}

TEST_F(SettingsFileTest, missingFileGivesOneLineAndKeepsTheRecord)
{
    PropertyModel model = sentinel();
    EXPECT_FALSE(SettingsFile::load(NAME, model));
    EXPECT_TRUE(model == sentinel());
    EXPECT_EQ(logReports(dir.path()),
              Lines{"Could not open configuration file 'configuration.cprcfg' for loading."});
}

TEST_F(SettingsFileTest, damagedFilesAreIgnoredWithTheirLogLines)
{
    const std::string good = FileBytes::defaultFile().bytes;
    std::string badMarker = good;
    badMarker[215] = 0x35;
    std::string hugeName = FileBytes::defaultsUpToPrintEventList(1).bytes;
    hugeName += FileBytes().i32(0x7FFFFFFF).bytes + "AHA";
    // The heading claims 52000 bytes and the file has them, but only the
    // first 51200 bytes of a file are ever read.
    std::string beyondLimit = FileBytes().i32(1).bytes + std::string(94, '\0') + FileBytes().i32(52000).bytes;
    beyondLimit += std::string(52000 + 200, 'x');

    struct Case {
        const char* what;
        std::string bytes;
        Lines expected;
    };
    const Case cases[] = {
        {"version 2", FileBytes().i32(2).bytes + good.substr(4),
         {"Could not load configuration file 'configuration.cprcfg': Unsupported version in PropertyModel data!",
          NOT_ALL}},
        {"version -1", FileBytes().i32(-1).bytes + good.substr(4),
         {"Could not load configuration file 'configuration.cprcfg': Unsupported version in PropertyModel data!",
          NOT_ALL}},
        {"end marker changed", badMarker, {NOT_ALL}},
        {"empty file", "", {OVERRUN, NOT_ALL}},
        {"truncated in the middle", good.substr(0, 150), {OVERRUN, NOT_ALL}},
        {"truncated in the end marker", good.substr(0, 217), {OVERRUN, NOT_ALL}},
        {"name length of 2 GiB", hugeName, {OVERRUN, NOT_ALL}},
        {"beyond the 51200-byte limit", beyondLimit, {OVERRUN, NOT_ALL}},
    };
    for (const auto& c : cases) {
        putFile(c.bytes);
        PropertyModel model = sentinel();
        EXPECT_FALSE(SettingsFile::load(NAME, model)) << c.what;
        EXPECT_TRUE(model == sentinel()) << c.what;
        EXPECT_EQ(logReports(dir.path()), c.expected) << c.what;
    }
}

TEST_F(SettingsFileTest, wrongSlotCountsFailTheLoad)
{
    // Files whose counts differ from 6 icons, 3 languages and 6 legends read
    // without an overrun, yet would break every user of those slots.
    const std::pair<const char*, void (*)(PropertyModel&)> cases[] = {
        {"five icons", [](PropertyModel& m) { m.icons.resize(5); }},
        {"seven icons", [](PropertyModel& m) { m.icons.push_back(6); }},
        {"four languages", [](PropertyModel& m) { m.languages.push_back("it"); }},
        {"no legends", [](PropertyModel& m) { m.iconLegends.clear(); }},
    };
    for (const auto& [what, damage] : cases) {
        PropertyModel odd;
        damage(odd);
        ASSERT_TRUE(SettingsFile::save(NAME, odd)) << what;
        PropertyModel model = sentinel();
        EXPECT_FALSE(SettingsFile::load(NAME, model)) << what;
        EXPECT_TRUE(model == sentinel()) << what;
        EXPECT_EQ(logReports(dir.path()), Lines{NOT_ALL}) << what;
    }
}

TEST_F(SettingsFileTest, version0LoadsWithThatTimesSetUpAndSavesAsVersion1)
{
    FileBytes v0 = FileBytes::defaultsUpToPrintEventList(0);
    v0.bytes.replace(5, 8, FileBytes().f64(0x4054000000000000).bytes); // metronome 80.0
    v0.bytes.replace(74, 4, FileBytes().i32(12).bytes);                // longest pause 12 s
    v0.i32(0x1234);
    putFile(v0.bytes);

    PropertyModel model;
    ASSERT_TRUE(SettingsFile::load(NAME, model));
    EXPECT_EQ(model.metronomeRate, 80.0);
    EXPECT_EQ(model.maxPauseBetweenCompressions, 12);
    EXPECT_EQ(model.getAlgorithm1(), "AHA 2005");
    EXPECT_EQ(model.getAlgorithm2(), "ERC 2005");
    EXPECT_EQ(model.languages, (Lines{"en", "de", "fr"}));
    EXPECT_EQ(model.icons, (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(model.iconLegends, Lines(6));
    EXPECT_TRUE(model.registerEvents);
    EXPECT_FALSE(model.enableLegends);
    EXPECT_TRUE(model.ecgEnabled);

    ASSERT_TRUE(SettingsFile::save(NAME, model));
    FileBytes expected = FileBytes::defaultFile();
    expected.bytes.replace(5, 8, FileBytes().f64(0x4054000000000000).bytes);
    expected.bytes.replace(74, 4, FileBytes().i32(12).bytes);
    expected.bytes.replace(110, 24, FileBytes().text("AHA 2005").text("ERC 2005").bytes);
    EXPECT_EQ(file(), expected.bytes);
    EXPECT_TRUE(logReports(dir.path()).empty());
}

TEST_F(SettingsFileTest, bytesAfterTheRecordAreIgnored)
{
    putFile(FileBytes::defaultFile().bytes + std::string(60000, '\x7F'));
    PropertyModel model = sentinel();
    EXPECT_TRUE(SettingsFile::load(NAME, model));
    EXPECT_TRUE(model == PropertyModel());
}

TEST_F(SettingsFileTest, oversizedHeadingFailsTheSaveAndKeepsTheOldFile)
{
    PropertyModel old;
    old.metronomeRate = 90.0;
    ASSERT_TRUE(SettingsFile::save(NAME, old));
    const std::string before = file();

    PropertyModel huge;
    huge.printHeading.assign(25600, L'H');
    EXPECT_FALSE(SettingsFile::save(NAME, huge));
    EXPECT_EQ(file(), before);
    EXPECT_EQ(logReports(dir.path()),
              Lines{"Could not save configuration file 'configuration.cprcfg': XTL mem_buffer overflow"});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary file is left";
}

TEST_F(SettingsFileTest, failedWriteKeepsTheOldFile)
{
    ASSERT_TRUE(SettingsFile::save(NAME, PropertyModel()));
    const std::string before = file();
    // A name so long that no temporary beside it can be named.
    const std::string longest(250, 'c');
    kovatest::writeFile(dir.path() / longest, before);
    PropertyModel changed;
    changed.metronomeRate = 60.0;
    EXPECT_FALSE(SettingsFile::save(longest, changed));
    EXPECT_EQ(kovatest::readFile(dir.path() / longest), before);
    EXPECT_EQ(logReports(dir.path()), Lines{"Could not open configuration file '" + longest + "' for saving"});

    // A folder in place of the file: written, but it cannot be replaced.
    const std::string other = "other.cprcfg";
    std::filesystem::create_directories(dir.path() / other / "inside");
    EXPECT_FALSE(SettingsFile::save(other, changed));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / other / "inside"));
    EXPECT_EQ(logReports(dir.path()), Lines{"Could not write configuration file 'other.cprcfg'. The previous file is kept."});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3) << "no temporary file is left";
}

TEST_F(SettingsFileTest, twoProgramsSavingAtOnceEachSaveWholeEveryTime)
{
    constexpr int SAVES = 1000;
    std::vector<pid_t> programs;
    for (int program = 0; program < 2; ++program) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failures = 0;
            for (int save = 0; save < SAVES; ++save) {
                PropertyModel model;
                model.metronomeRate = 100.0 + program;
                model.printHeading = std::wstring(static_cast<std::size_t>(save % 50), L'x');
                PropertyModel read;
                if (!SettingsFile::save(NAME, model) || !SettingsFile::load(NAME, read))
                    ++failures;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
        programs.push_back(pid);
    }
    for (pid_t pid : programs) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed or a read found a broken file";
    }
    PropertyModel last;
    EXPECT_TRUE(SettingsFile::load(NAME, last));
    EXPECT_TRUE(last.metronomeRate == 100.0 || last.metronomeRate == 101.0);
    EXPECT_TRUE(logReports(dir.path()).empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary file is left";
}

} // namespace
