#include "app/SessionDataFile.h"

#include "Rodezir/gstringUtil.h"
#include "app/GraphDoc.h"
#include "comm/CommSession.h"

#include <algorithm>

bool SessionDataFile::write(std::FILE* file, const GraphDoc& compression, const GraphDoc& ventilation,
                            const CommSession& data, const std::string& recommendations)
{
    if (!compression.writeMarks(file) || !ventilation.writeMarks(file) || !data.save(file))
        return false;
    std::fputs("recommendations:\n", file);
    std::fwrite(recommendations.data(), 1, recommendations.size(), file);
    std::fputc('\n', file);
    return std::ferror(file) == 0;
}

SessionDataFile::ReadResult SessionDataFile::read(std::string_view text, double rate, GraphDoc& compression,
                                                  GraphDoc& ventilation, CommSession& data,
                                                  std::string& recommendations)
{
    std::size_t used = 0;
    if (!compression.readMarks(text, &used))
        return ReadResult::MarksDamaged;
    text.remove_prefix(used);
    used = 0;
    if (!ventilation.readMarks(text, &used))
        return ReadResult::MarksDamaged;
    text.remove_prefix(used);
    used = 0;
    const bool measured = data.loadText(text, rate, &used);
    // A mark must point at a sample the session holds (or before the first).
    const int samples = static_cast<int>(data.manData.size());
    compression.dropInvalidMarks(samples);
    ventilation.dropInvalidMarks(samples);
    if (!measured)
        return ReadResult::MeasurementsDamaged;
    text.remove_prefix(std::min(used, text.size()));
    recommendations = recommendationsAfter(text);
    return ReadResult::Read;
}

std::string SessionDataFile::recommendationsAfter(std::string_view rest)
{
    // Only the line end of the last measurement lies between the sections.
    const std::size_t start = rest.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || rest.substr(start, RECOMMENDATIONS_MARKER.size()) != RECOMMENDATIONS_MARKER)
        return {};
    rest.remove_prefix(start + RECOMMENDATIONS_MARKER.size());
    if (rest.starts_with("\r\n"))
        rest.remove_prefix(2);
    else if (rest.starts_with("\n"))
        rest.remove_prefix(1);
    // An imported session's file has CR LF for every line end, the writer's last one too.
    if (rest.ends_with("\r\n"))
        rest.remove_suffix(2);
    else if (rest.ends_with('\n'))
        rest.remove_suffix(1);
    return std::string(rest);
}

std::string SessionDataFile::limitRecommendations(const std::wstring& box, std::size_t limit)
{
    return toNarrow(box.size() > limit ? box.substr(0, limit) : box);
}
