#include "config/LangStruct.h"

#include "Rodezir/LogStream.h"
#include "gettext/Gettext.h"

const std::vector<std::pair<std::string, std::wstring>>& LangStruct::table()
{
    // Built on first use, so the names stay in the language that was active then.
    static const std::vector<std::pair<std::string, std::wstring>> langs = [] {
        static const char* const entries[][2] = {
            {"en", "English"}, {"de", "German"},    {"fr", "French"},  {"es", "Spanish"},
            {"it", "Italian"}, {"pt", "Portugese"}, {"nl", "Dutch"},   {"da", "Danish"},
            {"pl", "Polish"},  {"hu", "Hungarian"}, {"ru", "Russian"}, {"ko", "Korean"},
        };
        std::vector<std::pair<std::string, std::wstring>> result;
        for (const auto& entry : entries)
            result.emplace_back(entry[0], Gettext::translate(entry[1]));
        result.emplace_back(std::string(), std::wstring());
        return result;
    }();
    return langs;
}

int LangStruct::indexOf(const std::string& code)
{
    const auto& langs = table();
    std::size_t i = 0;
    while (!langs[i].first.empty() && langs[i].first != code)
        ++i;
    return langs[i].second.empty() ? -1 : static_cast<int>(i);
}

std::string LangStruct::getCode(int nr)
{
    if (nr < 0 || nr >= ENTRY_COUNT)
        return {};
    const auto& langs = table();
    KOVA_ASSERT(langs[nr].second.empty() == false);
    return langs[static_cast<std::size_t>(nr)].first;
}

std::wstring LangStruct::getName(int nr)
{
    KOVA_ASSERT(nr >= 0);
    if (nr < 0 || nr >= ENTRY_COUNT)
        return {};
    const auto& langs = table();
    KOVA_ASSERT(langs[nr].second.empty() == false);
    return langs[static_cast<std::size_t>(nr)].second;
}
