#pragma once
// A dialog as data: the table that each dialog keeps beside its code (caption,
// style, font, rectangle in dialog units, and its controls in tab order). The
// template codec turns a table into the template bytes the dialog builder and
// DialogTemplate work on, and reads such bytes back into a table.

#include <cstdint>
#include <string>
#include <vector>

namespace kova {

// Window and dialog styles the tables use.
inline constexpr std::uint32_t WS_POPUP = 0x80000000;
inline constexpr std::uint32_t WS_CHILD = 0x40000000;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000;
inline constexpr std::uint32_t WS_BORDER = 0x00800000;
inline constexpr std::uint32_t WS_VSCROLL = 0x00200000;
inline constexpr std::uint32_t WS_HSCROLL = 0x00100000;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000;
inline constexpr std::uint32_t WS_THICKFRAME = 0x00040000;
inline constexpr std::uint32_t WS_GROUP = 0x00020000;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000;
inline constexpr std::uint32_t DS_SETFONT = 0x40;
inline constexpr std::uint32_t DS_MODALFRAME = 0x80;
inline constexpr std::uint32_t DS_CONTROL = 0x400;
inline constexpr std::uint32_t DS_CENTER = 0x800;
inline constexpr std::uint32_t DS_SHELLFONT = DS_SETFONT | 0x8;

// Button styles (low four bits: the kind of button).
inline constexpr std::uint32_t BS_PUSHBUTTON = 0x0;
inline constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x1;
inline constexpr std::uint32_t BS_CHECKBOX = 0x2;
inline constexpr std::uint32_t BS_AUTOCHECKBOX = 0x3;
inline constexpr std::uint32_t BS_RADIOBUTTON = 0x4;
inline constexpr std::uint32_t BS_3STATE = 0x5;
inline constexpr std::uint32_t BS_AUTO3STATE = 0x6;
inline constexpr std::uint32_t BS_GROUPBOX = 0x7;
inline constexpr std::uint32_t BS_AUTORADIOBUTTON = 0x9;
inline constexpr std::uint32_t BS_OWNERDRAW = 0xB;
inline constexpr std::uint32_t BS_TYPEMASK = 0xF;

// Edit styles.
inline constexpr std::uint32_t ES_CENTER = 0x1;
inline constexpr std::uint32_t ES_RIGHT = 0x2;
inline constexpr std::uint32_t ES_MULTILINE = 0x4;
inline constexpr std::uint32_t ES_PASSWORD = 0x20;
inline constexpr std::uint32_t ES_AUTOHSCROLL = 0x80;
inline constexpr std::uint32_t ES_READONLY = 0x800;
inline constexpr std::uint32_t ES_NUMBER = 0x2000;

// Static styles (low five bits: the kind of static).
inline constexpr std::uint32_t SS_LEFT = 0x0;
inline constexpr std::uint32_t SS_CENTER = 0x1;
inline constexpr std::uint32_t SS_RIGHT = 0x2;
inline constexpr std::uint32_t SS_ICON = 0x3;
inline constexpr std::uint32_t SS_BLACKRECT = 0x4;
inline constexpr std::uint32_t SS_GRAYRECT = 0x5;
inline constexpr std::uint32_t SS_WHITERECT = 0x6;
inline constexpr std::uint32_t SS_BLACKFRAME = 0x7;
inline constexpr std::uint32_t SS_GRAYFRAME = 0x8;
inline constexpr std::uint32_t SS_WHITEFRAME = 0x9;
inline constexpr std::uint32_t SS_SIMPLE = 0xB;
inline constexpr std::uint32_t SS_LEFTNOWORDWRAP = 0xC;
inline constexpr std::uint32_t SS_OWNERDRAW = 0xD;
inline constexpr std::uint32_t SS_BITMAP = 0xE;
inline constexpr std::uint32_t SS_ETCHEDHORZ = 0x10;
inline constexpr std::uint32_t SS_ETCHEDVERT = 0x11;
inline constexpr std::uint32_t SS_ETCHEDFRAME = 0x12;
inline constexpr std::uint32_t SS_TYPEMASK = 0x1F;
inline constexpr std::uint32_t SS_NOTIFY = 0x100;
inline constexpr std::uint32_t SS_CENTERIMAGE = 0x200;
inline constexpr std::uint32_t SS_SUNKEN = 0x1000;

// Combo box, list box, scroll bar and progress styles.
inline constexpr std::uint32_t CBS_SIMPLE = 0x1;
inline constexpr std::uint32_t CBS_DROPDOWN = 0x2;
inline constexpr std::uint32_t CBS_DROPDOWNLIST = 0x3;
inline constexpr std::uint32_t CBS_SORT = 0x100;
inline constexpr std::uint32_t LBS_NOTIFY = 0x1;
inline constexpr std::uint32_t LBS_SORT = 0x2;
inline constexpr std::uint32_t LBS_MULTIPLESEL = 0x8;
inline constexpr std::uint32_t LBS_EXTENDEDSEL = 0x800;
inline constexpr std::uint32_t SBS_VERT = 0x1;
inline constexpr std::uint32_t PBS_VERTICAL = 0x4;
inline constexpr std::uint32_t LVS_ICON = 0x0;
inline constexpr std::uint32_t LVS_REPORT = 0x1;
inline constexpr std::uint32_t LVS_SMALLICON = 0x2;
inline constexpr std::uint32_t LVS_LIST = 0x3;
inline constexpr std::uint32_t LVS_TYPEMASK = 0x3;
inline constexpr std::uint32_t LVS_SINGLESEL = 0x4;
inline constexpr std::uint32_t LVS_SHOWSELALWAYS = 0x8;
inline constexpr std::uint32_t LVS_NOSORTHEADER = 0x8000;

// The ids of the standard buttons.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDHELP = 9;
inline constexpr int IDC_STATIC = -1;

// A menu, class or text field of a template: a name, or a 16-bit ordinal.
struct TemplateName {
    std::wstring text;
    int ordinal = -1; // 0..65535 when the field is an ordinal

