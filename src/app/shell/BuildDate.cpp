#include "app/shell/BuildDate.h"

#include <string_view>

std::string formatBuildDate(const char* compilerDate, const char* compilerTime)
{
    std::string date = compilerDate ? compilerDate : "";
    if (date.size() > 4 && date[4] == ' ')
        date[4] = '0';
    return date + ", " + (compilerTime ? compilerTime : "");
}

std::string getBuildDate()
{
    // The moment this file was compiled: every fresh build of the program compiles it.
    return formatBuildDate(__DATE__, __TIME__);
}

std::string getVersionText()
{
    return getBuildDate() + " 3.1.3 : Kova CPR Software";
}
