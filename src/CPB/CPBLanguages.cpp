#include "CPB/CPBLanguages.h"

#include "CPB/CPBText.h"
#include "Rodezir/LogStream.h"
#include "config/LangStruct.h"
#include "config/PropertyModel.h"

bool CPBLanguages::encodeSelection(const PropertyModel& setup, Bytes& out)
{
    Bytes positions;
    for (int slot = 0; slot < NUMBER_OF_LANGS; ++slot) {
        const std::string code = setup.getLanguage(slot);
        const int index = LangStruct::indexOf(code);
        if (index < 0) {
            LogStream::instance() << "Controller language " << slot + 1 << ": the code \"" << code
                                  << "\" is not in the language table\n";
            return false;
        }
        positions.push_back(static_cast<std::uint8_t>(index));
    }
    out = positions;
    return true;
}

CPBLanguages::Bytes CPBLanguages::encodeName(int index)
{
    if (index < 0 || index >= LangStruct::ENTRY_COUNT - 1)
        return {};
    return CPBText::padded(CPBText::fromWide(LangStruct::getName(index)), NAME_WIDTH);
}
