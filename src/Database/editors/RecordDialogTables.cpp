#include "Database/editors/RecordDialogTables.h"

#include "Rodezir/dialogs/DialogRegistry.h"

using namespace kova;

namespace {

constexpr std::uint32_t MODAL_STYLE = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr std::uint32_t LINE_EDIT = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr std::uint32_t NUMBER_EDIT = ES_AUTOHSCROLL | ES_RIGHT | WS_BORDER | WS_TABSTOP;
constexpr std::uint32_t ES_AUTOVSCROLL = 0x40;
constexpr std::uint32_t ES_WANTRETURN = 0x1000;
constexpr std::uint32_t NOTES_EDIT = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
constexpr std::uint32_t DROP_DOWN_LIST = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
constexpr std::uint32_t CHECK = BS_AUTOCHECKBOX | WS_TABSTOP;

DialogTable modal(int id, const std::wstring& caption, int cx, int cy)
{
    DialogTable table;
    table.id = id;
    table.caption = caption;
    table.style = MODAL_STYLE;
    table.cx = cx;
    table.cy = cy;
    return table;
}

DialogControlTable rightLabel(const std::wstring& text, int x, int y, int cx)
{
    return label(text, IDC_STATIC, x, y, cx, 8, SS_RIGHT);
}

DialogControlTable leftLabel(const std::wstring& text, int x, int y, int cx, int id = IDC_STATIC)
{
    return label(text, id, x, y, cx, 8, SS_LEFT);
}

DialogControlTable combo(int id, std::uint32_t style, int x, int y, int cx, int cy)
{
    return control(L"", id, L"COMBOBOX", style, x, y, cx, cy);
}

DialogControlTable hidden(DialogControlTable row)
{
    row.style &= ~WS_VISIBLE;
    return row;
}

// The quick find, the navigation buttons and the line under them, shared
// by the three editors; the navigation buttons start at `navigationX`.
void addBrowsing(DialogTable& table, int labelX, int labelWidth, int comboX, int comboWidth, int comboHeight,
                 const int (&navigationX)[4], int lineWidth)
{
    table.controls.push_back(rightLabel(L"\u00A4&Quick Find", labelX, 5, labelWidth));
    table.controls.push_back(combo(1242, DROP_DOWN_LIST | CBS_SORT, comboX, 3, comboWidth, comboHeight));
    const int ids[] = {1126, 1117, 1116, 1127};
    const wchar_t* texts[] = {L"|<", L"<", L">", L">|"};
    for (int i = 0; i < 4; ++i)
        table.controls.push_back(ownerDrawnButton(texts[i], ids[i], navigationX[i], 3, 11, 12));
    table.controls.push_back(label(L"", IDC_STATIC, 3, 18, lineWidth, 1, SS_ETCHEDHORZ));
}

// The line that parts the fields from the buttons, and the editor's six
// buttons: New and Delete (named after the record), Save changes and
// Discard changes at the top; Help and Close at the bottom.
void addEditorButtons(DialogTable& table, int lineX, int lineHeight, int x, const std::wstring& newText,
                      const std::wstring& deleteText, int helpY, int closeY)
{
    table.controls.push_back(label(L"", IDC_STATIC, lineX, 23, 1, lineHeight, SS_ETCHEDVERT));
    table.controls.push_back(ownerDrawnButton(newText, 1112, x, 23, 77, 14));
    table.controls.push_back(ownerDrawnButton(deleteText, 1113, x, 40, 77, 14));
    table.controls.push_back(ownerDrawnButton(L"\u00A4&Save changes", 1114, x, 57, 77, 14));
    table.controls.push_back(ownerDrawnButton(L"\u00A4Disc&ard changes", 1115, x, 74, 77, 14));
    table.controls.push_back(ownerDrawnButton(L"\u00A4Help", 32800, x, helpY, 77, 14));
    table.controls.push_back(ownerDrawnButton(L"\u00A4&Close", IDCANCEL, x, closeY, 77, 14));
}

// A pair of number fields, "low - high unit", on one row.
void addRange(DialogTable& table, const std::wstring& text, int y, int lowId, int highId, const std::wstring& unit,
              int unitId = IDC_STATIC)
{
    table.controls.push_back(leftLabel(text, 12, y + 2, 86));
    table.controls.push_back(editText(lowId, 100, y, 28, 12, NUMBER_EDIT));
    table.controls.push_back(label(L"-", IDC_STATIC, 131, y + 2, 6, 8, SS_CENTER));
    table.controls.push_back(editText(highId, 140, y, 28, 12, NUMBER_EDIT));
    if (!unit.empty())
        table.controls.push_back(leftLabel(unit, 171, y + 2, 22, unitId));
}

// A ratio of two whole numbers, "compressions : ventilations".
void addRatio(DialogTable& table, const std::wstring& text, int y, int compressionsId, int ventilationsId)
{
    table.controls.push_back(leftLabel(text, 12, y + 2, 86));
    table.controls.push_back(editText(compressionsId, 100, y, 20, 12, NUMBER_EDIT));
    table.controls.push_back(label(L":", IDC_STATIC, 121, y + 2, 6, 8, SS_CENTER));
    table.controls.push_back(editText(ventilationsId, 128, y, 20, 12, NUMBER_EDIT));
}

DialogTable algorithm()
{
    DialogTable table = modal(179, L"\u00A4Algorithm", 332, 230);
    addBrowsing(table, 4, 62, 70, 156, 120, {230, 248, 267, 285}, 326);
    table.controls.push_back(rightLabel(L"\u00A4Name", 4, 26, 62));
    table.controls.push_back(editText(1118, 70, 24, 172, 12, LINE_EDIT));

    table.controls.push_back(groupBox(L"\u00A4Ventilation", IDC_STATIC, 4, 42, 238, 58));
    table.controls.push_back(leftLabel(L"\u00A4Initial ventilations", 12, 56, 86));
    table.controls.push_back(editText(1110, 100, 54, 20, 12, NUMBER_EDIT));
    addRange(table, L"\u00A4Ventilation rate", 68, 1111, 1133, L"\u00A4/min");
    addRange(table, L"\u00A4Ventilation volume", 82, 1199, 1135, L"\u00A4L");

    table.controls.push_back(groupBox(L"\u00A4Compression", IDC_STATIC, 4, 102, 238, 74));
    addRange(table, L"\u00A4ECC rate", 114, 1136, 1137, L"\u00A4/min");
    addRange(table, L"\u00A4Comp./Relax. ratio", 128, 1140, 1141, L"%", 1360);
    // Percent notation shows the relaxation share beside the recommended
    // compression share; ratio notation hides it with the percent signs.
    table.controls.push_back(leftLabel(L"\u00A4Recommended", 12, 144, 86));
    table.controls.push_back(editText(1138, 100, 142, 28, 12, NUMBER_EDIT));
    table.controls.push_back(leftLabel(L"% /", 131, 144, 12, 1361));
    table.controls.push_back(editText(1148, 145, 142, 28, 12, ES_AUTOHSCROLL | ES_RIGHT | ES_READONLY | WS_BORDER));
    table.controls.push_back(leftLabel(L"%", 176, 144, 8, 1362));
    addRange(table, L"\u00A4Compression depth", 156, 1142, 1143, L"\u00A4mm");

    table.controls.push_back(groupBox(L"\u00A4Compression/Ventilation ratio", IDC_STATIC, 4, 178, 238, 46));
    addRatio(table, L"\u00A4Single-person CPR", 190, 1145, 1144);
    addRatio(table, L"\u00A4Two-person CPR", 206, 1147, 1146);
    // The scratch field through which a stored ratio is cut as the fields cut it.
    table.controls.push_back(hidden(editText(1139, 200, 206, 28, 12, NUMBER_EDIT)));

    addEditorButtons(table, 247, 201, 252, L"\u00A4&New algorithm", L"\u00A4&Delete algorithm", 193, 210);
    return table;
}

DialogTable person()
{
    DialogTable table = modal(216, L"\u00A4Person", 309, 178);
    addBrowsing(table, 4, 64, 70, 156, 173, {230, 248, 267, 285}, 304);
    const auto field = [&](const std::wstring& text, int id, int y, int cx, std::uint32_t style = LINE_EDIT,
                           int cy = 12) {
        const bool multiLine = style & ES_MULTILINE;
        table.controls.push_back(rightLabel(text, 4, y + (multiLine ? 1 : 2), 64));
        table.controls.push_back(editText(id, 70, y, cx, cy, style));
    };
    field(L"\u00A4Name", 1118, 24, 149);
    field(L"\u00A4Address", 1119, 40, 149, NOTES_EDIT, 35);
    field(L"\u00A4Phone", 1120, 80, 79);
    field(L"\u00A4Degree", 1122, 96, 149);
    field(L"\u00A4CPR courses", 1124, 112, 40);
    table.controls.push_back(rightLabel(L"\u00A4Resuscitations", 114, 114, 63));
    table.controls.push_back(editText(1125, 179, 112, 40, 12, LINE_EDIT));
    table.controls.push_back(rightLabel(L"\u00A4Instructor", 4, 130, 64));
    table.controls.push_back(control(L"", 1028, L"BUTTON", CHECK, 70, 128, 32, 12));
    field(L"\u00A4Notes", 1121, 144, 149, NOTES_EDIT, 29);
    addEditorButtons(table, 224, 150, 229, L"\u00A4&New person", L"\u00A4&Delete person", 142, 159);
    return table;
}

DialogTable scenario()
{
    DialogTable table = modal(220, L"\u00A4Scenario", 371, 141);
    addBrowsing(table, 20, 61, 84, 150, 75, {238, 254, 271, 287}, 362);
    table.controls.push_back(rightLabel(L"\u00A4Scenario name", 4, 26, 77));
    table.controls.push_back(editText(1118, 84, 24, 149, 12, LINE_EDIT));
    table.controls.push_back(rightLabel(L"\u00A4Duration", 4, 42, 77));
    table.controls.push_back(combo(1076, CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 84, 40, 66, 87));
    table.controls.push_back(rightLabel(L"\u00A4Algorithm", 4, 58, 77));
    table.controls.push_back(combo(1080, DROP_DOWN_LIST | CBS_SORT, 84, 56, 149, 75));
    table.controls.push_back(ownerDrawnButton(L"\u00A4Details...", 1084, 237, 55, 44, 14));
    table.controls.push_back(rightLabel(L"\u00A4Training mode", 4, 74, 77));
    table.controls.push_back(combo(1103, DROP_DOWN_LIST, 84, 72, 149, 87));
    table.controls.push_back(rightLabel(L"\u00A4Register events", 8, 89, 73));
    table.controls.push_back(control(L"", 1191, L"BUTTON", CHECK, 84, 88, 24, 10));
    table.controls.push_back(ownerDrawnButton(L"\u00A4Edit events...", 1174, 84, 102, 79, 14));
    addEditorButtons(table, 285, 113, 290, L"\u00A4&New scenario", L"\u00A4&Delete scenario", 106, 122);
    return table;
}

DialogTable editEvents()
{
    DialogTable table = modal(225, L"\u00A4Edit events", 280, 188);
    table.style |= WS_THICKFRAME;
    table.controls = {
        leftLabel(L"\u00A4Events associated with scenario:", 7, 7, 266, 1292),
        control(L"", 1174, L"SysListView32",
                LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP, 7, 19,
                266, 125),
        ownerDrawnButton(L"\u00A4Add", 1290, 34, 150, 50, 14),
        ownerDrawnButton(L"\u00A4Delete", 1113, 88, 150, 50, 14),
        ownerDrawnButton(L"\u00A4Move up", 1108, 142, 150, 50, 14),
        ownerDrawnButton(L"\u00A4Move down", 1166, 196, 150, 50, 14),
        ownerDrawnButton(L"\u00A4Close", IDCANCEL, 88, 168, 50, 14),
        ownerDrawnButton(L"\u00A4Help", 32800, 142, 168, 50, 14),
    };
    return table;
}

DialogTable event()
{
    DialogTable table = modal(232, L"\u00A4Event", 200, 172);
    table.controls = {
        rightLabel(L"\u00A4Name", 4, 9, 40),
        editText(1118, 48, 7, 145, 12, LINE_EDIT),
        rightLabel(L"\u00A4Tooltip", 4, 25, 40),
        editText(1294, 48, 23, 145, 12, LINE_EDIT),
        rightLabel(L"\u00A4Icon", 4, 43, 40),
        label(L"", 1295, 48, 40, 12, 12, SS_ICON | SS_CENTERIMAGE),
        control(L"", 1278, L"SysListView32", LVS_SMALLICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
                48, 56, 145, 88),
        ownerDrawnButton(L"\u00A4OK", IDOK, 89, 151, 50, 14),
        ownerDrawnButton(L"\u00A4Cancel", IDCANCEL, 143, 151, 50, 14),
    };
    return table;
}

} // namespace

std::vector<DialogTable> recordDialogTables() { return {algorithm(), person(), scenario(), editEvents(), event()}; }

void registerRecordDialogTables()
{
    for (const DialogTable& table : recordDialogTables())
        DialogRegistry::add(table);
}
