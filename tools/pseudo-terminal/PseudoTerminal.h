#pragma once
// Opens the pseudo-terminal a simulated device serves: the station opens the
// terminal's path as its COM port, the device reads and writes the other end.

#include <string>

namespace simtools {

struct PseudoTerminalEnds {
    // The device's end, reads and writes never block.
    int device = -1;
    // The terminal itself, held open and raw by the device so that it keeps
    // its settings between the station's opens and never echoes a byte back;
    // its settings show the baud rate the station chose.
    int terminal = -1;
    // The terminal's path ("/dev/pts/N").
    std::string path;
};

// False with the reason in `error` (when given); nothing stays open then.
// The caller closes both descriptors when it is done.
bool openPseudoTerminal(PseudoTerminalEnds& ends, std::string* error = nullptr);

} // namespace simtools
