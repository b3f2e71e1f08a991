#include "app/debriefing/RecommendationList.h"

#include "Rodezir/gstringUtil.h"

RecommendationList::RecommendationList(const std::string& stored, const std::wstring& box)
{
    add(STORED, toWide(stored));
    add(TYPED, box.substr(0, BOX_LIMIT));
}

void RecommendationList::add(int priority, const std::wstring& text) { entries_.emplace(priority, text); }

std::wstring RecommendationList::join() const
{
    std::wstring result;
    std::size_t taken = 0;
    for (const auto& [priority, text] : entries_) {
        if (taken++ == MAX_ENTRIES)
            break;
        if (!result.empty())
            result += L'\n';
        result += text;
    }
    return result;
}
