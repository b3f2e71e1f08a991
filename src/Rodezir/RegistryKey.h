#pragma once
// One open key of the station's registry with its typed values: DWORDs,
// strings, and (as binary values in the class library's archive encoding)
// string lists, arrays, rectangles and points. Kept by value for one lookup;
// failures are result codes, never exceptions or log lines.
//
//   RegistryKey key;
//   std::string folder;
//   if (key.open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Kova\\Kova CPR\\3.1.3") && key.getString("Data Folder", folder))
//       ...

#include "platform/RegistryStore.h"

#include <cstdint>
#include <list>
#include <string>
#include <vector>

// An open key: the hive and the key's full path in it.
struct RegistryKeyHandle {
    platform::RegistryRoot root;
    std::string path;
    bool predefined = false;
};
using HKEY = RegistryKeyHandle*;

// The two hives' roots, always open; closing them does nothing.
extern const HKEY HKEY_LOCAL_MACHINE;
extern const HKEY HKEY_CURRENT_USER;

class RegistryKey {
public:
    // Wraps an open key (null: closed) and owns it from now on.
    explicit RegistryKey(HKEY key = nullptr);
    // The same over another store than the program's (tests).
    RegistryKey(platform::RegistryStore& store, HKEY key = nullptr);
    virtual ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Key operations: true on success; the result code is kept, type and size become 0.
    bool open(HKEY root, const std::string& path);
    // Opens without remembering the path; on success the result fields stay as they were.
    bool openKey(HKEY root, const std::string& subkey);
    // Replaces the current key by its subkey.
    bool openSubKey(const std::string& name);
    bool create(HKEY root, const std::string& subkey);
    bool close();
    bool valueExists(const std::string& name);
    bool deleteValue(const std::string& name);
    bool deleteKey(HKEY root, const std::string& subkey);

    // Writers: true on success; type and size record what was written.
    bool setDword(const std::string& name, std::uint32_t value);
    // Writes without touching the result fields and answers the raw result code.
    long setDwordResult(const std::string& name, std::uint32_t value);
    // A string with its terminating zero.
    bool setString(const std::string& name, const std::string& text);
    bool setObject(const std::string& name, const std::list<std::string>& strings);
    bool setObject(const std::string& name, const std::vector<std::uint8_t>& bytes);
    bool setObject(const std::string& name, const std::vector<std::uint16_t>& words);
    bool setObject(const std::string& name, const std::vector<std::uint32_t>& dwords);
    bool setObject(const std::string& name, const std::vector<std::string>& strings);
    // A rectangle as the DWORD array {top, bottom, left, right, 0}; a point as {x, y, 0, 0, 0}.
    template <class Rect>
    bool setRect(const std::string& name, const Rect& rect)
    {
        return setFiveDwords(name, {asDword(rect.top), asDword(rect.bottom), asDword(rect.left), asDword(rect.right), 0});
    }
    template <class Point>
    bool setPoint(const std::string& name, const Point& point)
    {
        return setFiveDwords(name, {asDword(point.x), asDword(point.y), 0, 0, 0});
    }

    // Readers: true when the value could be read; a failed reader leaves its
    // output unchanged. The type of a DWORD or string is not tested; a binary
    // reader given a value of another type leaves its output alone and still
    // answers true.
    bool getDword(const std::string& name, std::uint32_t& value);
    // Strings of 200 bytes or more (terminator included) do not fit.
    bool getString(const std::string& name, std::string& text);
    // The string list is replaced by the stored one; an array keeps its size:
    // surplus stored elements are dropped, missing ones stay zero or empty.
    bool getObject(const std::string& name, std::list<std::string>& strings);
    bool getObject(const std::string& name, std::vector<std::uint8_t>& bytes);
    bool getObject(const std::string& name, std::vector<std::uint16_t>& words);
    bool getObject(const std::string& name, std::vector<std::uint32_t>& dwords);
    bool getObject(const std::string& name, std::vector<std::string>& strings);
    template <class Rect>
    bool getRect(const std::string& name, Rect& rect)
    {
        std::vector<std::uint32_t> d;
        if (!getFiveDwords(name, d))
            return false;
        if (d.size() == 5)
            rect.top = asInt(d[0]), rect.bottom = asInt(d[1]), rect.left = asInt(d[2]), rect.right = asInt(d[3]);
        return true;
    }
    template <class Point>
    bool getPoint(const std::string& name, Point& point)
    {
        std::vector<std::uint32_t> d;
        if (!getFiveDwords(name, d))
            return false;
        if (d.size() == 5)
            point.x = asInt(d[0]), point.y = asInt(d[1]);
        return true;
    }

    long lastResult() const { return lastResult_; }
    std::uint32_t lastType() const { return lastType_; }
    std::uint32_t lastSize() const { return lastSize_; }
    HKEY handle() const { return key_; }
    bool isOpen() const { return key_ != nullptr; }
    const std::string& path() const { return path_; }

private:
    static std::uint32_t asDword(int value) { return static_cast<std::uint32_t>(value); }
    static int asInt(std::uint32_t value) { return static_cast<int>(value); }

    bool keyResult(long result);
    bool openHandle(HKEY root, const std::string& subkey, HKEY& opened);
    void replaceHandle(HKEY key);
    bool setValue(const std::string& name, std::uint32_t type, std::vector<unsigned char> data);
    // Reads a value whose size must stay within `room` bytes.
    bool queryValue(const std::string& name, std::size_t room, platform::RegistryValue& value);
    bool queryBinary(const std::string& name, std::size_t room, platform::RegistryValue& value, bool& isBinary);
    bool invalidData();
    template <class Collection>
    bool getArray(const std::string& name, Collection& target);
    bool setFiveDwords(const std::string& name, const std::vector<std::uint32_t>& dwords);
    // Empty when the value is not binary; five elements otherwise.
    bool getFiveDwords(const std::string& name, std::vector<std::uint32_t>& dwords);

    long lastResult_ = 0;
    std::uint32_t lastType_ = 0;
    std::uint32_t lastSize_ = 0;
    HKEY key_ = nullptr;
    std::string path_;
    platform::RegistryStore& store_;
};
