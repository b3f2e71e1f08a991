#include "Database/TrainingMode.h"

#include "gettext/Gettext.h"

#include <array>

namespace TrainingMode {
namespace {

constexpr std::array<const char*, COUNT> TEXTS{
    "Single-person CPR",
    "Two-person CPR",
    "Ventilation only",
    "Chest compression only",
};

} // namespace

const char* englishText(int mode)
{
    if (mode < 0 || mode >= COUNT)
        return nullptr;
    return TEXTS[static_cast<std::size_t>(mode)];
}

std::wstring getText(int mode)
{
    const char* text = englishText(mode);
    return text ? Gettext::translate(text) : std::wstring();
}

void keepParticipants(int mode, std::string& ventilation, std::string& compression)
{
    switch (mode) {
    case SINGLE_PERSON:
        compression = ventilation;
        break;
    case VENTILATION_ONLY:
        compression.clear();
        break;
    case COMPRESSION_ONLY:
        ventilation.clear();
        break;
    default:
        break;
    }
}

} // namespace TrainingMode
