#include "Rodezir/RegistryKey.h"

#include "Rodezir/ArchiveCodec.h"

#include <cstring>

using namespace platform;

namespace {

RegistryKeyHandle machineRoot{RegistryRoot::Machine, {}, true};
RegistryKeyHandle userRoot{RegistryRoot::User, {}, true};

// The buffers the values are read into: a value that needs more fails.
constexpr std::size_t DWORD_ROOM = 4;
constexpr std::size_t STRING_ROOM = 199; // 200 bytes or more do not fit
constexpr std::size_t OBJECT_ROOM = 4096;
constexpr std::size_t GEOMETRY_ROOM = 30;

std::string joinPath(const std::string& parent, const std::string& child)
{
    if (parent.empty())
        return child;
    if (child.empty())
        return parent;
    return parent + "\\" + child;
}

void freeHandle(HKEY key)
{
    if (key && !key->predefined)
        delete key;
}

// Keeps its array's length across a load, as the class library's arrays do.
template <class T>
void keepSize(std::vector<T>& target, std::vector<T>& loaded)
{
    loaded.resize(target.size());
    target = std::move(loaded);
}

} // namespace

const HKEY HKEY_LOCAL_MACHINE = &machineRoot;
const HKEY HKEY_CURRENT_USER = &userRoot;

RegistryKey::RegistryKey(HKEY key) : RegistryKey(RegistryStore::instance(), key) {}

RegistryKey::RegistryKey(RegistryStore& store, HKEY key) : key_(key), store_(store) {}

RegistryKey::~RegistryKey() { close(); }

bool RegistryKey::keyResult(long result)
{
    lastResult_ = result;
    lastType_ = 0;
    lastSize_ = 0;
    return result == ERROR_SUCCESS;
}

bool RegistryKey::openHandle(HKEY root, const std::string& subkey, HKEY& opened)
{
    if (!root)
        return keyResult(ERROR_INVALID_HANDLE);
    const std::string path = RegistryHive::canonicalPath(joinPath(root->path, subkey));
    const long result = store_.openKey(root->root, path);
    if (result != ERROR_SUCCESS)
        return keyResult(result);
    opened = new RegistryKeyHandle{root->root, path, false};
    return true;
}

void RegistryKey::replaceHandle(HKEY key)
{
    freeHandle(key_);
    key_ = key;
}

bool RegistryKey::open(HKEY root, const std::string& path)
{
    path_ = path;
    HKEY opened = nullptr;
    if (!openHandle(root, path, opened))
        return false;
    replaceHandle(opened);
    return keyResult(ERROR_SUCCESS);
}

bool RegistryKey::openKey(HKEY root, const std::string& subkey)
{
    HKEY opened = nullptr;
    if (!openHandle(root, subkey, opened))
        return false;
    replaceHandle(opened);
    return true;
}

bool RegistryKey::openSubKey(const std::string& name)
{
    HKEY opened = nullptr;
    if (!openHandle(key_, name, opened))
        return false;
    // The parent's handle is closed here rather than left open for good.
    replaceHandle(opened);
    return keyResult(ERROR_SUCCESS);
}

bool RegistryKey::create(HKEY root, const std::string& subkey)
{
    if (!root)
        return keyResult(ERROR_INVALID_HANDLE);
    const std::string path = RegistryHive::canonicalPath(joinPath(root->path, subkey));
    const long result = store_.createKey(root->root, path);
    if (result != ERROR_SUCCESS)
        return keyResult(result);
    replaceHandle(new RegistryKeyHandle{root->root, path, false});
    return keyResult(ERROR_SUCCESS);
}

bool RegistryKey::close()
{
    replaceHandle(nullptr);
    return keyResult(ERROR_SUCCESS);
}

bool RegistryKey::valueExists(const std::string& name)
{
    if (!key_)
        return keyResult(ERROR_INVALID_HANDLE);
    RegistryValue value;
    return keyResult(store_.queryValue(key_->root, key_->path, name, value));
}

bool RegistryKey::deleteValue(const std::string& name)
{
    if (!key_)
        return keyResult(ERROR_INVALID_HANDLE);
    return keyResult(store_.deleteValue(key_->root, key_->path, name));
}

bool RegistryKey::deleteKey(HKEY root, const std::string& subkey)
{
    if (!root)
        return keyResult(ERROR_INVALID_HANDLE);
    if (RegistryHive::canonicalPath(subkey).empty())
        return keyResult(ERROR_ACCESS_DENIED);
    return keyResult(store_.deleteKey(root->root, joinPath(root->path, subkey)));
}

bool RegistryKey::setValue(const std::string& name, std::uint32_t type, std::vector<unsigned char> data)
{
    lastType_ = type;
    lastSize_ = static_cast<std::uint32_t>(data.size());
    lastResult_ = key_ ? store_.setValue(key_->root, key_->path, name, RegistryValue{type, std::move(data)}) : ERROR_INVALID_HANDLE;
    return lastResult_ == ERROR_SUCCESS;
}

bool RegistryKey::setDword(const std::string& name, std::uint32_t value)
{
    return setValue(name, REG_DWORD,
                    {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                     static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)});
}

