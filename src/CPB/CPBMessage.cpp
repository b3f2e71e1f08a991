#include "CPB/CPBMessage.h"

#include "gettext/Gettext.h"

std::wstring CPBMessage::text(const char* msgid, std::initializer_list<std::wstring> values)
{
    std::wstring result = Gettext::translate(msgid);
    std::size_t from = 0;
    for (const std::wstring& value : values) {
        const std::size_t at = result.find(L"%s", from);
        if (at == std::wstring::npos)
            break;
        result.replace(at, 2, value);
        from = at + value.size();
    }
    return result;
}

std::wstring CPBMessage::outcome(bool succeeded, const std::wstring& cause)
{
    if (succeeded)
        return text(DONE);
    std::wstring result = text(FAILED);
    if (!cause.empty())
        result += L"\n" + cause;
    return result;
}
