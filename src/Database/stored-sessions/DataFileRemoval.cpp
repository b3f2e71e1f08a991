#include "Database/stored-sessions/DataFileRemoval.h"

#include "Rodezir/LogStream.h"
#include "platform/ReplacingFile.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

DataFileRemoval::~DataFileRemoval() { settle(false); }

void DataFileRemoval::moveAside(const SessionRecord& session)
{
    const std::optional<std::string> dataFile = session.dataFileName();
    if (!dataFile) {
        LogStream::instance() << "The session identifier '" << session.Serialidentifier
                              << "' names no data file; no file is moved aside for it.\n";
        return;
    }
    moveAside(*dataFile);
}

void DataFileRemoval::moveAside(const std::string& dataFile)
{
    const int fd = ::open(dataFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT)
            LogStream::instance() << "The data file " << dataFile << " could not be moved aside: "
                                  << errorText(static_cast<unsigned long>(errno)) << "\n";
        return;
    }
    // Held while it is aside, so that no start-up takes it for a leftover of
    // a delete that died; a reader's passing lock is no reason to stop.
    ::flock(fd, LOCK_EX | LOCK_NB);
    const std::string aside = dataFile + std::string(ASIDE_MARK);
    if (::rename(dataFile.c_str(), aside.c_str()) != 0) {
        LogStream::instance() << "The data file " << dataFile << " could not be moved aside: "
                              << errorText(static_cast<unsigned long>(errno)) << "\n";
        ::close(fd);
        return;
    }
    platform::syncFolderOf(aside);
    aside_.push_back({dataFile, aside, fd});
}

void DataFileRemoval::settle(bool rowsDeleted)
{
    for (const Aside& moved : aside_) {
        const bool done = rowsDeleted ? ::unlink(moved.aside.c_str()) == 0
                                      : ::rename(moved.aside.c_str(), moved.file.c_str()) == 0;
        if (!done)
            LogStream::instance() << "The data file " << moved.file << " could not be "
                                  << (rowsDeleted ? "removed" : "put back") << ": "
                                  << errorText(static_cast<unsigned long>(errno)) << "\n";
        else
            platform::syncFolderOf(moved.file);
        ::close(moved.held);
    }
    aside_.clear();
}
