#include "CPB/CPBComm.h"

#include "CPB/GetPackage.h"
#include "CPB/SendPackage.h"
#include "Rodezir/LogStream.h"
#include "comm/link/SerialPort.h"
#include "platform/Clock.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

void sleepMs(std::uint32_t milliseconds)
{
    platform::Clock::instance().sleep(milliseconds);
}

// Calls block(address, first, count) for every piece of [0, size) as the
// link sends it: chunks of MAXDATA bytes from start, each split in two where
// it crosses a page end. Stops at the first piece that fails.
template <class Block>
bool forEachPiece(CPBAdr start, std::size_t size, Block block)
{
    for (std::size_t chunk = 0; chunk < size; chunk += MAXDATA) {
        const std::size_t count = std::min<std::size_t>(MAXDATA, size - chunk);
        const CPBAdr at = start + static_cast<int>(chunk);
        const std::size_t room = CPB_PAGE_SIZE - at.getAdr() % CPB_PAGE_SIZE;
        if (count <= room) {
            if (!block(at, chunk, count))
                return false;
        } else if (!block(at, chunk, room) || !block(at + static_cast<int>(room), chunk + room, count - room)) {
            return false;
        }
        CPBComm::pumpMessages();
    }
    return true;
}

} // namespace

CPBComm::CPBComm(SerialPort& port)
    : port_(port)
{
}

CPBComm::~CPBComm() = default;

int CPBComm::open()
{
    const int opened = port_.open(-1);
    if (opened != SerialPort::OPEN_SUCCESS)
        return opened;
    // The controller greets with an acknowledgement once it knows the station.
    sleepMs(GREETING_DELAY_MS);
    bool greeted = waitForAck(port_) == GetPackage::COMPLETE;
    for (int poll = 0; poll < GREETING_POLLS && !greeted; ++poll) {
        sleepMs(POLL_MS);
        greeted = waitForAck(port_) == GetPackage::COMPLETE;
    }
    return greeted ? OPEN_ANSWERED : OPEN_NO_GREETING;
}

bool CPBComm::awaitAcknowledgement(int retries)
{
    bool acknowledged = waitForAck(port_) == GetPackage::COMPLETE;
    for (int poll = 0; poll < retries && !acknowledged; ++poll) {
        sleepMs(POLL_MS);
        acknowledged = waitForAck(port_) == GetPackage::COMPLETE;
    }
    return acknowledged;
}

bool CPBComm::awaitDataReply(CPBAdr startAdr, Bytes& out, int len, int retries)
{
    int result = GetPackage::checkDataReply(startAdr, len, out, port_);
    for (int poll = 0; poll < retries && result != GetPackage::COMPLETE; ++poll) {
        sleepMs(POLL_MS);
        result = GetPackage::checkDataReply(startAdr, len, out, port_);
    }
    return result == GetPackage::COMPLETE;
}

void CPBComm::purgeBeforeRetry()
{
    // Whatever is still on its way belongs to the failed try.
    port_.flushInput();
    sleepMs(POLL_MS);
}

bool CPBComm::writeBlock(CPBAdr startAdr, const Bytes& data, int retries)
{
    const bool sizeFits = data.size() > 0 && data.size() <= MAXDATA;
    KOVA_ASSERT(data.size() > 0 && data.size() <= MAXDATA);
    const bool pageFits = startAdr.getAdr() % 64 + data.size() <= 64;
    KOVA_ASSERT(startAdr.getAdr() % 64 + data.size() <= 64);
    // The controller would write such a block across its page: never send it.
    if (!sizeFits || !pageFits || retries < 1)
        return false;
    for (int attempt = 0; attempt < retries; ++attempt) {
        SendPackage package(SendPackage::WRITE, startAdr, &data, port_);
        if (package.send() && awaitAcknowledgement(retries))
            return true;
        purgeBeforeRetry();
    }
    return false;
}

bool CPBComm::readBlock(CPBAdr startAdr, Bytes& out, int len, int retries)
{
    const bool sizeFits = len > 0 && len <= MAXDATA;
    KOVA_ASSERT(len > 0 && len <= MAXDATA);
    const bool pageFits = startAdr.getAdr() % 64 + len <= 64;
    KOVA_ASSERT(startAdr.getAdr() % 64 + len <= 64);
    if (!sizeFits || !pageFits || retries < 1)
        return false;
    for (int attempt = 0; attempt < retries; ++attempt) {
        SendPackage package(SendPackage::READ, startAdr, nullptr, port_, len);
        if (package.send() && awaitAcknowledgement(retries) && awaitDataReply(startAdr, out, len, retries))
            return true;
        purgeBeforeRetry();
    }
    return false;
}

bool CPBComm::write(CPBAdr start, const Bytes& data, int retries)
{
    KOVA_ASSERT(data.empty() == false);
    return forEachPiece(start, data.size(), [&](CPBAdr at, std::size_t first, std::size_t count) {
        const Bytes piece(data.begin() + static_cast<std::ptrdiff_t>(first),
                          data.begin() + static_cast<std::ptrdiff_t>(first + count));
        return writeBlock(at, piece, retries);
    });
}

bool CPBComm::read(CPBAdr start, int len, Bytes& out, int retries)
{
    KOVA_ASSERT(len >= 0);
    if (len < 0)
        return false;
    return forEachPiece(start, static_cast<std::size_t>(len), [&](CPBAdr at, std::size_t, std::size_t count) {
        Bytes piece;
        if (!readBlock(at, piece, static_cast<int>(count), retries))
            return false;
        out.insert(out.end(), piece.begin(), piece.end());
        return true;
    });
}

void CPBComm::pumpMessages()
{
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::processEvents();
}
