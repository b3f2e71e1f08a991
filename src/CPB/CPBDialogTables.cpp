#include "CPB/CPBDialogTables.h"

#include "Rodezir/dialogs/DialogRegistry.h"

using namespace kova;

namespace {

// A list box that draws a check box before each item.
constexpr std::uint32_t LBS_OWNERDRAWFIXED = 0x10;
constexpr std::uint32_t LBS_HASSTRINGS = 0x40;
constexpr std::uint32_t SELECTOR_STYLE =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | DS_CENTER | DS_SETFONT;

// A prompt over a list that takes the dialog's growth, OK and Cancel centred below.
DialogTable selector(int id, const wchar_t* caption, const wchar_t* prompt, int listId, std::uint32_t listStyle)
{
    DialogTable table;
    table.id = id;
    table.caption = caption;
    table.style = SELECTOR_STYLE;
    table.cx = 170;
    table.cy = 140;
    table.controls = {
        label(prompt, 1390, 7, 7, 156, 8),
        control(L"", listId, L"LISTBOX", listStyle | LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 7, 18, 156, 92),
        defPushButton(L"\u00A4OK", IDOK, 29, 118, 50, 14),
        pushButton(L"\u00A4Cancel", IDCANCEL, 91, 118, 50, 14),
    };
    return table;
}

// Room for the step text and a second line naming a failure's cause.
DialogTable progress()
{
    DialogTable table;
    table.id = CPBDialogTables::PROGRESS;
    table.caption = L"\u00A4Sending data to CPB";
    table.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT;
    table.cx = 236;
    table.cy = 88;
    table.controls = {
        label(L"", 1395, 7, 7, 222, 34),
        control(L"", 1393, L"msctls_progress32", WS_BORDER, 7, 44, 190, 12),
        label(L"0%", 1394, 201, 46, 28, 8, SS_RIGHT),
        pushButton(L"\u00A4&Cancel", IDCANCEL, 93, 66, 50, 14),
    };
    return table;
}

} // namespace

void CPBDialogTables::registerAll()
{
    DialogRegistry::add(selector(GET_SELECTOR, L"\u00A4Get setup from REV Evezodidaz", L"\u00A4Select REV Evezodidaz:",
                                 1276, 0));
    DialogRegistry::add(selector(SEND_SELECTOR, L"\u00A4Send setup to REV Evezodidaz",
                                 L"\u00A4Select REV Evezodidaz(s) to update:", 1392,
                                 LBS_OWNERDRAWFIXED | LBS_HASSTRINGS));
    DialogRegistry::add(progress());
}

int CPBDialogTables::ensure(int id)
{
    if (!DialogRegistry::find(id))
        registerAll();
    return id;
}
