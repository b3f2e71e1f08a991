#pragma once
// The settings file "configuration.cprcfg": the serialised PropertyModel,
// read at start-up and written at exit. Every problem goes to the error log;
// a file that cannot be read whole leaves the record as it was.

#include "config/PropertyModel.h"

#include <cstddef>
#include <string>

class SettingsFile {
public:
    static constexpr const char* NAME = "configuration.cprcfg";
    // Files are read and written through a block of this size; a longer file
    // is read only that far, a larger record cannot be saved.
    static constexpr std::size_t BLOCK_SIZE = 51200;

    // Reads the file into model; false (with its log lines) when the file is
    // missing, unreadable or damaged, and model is then left untouched.
    static bool load(const std::string& name, PropertyModel& model);
    // Deserialises the bytes of a file named name, logging as load does.
    static bool parse(const std::string& name, const unsigned char* bytes, std::size_t size, PropertyModel& model);
    // Writes model; the previous file survives any failure, which is logged.
    static bool save(const std::string& name, const PropertyModel& model);
};
