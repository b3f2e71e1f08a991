#pragma once
// Session database files (".sdb") that carry stored sessions between
// stations: the number of sessions, then each session's record with its data
// file's contents. Written whole through a growing buffer, read back whole
// or not at all.

#include "Database/SessionRecord.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

class SessionFile {
public:
    // The stream buffer's first size; it doubles after every overflow.
    static constexpr std::size_t FIRST_CAPACITY = 524288;
    static constexpr std::size_t NO_LIMIT = std::numeric_limits<std::size_t>::max();
    // The bytes of a record whose texts and data are all empty: no file
    // holds more records than its size divided by this.
    static constexpr std::size_t SMALLEST_RECORD = 189;

    // "1 session", "2 sessions": the number as it stands, the word translated.
    static std::wstring sessionCount(std::size_t count);

    // The streamed bytes, or the reason there are none.
    struct Streamed {
        std::unique_ptr<unsigned char[]> block;
        std::size_t size = 0;
        // The size of the buffer that held them.
        std::size_t capacity = 0;
        std::string error;
        bool ok() const { return error.empty(); }
    };
    // The count and the records in one block; an overflow starts again in a
    // buffer twice the size. A buffer larger than `capacityLimit`, or one the
    // heap cannot give, ends with the out-of-memory reason.
    static Streamed stream(const std::vector<SessionRecord>& sessions, std::size_t capacityLimit = NO_LIMIT);

    // Streams the sessions and replaces the file with them (an older file
    // stays as it was when anything fails); tells the user how it went.
    static bool write(const std::string& path, const std::vector<SessionRecord>& sessions,
                      std::size_t capacityLimit = NO_LIMIT);

    enum class Outcome {
        Read,         // every promised record, each ending in its end marker
        Empty,        // a count of zero or below: nothing to read
        Unparsable,   // a record refused or cut short; `error` says how
        BadEndMarker, // a record ends in another marker
    };
    struct Parsed {
        Outcome outcome = Outcome::Empty;
        std::vector<SessionRecord> sessions; // only with Outcome::Read
        std::string error;
    };
    // The sessions in a whole file's bytes. Nothing is kept from a file that
    // fails anywhere, and a count that promises more records than the bytes
    // can hold is refused before any is read.
    static Parsed parse(const unsigned char* bytes, std::size_t size);

    // The sessions of the file at `path`; none when it cannot be read (no
    // message) or when it is damaged (after logging and telling the user why).
    static std::vector<SessionRecord> read(const std::string& path);
};
