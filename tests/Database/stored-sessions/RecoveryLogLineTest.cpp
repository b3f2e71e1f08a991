// The start-up recovery writes a line for every file it sets aside, naming
// the file: a name that holds line breaks or terminal controls still gives
// one line, with the controls shown as escapes.

#include "Database/stored-sessions/DataFolderRecovery.h"
#include "Rodezir/LogStream.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

TEST(RecoveryLogLine, aHostileFileNameGivesOneEscapedLine)
{
    kovatest::TempDir station;
    kovatest::ScopedCwd inStation(station.path());
    LogStream::destroy();
    const fs::path data = station.path() / "data";
    fs::create_directories(data);
    const std::string name = "fake\nStart-up: forged\r\x1b[2J\tline.dat";
    kovatest::writeFile(data / name, "stray");

    ASSERT_TRUE(DataFolderRecovery::setAside((data / name).string(), data.string(), "no stored session names it"));
    EXPECT_TRUE(fs::exists(data / DataFolderRecovery::LOST_AND_FOUND / name));
    LogStream::destroy();

    std::vector<std::string> lines;
    std::istringstream log(kovatest::readFile(station.path() / "errors.txt"));
    for (std::string line; std::getline(log, line);)
        lines.push_back(line);
    const auto startUp = [](const std::string& line) { return line.rfind("Start-up: ", 0) == 0; };
    ASSERT_EQ(std::count_if(lines.begin(), lines.end(), startUp), 1) << kovatest::readFile(station.path() / "errors.txt");
    const std::string shown = "fake\\nStart-up: forged\\r\\x1b[2J\\tline.dat";
    const std::string expected = "Start-up: " + (data / shown).string() + " set aside as "
                                 + (data / DataFolderRecovery::LOST_AND_FOUND / shown).string()
                                 + ": no stored session names it";
    EXPECT_EQ(*std::find_if(lines.begin(), lines.end(), startUp), expected);
}
