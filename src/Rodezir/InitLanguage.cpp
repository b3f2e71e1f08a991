#include "Rodezir/InitLanguage.h"

#include "Rodezir/Util.h"
#include "gettext/Gettext.h"

namespace kova {

bool initLanguage(const std::string& commandLine, const std::string& defaultCatalogPath)
{
    std::string path = getCommandLineOption(commandLine, LANGUAGE_OPTION, "");
    if (path.empty())
        path = defaultCatalogPath;
    return Gettext::instance().setCatalog(path);
}

} // namespace kova
