#include "Database/SessionRecord.h"
#include "config/ObjectInput.h"
#include "config/ObjectOutput.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<unsigned char> written(const SessionRecord& record, std::size_t room = 4096)
{
    std::vector<unsigned char> bytes(room);
    mem_buffer buffer(bytes.data(), bytes.size());
    RawFormat format(buffer);
    ObjectOutput out(format);
    out << record;
    bytes.resize(buffer.used());
    return bytes;
}

void readInto(SessionRecord& record, std::vector<unsigned char> bytes)
{
    mem_buffer buffer(bytes.data(), bytes.size());
    RawFormat format(buffer);
    ObjectInput in(format);
    in >> record;
}

SessionRecord emptyRecord()
{
    SessionRecord record(SessionRecord::Unstamped{});
    record.Duration = -1;
    record.TrainingMode = 2;
    return record;
}

TEST(SessionRecordFormat, anAllEmptyRecordTakes189BytesFromVersionToEndMarker)
{
    const std::vector<unsigned char> bytes = written(emptyRecord());
    ASSERT_EQ(bytes.size(), 189u);
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 4), (std::vector<unsigned char>{0, 0, 0, 0}));
    EXPECT_EQ(std::vector<unsigned char>(bytes.end() - 4, bytes.end()),
              (std::vector<unsigned char>{0x34, 0x12, 0x00, 0x00}));
    // The data blob of zero length is four zero bytes just before the marker.
    EXPECT_EQ(std::vector<unsigned char>(bytes.end() - 8, bytes.end() - 4), (std::vector<unsigned char>{0, 0, 0, 0}));
}

TEST(SessionRecordFormat, fieldsStandAtTheirPlacesInLittleEndian)
{
    SessionRecord record = emptyRecord();
    record.Serialidentifier = "ab";
    record.Approved = 0xA5;
    record.CompDepth = 1.0;
    record.CourseOrder = -2;
    const std::vector<unsigned char> bytes = written(record);
    ASSERT_EQ(bytes.size(), 191u);
    const std::vector<unsigned char> head(bytes.begin(), bytes.begin() + 29);
    EXPECT_EQ(head, (std::vector<unsigned char>{
                        0, 0, 0, 0,                            // version
                        2, 0, 0, 0, 'a', 'b',                  // serial identifier
                        0, 0, 0, 0,                            // algorithm
                        0xA5,                                  // approved
                        0, 0, 0, 0,                            // approved by
                        0, 0, 0, 0, 0, 0, 0xF0, 0x3F,          // compression depth 1.0
                        0, 0}));                               // compression relaxation ratio begins
    // Duration -1 and training mode 2 travel as their 32-bit patterns.
    const std::vector<unsigned char> minusOne{0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), minusOne.begin(), minusOne.end()), bytes.end());
}

TEST(SessionRecordFormat, aRecordReadsBackWholeAndKeepsTheReadersUnwrittenMembers)
{
    SessionRecord record;
    record.Algorithm = "ERC 2010 (European Resuscitation Council)";
    record.Approved = 1;
    record.ApprovedBy = "Ólafur";
    record.CompDepth = 52.25;
    record.CompRelaxRatio = 0.5;
    record.CourseInstructor = "O'Brien";
    record.CourseOrder = -7;
    record.CourseTime = "09:30";
    record.Done = true;
    record.Duration = -1;
    record.ECCrate = 104.5;
    record.EndTime = "09:40";
    record.InitialVentilations = 2;
    record.InterfaceFrequency = 50;
    record.Leaning = 3;
    record.Manikin = 257;
    record.Metronome = true;
    record.RegisterEvents = false;
    record.Note = "line one\nline two";
    record.PauseECC = 12;
    record.PersonChestCompression = "A";
    record.PersonVentilation = "B";
    record.Scenario = "10 minute BLS (ERC)";
    record.TrainingMode = 3;
    record.StomachInflation = 1;
    record.VentCompRatioComp = 30;
    record.VentCompRatioVent = 2;
    record.VentilationRate = 5.5;
    record.VentilationVolume = 0.55;
    record.WrongHandPosition = 6;
    record.data = {'d', 0, 'a', 0xFF, 't'};
    record.endMarker = 0xBEEF;
    record.manikinText = "writer's";
    record.linkType = 3;

    SessionRecord back;
    back.manikinText = "reader's";
    back.linkType = 4;
    readInto(back, written(record));
    SessionRecord expected = record;
    expected.manikinText = "reader's";
    expected.linkType = 4;
    EXPECT_EQ(back, expected);
}

TEST(SessionRecordFormat, aTextEndsAtItsFirstZeroByte)
{
    SessionRecord record = emptyRecord();
    record.Note = std::string("before\0after", 12);
    EXPECT_EQ(written(record).size(), 189u + 6);
    SessionRecord back;
    readInto(back, written(record));
    EXPECT_EQ(back.Note, "before");
}

TEST(SessionRecordFormat, anotherVersionIsRefusedBeforeAnythingChanges)
{
    std::vector<unsigned char> bytes = written(emptyRecord());
    bytes[0] = 1;
    SessionRecord record;
    record.Note = "untouched";
    const SessionRecord before = record;
    try {
        readInto(record, bytes);
        FAIL() << "a version 1 record was read";
    } catch (const char* text) {
        EXPECT_STREQ(text, "Unsupported version in session data!");
    }
    EXPECT_EQ(record, before);
}

TEST(SessionRecordFormat, shortOrLyingBuffersThrowTheOverflowAndAllocateNothingLarge)
{
    SessionRecord source = emptyRecord();
    source.Serialidentifier = "abcdefghijklmn";
    const std::vector<unsigned char> whole = written(source);
    // Cut inside the serial identifier: the count is read, the bytes are missing.
    const struct {
        std::size_t keep;
        std::int32_t left;
    } cuts[] = {{2, 2}, {10, 2}, {whole.size() - 1, 3}};
    for (const auto& cut : cuts) {
        SessionRecord record;
        try {
            readInto(record, std::vector<unsigned char>(whole.begin(), whole.begin() + cut.keep));
            FAIL() << "a record cut after " << cut.keep << " bytes was read";
        } catch (const mem_buffer::buffer_overflow_error& error) {
            EXPECT_EQ(error.bytesLeft, cut.left) << cut.keep;
            EXPECT_STREQ(error.what(), "XTL mem_buffer overflow");
        }
    }
    // A data count of four gigabytes minus one in a 200-byte file.
    std::vector<unsigned char> lying = written(emptyRecord());
    std::memset(lying.data() + lying.size() - 8, 0xFF, 4);
    SessionRecord record;
    EXPECT_THROW(readInto(record, lying), mem_buffer::buffer_overflow_error);
    std::vector<unsigned char> huge = written(emptyRecord());
    huge[huge.size() - 8] = 0x00;
    huge[huge.size() - 5] = 0x7F;
    EXPECT_THROW(readInto(record, huge), mem_buffer::buffer_overflow_error);
}

TEST(SessionRecordFormat, writingIntoAFullBufferThrows)
{
    EXPECT_THROW(written(emptyRecord(), 188), mem_buffer::buffer_overflow_error);
    EXPECT_EQ(written(emptyRecord(), 189).size(), 189u);
}

} // namespace
