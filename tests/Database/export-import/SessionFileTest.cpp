#include "Database/export-import/DataFileContents.h"
#include "Database/export-import/SessionFile.h"
#include "Rodezir/LogStream.h"
#include "TempDir.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

SessionRecord sessionWith(const std::string& serial, std::size_t dataBytes = 3)
{
    SessionRecord record(SessionRecord::Unstamped{});
    record.Serialidentifier = serial;
    record.CourseInstructor = "Ólafur";
    record.Note = "first\nsecond";
    record.CompDepth = 51.5;
    record.data.assign(dataBytes, 'x');
    return record;
}

std::string streamed(const std::vector<SessionRecord>& sessions)
{
    const SessionFile::Streamed result = SessionFile::stream(sessions);
    EXPECT_TRUE(result.ok()) << result.error;
    return std::string(reinterpret_cast<const char*>(result.block.get()), result.size);
}

SessionFile::Parsed parsed(const std::string& bytes)
{
    return SessionFile::parse(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

void putWord(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

class SessionFiles : public ::testing::Test {
protected:
    // Each test reads the error log of its own: a log an earlier run left
    // in the working folder is not this one's.
    void SetUp() override
    {
        LogStream::destroy();
        std::filesystem::remove("errors.txt");
    }
    void TearDown() override { LogStream::destroy(); }

    std::string logText()
    {
        LogStream::destroy();
        return kovatest::readFile("errors.txt");
    }

    kovatest::TempDir folder;
    platform::RecordingMessageAsker asker;
    platform::ScopedMessageAsker askerScope{asker};
};

TEST_F(SessionFiles, theBufferDoublesUntilTheSessionsFitAndTheFileHoldsExactlyTheStreamedBytes)
{
    // Three sessions of 400,000 data bytes each: 1.2 MB in all.
    const std::vector<SessionRecord> sessions{sessionWith("aaaaaaaaaaaaaa", 400000),
                                              sessionWith("bbbbbbbbbbbbbb", 400000),
                                              sessionWith("cccccccccccccc", 400000)};
    const std::string path = folder.file("three.sdb");
    ASSERT_TRUE(SessionFile::write(path, sessions));

    // 512 KiB, 1 MiB, then 2 MiB hold them; a successful export leaves no line in the error log.
    EXPECT_EQ(SessionFile::stream(sessions).capacity, 4 * SessionFile::FIRST_CAPACITY);
    EXPECT_EQ(SessionFile::stream({sessionWith("aaaaaaaaaaaaaa")}).capacity, SessionFile::FIRST_CAPACITY);
    EXPECT_FALSE(SessionFile::stream(sessions, 2 * SessionFile::FIRST_CAPACITY).ok());
    const std::string log = logText();
    EXPECT_EQ(log.find("Streaming"), std::string::npos) << log;

    const std::string bytes = kovatest::readFile(path);
    EXPECT_TRUE(bytes == streamed(sessions));
    EXPECT_GT(bytes.size(), 1200000u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x03\x00\x00\x00", 4));
    const SessionFile::Parsed back = parsed(bytes);
    ASSERT_EQ(back.outcome, SessionFile::Outcome::Read);
    EXPECT_TRUE(back.sessions == sessions);

    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"Exported 3 sessions to " + std::filesystem::path(path).wstring());
    EXPECT_EQ(asker.asked[0].caption, L"Export sessions");
    EXPECT_EQ(asker.asked[0].style, platform::MB_OK | platform::MB_ICONINFORMATION);
}

TEST_F(SessionFiles, aFailedExportSaysWhyAndLeavesTheOlderFileAsItWas)
{
    const std::string path = folder.file("kept.sdb");
    kovatest::writeFile(path, "older export");
    const std::vector<SessionRecord> large{sessionWith("aaaaaaaaaaaaaa", 1100000)};

    // The heap gives no more than a megabyte.
    EXPECT_FALSE(SessionFile::write(path, large, 1048576));
    EXPECT_EQ(kovatest::readFile(path), "older export");
    // A folder that does not exist.
    const std::string nowhere = folder.file("missing/new.sdb");
    EXPECT_FALSE(SessionFile::write(nowhere, {sessionWith("aaaaaaaaaaaaaa")}));
    EXPECT_FALSE(std::filesystem::exists(nowhere));

    ASSERT_EQ(asker.asked.size(), 2u);
    EXPECT_EQ(asker.asked[0].text, L"The sessions could not be exported:\r\nNot enough memory to hold the sessions.");
    EXPECT_EQ(asker.asked[1].text,
              L"The sessions could not be exported:\r\nCould not save " + std::filesystem::path(nowhere).wstring()
                  + L".");
    for (const auto& box : asker.asked) {
        EXPECT_EQ(box.caption, L"Export sessions");
        EXPECT_EQ(box.style, platform::MB_OK | platform::MB_ICONERROR);
    }
    EXPECT_NE(logText().find("Could not export sessions to '" + path
                             + "': Not enough memory to hold the sessions.\n"),
              std::string::npos);
}

TEST_F(SessionFiles, aFileIsReadWholeOrNotAtAll)
{
    const SessionRecord one = sessionWith("aaaaaaaaaaaaaa");
    const SessionRecord two = sessionWith("bbbbbbbbbbbbbb", 40);
    const std::string valid = streamed({one, two});
    const std::size_t firstRecord = streamed({one}).size() - 4;
    const std::size_t firstMarker = 4 + firstRecord - 4;
    const std::size_t secondVersion = 4 + firstRecord;

    const auto with = [&](auto change) {
        std::string bytes = valid;
        change(bytes);
        return bytes;
    };
    const struct {
        const char* name;
        std::string bytes;
        SessionFile::Outcome outcome;
        const char* error;
    } cases[] = {
        {"count 0", std::string(4, '\0'), SessionFile::Outcome::Empty, ""},
        {"count above 2147483647", with([](std::string& b) { putWord(b, 0, 0x80000002u); }),
         SessionFile::Outcome::Empty, ""},
        {"shorter than a count", std::string("\x01\x00", 2), SessionFile::Outcome::Unparsable,
         "XTL mem_buffer overflow"},
        {"cut inside the second record", valid.substr(0, valid.size() - 10), SessionFile::Outcome::Unparsable,
         "XTL mem_buffer overflow"},
        {"a count promising more than the bytes hold", with([](std::string& b) { putWord(b, 0, 1000000); }),
         SessionFile::Outcome::Unparsable, "XTL mem_buffer overflow"},
        {"version 1 in the second record", with([&](std::string& b) { putWord(b, secondVersion, 1); }),
         SessionFile::Outcome::Unparsable, "Unsupported version in session data!"},
        {"wrong end marker on the last record", with([&](std::string& b) { putWord(b, b.size() - 4, 0x4321); }),
         SessionFile::Outcome::BadEndMarker, ""},
        {"wrong end marker on the first record", with([&](std::string& b) { putWord(b, firstMarker, 0); }),
         SessionFile::Outcome::BadEndMarker, ""},
        {"a data length past the end", with([&](std::string& b) { putWord(b, firstMarker - 7, 0x7FFFFFF0); }),
         SessionFile::Outcome::Unparsable, "XTL mem_buffer overflow"},
    };
    for (const auto& c : cases) {
        const SessionFile::Parsed result = parsed(c.bytes);
        EXPECT_EQ(result.outcome, c.outcome) << c.name;
        EXPECT_EQ(result.error, c.error) << c.name;
        EXPECT_TRUE(result.sessions.empty()) << c.name;
    }

    const SessionFile::Parsed whole = parsed(valid);
    ASSERT_EQ(whole.outcome, SessionFile::Outcome::Read);
    EXPECT_EQ(whole.sessions, (std::vector<SessionRecord>{one, two}));
}

TEST_F(SessionFiles, aDamagedFileIsToldAndLoggedAndAMissingOneIsNot)
{
    const std::string valid = streamed({sessionWith("aaaaaaaaaaaaaa"), sessionWith("bbbbbbbbbbbbbb")});
    const std::string cut = folder.file("cut.sdb");
    kovatest::writeFile(cut, valid.substr(0, valid.size() - 1));
    std::string wrongMarker = valid;
    putWord(wrongMarker, wrongMarker.size() - 4, 0);
    const std::string marker = folder.file("marker.sdb");
    kovatest::writeFile(marker, wrongMarker);

    EXPECT_TRUE(SessionFile::read(cut).empty());
    EXPECT_TRUE(SessionFile::read(marker).empty());
    EXPECT_TRUE(SessionFile::read(folder.file("none.sdb")).empty());

    ASSERT_EQ(asker.asked.size(), 2u);
    EXPECT_EQ(asker.asked[0].text, L"Could not parse sessions file:\r\n" + std::filesystem::path(cut).wstring()
                                       + L":\r\nXTL mem_buffer overflow");
    EXPECT_EQ(asker.asked[1].text, L"An error occured while importing sessions, importing canceled.");
    for (const auto& box : asker.asked) {
        EXPECT_EQ(box.caption, L"Import sessions");
        EXPECT_EQ(box.style, platform::MB_OK | platform::MB_ICONERROR);
    }
    const std::string log = logText();
    EXPECT_NE(log.find("Could not parse sessions file '" + cut + "': XTL mem_buffer overflow\n"), std::string::npos);
    EXPECT_NE(log.find("Could not parse all of the sessions in file '" + marker + "'. Ignoring file.\n"),
              std::string::npos);
}

TEST(DataFileText, exportedContentsAreTheFileAsATextReadHandsItOver)
{
    const std::string longLine(5000, 'y');
    const struct {
        std::string file;
        std::string contents;
    } cases[] = {
        {"a\r\nb\r\n", "a\nb\n"},
        {"lone\rcr\r", "lone\rcr\r"},
        {"cr\r\r\nlf", "cr\r\nlf"},
        // A zero ends the piece it is in, line end and all; the next line comes all the same.
        {std::string("ab\0cd\nef\n", 9), "abef\n"},
        // A line longer than a read is handed over in pieces of 4095.
        {longLine.substr(0, 4095) + std::string(1, '\0') + longLine.substr(0, 904) + "\nz",
         longLine.substr(0, 4095) + "z"},
    };
    for (const auto& c : cases) {
        std::vector<unsigned char> contents;
        DataFileContents::appendAsText(reinterpret_cast<const unsigned char*>(c.file.data()), c.file.size(),
                                       contents);
        EXPECT_EQ(std::string(contents.begin(), contents.end()), c.contents) << c.file.substr(0, 20);
    }
}

TEST(DataFileText, importedContentsGetCrLfOnlyBeforeTheRecommendations)
{
    const struct {
        std::string contents;
        std::string file;
    } cases[] = {
        {"a\n\nb", "a\r\n\r\nb"},
        {"0\n0\n1\n1 2\nrecommendations:\nx\nrecommendations:\n", "0\r\n0\r\n1\r\n1 2\r\nrecommendations:\nx\nrecommendations:\n"},
        {"recommendations:\n\n", "recommendations:\n\n"},
        // Only a line that starts with the marker opens the section.
        {"1 recommendations:\n2\n", "1 recommendations:\r\n2\r\n"},
    };
    for (const auto& c : cases) {
        const std::vector<unsigned char> file =
            DataFileContents::asDataFile(std::vector<unsigned char>(c.contents.begin(), c.contents.end()));
        EXPECT_EQ(std::string(file.begin(), file.end()), c.file) << c.contents;
    }
}

} // namespace
