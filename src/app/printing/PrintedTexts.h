#pragma once
// The texts of a printed session that need no printer: the heading's lines,
// the approval line, a mark's text and time, the dot leader between them,
// and which marks go to which column of the event registration.

#include "app/graphs/GraphEvent.h"

#include <functional>
#include <string>
#include <vector>

class PrintedTexts {
public:
    // A column lists at most this many marks; "..." stands for the rest.
    static constexpr int COLUMN_ROWS = 21;

    // The print heading split at each "\r\n"; the text after the last break
    // is a line only when it is not empty, so "" has no lines.
    static std::vector<std::wstring> headingLines(const std::wstring& heading);
    // "Approved: __ Yes ___No" for 0, "Approved: Yes" for 1, else "Approved: No" (translated).
    static std::wstring approvalText(int approved);
    // The mark's button text as shown: each "&&" is one "&".
    static std::wstring markText(const std::wstring& name);
    // Minutes and seconds of the sample: "1:05", "10:00", "0:00".
    static std::wstring markTime(int sampleIndex, double sampleRate);
    // The dots that fill from `start` to `limit` (both in device units) with
    // `width` measuring a text: as many as end left of the limit. Empty when
    // not even one fits.
    static std::wstring dotLeader(int start, int limit, const std::function<int(const std::wstring&)>& width);

    // The marks of the two columns of the event registration, and whether
    // each column has more than it shows.
    struct Columns {
        std::vector<GraphEvent> left;
        std::vector<GraphEvent> right;
        bool twoHeadings = false;
        // The heading names the compression person (ventilation otherwise).
        bool compressionHeading = false;
    };
    // By training mode: 1 has the ventilation marks left and the compression
    // marks right, each column on its own; 2 only the ventilation marks, 3
    // only the compression marks and 0 both merged by sample index (the
    // compression mark first at equal indexes); in those the first 21 marks
    // go left and up to 22 more right. A column keeps every mark it was
    // given: the printing shows 21 and "..." for more.
    static Columns eventColumns(int trainingMode, const std::vector<GraphEvent>& ventilation,
                                const std::vector<GraphEvent>& compression);
};
