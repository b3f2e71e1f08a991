#include "config/PropertyModel.h"

#include "Rodezir/LogStream.h"
#include "config/ObjectInput.h"
#include "config/ObjectOutput.h"

#include <stdexcept>
#include <tuple>

namespace {

const std::vector<std::int32_t> defaultIcons{0, 1, 2, 3, 4, 5};
const std::vector<std::string> defaultLanguages{"en", "de", "fr"};

// The checked access the pages rely on: a missing entry throws with the
// message callers have always seen.
template <typename Vector>
auto& entry(Vector& values, int i)
{
    if (i < 0 || static_cast<std::size_t>(i) >= values.size())
        throw std::out_of_range("invalid vector<T> subscript");
    return values[static_cast<std::size_t>(i)];
}

// Every field but endMarker, in the order of the serialised form; written
// once so that comparison and serialisation can never drift apart.
template <typename Model>
auto fieldsBeforeVersion1(Model& m)
{
    return std::tie(m.playEndSound, m.metronomeRate, m.debriefingAsCounts, m.showCardiacOutput, m.showMinuteVolume,
                    m.showAverageVolume, m.showInitialVentilations, m.showVentilationRate, m.showStomachInflations,
                    m.minuteVolumeLow, m.minuteVolumeHigh, m.showVentilationCompressionRatio,
                    m.showDebriefingComments, m.cardiacOutputPerCompression, m.cardiacOutputPerWrongHand,
                    m.cardiacOutputLow, m.cardiacOutputHigh, m.showCompressionRate, m.showCompressionDepth,
                    m.showCompressionRelaxationRatio, m.showPauseBetweenCompressions, m.maxPauseBetweenCompressions,
                    m.showWrongHandPositions, m.showLeanings, m.ratioAsPercent, m.overrideCompressionDepth,
                    m.compressionDepthLow, m.compressionDepthHigh, m.printHeading, m.printGraph,
                    m.graphMaxPrintTime, m.printDebriefingText, m.printApprovalFields, m.printEventList);
}

template <typename Model>
auto fieldsOfVersion1(Model& m)
{
    return std::tie(m.algorithm1, m.algorithm2, m.icons, m.languages, m.iconLegends, m.registerEvents,
                    m.enableLegends, m.ecgEnabled);
}

} // namespace

PropertyModel::PropertyModel()
    : icons(NUMBER_OF_ICONS), languages(NUMBER_OF_LANGS), iconLegends(NUMBER_OF_ICONS)
{
    icons = defaultIcons;
    languages = defaultLanguages;
}

bool PropertyModel::operator==(const PropertyModel& other) const
{
    return fieldsBeforeVersion1(*this) == fieldsBeforeVersion1(other)
        && fieldsOfVersion1(*this) == fieldsOfVersion1(other);
}

std::string PropertyModel::getLanguage(int i) const
{
    KOVA_ASSERT(i >=0 && i < 3);
    return entry(languages, i);
}

void PropertyModel::setLanguage(int i, const std::string& code)
{
    KOVA_ASSERT(i >=0 && i < 3);
    entry(languages, i) = code;
}

int PropertyModel::getIcon(int i) const
{
    KOVA_ASSERT(i >=0 && i < 6);
    return entry(icons, i);
}

void PropertyModel::setIcon(int i, int picture)
{
    KOVA_ASSERT(i >=0 && i < 6);
    entry(icons, i) = picture;
}

std::string PropertyModel::getIconLegend(int i) const
{
    KOVA_ASSERT(i >=0 && i < 6);
    return entry(iconLegends, i);
}

void PropertyModel::setIconLegend(int i, const std::string& legend)
{
    KOVA_ASSERT(i >=0 && i < 6);
    entry(iconLegends, i) = legend;
}

bool PropertyModel::hasFixedSizes() const
{
    return icons.size() == NUMBER_OF_ICONS && languages.size() == NUMBER_OF_LANGS
        && iconLegends.size() == NUMBER_OF_ICONS;
}

void PropertyModel::write(ObjectOutput& out) const
{
    out << VERSION;
    std::apply([&out](const auto&... field) { (out << ... << field); }, fieldsBeforeVersion1(*this));
    std::apply([&out](const auto&... field) { (out << ... << field); }, fieldsOfVersion1(*this));
    out << endMarker;
}

void PropertyModel::read(ObjectInput& in)
{
    std::int32_t version = 0;
    in >> version;
    if (version < 0 || version > VERSION)
        throw UNSUPPORTED_VERSION;
    std::apply([&in](auto&... field) { (in >> ... >> field); }, fieldsBeforeVersion1(*this));
    if (version == 1)
        std::apply([&in](auto&... field) { (in >> ... >> field); }, fieldsOfVersion1(*this));
    else
        setVersion0Defaults();
    in >> endMarker;
}

// Files of version 0 predate the hand-held controller's set-up; they get the
// set-up of that time. ecgEnabled keeps what the record had.
void PropertyModel::setVersion0Defaults()
{
    algorithm1 = "AHA 2005";
    algorithm2 = "ERC 2005";
    icons = defaultIcons;
    languages = defaultLanguages;
    iconLegends.assign(NUMBER_OF_ICONS, std::string());
    registerEvents = true;
    enableLegends = false;
}
