// Arbitrary bytes as a whole session database file: the reader either
// refuses them or gives sessions that each end in their end marker.

#include "Database/export-import/SessionFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const SessionFile::Parsed parsed = SessionFile::parse(data, size);
    if (parsed.outcome != SessionFile::Outcome::Read && !parsed.sessions.empty())
        std::abort();
    if (parsed.sessions.size() > size / SessionFile::SMALLEST_RECORD)
        std::abort();
    for (const SessionRecord& record : parsed.sessions) {
        if (record.endMarker != SessionRecord::END_MARKER)
            std::abort();
    }
    return 0;
}
