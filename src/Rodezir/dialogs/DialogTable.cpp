#include "Rodezir/dialogs/DialogTable.h"

namespace kova {

DialogControlTable control(const std::wstring& text, int id, const std::wstring& windowClass,
                           std::uint32_t style, int x, int y, int cx, int cy)
{
    DialogControlTable item;
    item.id = id;
    item.windowClass = windowClass;
    item.text.text = text;
    item.style = WS_CHILD | WS_VISIBLE | style;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    return item;
}

DialogControlTable pushButton(const std::wstring& text, int id, int x, int y, int cx, int cy, std::uint32_t style)
{
    return control(text, id, L"BUTTON", BS_PUSHBUTTON | style, x, y, cx, cy);
}

DialogControlTable defPushButton(const std::wstring& text, int id, int x, int y, int cx, int cy, std::uint32_t style)
{
    return control(text, id, L"BUTTON", BS_DEFPUSHBUTTON | style, x, y, cx, cy);
}

DialogControlTable ownerDrawnButton(const std::wstring& text, int id, int x, int y, int cx, int cy,
                                    std::uint32_t style)
{
    return control(text, id, L"BUTTON", BS_OWNERDRAW | style, x, y, cx, cy);
}

DialogControlTable label(const std::wstring& text, int id, int x, int y, int cx, int cy, std::uint32_t style)
{
    return control(text, id, L"STATIC", style, x, y, cx, cy);
}

DialogControlTable groupBox(const std::wstring& text, int id, int x, int y, int cx, int cy)
{
    return control(text, id, L"BUTTON", BS_GROUPBOX, x, y, cx, cy);
}

DialogControlTable editText(int id, int x, int y, int cx, int cy, std::uint32_t style)
{
    return control(L"", id, L"EDIT", style, x, y, cx, cy);
}

} // namespace kova
