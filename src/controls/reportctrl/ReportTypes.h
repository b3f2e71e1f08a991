#pragma once
// What callers of the report control pass and get back: the item description,
// the subitem (column) definition, the style and option numbers, and the
// notification record the control sends its parent with its codes.

#include <QPoint>
#include <QRect>

#include <cstdint>
#include <string>

class QPainter;
class QWidget;

namespace kova {

class CReportCtrl;

// Style bits of the control (the low word of its window style).
enum ReportStyle : std::uint32_t {
    RVS_SINGLESELECT = 0x0001,
    RVS_SHOWSELALWAYS = 0x0002,
    RVS_SHOWCOLORALWAYS = 0x0004,
    RVS_SHOWEVENBKCOLOR = 0x0008,
    RVS_SHOWHGRID = 0x0010,
    RVS_SHOWVGRID = 0x0020,
    RVS_NOHEADER = 0x0040,
    RVS_ALLOWEDIT = 0x0200,
    RVS_EXPANDGRID = 0x0400,
    RVS_OWNERDATA = 0x0800,
    RVS_FOCUSSUBITEMS = 0x1000,
    RVS_SHOWTIPS = 0x2000,
};

// Mask bits of the item description.
enum ReportItemMask : unsigned {
    RVIM_TEXT = 0x01,
    RVIM_TEXTCOLOR = 0x02,
    RVIM_IMAGE = 0x04,
    RVIM_CHECK = 0x08,
    RVIM_BKCOLOR = 0x10,
    RVIM_ROWHEIGHT = 0x20,
    RVIM_STATE = 0x40,
    RVIM_LPARAM = 0x80,
};

// Item states.
enum ReportItemState : unsigned {
    RVIS_FOCUSED = 0x01,
    RVIS_SELECTED = 0x02,
    RVIS_BOLD = 0x04,
    RVIS_READONLY = 0x08,
};

// Subitem format bits beyond the header item's alignment, image and caption bits.
enum ReportSubItemFormat : std::uint32_t {
    RVCF_LEFT = 0x0000,
    RVCF_RIGHT = 0x0001,
    RVCF_CENTER = 0x0002,
    RVCF_JUSTIFYMASK = 0x0003,
    RVCF_IMAGE = 0x0800,
    RVCF_TEXT = 0x4000,
    RVCF_EX_AUTOWIDTH = 0x010000,
    RVCF_EX_FIXEDWIDTH = 0x040000,
    RVCF_EX_TOOLTIP = 0x080000,
    RVCF_EX_PERSISTENT = 0x100000,
    RVCF_SUBITEM_IMAGE = 0x2000000,
    RVCF_SUBITEM_NOFOCUS = 0x4000000,
};

// findItem criteria.
enum ReportFindFlags : unsigned {
    RVFI_TEXT = 0x01,
    RVFI_PARTIAL = 0x02,
    RVFI_IMAGE = 0x04,
    RVFI_CHECK = 0x08,
    RVFI_WRAP = 0x100,
    RVFI_UP = 0x200,
};

// Options of setOption.
enum ReportOption {
    RVOP_CELLMARGIN = 1,
    RVOP_CHECKSIZE = 2,
    RVOP_NOITEMTEXT = 3,
    RVOP_GRIDSTYLE = 4,
    RVOP_TOOLTIPFORMAT = 5,
    RVOP_ENABLEMASK = 6,
    RVOP_CACHING = 7,
    RVOP_SEPARATOR = 8,
};

// Notification codes; a code is sent only while bit (-2048 - code) of the enable mask is set.
enum ReportNotification : int {
    RVN_ITEMDRAWPREVIEW = -2048,
    RVN_SELECTIONCHANGING = -2051,
    RVN_SELECTIONCHANGED = -2052,
    RVN_LAYOUTCHANGED = -2054,
    RVN_ITEMDELETED = -2055,
    RVN_ITEMCALLBACK = -2056,
    RVN_BEGINITEMEDIT = -2057,
    RVN_ENDITEMEDIT = -2058,
    RVN_KEYDOWN = -2059,
    RVN_DIVIDERDBLCLICK = -2060,
};

// Scroll request codes of the vertical and horizontal scroll handlers.
enum ReportScrollCode {
    SB_LINEUP = 0,
    SB_LINELEFT = 0,
    SB_LINEDOWN = 1,
    SB_LINERIGHT = 1,
    SB_PAGEUP = 2,
    SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_LEFT = 6,
    SB_BOTTOM = 7,
    SB_RIGHT = 7,
};

// The virtual keys the control reacts to.
enum ReportKey {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
};

inline constexpr int WHEEL_PAGESCROLL = -1;
inline constexpr int REPORT_TEXT_LIMIT = 256;

// One cell and its row, as callers set and get them. `item` is the item
// handle (the insertion position for insertItem). Slots 3 and 5-7 are per
// cell, 8-11 per item; the mask selects which are read or written, and on
// return from getItem tells which are valid.
struct ReportItem {
    unsigned mask = 0;
    int item = 0;
    int subItem = 0;
    std::string text;
    int textMax = REPORT_TEXT_LIMIT;
    int textColor = -1;
    int image = -1;
    int check = -1;
    int bkColor = -1;
    int rowHeight = 0;
    unsigned state = 0;
    std::intptr_t data = 0;
};

// One column definition.
struct ReportSubItem {
    std::uint32_t format = RVCF_LEFT | RVCF_TEXT;
    int width = -1;
    int minWidth = 0;
    int maxWidth = -1;
    int image = 0;
    std::string caption;
};

// The record of every notification. Which fields carry what depends on the code:
//  item record (-2051, -2052, -2054, -2055, -2059): item, subItem, newState, data;
//      for -2059 also value (the virtual key) and flags (the key flags);
//  column record (-2060): subItem;
//  display-info record (-2056): displayInfo, which the parent fills;
//  edit record (-2057, -2058): item, subItem, editor, rect, character, text, data;
//  extra-area record (-2048): item, newState (the item's state), painter, rect, data.
// The parent answers by setting `result`; non-zero means it took the matter over.
struct ReportNotify {
    int code = 0;
    int idFrom = 0;
    CReportCtrl* from = nullptr;
    int value = 0;
    QPoint point;
    unsigned flags = 0;
    int item = -1;
    int subItem = -1;
    unsigned newState = 0;
    std::intptr_t data = 0;
    ReportItem displayInfo;
    QWidget* editor = nullptr;
    QRect rect;
    int character = 0;
    std::string text;
    QPainter* painter = nullptr;
    long result = 0;
};

} // namespace kova
