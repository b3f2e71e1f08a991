#include "Rodezir/dialogs/DialogRegistry.h"

#include "Rodezir/dialogs/DialogTemplateCodec.h"
#include "platform/Resources.h"

#include <QFile>
#include <QString>

#include <map>

namespace kova {
namespace {

std::map<int, DialogTable>& tables()
{
    static std::map<int, DialogTable> registered;
    return registered;
}

} // namespace

bool DialogRegistry::add(const DialogTable& table)
{
    if (table.id == 0)
        return false;
    tables()[table.id] = table;
    return true;
}

bool DialogRegistry::remove(int id)
{
    return tables().erase(id) != 0;
}

const DialogTable* DialogRegistry::find(int id)
{
    const auto found = tables().find(id);
    return found == tables().end() ? nullptr : &found->second;
}

std::optional<std::vector<std::uint8_t>> DialogRegistry::templateBytes(int id)
{
    if (const DialogTable* table = find(id))
        return DialogTemplateCodec::encode(*table);
    return platform::loadResource(platform::ResourceType::Dialog, id);
}

std::optional<std::vector<std::uint8_t>> DialogRegistry::templateBytes(const std::string& name)
{
    if (name.empty())
        return std::nullopt;
    QFile file(QStringLiteral(":/kova/dialog/") + QString::fromStdString(name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

} // namespace kova
