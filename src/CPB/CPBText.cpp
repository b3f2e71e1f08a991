#include "CPB/CPBText.h"

#include "Rodezir/gstringUtil.h"

CPBText::Bytes CPBText::fromWide(const std::wstring& text, unsigned int codePage)
{
    const std::string narrow = toNarrow(text, codePage);
    return Bytes(narrow.begin(), narrow.end());
}

CPBText::Bytes CPBText::fromUtf8(const std::string& text, unsigned int codePage)
{
    return fromWide(::toWide(text, CP_UTF8), codePage);
}

std::wstring CPBText::toWide(const Bytes& bytes, unsigned int codePage)
{
    return ::toWide(std::string(bytes.begin(), bytes.end()), codePage);
}

std::string CPBText::toUtf8(const Bytes& bytes, unsigned int codePage)
{
    return toNarrow(toWide(bytes, codePage), CP_UTF8);
}

CPBText::Bytes CPBText::padded(Bytes text, std::size_t width)
{
    text.resize(width, ' ');
    return text;
}

CPBText::Bytes CPBText::terminated(Bytes text, std::size_t room)
{
    if (room == 0)
        return {};
    if (text.size() >= room)
        text.resize(room - 1);
    text.push_back(0x00);
    return text;
}
