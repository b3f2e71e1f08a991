#pragma once
// The lock keys the main window's status bar shows (Caps Lock, Num Lock and
// Scroll Lock), read from the windowing system: the keyboard's indicators of
// the X display. Tests put in a reader of their own.

#include <functional>
#include <optional>
#include <utility>

namespace platform {

struct LockKeys {
    bool capsLock = false;
    bool numLock = false;
    bool scrollLock = false;

    bool operator==(const LockKeys&) const = default;
};

using LockKeysReader = std::function<std::optional<LockKeys>()>;

// The lock keys now, through the installed reader, else the windowing
// system's; nothing where it does not tell (no X display).
std::optional<LockKeys> lockKeys();
// Installs the reader every question goes through (an empty one restores the
// windowing system's) and answers the one it replaces.
LockKeysReader setLockKeysReader(LockKeysReader reader);

// Installs a reader for the life of the object and restores the previous one,
// also when a test ends early: a reader left behind would read what is gone.
class ScopedLockKeysReader {
public:
    explicit ScopedLockKeysReader(LockKeysReader reader) : previous_(setLockKeysReader(std::move(reader))) {}
    ~ScopedLockKeysReader() { setLockKeysReader(std::move(previous_)); }
    ScopedLockKeysReader(const ScopedLockKeysReader&) = delete;
    ScopedLockKeysReader& operator=(const ScopedLockKeysReader&) = delete;

private:
    LockKeysReader previous_;
};

} // namespace platform
