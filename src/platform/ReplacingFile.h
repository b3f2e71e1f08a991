#pragma once
// Replaces a file's contents as a whole: the new bytes go to a temporary file
// beside it, reach the disk, and only then take the file's name, so a failure
// at any step leaves the previous file as it was.
//
// Each replacement makes a temporary of its own ("<file>.tmp" and six random
// characters), so programs saving the same file at once never write into each
// other's temporary. The writer holds a lock on its temporary from before the
// temporary has its name until the rename is done; a temporary whose lock is
// free was left by a writer that died, and removeStale clears those away.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace platform {

class ReplacingFile {
public:
    // The new contents of `target`, written with the given permissions; an
    // uncommitted temporary file is removed on destruction.
    explicit ReplacingFile(std::string target, mode_t mode = 0644, bool dataSync = false);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the temporary file; false with errno set when it cannot.
    bool open();
    // The temporary file's descriptor while it is open, else -1.
    int fd() const { return fd_; }
    // The temporary file's name once open() made it, else "".
    const std::string& temporaryPath() const { return temporary_; }
    // Writes all the bytes, carrying on after interrupted and short writes.
    bool write(const void* data, std::size_t size);
    // Puts the bytes on the disk and closes the temporary file.
    bool finish();
    // Renames the finished temporary file over the target and makes the
    // folder's new entry durable; false with errno set when the rename fails.
    bool commit();
    // Gives the finished temporary another name in the target's folder
    // (durable, still held and not yet committed): a later commit() renames
    // it from there, and the destructor removes it when none comes. False
    // with errno set when the rename fails.
    bool stageAs(const std::string& name);
    // The temporary stays on the disk when this object goes: its contents
    // are wanted there, and a later start-up puts them in place.
    void keep() { kept_ = true; }

    // Removes the temporaries of `target` that writers left behind: files
    // named as open() names them (or as this station named them before:
    // "<file>.tmp" and "<file>.tmp<pid>") that no living writer holds.
    // Answers how many it removed.
    static int removeStale(const std::string& target);
    // Whether `name` (without a folder) is a temporary of the file named
    // `base` (without a folder).
    static bool isTemporaryOf(std::string_view name, std::string_view base);

    // For tests: what happens between a temporary's creation and its lock
    // (a loaded machine's delay, another program's sweep), and whether the
    // temporary is made under its name at once, as on file systems that
    // cannot make a file without a name first.
    struct TestSeam {
        std::function<void()> beforeLock;
        bool namedAtOnce = false;
    };
    static void setTestSeam(TestSeam seam);

private:
    bool openUnnamed(int flags);
    bool openNamed(int flags);
    // Takes the locked, named temporary as this file's.
    bool adopt(int fd, std::string name);

    void release();

    std::string target_;
    std::string temporary_;
    mode_t mode_;
    bool dataSync_;
    int fd_ = -1;
    // A second descriptor of the temporary that keeps its lock from open()
    // until the rename, also after finish() closed the first.
    int lockFd_ = -1;
    bool committed_ = false;
    bool kept_ = false;
};

// Writes a whole descriptor's worth of bytes; false when the device refuses some.
bool writeAll(int fd, const void* data, std::size_t size);

// Makes the entries of the folder holding `file` durable (after a rename into it).
void syncFolderOf(const std::string& file);

// Runs `action` on the plain file at `path` while holding its lock, when no
// writer holds it: a file a writer left behind when it died. Answers what
// `action` answered; false without calling it when the file is held, is no
// plain file, or is gone.
bool withUnheldFile(const std::string& path, const std::function<bool()>& action);
// The same, answering in `unreadable` the errno of a file that could not be
// opened or looked at (a permission, a failing disk); 0 when the file was
// judged, or is gone or no plain file.
bool withUnheldFile(const std::string& path, const std::function<bool()>& action, int& unreadable);

} // namespace platform
