#pragma once
// The "Approved" combo box of the session windows: an entry for each value a
// session row keeps, so the selected index is the row's value.

class QComboBox;

namespace Approval {

// Fills the box with the empty entry (not decided), the translated "Yes" and
// "No", and selects the empty one.
void fillCombo(QComboBox* comboBox);

} // namespace Approval
