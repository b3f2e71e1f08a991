#pragma once
// A serial device opened through termios: the COM port under a manikin link.
// A device without modem lines (a pseudo-terminal) counts as having CTS set,
// and DTR/RTS changes on it do nothing.

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class SerialDevice {
public:
    enum class OpenResult { Opened, NotFound, Failed };
    enum class SettingsResult { Ok, ReadFailed, WriteFailed };

    SerialDevice() = default;
    ~SerialDevice();
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // Opens the device for reading and writing, exclusively, without making it
    // the controlling terminal, with reads and writes that never block.
    OpenResult open(const std::string& path);
    // Gives the exclusive hold up first. False when the system refused to
    // close the descriptor (it is forgotten anyway).
    bool close();
    bool isOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

    // Raw 8N1 at the given rate, every flow control off, DTR and RTS as asked.
    SettingsResult configure(int baudRate, bool dtrOn, bool rtsOn);
    // Raises or drops DTR and RTS; false when the device settings are unreadable.
    bool setModemControl(bool dtrOn, bool rtsOn);
    // A read returns at once with whatever has arrived.
    bool makeReadsImmediate();
    // Reads the modem status; false when it cannot be read.
    bool modemStatus(bool& cts);

    // Bytes read (0 when nothing has arrived), or -1 on a failure.
    long read(std::uint8_t* buffer, std::size_t capacity);
    // Bytes the driver accepted (0 when its queue is full), or -1 on a failure.
    long write(const std::uint8_t* bytes, std::size_t length);

    // The termios speed constant of a baud rate; 0 for a rate the station never uses.
    static unsigned speedConstant(int baudRate);

private:
    int fd_ = -1;
    std::string path_;
};

} // namespace platform
