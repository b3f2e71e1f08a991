#include "CPB/GetPackage.h"

#include "CPB/SendPackage.h"
#include "Rodezir/LogStream.h"
#include "comm/link/SerialPort.h"

#include <deque>

namespace {

constexpr std::size_t SHORT_SIZE = 3;
// Sync, kind, bank, high, low, length: what comes before a reply's data.
constexpr std::size_t DATA_HEADER_SIZE = 6;
// The header and the checksum: a data reply is this much longer than its data.
constexpr std::size_t DATA_FRAME_SIZE = DATA_HEADER_SIZE + 1;

void moveFront(std::deque<std::uint8_t>& queue, std::vector<std::uint8_t>& destination, std::size_t count)
{
    destination.insert(destination.end(), queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(count));
    queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(count));
}

int readShort(std::deque<std::uint8_t>& queue, std::vector<std::uint8_t>& destination)
{
    if (queue.size() < SHORT_SIZE)
        return GetPackage::INCOMPLETE;
    moveFront(queue, destination, 2);
    if (queue.front() != SendPackage::checksum(destination.data(), destination.size())) {
        // The bad checksum byte stays: it may be the sync of what follows.
        destination.clear();
        return GetPackage::CHECKSUM_ERROR;
    }
    moveFront(queue, destination, 1);
    return destination[1] == GetPackage::ACK ? GetPackage::COMPLETE : GetPackage::OTHER_KIND;
}

int readData(std::deque<std::uint8_t>& queue, std::vector<std::uint8_t>& destination)
{
    if (queue.size() < DATA_HEADER_SIZE || queue.size() < queue[5] + DATA_FRAME_SIZE)
        return GetPackage::INCOMPLETE;
    moveFront(queue, destination, DATA_HEADER_SIZE + queue[5]);
    if (queue.front() != SendPackage::checksum(destination.data(), destination.size())) {
        destination.clear();
        return GetPackage::CHECKSUM_ERROR;
    }
    moveFront(queue, destination, 1);
    return GetPackage::COMPLETE;
}

} // namespace

int GetPackage::read(SerialPort& port, std::vector<std::uint8_t>& destination)
{
    destination.clear();
    std::deque<std::uint8_t>& queue = port.readData;
    port.readPending();
    const std::size_t looks = queue.size();
    for (std::size_t look = 0; look < looks; ++look) {
        if (look > 0)
            port.readPending();
        if (queue.empty())
            break;
        if (queue.front() == SendPackage::SYNC) {
            // A sync byte whose package is still on its way is kept for the
            // next poll, as the rest of a package is.
            if (queue.size() < 2)
                return INCOMPLETE;
            switch (queue[1]) {
            case ACK:
            case SHORT_PACKAGE:
                return readShort(queue, destination);
            case DATA:
                return readData(queue, destination);
            default:
                return OTHER_KIND;
            }
        }
        queue.pop_front();
    }
    return NO_SYNC;
}

int GetPackage::checkDataReply(CPBAdr expected, int length, std::vector<std::uint8_t>& destination,
                               SerialPort& port)
{
    std::vector<std::uint8_t> package;
    const int result = read(port, package);
    if (result != COMPLETE)
        return result;
    if (package.size() < DATA_FRAME_SIZE + 1)
        return INCOMPLETE;
    if (package[0] != SendPackage::SYNC) {
        KOVA_ASSERT(false);
        return NO_SYNC;
    }
    if (package[1] != DATA)
        return OTHER_KIND;
    if (CPBAdr(package[2], package[3], package[4]) != expected)
        return WRONG_ADDRESS;
    if (package[5] != length)
        return WRONG_LENGTH;
    if (package.size() != static_cast<std::size_t>(length) + DATA_FRAME_SIZE)
        return INCOMPLETE;
    if (SendPackage::checksum(package.data(), package.size() - 1) != package.back())
        return CHECKSUM_ERROR;
    destination.insert(destination.begin(), package.begin() + DATA_HEADER_SIZE, package.end() - 1);
    return COMPLETE;
}

int waitForAck(SerialPort& port)
{
    std::vector<std::uint8_t> package;
    const int result = GetPackage::read(port, package);
    const bool acknowledged = result != GetPackage::NO_SYNC && package.size() == SHORT_SIZE
        && package[1] == GetPackage::ACK;
    return acknowledged ? GetPackage::COMPLETE : GetPackage::INCOMPLETE;
}
