#include "platform/Resources.h"

#include <QFile>

namespace platform {

const char* resourceFolder(ResourceType type)
{
    switch (type) {
    case ResourceType::Dialog: return "dialog";
    case ResourceType::Bitmap: return "bitmap";
    case ResourceType::Icon: return "icon";
    case ResourceType::Cursor: return "cursor";
    case ResourceType::Wave: return "wave";
    case ResourceType::Bin: return "bin";
    case ResourceType::Avi: return "avi";
    case ResourceType::RcData: return "rcdata";
    case ResourceType::Picture: return "picture";
    }
    return "unknown";
}

std::string resourcePath(ResourceType type, int id)
{
    return std::string(":/kova/") + resourceFolder(type) + "/" + std::to_string(id);
}

bool resourceExists(ResourceType type, int id)
{
    return QFile::exists(QString::fromStdString(resourcePath(type, id)));
}

std::optional<std::vector<unsigned char>> loadResource(ResourceType type, int id)
{
    QFile file(QString::fromStdString(resourcePath(type, id)));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

} // namespace platform
