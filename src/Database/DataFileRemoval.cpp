#include "Database/DataFileRemoval.h"

#include "Rodezir/LogStream.h"
#include "platform/ReplacingFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

DataFileRemoval::DataFileRemoval(std::string dataFile) : dataFile_(std::move(dataFile)) {}

DataFileRemoval::~DataFileRemoval()
{
    if (!aside_.empty())
        settle(false);
}

void DataFileRemoval::setAside()
{
    const int fd = ::open(dataFile_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT)
            LogStream::instance() << "The data file " << dataFile_ << " could not be moved aside: "
                                  << errorText(static_cast<unsigned long>(errno)) << "\n";
        return;
    }
    // Held while it is aside, so that no start-up takes it for a leftover of
    // a delete that died; a reader's passing lock is no reason to stop.
    ::flock(fd, LOCK_EX | LOCK_NB);
    const std::string aside = dataFile_ + std::string(ASIDE_MARK);
    if (::rename(dataFile_.c_str(), aside.c_str()) != 0) {
        LogStream::instance() << "The data file " << dataFile_ << " could not be moved aside: "
                              << errorText(static_cast<unsigned long>(errno)) << "\n";
        ::close(fd);
        return;
    }
    platform::syncFolderOf(aside);
    held_ = fd;
    aside_ = aside;
}

void DataFileRemoval::settle(bool rowDeleted)
{
    if (aside_.empty())
        return;
    const bool done = rowDeleted ? ::unlink(aside_.c_str()) == 0 : ::rename(aside_.c_str(), dataFile_.c_str()) == 0;
    if (!done)
        LogStream::instance() << "The data file " << dataFile_ << " could not be "
                              << (rowDeleted ? "removed" : "put back") << ": "
                              << errorText(static_cast<unsigned long>(errno)) << "\n";
    else
        platform::syncFolderOf(dataFile_);
    release();
}

void DataFileRemoval::release()
{
    if (held_ >= 0)
        ::close(held_);
    held_ = -1;
    aside_.clear();
}
