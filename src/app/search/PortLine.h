#pragma once
// One line of the manikin search window's port list: what the registry knows
// of a port (its flags and the result of its last open) turned into the text
// the instructor reads, whether the line is checked for calibration, whether
// it can be checked at all, and whether it counts as a port that answered.

#include <string>
#include <string_view>

struct PortLine {
    // What the port registry reports of one port.
    struct Flags {
        bool available = true;   // no session holds the port
        bool calibrated = false;
        bool controller = false; // a hand-held controller answered
        int lastOpenResult = 10; // the link's result of its last open (10 = success)
    };

    // The bytes of a manikin's name record, with or without an ending zero.
    static constexpr std::size_t NAME_RECORD_SIZE = 33;

    std::wstring text;
    bool checked = false;
    bool enabled = false;
    bool counted = false;

    // "COM 5: - Need calibration" and the other COM port states; the bare
    // "COM 5:" for an open result that says nothing about a manikin.
    static PortLine forComPort(int port, const Flags& flags);
    // "<name> : - Ready to use" and the other wireless states; never checked
    // and never enabled (a wireless manikin needs no calibration).
    static PortLine forWirelessPort(std::string_view nameRecord, const Flags& flags);
    // The name up to its first zero byte, never beyond the record's 33 bytes.
    static std::string manikinName(std::string_view nameRecord);

    friend bool operator==(const PortLine&, const PortLine&) = default;
};
