#pragma once
// A small disk of the test's own: a tmpfs mounted in a mount namespace of the
// process (inside a user namespace, so no rights beyond the user's are
// needed), filled to the last byte to see what the station does when the
// disk is full.

#include <cstddef>
#include <filesystem>
#include <string>

namespace kovatest {

// Moves the process into a user and mount namespace of its own. Must run
// before any thread starts (the test program's main calls it first). False
// when the kernel refuses; the reason is kept for the tests to name.
bool enterPrivateMounts();
bool inPrivateMounts();
const std::string& privateMountsProblem();

class SmallDisk {
public:
    // A tmpfs of `bytes` on a fresh folder, or on `folder` (which must
    // exist, and is left in place); mounted() tells whether it worked.
    explicit SmallDisk(std::size_t bytes, const std::filesystem::path& folder = {});
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const std::filesystem::path& path() const { return path_; }
    // Takes every free byte with a filler file; then nothing more fits.
    void fill();
    // Gives the filler's bytes back.
    void makeRoom();
    // What is still free, in bytes.
    std::size_t freeBytes() const;

private:
    std::filesystem::path path_;
    bool ownFolder_ = false;
    bool mounted_ = false;
};

} // namespace kovatest
