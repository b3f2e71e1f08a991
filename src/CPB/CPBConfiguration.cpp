#include "CPB/CPBConfiguration.h"

#include "config/PropertyModel.h"

const std::array<CPBConfiguration::Flag, CPBConfiguration::FLAG_COUNT>& CPBConfiguration::flags()
{
    static const std::array<Flag, FLAG_COUNT> table = {{
        {0, 7, &PropertyModel::showInitialVentilations},
        {0, 6, &PropertyModel::showVentilationRate},
        {0, 5, &PropertyModel::showAverageVolume},
        {0, 4, &PropertyModel::showMinuteVolume},
        {0, 3, &PropertyModel::showStomachInflations},
        {0, 2, &PropertyModel::showCompressionRate},
        {0, 1, &PropertyModel::showCompressionRelaxationRatio},
        {0, 0, &PropertyModel::showCompressionDepth},
        {1, 7, &PropertyModel::showPauseBetweenCompressions},
        {1, 6, &PropertyModel::showCardiacOutput},
        {1, 5, &PropertyModel::showWrongHandPositions},
        {1, 4, &PropertyModel::showLeanings},
        {1, 3, &PropertyModel::showVentilationCompressionRatio},
        {1, 2, &PropertyModel::registerEvents},
        // 1: the debriefing in counts ("4 OK / 4 low / 12 high"), 0: in percentages.
        {1, 1, &PropertyModel::debriefingAsCounts},
        // 1: compression/relaxation as "50%:50%", 0: as "1.0".
        {1, 0, &PropertyModel::ratioAsPercent},
        {2, 7, &PropertyModel::playEndSound},
        {2, 6, &PropertyModel::printDebriefingText},
        {2, 5, &PropertyModel::printApprovalFields},
    }};
    return table;
}

std::vector<std::uint8_t> CPBConfiguration::encode(const PropertyModel& setup)
{
    std::vector<std::uint8_t> bytes(BYTES, 0);
    for (const Flag& flag : flags()) {
        if (setup.*flag.setting)
            bytes[static_cast<std::size_t>(flag.byte)] |= static_cast<std::uint8_t>(1u << flag.bit);
    }
    return bytes;
}
