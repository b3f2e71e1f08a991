#pragma once
// The four training modes a session or scenario is run in, kept in the
// records as their index, and their translated names. The combo-box side is
// in Database/TrainingModeCombo.h.

#include <string>

namespace TrainingMode {

inline constexpr int SINGLE_PERSON = 0;    // "Single-person CPR"
inline constexpr int TWO_PERSON = 1;       // "Two-person CPR"
inline constexpr int VENTILATION_ONLY = 2; // "Ventilation only"
inline constexpr int COMPRESSION_ONLY = 3; // "Chest compression only"
inline constexpr int COUNT = 4;
// The mode of a new record and of a freshly filled mode combo box.
inline constexpr int DEFAULT_MODE = TWO_PERSON;

// The English message id of a mode; null for a value outside 0 to 3.
const char* englishText(int mode);
// The translated name of a mode; empty for a value outside 0 to 3.
std::wstring getText(int mode);

// The participant names as the mode has them, without default names: in
// single-person CPR the ventilation participant does the compressions too,
// and a participant that takes no part in the mode has no name.
void keepParticipants(int mode, std::string& ventilation, std::string& compression);

} // namespace TrainingMode
