#pragma once
// Dialog 131, the live graph panel of a session: the column of controls on
// the left (time, start and pause, zoom, the five display switches, the
// panel's buttons and the battery) and the four labels at the corners of the
// graph area, whose left edge is where label 1005 stands. The panel places
// the graphs, toolbars and scroll bar itself.

#include "Rodezir/dialogs/DialogTable.h"

class LivePanelTemplate {
public:
    static constexpr int TEMPLATE_ID = 131;

    static constexpr int IDC_TIME_GROUP = 1009;
    static constexpr int IDC_TIME_BAR = 1105;
    static constexpr int IDC_START = 1018;
    static constexpr int IDC_PAUSE = 1023;
    static constexpr int IDC_ZOOM_LIST = 1010;
    static constexpr int IDC_ZOOM_SPIN = 1024;
    static constexpr int IDC_MAGNIFY = 1025;
    static constexpr int IDC_DE_MAGNIFY = 1026;
    static constexpr int IDC_PROBLEMS = 1001;
    static constexpr int IDC_EVENTS = 1003;
    static constexpr int IDC_CR_RATIO = 1013;
    static constexpr int IDC_CARDIAC_OUTPUT = 1321;
    static constexpr int IDC_ECG_SIGNAL = 1409;
    static constexpr int IDC_PRINT = 1296;
    static constexpr int IDC_HELP = 32800;
    static constexpr int IDC_DEBRIEFING = 1019;
    static constexpr int IDC_ECG_BOX = 1020;
    static constexpr int IDC_BATTERY = 1410;
    static constexpr int IDC_VENTILATION_LABEL = 1005;
    static constexpr int IDC_COMPRESSION_LABEL = 1006;
    static constexpr int IDC_POSITION_LABEL = 1007;
    static constexpr int IDC_RATE_LABEL = 1008;
    // The event toolbars the panel makes above and below the curves.
    static constexpr int IDC_UPPER_TOOLBAR = 1014;
    static constexpr int IDC_LOWER_TOOLBAR = 1015;

    static kova::DialogTable table();
    // Adds the table to the dialog registry (again: it is replaced).
    static void registerTemplate();
};
