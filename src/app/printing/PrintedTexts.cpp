#include "app/printing/PrintedTexts.h"

#include "app/sessions/Session.h"
#include "gettext/Gettext.h"

#include <algorithm>

std::vector<std::wstring> PrintedTexts::headingLines(const std::wstring& heading)
{
    std::vector<std::wstring> lines;
    std::size_t from = 0;
    for (std::size_t at = heading.find(L"\r\n"); at != std::wstring::npos; at = heading.find(L"\r\n", from)) {
        lines.push_back(heading.substr(from, at - from));
        from = at + 2;
    }
    if (from < heading.size())
        lines.push_back(heading.substr(from));
    return lines;
}

std::wstring PrintedTexts::approvalText(int approved)
{
    if (approved == 0)
        return Gettext::translate("Approved: __ Yes ___No");
    if (approved == 1)
        return Gettext::translate("Approved: Yes");
    return Gettext::translate("Approved: No");
}

std::wstring PrintedTexts::markText(const std::wstring& name)
{
    std::wstring text;
    text.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        text += name[i];
        if (name[i] == L'&' && i + 1 < name.size() && name[i + 1] == L'&')
            ++i;
    }
    return text;
}

std::wstring PrintedTexts::markTime(int sampleIndex, double sampleRate)
{
    const std::int64_t ms = std::max<std::int64_t>(Session::sampleMilliseconds(sampleIndex, sampleRate), 0);
    const std::int64_t minutes = ms / 60000;
    const std::int64_t seconds = (ms - minutes * 60000) / 1000;
    return std::to_wstring(minutes) + (seconds < 10 ? L":0" : L":") + std::to_wstring(seconds);
}

std::wstring PrintedTexts::dotLeader(int start, int limit, const std::function<int(const std::wstring&)>& width)
{
    // Dots are added while the leader still ends left of the limit, so the
    // last one added is the one that reached it and goes again; a leader
    // that never got a dot loses nothing.
    std::wstring leader;
    while (start + width(leader) < limit) {
        const int before = width(leader);
        leader += L'.';
        if (width(leader) <= before)
            break; // a font without width for "." would never end
    }
    if (!leader.empty())
        leader.pop_back();
    return leader;
}

PrintedTexts::Columns PrintedTexts::eventColumns(int trainingMode, const std::vector<GraphEvent>& ventilation,
                                                 const std::vector<GraphEvent>& compression)
{
    Columns columns;
    if (trainingMode == 1) {
        columns.left = ventilation;
        columns.right = compression;
        columns.twoHeadings = true;
        return columns;
    }
    std::vector<GraphEvent> marks;
    if (trainingMode == 2) {
        marks = ventilation;
    } else if (trainingMode == 3) {
        marks = compression;
        columns.compressionHeading = true;
    } else {
        marks = compression;
        marks.insert(marks.end(), ventilation.begin(), ventilation.end());
        // Stable: compression marks stay ahead of ventilation marks at one index.
        std::stable_sort(marks.begin(), marks.end(),
                         [](const GraphEvent& a, const GraphEvent& b) { return a.sampleIndex < b.sampleIndex; });
    }
    const std::size_t leftCount = std::min<std::size_t>(marks.size(), COLUMN_ROWS);
    const std::size_t rightCount = std::min<std::size_t>(marks.size() - leftCount, COLUMN_ROWS + 1);
    columns.left.assign(marks.begin(), marks.begin() + static_cast<std::ptrdiff_t>(leftCount));
    columns.right.assign(marks.begin() + static_cast<std::ptrdiff_t>(leftCount),
                         marks.begin() + static_cast<std::ptrdiff_t>(leftCount + rightCount));
    return columns;
}
