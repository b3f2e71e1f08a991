#include "GermanLocale.h"

#include <clocale>
#include <cstdlib>
#include <string>

namespace kovatest {
namespace {

bool installed()
{
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"})
        if (std::setlocale(LC_ALL, name))
            return true;
    return false;
}

} // namespace

GermanLocale::GermanLocale()
{
    active_ = installed();
    if (!active_) {
        const std::string command = "localedef -i de_DE -f UTF-8 '" + folder_.file("de_DE.UTF-8") + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            return;
        setenv("LOCPATH", folder_.path().c_str(), 1);
        active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    }
    if (active_)
        previous_ = std::locale::global(std::locale(std::setlocale(LC_ALL, nullptr)));
}

GermanLocale::~GermanLocale()
{
    if (active_)
        std::locale::global(previous_);
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
}

} // namespace kovatest
