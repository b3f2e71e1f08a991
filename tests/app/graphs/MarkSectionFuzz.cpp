// Feeds arbitrary bytes as the two mark sections at the head of a session
// data file: reading never goes past the bytes, and once the (arbitrary)
// measurement count is known every mark kept lies on a sample or at -1 with an
// image of the strip.

#include "app/graphs/GraphDoc.h"
#include "app/graphs/GraphSource.h"

#include "comm/session/CommSession.h"
#include "config/AlgorithmRecord.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int sampleCount = data[0] * 16;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    AlgorithmRecord algorithm;
    CommSession session;
    GraphSource compression = GraphSource::compression(session, algorithm);
    GraphSource ventilation = GraphSource::ventilation(session, algorithm);
    GraphDoc first(compression);
    GraphDoc second(ventilation);
    std::size_t used = 0;
    if (first.readMarks(text, &used)) {
        std::size_t more = 0;
        second.readMarks(text.substr(used), &more);
        used += more;
    }
    if (used > text.size())
        __builtin_trap();
    for (GraphDoc* doc : {&first, &second}) {
        doc->dropInvalidMarks(sampleCount);
        for (const GraphEvent& mark : doc->getMarks())
            if (mark.sampleIndex < -1 || mark.sampleIndex >= sampleCount || mark.image < 0
                || mark.image >= ToolbarButton::IMAGE_COUNT)
                __builtin_trap();
    }
    return 0;
}
