#pragma once
// The zoom list of the graph windows (the live graph panel, the surveillance
// view): a drop-down list of the visible time windows with their lengths in
// milliseconds as item data, and the up-down control beside it that steps
// through the list and always sits on the list's selection.

class QComboBox;
class QSpinBox;

class ZoomCombo {
public:
    // Empties the list and fills it with the eleven windows of ZoomWindows;
    // the window of `defaultMs` is selected and becomes the up-down's
    // position, the up-down's range being the list's indexes. A default that
    // is not in the list is a fault, logged, and leaves nothing selected.
    static void fill(QComboBox& combo, QSpinBox* upDown, int defaultMs);
    // Selects entry `index` (clamped to the list) and moves the up-down there.
    static void select(QComboBox& combo, QSpinBox* upDown, int index);
    // The milliseconds of the selected entry; 0 without a selection.
    static int selectedMilliseconds(const QComboBox& combo);
};