    bool isOrdinal() const { return ordinal >= 0; }
    static TemplateName number(int value) { return {{}, value}; }
    friend bool operator==(const TemplateName&, const TemplateName&) = default;
};

// One control: its window class ("BUTTON", "EDIT", "STATIC", "COMBOBOX",
// "LISTBOX", "SCROLLBAR" or a registered class name), text (a caption that
// begins with the translation marker is translated when the dialog is
// created), style, and rectangle in dialog units.
struct DialogControlTable {
    int id = IDC_STATIC;
    std::wstring windowClass;
    TemplateName text;
    std::uint32_t style = WS_CHILD | WS_VISIBLE;
    std::uint32_t exStyle = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    std::uint32_t helpId = 0;
    std::vector<std::uint8_t> creationData;
    friend bool operator==(const DialogControlTable&, const DialogControlTable&) = default;
};

// One dialog. A font block is written when the style holds DS_SETFONT.
struct DialogTable {
    int id = 0;
    std::wstring caption;
    std::uint32_t style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    std::uint32_t exStyle = 0;
    std::uint32_t helpId = 0;
    std::wstring fontFace = L"MS Sans Serif";
    int pointSize = 8;
    int weight = 0;
    int italic = 0;
    int charset = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    TemplateName menu;
    TemplateName windowClass;
    std::vector<DialogControlTable> controls;
    friend bool operator==(const DialogTable&, const DialogTable&) = default;
};

// Shorthands for writing control rows the way resource scripts read.
DialogControlTable pushButton(const std::wstring& text, int id, int x, int y, int cx, int cy,
                              std::uint32_t style = WS_TABSTOP);
DialogControlTable defPushButton(const std::wstring& text, int id, int x, int y, int cx, int cy,
                                 std::uint32_t style = WS_TABSTOP);
// A button the program draws itself (the station's round buttons).
DialogControlTable ownerDrawnButton(const std::wstring& text, int id, int x, int y, int cx, int cy,
                                    std::uint32_t style = WS_TABSTOP);
DialogControlTable label(const std::wstring& text, int id, int x, int y, int cx, int cy,
                         std::uint32_t style = SS_LEFT);
DialogControlTable groupBox(const std::wstring& text, int id, int x, int y, int cx, int cy);
DialogControlTable editText(int id, int x, int y, int cx, int cy,
                            std::uint32_t style = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP);
DialogControlTable control(const std::wstring& text, int id, const std::wstring& windowClass,
                           std::uint32_t style, int x, int y, int cx, int cy);

} // namespace kova
