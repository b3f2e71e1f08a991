#include "CPB/CPBSetup.h"

#include "CPB/BarGenerator.h"
#include "CPB/CPBAlgorithmBlock.h"
#include "CPB/CPBConfiguration.h"
#include "CPB/CPBIconStrip.h"
#include "CPB/CPBLanguages.h"
#include "CPB/CPBMessage.h"
#include "CPB/CPBText.h"
#include "CPB/DebriefGenerator.h"
#include "CPB/GraphGenerator.h"
#include "CPB/Pointer.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "config/LangStruct.h"

int CPBSetup::pageArea(int a, int k)
{
    // The areas alternate between the algorithms, language by language.
    return Pointer::DEBRIEF_A1_L1 + 2 * k + a;
}

bool CPBSetup::fail(std::wstring cause)
{
    LogStream::instance() << "The set-up was not sent to the controller: " << toNarrow(cause, CP_UTF8) << "\n";
    problem_ = std::move(cause);
    return false;
}

bool CPBSetup::make(const PropertyModel& settings)
{
    problem_.clear();
    using M = CPBMessage;

    for (int slot = 0; slot < NUMBER_OF_ICONS; ++slot) {
        const int number = settings.getIcon(slot);
        // The controller's slots take any of the station's icons, not only the first six.
        if (number < 0 || number >= CPBIconStrip::ICON_COUNT)
            return fail(M::text("Icon %s: there is no icon number %s.", {M::number(slot + 1), M::number(number)}));
        icons[static_cast<std::size_t>(slot)] = number;
    }

    languages.clear();
    for (int slot = 0; slot < NUMBER_OF_LANGS; ++slot) {
        const std::string code = settings.getLanguage(slot);
        const int index = LangStruct::indexOf(code);
        if (index < 0)
            return fail(M::text("Language %s: \"%s\" is no language the controller can show.",
                                {M::number(slot + 1), toWide(code, CP_UTF8)}));
        languages.push_back(static_cast<std::uint8_t>(index));
        languageNames[static_cast<std::size_t>(slot)] = CPBLanguages::encodeName(index);
    }

    configuration = CPBConfiguration::encode(settings);
    companyName = CPBText::terminated(CPBText::fromWide(settings.printHeading),
                                      static_cast<std::size_t>(Pointer::size(Pointer::COMPANY_NAME)));

    for (int a = 0; a < ALGORITHMS; ++a) {
        const std::string name = a == 0 ? settings.getAlgorithm1() : settings.getAlgorithm2();
        if (name.empty())
            return fail(M::text("Algorithm %s has no name.", {M::number(a + 1)}));
        Algorithm& algorithm = algorithms[static_cast<std::size_t>(a)];
        const BarGenerator bars(settings, a + 1);
        const AlgorithmRecord& limits = bars.getAlgorithm();
        algorithm.limits = limits;
        algorithm.displayName = CPBAlgorithmBlock::encodeDisplayName(name);
        algorithm.blockName = CPBAlgorithmBlock::encodeName(name);
        algorithm.plot = GraphGenerator(static_cast<float>(limits.compDepthLow), static_cast<float>(limits.compDepthHigh),
                                        static_cast<float>(limits.vVolLow), static_cast<float>(limits.vVolHigh))
                             .getData();
        algorithm.bars = bars.getBarData();
        for (int k = 0; k < NUMBER_OF_LANGS; ++k) {
            const int language = LangStruct::indexOf(settings.getLanguage(k));
            const DebriefGenerator page(settings, language, bars, name);
            // A page cut at its area's end would print garbage on the controller.
            if (!page.fits())
                return fail(M::text("The debriefing page of algorithm %s in %s takes %s bytes, more than the %s the "
                                    "controller holds.",
                                    {M::number(a + 1), LangStruct::getName(language), M::number(static_cast<long long>(page.size())),
                                     M::number(static_cast<long long>(DebriefGenerator::PAGE_AREA_SIZE))}));
            algorithm.pages[static_cast<std::size_t>(k)] = page.getData();
        }
    }
    return true;
}
