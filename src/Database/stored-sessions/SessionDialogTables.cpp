#include "Database/stored-sessions/SessionDialogTables.h"

#include "Rodezir/dialogs/DialogRegistry.h"

using namespace kova;

namespace {

constexpr std::uint32_t READ_ONLY = ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP;
constexpr std::uint32_t ES_AUTOVSCROLL = 0x40;
constexpr std::uint32_t ES_WANTRETURN = 0x1000;
constexpr std::uint32_t NOTES_EDIT = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
constexpr std::uint32_t DROP_DOWN_LIST = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
constexpr std::uint32_t DROP_DOWN = CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP;

DialogControlTable combo(int id, std::uint32_t style, int x, int y, int cx, int cy)
{
    return control(L"", id, L"COMBOBOX", style, x, y, cx, cy);
}

using sessionfields::DETAILS_X;
using sessionfields::FIELD_X;
using sessionfields::fieldLabel;

DialogTable session()
{
    DialogTable table;
    table.id = 222;
    table.caption = L"\u00A4Session";
    table.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    table.cx = 332;
    table.cy = 266;
    auto& c = table.controls;

    c.push_back(groupBox(L"\u00A4Participants", IDC_STATIC, 4, 4, 246, 62));
    c.push_back(fieldLabel(L"\u00A4Training mode", 16));
    c.push_back(combo(1103, DROP_DOWN_LIST, FIELD_X, 16, 120, 80));
    c.push_back(fieldLabel(L"\u00A4Ventilation", 32));
    c.push_back(combo(1079, DROP_DOWN | CBS_SORT, FIELD_X, 32, 120, 100));
    c.push_back(ownerDrawnButton(L"\u00A4Details...", 1083, DETAILS_X, 31, 44, 14));
    c.push_back(fieldLabel(L"\u00A4Compression", 48));
    c.push_back(combo(1078, DROP_DOWN | CBS_SORT, FIELD_X, 48, 120, 100));
    c.push_back(ownerDrawnButton(L"\u00A4Details...", 1088, DETAILS_X, 47, 44, 14));

    c.push_back(groupBox(L"\u00A4Session", IDC_STATIC, 4, 70, 246, 192));
    c.push_back(fieldLabel(L"\u00A4Scenario", 82));
    c.push_back(combo(1077, DROP_DOWN_LIST | CBS_SORT, FIELD_X, 82, 120, 100));
    c.push_back(ownerDrawnButton(L"\u00A4Details...", 1090, DETAILS_X, 81, 44, 14));
    c.push_back(fieldLabel(L"\u00A4Algorithm", 98));
    c.push_back(combo(1080, DROP_DOWN_LIST | CBS_SORT, FIELD_X, 98, 120, 100));
    c.push_back(ownerDrawnButton(L"\u00A4Details...", 1093, DETAILS_X, 97, 44, 14));
    c.push_back(fieldLabel(L"\u00A4Duration", 114));
    c.push_back(combo(1076, DROP_DOWN, FIELD_X, 114, 56, 100));
    c.push_back(control(L"\u00A4Metronome", 1096, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 142, 115, 60, 10));
    c.push_back(fieldLabel(L"\u00A4Manikin", 130));
    c.push_back(combo(1104, DROP_DOWN | CBS_SORT, FIELD_X, 130, 120, 100));
    c.push_back(fieldLabel(L"\u00A4Date", 146));
    c.push_back(editText(1129, FIELD_X, 146, 52, 12, READ_ONLY));
    c.push_back(label(L"\u00A4Start time", IDC_STATIC, 132, 148, 38, 8, SS_RIGHT));
    c.push_back(editText(1109, 172, 146, 26, 12, READ_ONLY));
    c.push_back(fieldLabel(L"\u00A4Course Instructor", 162));
    c.push_back(editText(1028, FIELD_X, 162, 120, 12, READ_ONLY));
    c.push_back(ownerDrawnButton(L"\u00A4Details...", 1098, DETAILS_X, 161, 44, 14));
    c.push_back(fieldLabel(L"\u00A4Approved", 178));
    c.push_back(combo(1020, DROP_DOWN_LIST, FIELD_X, 178, 56, 60));
    c.push_back(fieldLabel(L"\u00A4Approved by", 194));
    c.push_back(combo(1241, DROP_DOWN | CBS_SORT, FIELD_X, 194, 120, 100));
    c.push_back(ownerDrawnButton(L"\u00A4Details...", 1100, DETAILS_X, 193, 44, 14));
    c.push_back(label(L"\u00A4Notes", IDC_STATIC, 8, 211, 66, 8, SS_RIGHT));
    c.push_back(editText(1121, FIELD_X, 210, 168, 48, NOTES_EDIT));

    c.push_back(label(L"", IDC_STATIC, 254, 4, 1, 258, SS_ETCHEDVERT));
    c.push_back(ownerDrawnButton(L"\u00A4&Save changes", 1114, 258, 4, 70, 14));
    c.push_back(ownerDrawnButton(L"\u00A4Disc&ard changes", 1115, 258, 21, 70, 14));
    c.push_back(ownerDrawnButton(L"\u00A4Graph...", 1268, 258, 46, 70, 14));
    c.push_back(ownerDrawnButton(L"\u00A4Debriefing...", 1255, 258, 63, 70, 14));
    c.push_back(ownerDrawnButton(L"\u00A4Delete session", 1113, 258, 88, 70, 14));
    c.push_back(ownerDrawnButton(L"\u00A4Help", 32800, 258, 231, 70, 14));
    c.push_back(ownerDrawnButton(L"\u00A4&Close", IDCANCEL, 258, 248, 70, 14));
    return table;
}

DialogTable sessionManager()
{
    DialogTable table;
    table.id = 224;
    table.caption = L"\u00A4Session manager";
    table.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT;
    table.cx = 302;
    table.cy = 236;
    table.controls = {
        groupBox(L"\u00A4Browse criteria", 1284, 3, 4, 296, 77),
        label(L"\u00A4Year", 1285, 6, 16, 51, 8),
        combo(1270, DROP_DOWN_LIST, 61, 14, 82, 143),
        label(L"\u00A4Month", 1286, 145, 16, 21, 8),
        combo(1272, DROP_DOWN_LIST, 170, 14, 76, 145),
        label(L"\u00A4Participant", 1287, 6, 32, 51, 8),
        combo(1273, DROP_DOWN | CBS_SORT, 61, 30, 185, 131),
        ownerDrawnButton(L"\u00A4Details...", 1282, 250, 29, 43, 14),
        label(L"\u00A4Instructor", 1288, 6, 48, 51, 8),
        combo(1028, DROP_DOWN | CBS_SORT, 61, 46, 185, 112),
        ownerDrawnButton(L"\u00A4Details...", 1130, 250, 45, 44, 14),
        ownerDrawnButton(L"\u00A4Show matching sessions", 1289, 88, 63, 122, 14),
        label(L"\u00A4Sessions", 1280, 3, 85, 180, 8),
        control(L"", 1274, L"SysListView32", LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP,
                3, 97, 296, 90),
        label(L"\u00A4No sessions match criteria", 1275, 6, 191, 180, 8),
        label(L"\u00A4Double click on a session for details", 1277, 6, 203, 179, 8),
        ownerDrawnButton(L"\u00A4Import...", 1366, 3, 219, 50, 14),
        ownerDrawnButton(L"\u00A4Export...", 1365, 57, 219, 50, 14),
        ownerDrawnButton(L"\u00A4Close", IDCANCEL, 195, 219, 50, 14),
        ownerDrawnButton(L"\u00A4Help", 32800, 249, 219, 50, 14),
    };
    return table;
}

} // namespace

DialogControlTable sessionfields::fieldLabel(const std::wstring& text, int y)
{
    return label(text, IDC_STATIC, 8, y + 2, 66, 8, SS_RIGHT);
}

std::vector<DialogTable> sessionDialogTables() { return {session(), sessionManager()}; }

void registerSessionDialogTables()
{
    for (const DialogTable& table : sessionDialogTables())
        if (!DialogRegistry::find(table.id))
            DialogRegistry::add(table);
}
