#include "CPB/SendPackage.h"

#include "Rodezir/LogStream.h"
#include "comm/link/SerialPort.h"

SendPackage::SendPackage(std::uint8_t command, CPBAdr address, const std::vector<std::uint8_t>* data,
                         SerialPort& port, int length)
    : command_(command)
    , address_(address)
    , data_(data)
    , port_(port)
    , length_(length)
{
}

std::uint8_t SendPackage::checksum(const std::uint8_t* bytes, std::size_t count)
{
    unsigned sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<std::uint8_t>(sum);
}

std::vector<std::uint8_t> SendPackage::build() const
{
    const int length = data_ != nullptr ? static_cast<int>(data_->size()) : length_;
    // The length travels in one byte; the link never asks for more than a page.
    KOVA_ASSERT(length >= 0 && length <= 255);
    std::vector<std::uint8_t> bytes = {SYNC, command_, address_.bank, address_.high, address_.low,
                                       static_cast<std::uint8_t>(length)};
    if (data_ != nullptr) {
        bytes.push_back(0x00);
        bytes.insert(bytes.end(), data_->begin(), data_->end());
    }
    bytes.push_back(checksum(bytes.data(), bytes.size()));
    return bytes;
}

bool SendPackage::send()
{
    return port_.writeSerial(build());
}
