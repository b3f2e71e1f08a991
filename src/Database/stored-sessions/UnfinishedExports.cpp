#include "Database/stored-sessions/UnfinishedExports.h"

#include "Rodezir/LogStream.h"
#include "platform/RegistryStore.h"

#include <atomic>
#include <unistd.h>

using platform::RegistryRoot;
using platform::RegistryStore;

namespace {
// Unique among every program of the user: two stations may export at once.
std::string newName()
{
    static std::atomic<unsigned> count{0};
    return std::to_string(::getpid()) + "-" + std::to_string(++count);
}
} // namespace

UnfinishedExports::During::During(const std::string& target) : name_(newName())
{
    // Without the note the export still goes on: only a kill would then
    // leave its temporary unswept.
    if (RegistryStore::instance().setString(RegistryRoot::User, KEY, name_, target) != platform::ERROR_SUCCESS)
        LogStream::instance() << "The export to '" << target << "' could not be noted in the registry.\n";
}

UnfinishedExports::During::~During() { forget(name_); }

std::vector<UnfinishedExports::Target> UnfinishedExports::list()
{
    std::vector<Target> targets;
    RegistryStore& store = RegistryStore::instance();
    for (const std::string& name : store.valueNames(RegistryRoot::User, KEY)) {
        if (const auto path = store.getString(RegistryRoot::User, KEY, name))
            targets.push_back({name, *path});
    }
    return targets;
}

void UnfinishedExports::forget(const std::string& name)
{
    RegistryStore::instance().deleteValue(RegistryRoot::User, KEY, name);
}
