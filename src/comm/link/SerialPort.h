#pragma once
// One link to one training manikin or hand-held controller, the face the
// program talks to whatever carries it: a COM port, a TCP connection to a
// wireless manikin, or (in demonstration mode) a replay of recorded data, each
// a transport of its own. It queues every received byte in readData, keeps
// what the device reported, and sends the manikin commands of the frame protocol.

#include "comm/link/LinkState.h"
#include "comm/link/LinkTransport.h"
#include "comm/link/PortNumbers.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

class SerialPort {
public:
    // Result codes of the open and identify operations.
    static constexpr int OPEN_FAILED = 0;             // the COM port could not be opened
    static constexpr int OPEN_TIMEOUTS_FAILED = 1;    // the read time-outs were refused
    static constexpr int OPEN_STATE_FAILED = 2;       // port state or modem status unreadable
    static constexpr int OPEN_SETTINGS_REFUSED = 3;   // the port settings were refused
    static constexpr int OPEN_ALREADY_OPEN = 5;
    static constexpr int OPEN_NO_DATA = 6;            // opened, but no valid data (frame reader)
    static constexpr int OPEN_PORT_NOT_AVAILABLE = 7; // no port number, or no such COM port
    static constexpr int OPEN_NO_ANSWER = 8;
    static constexpr int OPEN_WRONG_ANSWER = 9;
    static constexpr int OPEN_SUCCESS = 10;
    static constexpr int OPEN_WRONG_KIND = 11;        // wireless: kind byte not 1, 3 or 4
    static constexpr int OPEN_NO_CRLF = 12;           // wireless: reply without CR LF

    // Link types (linkType).
    static constexpr int LINK_CLOSED = 0;      // closed, or open and not yet identified
    static constexpr int LINK_UNFRAMED = 1;    // manikin of the ASCII handshake: 4-byte records
    static constexpr int LINK_CONTROLLER = 2;  // hand-held controller
    static constexpr int LINK_FRAMED_COM = 3;  // manikin on a COM port sending frames
    static constexpr int LINK_WIRELESS = 4;    // wireless manikin over TCP sending frames
    static constexpr int LINK_LOST = 5;        // the TCP peer fell silent or a send failed

    static constexpr int NO_BATTERY_LEVEL = 255;
    static constexpr int WIRELESS_TCP_PORT = 2000;
    static constexpr std::size_t MANIKIN_NAME_SIZE = 33;
    static constexpr std::size_t READ_BUFFER_SIZE = 2048;
    static constexpr int RECEIVE_BUFFER_SIZE = 512;
    // A wireless link that receives nothing for longer than this is lost.
    static constexpr std::uint32_t IDLE_LIMIT_MS = 10000;

    SerialPort();
    virtual ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens a COM port (or a recorded-data port) and identifies the device;
    // -1 reuses the stored port number. Returns a result code.
    virtual int open(int portNumber = NO_PORT);
    // Connects to the wireless manikin at ipAddress and identifies it.
    virtual int openWireless(int portNumber = NO_PORT);
    // Identifies the device again on an open link: the wireless handshake for
    // wireless slots, else the ASCII handshake and then the framed one.
    int identify();
    // The same, step by step.
    LinkSteps identifySteps();

    bool close();
    // As close, and the device is given back even when it could not be told
    // goodbye (close keeps a COM port whose farewell frame was refused), so
    // the port can be opened again at once. The close result.
    bool release();
    // Back to the construction values, closing nothing (only for closed links).
    void reset();
    bool isAlive();

    // Moves everything received so far into readData; the number of bytes
    // added, -1 after a failed read, 0 when not connected.
    int readPending();
    // As readPending, then empties readData unless the read failed.
    int flushInput();
    int getBufferSize() const { return static_cast<int>(readData.size()); }
    // Byte i of readData (after reading pending input) without removing it;
    // 0 with a log line when i is beyond the queue.
    std::uint8_t peekByte(std::size_t index);

    // Writes bytes to the COM port; false when not connected or not written in time.
    bool writeSerial(const std::uint8_t* bytes, std::size_t length);
    bool writeSerial(const std::vector<std::uint8_t>& bytes) { return writeSerial(bytes.data(), bytes.size()); }

