#pragma once
// The measurement text of a session data file: a count line "%d\r\n", then one
// line per measurement of eight numbers written with "%.4g". Numbers are
// written and read in the C locale whatever the user's locale is.

#include "comm/reader/Measurement.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace MeasurementText {

// Appends the count line.
void appendHeader(std::string& out, std::int32_t count);
// Appends one record line.
void appendRecord(std::string& out, const Measurement& m);

// Reads the text as the station's reader reads it: whitespace between the
// numbers is free, a flag is 1 for any number but 0, the ECG value is read as
// a number and truncated. A damaged or short text is a failure, never garbage.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    // False unless a count of 0 or more stands next.
    bool readCount(std::int32_t& count);
    bool readRecord(Measurement& m);
    // Bytes consumed so far (up to the end of the last number read).
    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return text_.size() - pos_; }
    // Goes back to an earlier position, to read a record again once more text is there.
    void rewind(std::size_t position) { pos_ = position; }
    // The last failed read found only whitespace up to the end of the text:
    // the text may go on, rather than being damaged.
    bool exhausted() const { return exhausted_; }

private:
    void skipSpace();
    bool readInt(std::int32_t& value);
    bool readDouble(double& value);
    bool readFlag(std::uint8_t& flag);

    std::string_view text_;
    std::size_t pos_ = 0;
    bool exhausted_ = false;
};

// The shortest record line: eight one-digit numbers with their separators.
constexpr std::size_t MIN_RECORD_BYTES = 16;

} // namespace MeasurementText
