#include "comm/link/CollectedData.h"

#include "Rodezir/LogStream.h"
#include "platform/Resources.h"

#include <utility>

namespace {

std::vector<std::uint8_t> loadChannel(int resourceId)
{
    auto resource = platform::loadResource(platform::ResourceType::Bin, resourceId);
    KOVA_ASSERT(resource.has_value());
    if (!resource)
        return {};
    KOVA_ASSERT(!resource->empty());
    return std::vector<std::uint8_t>(resource->begin(), resource->end());
}

} // namespace

CollectedData::CollectedData(int resourceId)
    : bytes_(loadChannel(resourceId))
{
}

CollectedData::CollectedData(std::vector<std::uint8_t> bytes)
    : bytes_(std::move(bytes))
{
}

std::uint8_t CollectedData::get(std::size_t index) const
{
    // A channel that failed to load replays silence rather than dividing by zero.
    if (bytes_.empty())
        return 0;
    return bytes_[index % bytes_.size()];
}
