#pragma once
// The training-mode combo box of the dialogs, and the two participant combo
// boxes that follow the mode: the ventilation participant (A) and the chest
// compression participant (B), each with an optional "Details..." button.

class QComboBox;
class QWidget;

namespace TrainingMode {

// Inserts the four translated mode names at the indexes 0 to 3 (so an
// index is a mode) and selects "Two-person CPR". A sorted box is logged as
// a fault and filled all the same.
void fillCombo(QComboBox* comboBox);

// Enables the participants the mode needs: single-person CPR has one user
// in both roles (B follows A), two-person CPR two users, ventilation only
// no B and compression only no A. With setDefaults, an empty or default
// participant name becomes "User" (one user) or "User 1" / "User 2" (the
// translated defaults, or empty texts without defaultNames), a participant
// that takes no part is emptied, and a person's name stays as typed.
// The buttons may be null.
void fillParticipants(int mode, QComboBox* comboA, QWidget* buttonA, QComboBox* comboB, QWidget* buttonB,
                      bool setDefaults, bool defaultNames);

} // namespace TrainingMode
