#include "config/SettingsFile.h"

#include "Rodezir/LogStream.h"
#include "config/ObjectInput.h"
#include "config/ObjectOutput.h"
#include "platform/ReplacingFile.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>


namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

void logLine(const std::string& text) { LogStream::instance() << text << "\n"; }

// The previous file stays whole until the new one is complete on the disk.
bool replaceFile(const std::string& name, const unsigned char* bytes, std::size_t size)
{
    platform::ReplacingFile file(name);
    if (!file.open()) {
        logLine("Could not open configuration file '" + name + "' for saving");
        return false;
    }
    if (!file.write(bytes, size) || !file.finish() || !file.commit()) {
        logLine("Could not write configuration file '" + name + "'. The previous file is kept.");
        return false;
    }
    return true;
}

} // namespace

bool SettingsFile::load(const std::string& name, PropertyModel& model)
{
    std::vector<unsigned char> block(BLOCK_SIZE);
    std::size_t size = 0;
    bool readable = false;
    if (std::FILE* raw = std::fopen(name.c_str(), "rb")) {
        File file(raw);
        size = std::fread(block.data(), 1, block.size(), file.get());
        readable = !std::ferror(file.get());
    }
    if (!readable) {
        logLine("Could not open configuration file '" + name + "' for loading.");
        return false;
    }
    return parse(name, block.data(), size, model);
}

bool SettingsFile::parse(const std::string& name, const unsigned char* bytes, std::size_t size, PropertyModel& model)
{
    // Only the bytes the file really holds are read: a short file runs into
    // the end of the buffer instead of into stale memory.
    std::vector<unsigned char> block(bytes, bytes + std::min(size, BLOCK_SIZE));
    mem_buffer buffer(block.data(), block.size());
    RawFormat format(buffer);
    ObjectInput in(format);
    PropertyModel record;
    bool loaded = true;
    try {
        in >> record;
    } catch (const char* text) {
        logLine("Could not load configuration file '" + name + "': " + text);
        loaded = false;
    } catch (const mem_buffer::buffer_overflow_error& error) {
        logLine("Could not load configuration file '" + name + "': " + error.what());
        loaded = false;
    }
    // The fixed sizes are checked too: a record with a wrong number of icons
    // or languages would break every later reader of those slots.
    if (!loaded || record.endMarker != PropertyModel::END_MARKER || !record.hasFixedSizes()) {
        logLine("Could not read all of the configuration in file '" + name + "'. Ignoring file.");
        return false;
    }
    model = record;
    return true;
}

bool SettingsFile::save(const std::string& name, const PropertyModel& model)
{
    std::vector<unsigned char> block(BLOCK_SIZE);
    mem_buffer buffer(block.data(), block.size());
    RawFormat format(buffer);
    ObjectOutput out(format);
    try {
        out << model;
    } catch (const mem_buffer::buffer_overflow_error& error) {
        logLine("Could not save configuration file '" + name + "': " + error.what());
        return false;
    }
    return replaceFile(name, block.data(), buffer.used());
}
