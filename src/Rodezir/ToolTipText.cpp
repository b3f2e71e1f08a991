#include "Rodezir/ToolTipText.h"

#include "Rodezir/gstringUtil.h"

#include <array>
#include <cstring>

namespace kova {
namespace {

std::array<char, TOOLTIP_NARROW_LIMIT + 1> narrowBuffer{};
std::array<wchar_t, TOOLTIP_WIDE_LIMIT + 1> wideBuffer{};

// Where a cut of at most `limit` bytes may fall without splitting a UTF-8 sequence.
std::size_t utf8CutPoint(const std::string& text, std::size_t limit)
{
    if (text.size() <= limit)
        return text.size();
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

} // namespace

void setToolTipText(const std::wstring& text, ToolTipTextRequest& request)
{
    if (request.code == TTN_NEEDTEXTA) {
        const std::string narrow = toNarrow(text, CP_ACP);
        const std::size_t length = utf8CutPoint(narrow, TOOLTIP_NARROW_LIMIT);
        std::memcpy(narrowBuffer.data(), narrow.data(), length);
        narrowBuffer[length] = '\0';
        request.text = narrowBuffer.data();
        return;
    }
    const std::size_t length = std::min(text.size(), TOOLTIP_WIDE_LIMIT);
    std::wmemcpy(wideBuffer.data(), text.data(), length);
    wideBuffer[length] = L'\0';
    request.wideText = wideBuffer.data();
}

} // namespace kova
