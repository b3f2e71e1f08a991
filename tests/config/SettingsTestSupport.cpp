#include "SettingsTestSupport.h"

#include "Rodezir/LogStream.h"
#include "TempDir.h"

#include <sstream>

namespace settingstest {

FileBytes& FileBytes::i32(std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i)));
    return *this;
}

FileBytes& FileBytes::f64(std::uint64_t bits)
{
    for (int i = 0; i < 8; ++i)
        bytes.push_back(static_cast<char>(bits >> (8 * i)));
    return *this;
}

FileBytes& FileBytes::flag(bool value)
{
    bytes.push_back(value ? 1 : 0);
    return *this;
}

FileBytes& FileBytes::text(const std::string& value)
{
    i32(static_cast<std::int32_t>(value.size()));
    bytes += value;
    return *this;
}

FileBytes& FileBytes::wide(const std::u16string& value)
{
    i32(static_cast<std::int32_t>(2 * value.size()));
    for (char16_t unit : value) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return *this;
}

FileBytes FileBytes::defaultsUpToPrintEventList(std::int32_t version)
{
    FileBytes f;
    f.i32(version).flag(true).f64(0x4059000000000000); // playEndSound, metronomeRate 100.0
    f.flag(true).flag(false).flag(true).flag(true).flag(true).flag(true).flag(true);
    f.f64(0x3FF8000000000000).f64(0x4018000000000000); // minute volume 1.5 .. 6.0
    f.flag(true).flag(true);
    f.f64(0x3F9EB851EB851EB8).f64(0x3F847AE147AE147B); // 0.03, 0.01
    f.f64(0x3FF6666666666666).f64(0x4018000000000000); // cardiac output 1.4 .. 6.0
    f.flag(true).flag(true).flag(true).flag(true).i32(9);
    f.flag(true).flag(true).flag(true).flag(false);
    f.f64(0x403E000000000000).f64(0x404A000000000000); // depth 30.0 .. 52.0
    f.wide(u"").flag(true).i32(5).flag(true).flag(true).flag(true);
    return f;
}

FileBytes FileBytes::defaultFile()
{
    FileBytes f = defaultsUpToPrintEventList(1);
    f.text("AHA 2010").text("ERC 2010");
    f.i32(6).i32(0).i32(1).i32(2).i32(3).i32(4).i32(5);
    f.i32(3).text("en").text("de").text("fr");
    f.i32(6);
    for (int i = 0; i < 6; ++i)
        f.text("");
    f.flag(true).flag(false).flag(true).i32(0x1234);
    return f;
}

std::vector<std::string> logReports(const std::filesystem::path& folder)
{
    LogStream::destroy();
    std::vector<std::string> lines;
    std::istringstream in(kovatest::readFile(folder / "errors.txt"));
    // The next report opens the log again, with a warning that it was
    // ended once; that belongs to the test, not to the code under test.
    std::filesystem::remove(folder / "errors.txt");
    for (std::string line; std::getline(in, line);) {
        if (line == std::string(75, '-'))
            lines.clear();
        else if (line != "-eof-" && line != "Warning: the LogStream has been destroyed once")
            lines.push_back(line);
    }
    return lines;
}

} // namespace settingstest
