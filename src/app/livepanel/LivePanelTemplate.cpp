#include "app/livepanel/LivePanelTemplate.h"

#include "Rodezir/dialogs/DialogRegistry.h"

using namespace kova;

namespace {

constexpr std::uint32_t CHECK = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr std::uint32_t ROUND = BS_OWNERDRAW | WS_TABSTOP;
constexpr std::uint32_t BITMAP_BUTTON = BS_OWNERDRAW | WS_TABSTOP;
constexpr std::uint32_t UDS_ALIGNRIGHT = 0x4;
constexpr std::uint32_t UDS_ARROWKEYS = 0x20;

// The column of controls is 84 units wide; the graph area begins at 94.
constexpr int COLUMN_X = 4;
constexpr int COLUMN_WIDTH = 84;
constexpr int GRAPH_LEFT = 94;
constexpr int WIDTH = 480;
constexpr int HEIGHT = 300;

DialogControlTable disabled(DialogControlTable row)
{
    row.style |= WS_DISABLED;
    return row;
}

DialogControlTable button(const std::wstring& text, int id, int y)
{
    return control(text, id, L"BUTTON", ROUND, COLUMN_X, y, COLUMN_WIDTH, 14);
}

DialogControlTable check(const std::wstring& text, int id, int y)
{
    return control(text, id, L"BUTTON", CHECK, COLUMN_X + 8, y, COLUMN_WIDTH - 12, 10);
}

} // namespace

DialogTable LivePanelTemplate::table()
{
    DialogTable table;
    table.id = TEMPLATE_ID;
    table.style = WS_CHILD | WS_VISIBLE | DS_CONTROL | DS_SETFONT;
    table.cx = WIDTH;
    table.cy = HEIGHT;
    // The start and pause buttons and the magnifiers take their pictures'
    // size when the panel loads them.
    table.controls = {
        groupBox(L"\u00A4Time", IDC_TIME_GROUP, COLUMN_X, 2, COLUMN_WIDTH, 46),
        disabled(control(L"", IDC_TIME_BAR, L"msctls_progress32", WS_BORDER, COLUMN_X + 6, 14, COLUMN_WIDTH - 12, 8)),
        control(L"START_", IDC_START, L"BUTTON", BITMAP_BUTTON, COLUMN_X + 16, 27, 16, 15),
        control(L"PAUSE_", IDC_PAUSE, L"BUTTON", BITMAP_BUTTON, COLUMN_X + 52, 27, 16, 15),
        groupBox(L"\u00A4Zoom", IDC_STATIC, COLUMN_X, 52, COLUMN_WIDTH, 48),
        control(L"", IDC_ZOOM_LIST, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, COLUMN_X + 6, 64, 56, 120),
        control(L"", IDC_ZOOM_SPIN, L"msctls_updown32", UDS_ALIGNRIGHT | UDS_ARROWKEYS, COLUMN_X + 64, 64, 14, 12),
        disabled(control(L"MAGNIFY_", IDC_MAGNIFY, L"BUTTON", BITMAP_BUTTON, COLUMN_X + 16, 80, 16, 15)),
        disabled(control(L"DE_MAGNIFY_", IDC_DE_MAGNIFY, L"BUTTON", BITMAP_BUTTON, COLUMN_X + 52, 80, 16, 15)),
        groupBox(L"\u00A4Show", IDC_STATIC, COLUMN_X, 104, COLUMN_WIDTH, 72),
        check(L"\u00A4Problems", IDC_PROBLEMS, 116),
        check(L"\u00A4Events", IDC_EVENTS, 127),
        check(L"\u00A4C/R ratio", IDC_CR_RATIO, 138),
        check(L"\u00A4Cardiac out.", IDC_CARDIAC_OUTPUT, 149),
        disabled(check(L"\u00A4ECG-signal", IDC_ECG_SIGNAL, 160)),
        button(L"\u00A4Debriefing >>", IDC_DEBRIEFING, 182),
        button(L"\u00A4Print...", IDC_PRINT, 199),
        disabled(button(L"\u00A4ECG BOX", IDC_ECG_BOX, 216)),
        button(L"\u00A4Help", IDC_HELP, 233),
        button(L"\u00A4Abort", IDCANCEL, 250),
        control(L"", IDC_BATTERY, L"STATIC", SS_BITMAP | SS_CENTERIMAGE, COLUMN_X + 22, 270, 40, 16),
        label(L"", IDC_VENTILATION_LABEL, GRAPH_LEFT, 0, 230, 9, SS_LEFTNOWORDWRAP),
        label(L"", IDC_COMPRESSION_LABEL, GRAPH_LEFT, HEIGHT - 9, 230, 9, SS_LEFTNOWORDWRAP),
        label(L"pos:", IDC_POSITION_LABEL, GRAPH_LEFT + 230, 0, WIDTH - GRAPH_LEFT - 230, 9, SS_RIGHT),
        label(L"- comp./min", IDC_RATE_LABEL, GRAPH_LEFT + 230, HEIGHT - 9, WIDTH - GRAPH_LEFT - 230, 9, SS_RIGHT),
    };
    DialogControlTable ok = disabled(defPushButton(L"\u00A4OK", IDOK, COLUMN_X, HEIGHT - 16, 40, 14));
    ok.style &= ~WS_VISIBLE;
    table.controls.push_back(ok);
    return table;
}

void LivePanelTemplate::registerTemplate() { DialogRegistry::add(table()); }
