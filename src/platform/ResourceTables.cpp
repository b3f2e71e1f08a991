#include "platform/ResourceTables.h"

#include <map>

namespace platform {
namespace {

struct Tables {
    std::map<int, MenuResource> menus;
    std::map<int, AcceleratorTable> accelerators;
    std::map<int, std::string> strings;
};

Tables& tables()
{
    static Tables registered;
    return registered;
}

} // namespace

bool ResourceTables::addMenu(const MenuResource& menu)
{
    if (menu.id == 0)
        return false;
    tables().menus[menu.id] = menu;
    return true;
}

const MenuResource* ResourceTables::findMenu(int id)
{
    const auto found = tables().menus.find(id);
    return found == tables().menus.end() ? nullptr : &found->second;
}

bool ResourceTables::addAccelerators(const AcceleratorTable& table)
{
    if (table.id == 0)
        return false;
    tables().accelerators[table.id] = table;
    return true;
}

const AcceleratorTable* ResourceTables::findAccelerators(int id)
{
    const auto found = tables().accelerators.find(id);
    return found == tables().accelerators.end() ? nullptr : &found->second;
}

bool ResourceTables::addString(int id, const std::string& text)
{
    if (id == 0)
        return false;
    tables().strings[id] = text;
    return true;
}

void ResourceTables::addStrings(const std::vector<std::pair<int, std::string>>& strings)
{
    for (const auto& [id, text] : strings)
        addString(id, text);
}

std::optional<std::string> ResourceTables::loadString(int id)
{
    const auto found = tables().strings.find(id);
    if (found == tables().strings.end())
        return std::nullopt;
    return found->second;
}

void ResourceTables::clear()
{
    tables() = Tables{};
}

} // namespace platform
