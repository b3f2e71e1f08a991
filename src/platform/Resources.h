#pragma once
// The resource registry: every image, sound, recorded data set and dialog of
// the station is found by its type and numeric id. The files are compiled in
// with Qt's resource system under ":/kova/<type>/<id>".

#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class ResourceType { Dialog, Bitmap, Icon, Cursor, Wave, Bin, Avi, RcData, Picture };

// The folder name of a type inside ":/kova" ("dialog", "bitmap", "icon", "cursor", "wave", ...).
const char* resourceFolder(ResourceType type);

// ":/kova/<folder>/<id>", the path a resource file of that type and id is compiled in under.
std::string resourcePath(ResourceType type, int id);

bool resourceExists(ResourceType type, int id);

// The bytes of a resource, or nothing when the program holds no such resource.
std::optional<std::vector<unsigned char>> loadResource(ResourceType type, int id);

} // namespace platform
