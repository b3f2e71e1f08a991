#include "Database/stored-sessions/DataFileChange.h"

#include "Database/DatabaseError.h"
#include "Database/SessionTable.h"
#include "Database/SqlIdentifier.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/mem_buffer.h"
#include "config/ObjectOutput.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t FINGERPRINT_DIGITS = 16;

// FNV-1a over 64 bits: the same everywhere, on every build.
class Fingerprint {
public:
    void add(const unsigned char* bytes, std::size_t size)
    {
        for (std::size_t i = 0; i < size; ++i) {
            hash_ ^= bytes[i];
            hash_ *= 0x100000001b3ULL;
        }
    }
    void add(std::uint64_t value)
    {
        std::array<unsigned char, 8> bytes{};
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<unsigned char>(value >> (8 * i));
        add(bytes.data(), bytes.size());
    }
    std::string text() const
    {
        static const char* const DIGITS = "0123456789abcdef";
        std::string digits(FINGERPRINT_DIGITS, '0');
        for (std::size_t i = 0; i < FINGERPRINT_DIGITS; ++i)
            digits[i] = DIGITS[(hash_ >> (4 * (FINGERPRINT_DIGITS - 1 - i))) & 0xF];
        return digits;
    }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

// A record's bytes as exported session files hold them.
std::vector<unsigned char> recordBytes(const SessionRecord& record)
{
    for (std::size_t capacity = 4096;; capacity *= 2) {
        std::vector<unsigned char> block(capacity);
        mem_buffer buffer(block.data(), block.size());
        RawFormat format(buffer);
        ObjectOutput out(format);
        try {
            record.write(out);
        } catch (const mem_buffer::buffer_overflow_error&) {
            continue;
        }
        block.resize(buffer.used());
        return block;
    }
}

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

} // namespace

DataFileChange::DataFileChange(std::string dataFile) : dataFile_(std::move(dataFile)), file_(dataFile_) {}

DataFileChange::~DataFileChange() = default;

bool DataFileChange::open() { return file_.open(); }

bool DataFileChange::finishWriting() { return file_.finish(); }

bool DataFileChange::bindToRows(DatabaseConnection& connection, const std::string& serial, std::string& reason)
{
    std::string fingerprint;
    try {
        fingerprint = rowsFingerprint(connection, serial);
    } catch (const DatabaseError& error) {
        reason = error.what();
        return false;
    }
    const std::string pending = dataFile_ + std::string(PENDING_MARK) + fingerprint;
    if (!file_.stageAs(pending)) {
        reason = "Could not name the new data file '" + pending
                 + "': " + errorReason(static_cast<unsigned long>(errno)) + "\n";
        return false;
    }
    bound_ = true;
    return true;
}

bool DataFileChange::commit()
{
    if (!bound_)
        return false;
    if (file_.commit())
        return true;
    LogStream::instance() << "The new data file '" << file_.temporaryPath() << "' could not take the name '"
                          << dataFile_ << "' (" << errorReason(static_cast<unsigned long>(errno))
                          << "); the next start finishes it.\n";
    // Kept for that start: the rows already name these contents.
    file_.keep();
    return false;
}

std::string DataFileChange::rowsFingerprint(DatabaseConnection& connection, const std::string& serial)
{
    SessionTable rows(connection);
    rows.filter = quoteIdentifier("Serialidentifier") + " = ?";
    rows.filterParameters = {serial};
    rows.sort = quoteIdentifier("RowId");
    if (!rows.RecordSet::open("Session"))
        throw DatabaseError(rows.lastError());
    Fingerprint fingerprint;
    for (; !rows.isEOF(); rows.moveNext()) {
        fingerprint.add(static_cast<std::uint64_t>(rows.rowId()));
        const std::vector<unsigned char> bytes = recordBytes(rows.getRecord());
        fingerprint.add(bytes.data(), bytes.size());
    }
    return fingerprint.text();
}

bool DataFileChange::parsePendingName(std::string_view name, std::string& dataFileName, std::string& fingerprint)
{
    const std::size_t mark = name.rfind(PENDING_MARK);
    if (mark == std::string_view::npos || mark == 0 || name.size() != mark + PENDING_MARK.size() + FINGERPRINT_DIGITS)
        return false;
    const std::string_view digits = name.substr(mark + PENDING_MARK.size());
    for (char c : digits)
        if (!isHexDigit(c))
            return false;
    dataFileName = std::string(name.substr(0, mark));
    fingerprint = std::string(digits);
    return true;
}
