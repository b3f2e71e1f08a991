#include "app/sessions/SessionDataFile.h"

#include "Database/export-import/SessionExchange.h"
#include "Rodezir/gstringUtil.h"
#include "app/graphs/GraphDoc.h"
#include "app/graphs/GraphSource.h"
#include "comm/session/CommSession.h"
#include "comm/session/ConfigurationAnalysisSettings.h"
#include "config/AlgorithmRecord.h"

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
    if (!(rate >= LOWEST_RATE && rate <= HIGHEST_RATE))
        return ReadResult::RateRefused;
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

SessionDataFile::ReadResult SessionDataFile::check(std::string_view text, double rate)
{
    // Built as a stored session builds them, so the reader meets what it
    // meets when the session is opened.
    const AlgorithmRecord algorithm;
    CommSession data(&ConfigurationAnalysisSettings::instance());
    GraphSource compressionSource = GraphSource::compression(data, algorithm);
    GraphSource ventilationSource = GraphSource::ventilation(data, algorithm);
    GraphDoc compression(compressionSource);
    GraphDoc ventilation(ventilationSource);
    data.setAlgorithm(&algorithm);
    std::string recommendations;
    return read(text, rate, compression, ventilation, data, recommendations);
}

const char* SessionDataFile::refusalText(ReadResult result)
{
    switch (result) {
    case ReadResult::Read:
        return "";
    case ReadResult::RateRefused:
        return "its sample rate is not between 1 and 1000 samples a second";
    case ReadResult::MarksDamaged:
        return "the marks in its data are damaged";
    case ReadResult::MeasurementsDamaged:
        return "the measurements in its data are damaged";
    }
    return "its data is damaged";
}

void SessionDataFile::installImportCheck()
{
    SessionExchange::setDataCheck([](const SessionRecord& record, const std::vector<unsigned char>& dataFile) {
        const std::string_view text(reinterpret_cast<const char*>(dataFile.data()), dataFile.size());
        return std::string(refusalText(check(text, record.InterfaceFrequency)));
    });
}

std::string SessionDataFile::recommendationsAfter(std::string_view rest)
{
    // Only the line end of the last measurement lies between the sections.
    const std::size_t start = rest.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || rest.substr(start, RECOMMENDATIONS_MARKER.size()) != RECOMMENDATIONS_MARKER)
        return {};
    rest.remove_prefix(start + RECOMMENDATIONS_MARKER.size());
    // The text as a text-mode read gives it: a data file made on a Windows
    // station, or imported from a session file, ends its lines in CR LF.
    std::string text;
    text.reserve(rest.size());
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '\r' && i + 1 < rest.size() && rest[i + 1] == '\n')
            continue;
        text.push_back(rest[i]);
    }
    if (text.starts_with('\n'))
        text.erase(0, 1);
    if (text.ends_with('\n'))
        text.pop_back();
    return text;
}

std::string SessionDataFile::limitRecommendations(const std::wstring& box, std::size_t limit)
{
    return toNarrow(box.size() > limit ? box.substr(0, limit) : box);
}
