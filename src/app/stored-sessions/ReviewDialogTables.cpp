#include "app/stored-sessions/ReviewDialogTables.h"

#include "Database/stored-sessions/SessionDialogTables.h"
#include "Rodezir/dialogs/DialogRegistry.h"

using namespace kova;

namespace {

constexpr std::uint32_t READ_ONLY = ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP;
constexpr std::uint32_t ES_AUTOVSCROLL = 0x40;
constexpr std::uint32_t NOTES_EDIT = ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
constexpr std::uint32_t DROP_DOWN = CBS_DROPDOWN | CBS_SORT | WS_VSCROLL | WS_TABSTOP;

using sessionfields::DETAILS_X;
using sessionfields::FIELD_X;
using sessionfields::fieldLabel;

// The record of the session beside its buttons, laid out as the session
// dialog's: what the run fixed is read-only, what the instructor completes
// can be edited.
DialogTable review()
{
    DialogTable table;
    table.id = 223;
    table.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
    table.cx = 332;
    table.cy = 266;
    auto& c = table.controls;

    c.push_back(groupBox(L"\u00A4Participants", IDC_STATIC, 4, 4, 246, 62));
    c.push_back(fieldLabel(L"\u00A4Training mode", 16));
    c.push_back(editText(1103, FIELD_X, 16, 120, 12, READ_ONLY));
    c.push_back(fieldLabel(L"\u00A4Ventilation", 32));
    c.push_back(control(L"", 1079, L"COMBOBOX", DROP_DOWN, FIELD_X, 32, 120, 100));
    c.push_back(ownerDrawnButton(L"\u00A4Details...", 1083, DETAILS_X, 31, 44, 14));
    c.push_back(fieldLabel(L"\u00A4Compression", 48));
    c.push_back(control(L"", 1078, L"COMBOBOX", DROP_DOWN, FIELD_X, 48, 120, 100));
    c.push_back(ownerDrawnButton(L"\u00A4Details...", 1082, DETAILS_X, 47, 44, 14));

    c.push_back(groupBox(L"\u00A4Session", IDC_STATIC, 4, 70, 246, 192));
    c.push_back(fieldLabel(L"\u00A4Scenario", 82));
    c.push_back(editText(1077, FIELD_X, 82, 120, 12, READ_ONLY));
    c.push_back(ownerDrawnButton(L"\u00A4Details...", 1090, DETAILS_X, 81, 44, 14));
    c.push_back(fieldLabel(L"\u00A4Algorithm", 98));
    c.push_back(editText(1080, FIELD_X, 98, 120, 12, READ_ONLY));
    c.push_back(ownerDrawnButton(L"\u00A4Details...", 1093, DETAILS_X, 97, 44, 14));
    c.push_back(fieldLabel(L"\u00A4Duration", 114));
    c.push_back(editText(1076, FIELD_X, 114, 52, 12, READ_ONLY));
    c.push_back(control(L"\u00A4Metronome used", 1096, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 136, 115, 70, 10));
    c.push_back(fieldLabel(L"\u00A4Manikin", 130));
    c.push_back(editText(1131, FIELD_X, 130, 52, 12, READ_ONLY));
    c.push_back(fieldLabel(L"\u00A4Date", 146));
    c.push_back(editText(1129, FIELD_X, 146, 52, 12, READ_ONLY));
    c.push_back(label(L"\u00A4Start time", IDC_STATIC, 132, 148, 38, 8, SS_RIGHT));
    c.push_back(editText(1109, 172, 146, 26, 12, READ_ONLY));
    c.push_back(fieldLabel(L"\u00A4Course Instructor", 162));
    c.push_back(editText(1028, FIELD_X, 162, 120, 12, READ_ONLY));
    c.push_back(ownerDrawnButton(L"\u00A4Details...", 1098, DETAILS_X, 161, 44, 14));
    c.push_back(fieldLabel(L"\u00A4Approved", 178));
    c.push_back(control(L"", 1020, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, FIELD_X, 178, 56, 60));
    c.push_back(fieldLabel(L"\u00A4Approved by", 194));
    c.push_back(control(L"", 1241, L"COMBOBOX", DROP_DOWN, FIELD_X, 194, 120, 100));
    c.push_back(ownerDrawnButton(L"\u00A4Details...", 1100, DETAILS_X, 193, 44, 14));
    c.push_back(label(L"\u00A4Notes", IDC_STATIC, 8, 211, 66, 8, SS_RIGHT));
    c.push_back(editText(1121, FIELD_X, 210, 168, 48, NOTES_EDIT));

    c.push_back(label(L"", IDC_STATIC, 254, 4, 1, 258, SS_ETCHEDVERT));
    c.push_back(ownerDrawnButton(L"\u00A4<< Debriefing", 1255, 258, 4, 70, 14));
    c.push_back(ownerDrawnButton(L"\u00A4Print...", 1072, 258, 21, 70, 14));
    c.push_back(ownerDrawnButton(L"\u00A4Help", 32800, 258, 231, 70, 14));
    c.push_back(ownerDrawnButton(L"\u00A4Abort", IDCANCEL, 258, 248, 70, 14));
    return table;
}

DialogTable details()
{
    DialogTable table;
    table.id = 233;
    table.caption = L"\u00A4Inspect session details";
    table.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT;
    table.cx = 450;
    table.cy = 325;
    return table;
}

} // namespace

std::vector<DialogTable> reviewDialogTables() { return {review(), details()}; }

void registerReviewDialogTables()
{
    for (const DialogTable& table : reviewDialogTables())
        if (!DialogRegistry::find(table.id))
            DialogRegistry::add(table);
}
