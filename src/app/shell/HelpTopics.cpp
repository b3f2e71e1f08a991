#include "app/shell/HelpTopics.h"

#include <array>
#include <system_error>
#include <vector>

namespace HelpTopics {
namespace {

constexpr std::array<const char*, LAST_TOPIC - FIRST_TOPIC + 1> PAGES = {
    "IDH_HELP_CALIBRATE.htm",       "IDH_HELP_START_SESSION.htm",     "IDH_HELP_GRAPH_VIEW.htm",
    "IDH_HELP_DEBRIEF_VIEW.htm",    "IDH_HELP_SESSION_DB_VIEW.htm",   "IDH_HELP_SUPERVISION.htm",
    "IDH_HELP_DB_ALGORITHM.htm",    "IDH_HELP_DB_BROWSESESSION.htm",  "IDH_HELP_DB_COURSEPLANNER.htm",
    "IDH_HELP_DB_PERSON.htm",       "IDH_HELP_DB_SCENARIO.htm",       "IDH_HELP_DB_RUNCOURSE.htm",
    "IDH_HELP_DB_SESSION.htm",      "Berden_score_table.htm",         "Berden_score.htm",
    "IDH_HELP_DB_EDIT_EVENTS.htm",  "Copyright.htm",                  "Technical_Support.htm",
    "IDH_HELP_CONFIGURATION.htm",   "Shortcut_keys.htm",
};

// A code taken from a catalog's file name may hold anything; only letters
// and digits name a help folder.
bool isLanguageCode(const std::string& code)
{
    if (code.empty())
        return false;
    for (const char c : code)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

bool isFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

const char* page(int topic)
{
    if (topic < FIRST_TOPIC || topic > LAST_TOPIC)
        return nullptr;
    return PAGES[static_cast<std::size_t>(topic - FIRST_TOPIC)];
}

std::string folderName(const std::string& languageCode) { return "kovacpr-" + languageCode; }

std::filesystem::path locate(const std::filesystem::path& stationDir, const std::string& languageCode, int topic)
{
    std::vector<std::string> languages;
    if (isLanguageCode(languageCode) && languageCode != FALLBACK_LANGUAGE)
        languages.push_back(languageCode);
    languages.push_back(FALLBACK_LANGUAGE);
    // A page the language's help lacks is shown from the English help.
    if (const char* topicPage = page(topic))
        for (const std::string& language : languages)
            if (const auto path = stationDir / folderName(language) / ("kovacpr_" + language) / topicPage; isFile(path))
                return path;
    for (const std::string& language : languages)
        if (const auto path = stationDir / folderName(language) / START_PAGE; isFile(path))
            return path;
    return {};
}

std::string helpFileName(const std::filesystem::path& stationDir, const std::string& languageCode)
{
    const std::string own = "kovacpr_" + languageCode + ".hlp";
    if (isLanguageCode(languageCode) && isFile(stationDir / own))
        return own;
    return "kovacpr_en.hlp";
}

} // namespace HelpTopics
