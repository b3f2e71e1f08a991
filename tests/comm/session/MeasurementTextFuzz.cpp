// Feeds arbitrary bytes to the measurement text reader, in one block and in
// small blocks that cut the text anywhere; both must read the same. Then
// evaluates and writes back whatever was accepted.

#include "comm/session/CommSession.h"

#include "config/AlgorithmRecord.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const AlgorithmRecord algorithm;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    CommSession whole;
    whole.setAlgorithm(&algorithm);
    std::size_t consumed = 0;
    const bool ok = whole.loadText(text, 50.0, &consumed);
    if (consumed > size || (!ok && !whole.manData.empty()))
        __builtin_trap();

    CommSession pieces;
    std::size_t consumedInPieces = 0;
    const bool okInPieces = pieces.loadText(text, 50.0, &consumedInPieces, 1 + size % 13);
    if (okInPieces != ok || pieces.manData != whole.manData || (ok && consumedInPieces != consumed))
        __builtin_trap();

    whole.trainingMode = static_cast<std::int32_t>(size % 4);
    whole.evaluate();
    std::ostringstream out;
    if (!whole.save(out))
        __builtin_trap();
    return 0;
}
