#pragma once
// The session-length combo box of the dialogs: the usual lengths to choose
// from, a typed "m:ss" read back as seconds. The texts are those of
// Database/Duration.h.

class QComboBox;

namespace Duration {

// Appends "00:30", "01:00", "02:00", "05:00", "10:00", "20:00" and the
// translated "No limit", and shows "02:00". A sorted box is logged as a fault
// (the lengths would lose their order) and filled all the same.
void fillCombo(QComboBox* comboBox);
// Shows the duration: its list entry is selected, or typed into an editable box.
void select(QComboBox* comboBox, long seconds);
// The seconds of the selected or typed text; -1 for no limit, for an
// unreadable text and (logged) for a missing box.
long getSelected(const QComboBox* comboBox);

} // namespace Duration
