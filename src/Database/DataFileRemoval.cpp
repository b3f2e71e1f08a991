#include "Database/DataFileRemoval.h"

#include "Rodezir/LogStream.h"

#include <filesystem>
#include <system_error>

DataFileRemoval::~DataFileRemoval() { settle(false); }

void DataFileRemoval::moveAside(const SessionRecord& session)
{
    const std::string file = session.dataFileName();
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return;
    const std::string aside = file + ASIDE_SUFFIX;
    std::filesystem::rename(file, aside, error);
    if (error) {
        LogStream::instance() << "The data file " << file << " could not be moved aside: " << error.message() << "\n";
        return;
    }
    aside_.push_back({file, aside});
}

void DataFileRemoval::settle(bool rowsDeleted)
{
    for (const Aside& moved : aside_) {
        std::error_code error;
        if (rowsDeleted)
            std::filesystem::remove(moved.aside, error);
        else
            std::filesystem::rename(moved.aside, moved.file, error);
        if (error)
            LogStream::instance() << "The data file " << moved.file << " could not be "
                                  << (rowsDeleted ? "removed" : "put back") << ": " << error.message() << "\n";
    }
    aside_.clear();
}
