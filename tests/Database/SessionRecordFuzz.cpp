// Arbitrary bytes as an exported session file: records are read one after
// another until the bytes end or the reader refuses them.

#include "Database/SessionRecord.h"
#include "config/ObjectInput.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<unsigned char> bytes(data, data + size);
    mem_buffer buffer(bytes.data(), bytes.size());
    RawFormat format(buffer);
    ObjectInput in(format);
    SessionRecord record(SessionRecord::Unstamped{});
    try {
        while (buffer.left() > 0)
            in >> record;
    } catch (const mem_buffer::buffer_overflow_error&) {
    } catch (const char*) {
    }
    return 0;
}
