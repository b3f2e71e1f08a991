#include "CPB/CPBMemory.h"

#include "CPB/Pointer.h"
#include "Rodezir/LogStream.h"

CPBMemory::CPBMemory(CPBComm& link, int retries)
    : link_(link)
    , retries_(retries)
{
}

bool CPBMemory::fits(int name, int offset, long long length)
{
    const int areaSize = Pointer::size(name);
    if (name >= 0 && name < Pointer::SIZE_OF && offset >= 0 && length >= 0 && offset + length <= areaSize)
        return true;
    LogStream::instance() << "Controller area " << Pointer::label(name) << " (" << name << "): " << length
                          << " bytes at offset " << offset << " do not fit its " << areaSize
                          << " bytes; nothing is transferred\n";
    return false;
}

bool CPBMemory::write(int name, int offset, const Bytes& data)
{
    if (!fits(name, offset, static_cast<long long>(data.size())))
        return false;
    return link_.write(Pointer::get(name) + offset, data, retries_);
}

bool CPBMemory::read(int name, int offset, int length, Bytes& out)
{
    if (!fits(name, offset, length))
        return false;
    return link_.read(Pointer::get(name) + offset, length, out, retries_);
}