long RegistryKey::setDwordResult(const std::string& name, std::uint32_t value)
{
    const long savedResult = lastResult_;
    const std::uint32_t savedType = lastType_;
    const std::uint32_t savedSize = lastSize_;
    setDword(name, value);
    const long result = lastResult_;
    lastResult_ = savedResult;
    lastType_ = savedType;
    lastSize_ = savedSize;
    return result;
}

bool RegistryKey::setString(const std::string& name, const std::string& text)
{
    std::vector<unsigned char> data(text.begin(), text.end());
    data.push_back(0);
    return setValue(name, REG_SZ, std::move(data));
}

bool RegistryKey::setObject(const std::string& name, const std::list<std::string>& strings)
{
    return setValue(name, REG_BINARY, archive::encode(std::vector<std::string>(strings.begin(), strings.end())));
}

bool RegistryKey::setObject(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    return setValue(name, REG_BINARY, archive::encode(bytes));
}

bool RegistryKey::setObject(const std::string& name, const std::vector<std::uint16_t>& words)
{
    return setValue(name, REG_BINARY, archive::encode(words));
}

bool RegistryKey::setObject(const std::string& name, const std::vector<std::uint32_t>& dwords)
{
    return setValue(name, REG_BINARY, archive::encode(dwords));
}

bool RegistryKey::setObject(const std::string& name, const std::vector<std::string>& strings)
{
    return setValue(name, REG_BINARY, archive::encode(strings));
}

bool RegistryKey::setFiveDwords(const std::string& name, const std::vector<std::uint32_t>& dwords)
{
    return setValue(name, REG_BINARY, archive::encode(dwords));
}

bool RegistryKey::queryValue(const std::string& name, std::size_t room, RegistryValue& value)
{
    if (!key_) {
        lastResult_ = ERROR_INVALID_HANDLE;
        return false;
    }
    lastResult_ = store_.queryValue(key_->root, key_->path, name, value);
    if (lastResult_ != ERROR_SUCCESS)
        return false;
    lastType_ = value.type;
    lastSize_ = static_cast<std::uint32_t>(value.data.size());
    if (value.data.size() > room) {
        lastResult_ = ERROR_MORE_DATA;
        return false;
    }
    return true;
}

bool RegistryKey::queryBinary(const std::string& name, std::size_t room, RegistryValue& value, bool& isBinary)
{
    if (!queryValue(name, room, value))
        return false;
    isBinary = value.type == REG_BINARY;
    return true;
}

bool RegistryKey::invalidData()
{
    lastResult_ = ERROR_INVALID_DATA;
    return false;
}

bool RegistryKey::getDword(const std::string& name, std::uint32_t& value)
{
    RegistryValue stored;
    if (!queryValue(name, DWORD_ROOM, stored))
        return false;
    std::uint32_t result = 0;
    for (std::size_t i = 0; i < stored.data.size(); ++i)
        result |= static_cast<std::uint32_t>(stored.data[i]) << (8 * i);
    value = result;
    return true;
}

bool RegistryKey::getString(const std::string& name, std::string& text)
{
    RegistryValue stored;
    if (!queryValue(name, STRING_ROOM, stored))
        return false;
    const std::string bytes(stored.data.begin(), stored.data.end());
    text = bytes.substr(0, std::strlen(bytes.c_str()));
    return true;
}

bool RegistryKey::getObject(const std::string& name, std::list<std::string>& strings)
{
    RegistryValue stored;
    bool isBinary = false;
    if (!queryBinary(name, OBJECT_ROOM, stored, isBinary))
        return false;
    if (!isBinary)
        return true;
    std::vector<std::string> loaded;
    if (!archive::decode(stored.data.data(), stored.data.size(), loaded))
        return invalidData();
    strings.assign(loaded.begin(), loaded.end());
    return true;
}

namespace {

template <class Collection>
bool loadArray(const RegistryValue& stored, Collection& target)
{
    Collection loaded;
    if (!archive::decode(stored.data.data(), stored.data.size(), loaded))
        return false;
    keepSize(target, loaded);
    return true;
}

} // namespace

template <class Collection>
bool RegistryKey::getArray(const std::string& name, Collection& target)
{
    RegistryValue stored;
    bool isBinary = false;
    if (!queryBinary(name, OBJECT_ROOM, stored, isBinary))
        return false;
    return !isBinary || loadArray(stored, target) || invalidData();
}

bool RegistryKey::getObject(const std::string& name, std::vector<std::uint8_t>& bytes) { return getArray(name, bytes); }
bool RegistryKey::getObject(const std::string& name, std::vector<std::uint16_t>& words) { return getArray(name, words); }
bool RegistryKey::getObject(const std::string& name, std::vector<std::uint32_t>& dwords) { return getArray(name, dwords); }
bool RegistryKey::getObject(const std::string& name, std::vector<std::string>& strings) { return getArray(name, strings); }

bool RegistryKey::getFiveDwords(const std::string& name, std::vector<std::uint32_t>& dwords)
{
    RegistryValue stored;
    bool isBinary = false;
    if (!queryBinary(name, GEOMETRY_ROOM, stored, isBinary))
        return false;
    if (!isBinary) {
        dwords.clear();
        return true;
    }
    dwords.assign(5, 0);
    return loadArray(stored, dwords) || invalidData();
}
