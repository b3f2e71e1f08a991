// Feeds arbitrary bytes as a whole session data file: reading never fails
// loudly, and whatever it keeps is sound: once the measurements are in, every
// mark lies on a sample (or at -1) with a picture of the strip, and the
// recommendations are part of the bytes (read as text, CR LF as LF).

#include "app/graphs/GraphDoc.h"
#include "app/graphs/GraphSource.h"
#include "app/sessions/SessionDataFile.h"

#include "comm/session/CommSession.h"
#include "config/AlgorithmRecord.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    AlgorithmRecord algorithm;
    CommSession session;
    GraphSource compressionSource = GraphSource::compression(session, algorithm);
    GraphSource ventilationSource = GraphSource::ventilation(session, algorithm);
    GraphDoc compression(compressionSource);
    GraphDoc ventilation(ventilationSource);
    std::string recommendations;
    const auto result = SessionDataFile::read(text, 20.0, compression, ventilation, session, recommendations);
    if (result == SessionDataFile::ReadResult::MarksDamaged)
        return 0;
    const int samples = static_cast<int>(session.manData.size());
    for (const GraphDoc* doc : {&compression, &ventilation})
        for (const GraphEvent& mark : doc->getMarks())
            if (mark.sampleIndex < -1 || mark.sampleIndex >= samples || mark.image < 0
                || mark.image >= ToolbarButton::IMAGE_COUNT)
                __builtin_trap();
    // Part of the bytes as a text-mode read gives them: CR LF as LF.
    std::string asText;
    for (std::size_t i = 0; i < size; ++i)
        if (!(text[i] == '\r' && i + 1 < size && text[i + 1] == '\n'))
            asText.push_back(text[i]);
    if (recommendations.size() > size || asText.find(recommendations) == std::string::npos)
        __builtin_trap();
    return 0;
}