    // Manikin commands (frames of the frame protocol).
    bool requestDataStreams();
    // The same, step by step: the result is 1 when both requests went out.
    LinkSteps requestDataStreamsSteps();
    void requestBatteryLevel();
    void setEcgRhythms(std::uint8_t currentRhythm, std::uint8_t nextRhythm);
    void setDefibrillationEffect(std::uint8_t effect);
    void sendCommand24(bool on);
    void setEcgArtefacts(std::uint8_t artefactBits);
    void setPulse(bool on);
    void sendCommand32();

    int getBatteryLevel() const { return batteryLevel; }
    void setBatteryLevel(int level) { batteryLevel = level; }
    const char* getManikinName() const { return manikinName.data(); }
    char getManikinNameChar(int index) const;
    // Copies a 33-byte name record (the last byte is always kept NUL).
    void setInfo(const char* record);

    int getPortNumber() const { return portNumber; }
    int getLastOpenResult() const { return lastOpenResult; }
    int getLinkType() const { return state.linkType; }
    void setLinkType(int type) { state.linkType = type; }
    bool isConnected() const { return state.connected; }
    bool getKindIs3or4() const { return state.kindIs3or4; }
    bool getKindIs3() const { return state.kindIs3; }
    // The scan marks recorded-data ports as the newest manikins without opening them.
    void setKindFlags(bool is3or4, bool is3)
    {
        state.kindIs3or4 = is3or4;
        state.kindIs3 = is3;
    }
    bool getReadError() const { return state.readError; }
    std::uint8_t getDefibrillationEffect() const { return defibrillationEffect; }
    bool getCommand24Flag() const { return command24Flag; }
    // Whether the manikin's pulse is on: kept by the callers of setPulse
    // (the link cannot ask the manikin), cleared by reset.
    bool getPulseOn() const { return pulseOn; }
    void setPulseOn(bool on) { pulseOn = on; }

    // IPv4 address of a wireless manikin in network byte order; 0 = slot free.
    std::uint32_t getIpAddress() const { return ipAddress; }
    void setIpAddress(std::uint32_t address) { ipAddress = address; }

    int getCompressionOffset() const { return state.calibrationOffsets[0]; }
    int getVentilationOffset() const { return state.calibrationOffsets[1]; }
    void setCalibrationOffsets(int compression, int ventilation);

    // True while the demonstration switch is on and the port is 247 to 256.
    bool isRecordedDataPort() const;
    // The recorded data set a recorded-data port replays (null otherwise).
    const CollectedDataSet* getRecordedData() const { return transport ? transport->recordedData() : nullptr; }
    // Replays set p % 3 of the recorded data on this link.
    void selectRecordedData(int port);

    // The checks of the devices' handshake replies. The ASCII reply (exactly
    // five bytes) gives the link type and the answer to send back.
    static int answerAsciiReply(const std::deque<std::uint8_t>& reply, int& kind, std::vector<std::uint8_t>& answer);
    // The framed reply {kind, n, CR, LF} on a COM port and over TCP.
    static int checkFramedReply(const std::uint8_t* reply, std::size_t length);
    static int checkWirelessReply(const std::uint8_t* reply, std::size_t length);
    // Two bytes r and n - r with r chosen at random.
    static std::vector<std::uint8_t> challengeAnswer(std::uint8_t n);

    // Every received byte, oldest first; the frame reader and the controller
    // transfer take bytes from the front.
    std::deque<std::uint8_t> readData;

private:
    int storePortNumber(int port);
    int openWith(std::unique_ptr<LinkTransport> opened);
    bool sendFrame(int command, const std::vector<std::uint8_t>& payload);

    LinkState state{readData};
    std::unique_ptr<LinkTransport> transport;
    std::uint32_t ipAddress = 0;
    std::array<char, MANIKIN_NAME_SIZE> manikinName{};
    int batteryLevel = NO_BATTERY_LEVEL;
    int portNumber = NO_PORT;
    int lastOpenResult = OPEN_SUCCESS;
    std::uint8_t defibrillationEffect = 1;
    bool command24Flag = false;
    bool pulseOn = false;
};
