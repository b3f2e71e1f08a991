// Arbitrary bytes as a whole session database file: the reader either
// refuses them or gives sessions that each end in their end marker, and the
// data file an import makes of a session's data reads back as that data.

#include "Database/export-import/DataFileContents.h"
#include "Database/export-import/SessionFile.h"

#include <algorithm>

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
        // What an export carries holds no CR LF and no zero byte.
        const bool exportable = std::find(record.data.begin(), record.data.end(), '\0') == record.data.end()
                                && std::find(record.data.begin(), record.data.end(), '\r') == record.data.end();
        if (!exportable)
            continue;
        const std::vector<unsigned char> file = DataFileContents::asDataFile(record.data);
        std::vector<unsigned char> back;
        DataFileContents::appendAsText(file.data(), file.size(), back);
        if (back != record.data)
            std::abort();
    }
    return 0;
}
