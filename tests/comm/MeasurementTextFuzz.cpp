// Feeds arbitrary bytes to the measurement text reader, then evaluates and
// writes back whatever was accepted.

#include "comm/CommSession.h"

#include "Database/AlgorithmRecord.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const AlgorithmRecord algorithm;
    CommSession session;
    session.setAlgorithm(&algorithm);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t consumed = 0;
    const bool ok = session.loadText(text, 50.0, &consumed);
    if (consumed > size || (!ok && !session.manData.empty()))
        __builtin_trap();
    session.trainingMode = size % 4;
    session.evaluate();
    std::ostringstream out;
    if (!session.save(out))
        __builtin_trap();
    return 0;
}
