#pragma once
// Fills the port choice boxes of the station's dialogs from the port registry:
// one entry per ready port, its port number as the entry's data.

class CalibrateManager;
class QComboBox;

class PortCombo {
public:
    // "USB <n>" for a COM port, the manikin's name for a wireless one; the
    // first entry selected. False when no port is ready (the box stays empty).
    static bool fillUsbCombo(QComboBox& combo, const CalibrateManager& manager);
    // The same ports as "<n> - USB" and "<n> - <name>".
    static bool fillPortCombo(QComboBox& combo, const CalibrateManager& manager);
    // The port number of the selected entry, or 0 when none is selected.
    static int selectedPort(const QComboBox& combo);
};
