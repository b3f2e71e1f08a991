#pragma once
// The data file of a stored session, as text: the marks of the compression
// curve, the marks of the ventilation curve, the measurement text, and the
// instructor's recommendations behind the line "recommendations:". Written
// in one pass to an open file; read from the whole file's text.

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

class CommSession;
class GraphDoc;

class SessionDataFile {
public:
    static constexpr std::string_view RECOMMENDATIONS_MARKER = "recommendations:";

    // The four sections; false at the first that fails (the rest is not written).
    static bool write(std::FILE* file, const GraphDoc& compression, const GraphDoc& ventilation,
                      const CommSession& data, const std::string& recommendations);

    // The sample rates a stored session may have: what any manikin gives.
    // A row may hold anything (an imported session file fills it), and every
    // time of the session divides by the rate.
    static constexpr double LOWEST_RATE = 1.0;
    static constexpr double HIGHEST_RATE = 1000.0;

    enum class ReadResult { Read, MarksDamaged, MeasurementsDamaged, RateRefused };
    // Reads the sections into the documents (marks are appended), the store
    // (at `rate` samples a second) and the recommendations. A rate outside
    // LOWEST_RATE to HIGHEST_RATE reads nothing. What was read before a
    // damaged section stays. Once the measurements are in, marks no sample
    // can hold (below -1, past the last sample) or with a picture outside the
    // strip are dropped.
    static ReadResult read(std::string_view text, double rate, GraphDoc& compression, GraphDoc& ventilation,
                           CommSession& data, std::string& recommendations);

    // Reads a data file's whole text as opening a stored session of that
    // sample rate reads it, into curves and a store of its own that go
    // afterwards: whether the session would open.
    static ReadResult check(std::string_view text, double rate);
    // Why a session would not open, as an import names it (untranslated);
    // empty for Read.
    static const char* refusalText(ReadResult result);
    // The import of session files stores only sessions this reader opens.
    static void installImportCheck();

    // The recommendations in what follows the measurement text: everything
    // behind the marker's line, less the writer's final "\n", with CR LF
    // read as LF; empty without the marker.
    static std::string recommendationsAfter(std::string_view rest);
    // The box text as the file keeps it: at most `limit` characters (never
    // half a character), as UTF-8.
    static std::string limitRecommendations(const std::wstring& box, std::size_t limit);
};
