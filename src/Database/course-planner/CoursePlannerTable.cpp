#include "Database/course-planner/CoursePlannerTable.h"

#include "Rodezir/dialogs/DialogRegistry.h"

using namespace kova;

namespace {

constexpr std::uint32_t OWNER_DRAWN = BS_OWNERDRAW | WS_TABSTOP;
constexpr std::uint32_t LINE_EDIT = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr std::uint32_t READ_ONLY_EDIT = ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP;
constexpr std::uint32_t ES_AUTOVSCROLL = 0x40;
constexpr std::uint32_t ES_WANTRETURN = 0x1000;
constexpr std::uint32_t NOTES_EDIT = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
constexpr std::uint32_t EDITABLE_SORTED = CBS_DROPDOWN | CBS_SORT | WS_VSCROLL | WS_TABSTOP;
constexpr std::uint32_t SORTED_LIST = CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP;

DialogControlTable ownerDrawn(const std::wstring& text, int id, int x, int y, int cx, int cy)
{
    return control(text, id, L"BUTTON", OWNER_DRAWN, x, y, cx, cy);
}

DialogControlTable rightLabel(const std::wstring& text, int x, int y, int cx, int id = IDC_STATIC)
{
    return label(text, id, x, y, cx, 8, SS_RIGHT);
}

DialogControlTable combo(int id, std::uint32_t style, int x, int y, int cx, int cy)
{
    return control(L"", id, L"COMBOBOX", style, x, y, cx, cy);
}

// The controls of one visible schedule row, left to right: number, the two
// persons, manikin, start, end and "Details...".
struct RowIds {
    int number, ventilation, compression, manikin, start, end, details;
};
constexpr RowIds ROWS[4] = {
    {1134, 1243, 1030, 1032, 1200, 1201, 1202},
    {1203, 1035, 1219, 1236, 1378, 1204, 1205},
    {1206, 1251, 1037, 1039, 1207, 1208, 1209},
    {1210, 1041, 1220, 1237, 1211, 1212, 1149},
};

// Column lefts and widths of the schedule, shared by the headings and the rows.
constexpr int NUMBER_X = 4, NUMBER_CX = 14;
constexpr int VENTILATION_X = 20, COMPRESSION_X = 112, PERSON_CX = 90;
constexpr int MANIKIN_X = 204, MANIKIN_CX = 50;
constexpr int START_X = 256, END_X = 286, TIME_CX = 28;
constexpr int DETAILS_X = 316, DETAILS_CX = 40;
constexpr int FIRST_ROW_Y = 120, ROW_STEP = 16;

void addCourse(DialogTable& table)
{
    auto& c = table.controls;
    c.push_back(rightLabel(L"\u00A4&Quick Find", 4, 6, 46, 1298));
    c.push_back(combo(1242, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 54, 4, 190, 120));
    const int ids[] = {1126, 1117, 1116, 1127};
    const wchar_t* texts[] = {L"|<", L"<", L">", L">|"};
    for (int i = 0; i < 4; ++i)
        c.push_back(ownerDrawn(texts[i], ids[i], 250 + 18 * i, 3, 11, 12));
    c.push_back(label(L"", IDC_STATIC, 3, 21, 366, 1, SS_ETCHEDHORZ));

    c.push_back(rightLabel(L"\u00A4Instructor", 4, 29, 58));
    c.push_back(combo(1028, EDITABLE_SORTED, 66, 27, 150, 100));
    c.push_back(ownerDrawn(L"\u00A4Details...", 1130, 220, 26, 44, 14));
    c.push_back(rightLabel(L"\u00A4Date", 4, 45, 58));
    c.push_back(editText(1129, 66, 43, 46, 12, LINE_EDIT));
    c.push_back(rightLabel(L"\u00A4Start time", 114, 45, 46, 1313));
    c.push_back(editText(1109, 164, 43, 26, 12, LINE_EDIT));
    c.push_back(rightLabel(L"\u00A4Default scenario", 4, 61, 58));
    c.push_back(combo(1235, SORTED_LIST, 66, 59, 150, 80));
    c.push_back(ownerDrawn(L"\u00A4Details...", 1081, 220, 58, 44, 14));
    c.push_back(rightLabel(L"\u00A4Notes", 4, 76, 58));
    c.push_back(editText(1121, 66, 75, 198, 28, NOTES_EDIT));

    c.push_back(label(L"", 1308, 270, 26, 1, 77, SS_ETCHEDVERT));
    c.push_back(ownerDrawn(L"\u00A4&New course", 1112, 276, 26, 90, 14));
    c.push_back(ownerDrawn(L"\u00A4&Delete course", 1113, 276, 43, 90, 14));
    c.push_back(ownerDrawn(L"\u00A4&Save changes", 1114, 276, 60, 90, 14));
    c.push_back(ownerDrawn(L"\u00A4Disc&ard changes", 1115, 276, 77, 90, 14));
}

void addSchedule(DialogTable& table)
{
    auto& c = table.controls;
    // The selected row's frame lies below the rows, so it never covers what they show.
    DialogControlTable frame = label(L"", 1179, 0, FIRST_ROW_Y - 2, DETAILS_X + DETAILS_CX + 2, 16, SS_GRAYFRAME);
    frame.style &= ~WS_VISIBLE;
    c.push_back(frame);

    const int headingY = FIRST_ROW_Y - 10;
    c.push_back(label(L"\u00A4No.", 1314, NUMBER_X, headingY, NUMBER_CX, 8));
    c.push_back(label(L"\u00A4Ventilation", 1302, VENTILATION_X, headingY, PERSON_CX, 8));
    c.push_back(label(L"\u00A4Chest compression", 1304, COMPRESSION_X, headingY, PERSON_CX, 8));
    c.push_back(label(L"\u00A4Manikin", 1305, MANIKIN_X, headingY, MANIKIN_CX, 8));
    c.push_back(label(L"\u00A4Start", 1306, START_X, headingY, TIME_CX, 8));
    c.push_back(label(L"\u00A4End", 1307, END_X, headingY, TIME_CX, 8));

    for (int k = 0; k < 4; ++k) {
        const RowIds& row = ROWS[k];
        const int y = FIRST_ROW_Y + ROW_STEP * k;
        c.push_back(editText(row.number, NUMBER_X, y, NUMBER_CX, 12, READ_ONLY_EDIT | ES_RIGHT));
        c.push_back(combo(row.ventilation, EDITABLE_SORTED, VENTILATION_X, y, PERSON_CX, 100));
        c.push_back(combo(row.compression, EDITABLE_SORTED, COMPRESSION_X, y, PERSON_CX, 100));
        c.push_back(combo(row.manikin, EDITABLE_SORTED, MANIKIN_X, y, MANIKIN_CX, 80));
        c.push_back(editText(row.start, START_X, y, TIME_CX, 12, LINE_EDIT));
        c.push_back(editText(row.end, END_X, y, TIME_CX, 12, READ_ONLY_EDIT));
        c.push_back(ownerDrawn(L"\u00A4Details...", row.details, DETAILS_X, y - 1, DETAILS_CX, 14));
    }
    c.push_back(control(L"", 1256, L"SCROLLBAR", SBS_VERT, DETAILS_X + DETAILS_CX + 4, FIRST_ROW_Y, 9,
                        3 * ROW_STEP + 12));
}

void addCommands(DialogTable& table)
{
    auto& c = table.controls;
    const int top = FIRST_ROW_Y + 4 * ROW_STEP + 4;
    c.push_back(label(L"", IDC_STATIC, 3, top - 2, 366, 1, SS_ETCHEDHORZ));
    c.push_back(ownerDrawn(L"\u00A4Move row up", 1108, 4, top + 2, 16, 15));
    c.push_back(ownerDrawn(L"\u00A4Move row down", 1166, 4, top + 20, 16, 15));
    c.push_back(ownerDrawn(L"\u00A4Remove row", 1168, 100, top + 2, 16, 15));
    c.push_back(ownerDrawn(L"\u00A4Sort by start time", 1167, 100, top + 20, 16, 15));
    c.push_back(ownerDrawn(L"\u00A4Help", 32800, 196, top + 2, 50, 14));
    c.push_back(ownerDrawn(L"\u00A4Print schedule", 1169, 196, top + 20, 16, 15));
    c.push_back(ownerDrawn(L"\u00A4Run course...", 9, 300, top + 2, 66, 14));
    c.push_back(ownerDrawn(L"\u00A4&Close", IDCANCEL, 300, top + 20, 66, 14));
}

} // namespace

DialogTable coursePlannerDialogTable()
{
    DialogTable table;
    table.id = 217;
    table.caption = L"\u00A4Course planner";
    table.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | DS_SETFONT;
    table.cx = 372;
    table.cy = FIRST_ROW_Y + 4 * ROW_STEP + 4 + 38;
    addCourse(table);
    addSchedule(table);
    addCommands(table);
    return table;
}

void registerCoursePlannerTable() { DialogRegistry::add(coursePlannerDialogTable()); }
