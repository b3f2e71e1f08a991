#pragma once
// The wait cursor over the whole program for the life of the object (the
// hourglass a long read or search shows); objects may nest.

namespace platform {

class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace platform
