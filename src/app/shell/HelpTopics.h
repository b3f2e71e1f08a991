#pragma once
// Where the online help keeps its pages. The help of a language is the
// folder "kovacpr-" + language code in the station directory, its start page
// "index.htm" and each topic's page in its subfolder "kovacpr_" + language
// code. A page the language's help lacks is shown from the English help.

#include <filesystem>
#include <string>

namespace HelpTopics {

inline constexpr int FIRST_TOPIC = 10000;
inline constexpr int LAST_TOPIC = 10019;
inline constexpr const char* START_PAGE = "index.htm";
inline constexpr const char* FALLBACK_LANGUAGE = "en";

// The page of a topic ("IDH_HELP_CALIBRATE.htm"); null outside the table.
const char* page(int topic);

// "kovacpr-" + language code.
std::string folderName(const std::string& languageCode);

// The file the help window opens for a topic under `stationDir`: the
// topic's page in the language's help, else in the English help; for a
// topic outside the table (or a page neither has) the language's start
// page, else the English one. Empty when no help is installed.
std::filesystem::path locate(const std::filesystem::path& stationDir, const std::string& languageCode, int topic);

// The WinHelp file name start-up settles on: "kovacpr_" + language code +
// ".hlp" when it is in `stationDir`, else the English one.
std::string helpFileName(const std::filesystem::path& stationDir, const std::string& languageCode);

} // namespace HelpTopics
