#include "propertyPage/ConfigDialogTables.h"

#include "Rodezir/dialogs/DialogRegistry.h"

using namespace kova;

namespace {

constexpr std::uint32_t PAGE_STYLE = WS_CHILD | DS_CONTROL | DS_SETFONT;
constexpr std::uint32_t CHECK = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr std::uint32_t NUMBER_EDIT = ES_AUTOHSCROLL | ES_RIGHT | WS_BORDER | WS_TABSTOP;

DialogControlTable check(const std::wstring& text, int id, int x, int y, int cx)
{
    return control(text, id, L"BUTTON", CHECK, x, y, cx, 10);
}

DialogControlTable numberEdit(int id, int x, int y, int cx = 36) { return editText(id, x, y, cx, 12, NUMBER_EDIT); }

DialogControlTable combo(int id, std::uint32_t kind, int x, int y, int cx, int dropHeight = 120)
{
    return control(L"", id, L"COMBOBOX", kind | WS_VSCROLL | WS_TABSTOP, x, y, cx, dropHeight);
}

DialogControlTable hidden(DialogControlTable row)
{
    row.style &= ~WS_VISIBLE;
    return row;
}

DialogTable page(int id, const std::wstring& caption, int cx, int cy)
{
    DialogTable table;
    table.id = id;
    table.caption = caption;
    table.style = PAGE_STYLE;
    table.cx = cx;
    table.cy = cy;
    return table;
}

// The folder arrangement shared by 2001 and 255: the tab strip body covers
// the header picture and the page area; the buttons sit under it at the right.
DialogTable folder(int id, int width, int pageAreaWidth)
{
    DialogTable table;
    table.id = id;
    table.caption = L"\u00A4Configuration";
    table.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | DS_SETFONT;
    table.cx = width;
    table.cy = 214;
    const int right = width - 11;
    table.controls = {
        label(L"", 25501, 1, 1, width - 2, 192),
        label(L"#25505", 25502, 8, 17, 97, 172, SS_BITMAP | SS_CENTERIMAGE | SS_SUNKEN),
        hidden(label(L"", 25503, 108, 17, pageAreaWidth, 172, SS_BLACKFRAME)),
        defPushButton(L"\u00A4OK", IDOK, right - 158, 197, 50, 14),
        pushButton(L"\u00A4Cancel", IDCANCEL, right - 104, 197, 50, 14),
        pushButton(L"\u00A4Help", 25504, right - 50, 197, 50, 14),
    };
    return table;
}

DialogTable configurationView()
{
    DialogTable table = folder(255, 378, 252);
    table.controls.push_back(pushButton(L"\u00A4Get from REV Evezodidaz...", 3, 8, 197, 96, 14));
    table.controls.push_back(pushButton(L"\u00A4Send to REV Evezodidaz...", 4, 108, 197, 96, 14));
    return table;
}

DialogTable generalPage()
{
    DialogTable table = page(246, L"\u00A4General", 236, 172);
    table.controls = {
        groupBox(L"\u00A4End of session sound", IDC_STATIC, 7, 7, 222, 30),
        check(L"\u00A4Play sound when a session ends", 1339, 16, 20, 200),
        label(L"\u00A4Metronome frequency:", IDC_STATIC, 10, 50, 90, 10),
        numberEdit(1341, 104, 48, 40),
        label(L"\u00A4/min", IDC_STATIC, 148, 50, 30, 10),
        groupBox(L"\u00A4ECG graph", IDC_STATIC, 7, 70, 222, 30),
        check(L"\u00A4Enable ECG signal and show graph", 1487, 16, 83, 200),
    };
    return table;
}

DialogTable debriefing1Page()
{
    DialogTable table = page(245, L"\u00A4Debriefing 1", 236, 172);
    table.controls = {
        groupBox(L"\u00A4Debriefing format", IDC_STATIC, 7, 4, 222, 40),
        control(L"\u00A4As \"4 OK / 4 low / 12 high\"", 1363, L"BUTTON", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP,
                16, 15, 200, 10),
        control(L"\u00A4As \"20% OK / 20% low/ 60% high\"", 1364, L"BUTTON", BS_AUTORADIOBUTTON, 16, 28, 200, 10),
        check(L"\u00A4Show debrefing comments", 1350, 10, 48, 200),
        groupBox(L"\u00A4Ventilation", IDC_STATIC, 7, 60, 222, 84),
        check(L"\u00A4Show initial ventilations", 1347, 16, 71, 200),
        check(L"\u00A4Show ventilation rate", 1348, 16, 82, 200),
        check(L"\u00A4Show average ventilation volume", 1372, 16, 93, 200),
        check(L"\u00A4Show stomach inflations", 1351, 16, 104, 200),
        check(L"\u00A4Show ventilation minute volume", 1349, 16, 115, 200),
        label(L"\u00A4Correct ventilation minute volume:", IDC_STATIC, 16, 129, 122, 10),
        numberEdit(1376, 139, 127, 26),
        label(L"-", IDC_STATIC, 167, 129, 6, 10),
        numberEdit(1357, 173, 127, 26),
        label(L"\u00A4L/min", IDC_STATIC, 202, 129, 26, 10),
        groupBox(L"\u00A4Ventilation/compression", IDC_STATIC, 7, 146, 222, 24),
        check(L"\u00A4Show ventilation/compression ratio", 1374, 16, 157, 200),
    };
    return table;
}

DialogTable debriefing2Page()
{
    DialogTable table = page(250, L"\u00A4Debriefing 2", 252, 222);
    table.controls = {
        groupBox(L"\u00A4Compression", IDC_STATIC, 7, 4, 238, 136),
        check(L"\u00A4Show compression rate", 1350, 16, 15, 200),
        check(L"\u00A4Show compression/relaxation ratio", 1352, 16, 26, 200),
        label(L"\u00A4Compression/relaxation notation:", IDC_STATIC, 26, 39, 110, 10),
        combo(1271, CBS_DROPDOWNLIST, 140, 37, 60, 40),
        check(L"\u00A4Show compression depth", 1353, 16, 52, 200),
        check(L"\u00A4Show pause between ECC-ECC", 1354, 16, 63, 200),
        label(L"\u00A4Recommended maximum pause ECC-ECC", IDC_STATIC, 26, 76, 150, 10),
        numberEdit(1342, 180, 74, 30),
        label(L"\u00A4s", IDC_STATIC, 214, 76, 20, 10),
        check(L"\u00A4Show wrong hand positions", 1355, 16, 89, 200),
        check(L"\u00A4Show leanings", 1356, 16, 100, 200),
        check(L"\u00A4Show cardiac output volume", 1377, 16, 111, 200),
        label(L"\u00A4Recommended cardiac output volume:", IDC_STATIC, 26, 124, 130, 10),
        numberEdit(1336, 156, 122, 28),
        label(L"-", IDC_STATIC, 186, 124, 6, 10),
        numberEdit(1373, 192, 122, 28),
        label(L"\u00A4L/min", IDC_STATIC, 222, 124, 22, 10),
        groupBox(L"\u00A4Cardiac output calculation", IDC_STATIC, 7, 142, 238, 76),
        label(L"\u00A4Cardiac output per correct compression", IDC_STATIC, 16, 155, 140, 10),
        numberEdit(1338, 160, 153, 36),
        label(L"\u00A4L", IDC_STATIC, 200, 155, 20, 10),
        label(L"\u00A4Cardiac output per wrong hand position", IDC_STATIC, 16, 169, 140, 10),
        numberEdit(1339, 160, 167, 36),
        label(L"\u00A4L", IDC_STATIC, 200, 169, 20, 10),
        check(L"\u00A4Override correct compression depth from algorithm", 1358, 16, 184, 220),
        label(L"\u00A4Correct compression depth", IDC_STATIC, 26, 200, 100, 10),
        numberEdit(1340, 128, 198, 30),
        label(L"-", IDC_STATIC, 160, 200, 6, 10),
        numberEdit(1375, 167, 198, 30),
        label(L"\u00A4mm", IDC_STATIC, 200, 200, 20, 10),
    };
    return table;
}

DialogTable printPage()
{
    DialogTable table = page(251, L"\u00A4Print", 236, 172);
    table.controls = {
        groupBox(L"\u00A4Print heading", IDC_STATIC, 7, 4, 222, 52),
        editText(1335, 14, 15, 208, 36, ES_MULTILINE | 0x1000 /* ES_WANTRETURN */ | WS_VSCROLL | WS_BORDER | WS_TABSTOP),
        groupBox(L"\u00A4Print graph", IDC_STATIC, 7, 60, 222, 44),
        check(L"\u00A4Show graph on debriefing print", 1345, 16, 71, 200),
        label(L"\u00A4Graph max print time:", IDC_STATIC, 16, 87, 80, 10),
        numberEdit(1344, 98, 85, 30),
        control(L"", 1346, L"msctls_updown32", 0x20 | 0x80 | 0x4 | 0x2 /* buddy, arrow keys, set int */, 128, 85, 10, 12),
        label(L"\u00A4min.", IDC_STATIC, 142, 87, 30, 10),
        check(L"\u00A4Show event list on debriefing print", 1001, 10, 112, 215),
        check(L"\u00A4Show debriefing text on debriefing print", 1367, 10, 126, 215),
        check(L"\u00A4Show approval and comments fields on debriefing print", 1004, 10, 140, 220),
    };
    return table;
}

DialogTable controllerPage()
{
    DialogTable table = page(252, L"\u00A4REV Evezodidaz", 313, 244);
    const int iconIds[] = {1384, 1390, 1391, 1392, 1393, 1394};
    table.controls = {
        groupBox(L"\u00A4Scenario", IDC_STATIC, 7, 4, 299, 50),
        label(L"\u00A4Algorithm 1:", IDC_STATIC, 14, 18, 50, 10),
        combo(1080, CBS_DROPDOWNLIST | CBS_SORT, 66, 16, 170),
        pushButton(L"\u00A4Details...", 1084, 242, 15, 56, 14),
        label(L"\u00A4Algorithm 2:", IDC_STATIC, 14, 36, 50, 10),
        combo(1081, CBS_DROPDOWNLIST | CBS_SORT, 66, 34, 170),
        pushButton(L"\u00A4Details...", 1085, 242, 33, 56, 14),
        groupBox(L"\u00A4Language", IDC_STATIC, 7, 58, 146, 62),
        label(L"\u00A4Language 1:", IDC_STATIC, 14, 72, 48, 10),
        combo(1395, CBS_DROPDOWN | CBS_SORT, 64, 70, 82),
        label(L"\u00A4Language 2:", IDC_STATIC, 14, 88, 48, 10),
        combo(1396, CBS_DROPDOWN | CBS_SORT, 64, 86, 82),
        label(L"\u00A4Language 3:", IDC_STATIC, 14, 104, 48, 10),
        combo(1397, CBS_DROPDOWN | CBS_SORT, 64, 102, 82),
        groupBox(L"\u00A4Icons", IDC_STATIC, 160, 58, 146, 118),
    };
    for (int i = 0; i < 6; ++i) {
        const int y = 72 + 17 * i;
        table.controls.push_back(label(L"\u00A4Icon " + std::to_wstring(i + 1), IDC_STATIC, 168, y + 2, 34, 10));
        table.controls.push_back(combo(iconIds[i], CBS_DROPDOWNLIST | 0x10 /* CBS_OWNERDRAWFIXED */, 206, y, 92, 150));
    }
    table.controls.push_back(groupBox(L"\u00A4Icon legends", IDC_STATIC, 7, 124, 146, 52));
    table.controls.push_back(check(L"\u00A4Enable legends", 1405, 14, 137, 120));
    table.controls.push_back(pushButton(L"\u00A4Edit icon legends", 1404, 14, 154, 90, 14));
    table.controls.push_back(hidden(label(L"\u00A4Register events", IDC_STATIC, 14, 184, 70, 10)));
    table.controls.push_back(hidden(check(L"     ", 1389, 86, 184, 20)));
    table.controls.push_back(pushButton(L"\u00A4Look for REV Evezodidazs...", 1101, 7, 224, 120, 14));
    return table;
}

DialogTable iconLegends()
{
    DialogTable table;
    table.id = 286;
    table.caption = L"\u00A4Icon legends";
    table.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_SETFONT;
    table.cx = 186;
    table.cy = 140;
    const int pictures[] = {1406, 1407, 1412, 1413, 1414, 1415};
    for (int i = 0; i < 6; ++i) {
        const int y = 8 + 18 * i;
        table.controls.push_back(label(L"", pictures[i], 10, y + 2, 12, 10, SS_BITMAP));
        table.controls.push_back(editText(1333 + i, 28, y, 150, 12));
    }
    table.controls.push_back(defPushButton(L"\u00A4OK", IDOK, 72, 120, 50, 14));
    table.controls.push_back(pushButton(L"\u00A4Cancel", IDCANCEL, 128, 120, 50, 14));
    return table;
}

} // namespace

std::vector<DialogTable> configDialogTables()
{
    return {folder(2001, 350, 236), configurationView(), generalPage(),    debriefing1Page(),
            debriefing2Page(),      printPage(),         controllerPage(), iconLegends()};
}

void registerConfigDialogTables()
{
    for (const DialogTable& table : configDialogTables())
        DialogRegistry::add(table);
}
