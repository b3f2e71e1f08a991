#pragma once
// The data folder's "lost-and-found" as one start-up's sweep uses it: files
// set aside are moved into it, never deleted, and only while it is a real
// folder of the station's own user right inside the data folder (made when
// missing); a symbolic link or another user's folder there is never followed.
// The moves are made durable together, one folder sync a folder they touched.

#include <map>
#include <string>
#include <sys/types.h>
#include <utility>

class LostAndFound {
public:
    static constexpr const char* NAME = "lost-and-found";

    explicit LostAndFound(std::string dataFolder);
    // Makes what was moved durable.
    ~LostAndFound();
    LostAndFound(const LostAndFound&) = delete;
    LostAndFound& operator=(const LostAndFound&) = delete;

    // Moves the file at `path` in under its own name (with a number added
    // when that is taken, never over another file), logging the move and
    // why. False when it stays where it is: logged, or, when the folder
    // cannot be used, said once for the whole sweep.
    bool setAside(const std::string& path, const std::string& why);
    // A rename of the sweep's own into `path`, in the folder of `path`:
    // made durable with the moves.
    void renamedIn(const std::string& path);
    // Puts the moves so far on the disk: each folder they touched synced once.
    void sync();

    const std::string& folder() const { return folder_; }

    // One line of the start-up's sweep in the error log.
    static void log(std::string text);

private:
    bool openFolder();
    // The descriptor of the folder holding `path`, opened once.
    int sourceFolder(const std::string& path);
    bool moveAcross(int from, const std::string& name, const std::string& destination);
    // The folder's entries changed: synced with the others.
    void touched(int folder);

    std::string dataFolder_;
    std::string folder_;
    int dataFd_ = -1;
    int fd_ = -1;
    bool opened_ = false;
    bool usable_ = false;
    // The folders moved from by the name they were given, and which of them,
    // by identity, need a sync.
    std::map<std::string, int> sources_;
    std::map<std::pair<dev_t, ino_t>, int> unsynced_;
};
