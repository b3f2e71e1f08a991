#include "CPB/DebriefGenerator.h"

#include "CPB/BarGenerator.h"
#include "CPB/CPBText.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "config/LangStruct.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

constexpr std::uint8_t LINE_END = 0x0D;
constexpr std::uint8_t FIELD = 0x03;
// What the controller takes for a field byte inside a picture.
constexpr std::uint8_t FIELD_STAND_IN = 0x02;
constexpr std::size_t LINE_WIDTH = 32;
// ESC *, 24-dot double density, 24 columns.
constexpr std::array<std::uint8_t, 5> BIT_IMAGE{0x1B, 0x2A, 0x20, 0x18, 0x00};

constexpr std::uint8_t METRONOME_FIELD = 66;
constexpr std::uint8_t END_OF_PAGE = 86;

// One judged quantity of the results, in page order.
struct ResultRow {
    bool PropertyModel::*shown;
    LangArray::Index label;
    std::optional<std::uint8_t> totalField;
    int bar;
    std::optional<std::uint8_t> valueField;
    int valueWidth;
    LangArray::Index unit;
};

const std::array<ResultRow, 7> RESULT_ROWS{{
    {&PropertyModel::showInitialVentilations, LangArray::INITIAL_VENTILATIONS, 67, 0, {}, 0, LangArray::SIZE},
    {&PropertyModel::showVentilationRate, LangArray::VENTILATION_RATE, {}, 1, 71, 1, LangArray::PER_MINUTE},
    {&PropertyModel::showAverageVolume, LangArray::VENTILATION_VOLUME, 72, 2, 74, 3, LangArray::LITRES},
    {&PropertyModel::showStomachInflations, LangArray::STOMACH_INFLATION, 75, 3, {}, 0, LangArray::SIZE},
    {&PropertyModel::showCompressionRate, LangArray::ECC_RATE, {}, 4, 79, 2, LangArray::PER_MINUTE},
    {&PropertyModel::showCompressionDepth, LangArray::COMPRESSION_DEPTH, 80, 5, 82, 2, LangArray::MILLIMETRES},
    {&PropertyModel::showWrongHandPositions, LangArray::WRONG_HAND_POSITION, 83, 6, {}, 0, LangArray::SIZE},
}};

std::wstring wide(const std::string& utf8) { return toWide(utf8, CP_UTF8); }

} // namespace

DebriefGenerator::DebriefGenerator(const PropertyModel& settings, int language, const BarGenerator& bars,
                                   std::string algorithmName, const CPBIconStrip& icons)
    : settings_(settings), bars_(bars), algorithmName_(std::move(algorithmName)), icons_(icons)
{
    const std::string code = LangStruct::getCode(language);
    translations_.setCatalog(code);

    addLegends();
    addHeader();
    addResults();
    addFooter();

    if (!fits())
        LogStream::instance() << "The debriefing page of \"" << algorithmName_ << "\" in language \"" << code
                              << "\" takes " << static_cast<unsigned long>(data.size()) << " bytes, more than the "
                              << static_cast<unsigned long>(PAGE_AREA_SIZE) << " of its memory area\n";
}

std::wstring DebriefGenerator::translated(LangArray::Index index) const
{
    return translations_.lookup(LangArray::get(index), translations_.codePage());
}

std::size_t DebriefGenerator::appendText(const std::wstring& text)
{
    CPBText::Bytes bytes = CPBText::fromWide(text, CPBText::PAGE_CODE_PAGE);
    std::erase_if(bytes, [](std::uint8_t byte) { return byte < 0x20; });
    data.insert(data.end(), bytes.begin(), bytes.end());
    return bytes.size();
}

void DebriefGenerator::addLineEnds(int count) { data.insert(data.end(), static_cast<std::size_t>(count), LINE_END); }

void DebriefGenerator::addField(std::uint8_t code)
{
    data.push_back(FIELD);
    data.push_back(code);
}

void DebriefGenerator::addValueField(std::uint8_t code, int width, const std::string& unit)
{
    const int blanks = (static_cast<int>(LINE_WIDTH) - static_cast<int>(unit.size()) - width) / 2;
    data.insert(data.end(), static_cast<std::size_t>(std::max(blanks, 0)), ' ');
    addField(code);
    data.insert(data.end(), unit.begin(), unit.end());
}

void DebriefGenerator::addFillInLine(const std::wstring& label)
{
    const std::size_t length = appendText(label);
    if (length < LINE_WIDTH)
        data.insert(data.end(), LINE_WIDTH - length, '_');
    addLineEnds(2);
}

void DebriefGenerator::addIconLine(int icon, const std::wstring& legend)
{
    if (icons_.count() > 0 && !icons_.contains(icon))
        LogStream::instance() << "The debriefing page has no icon " << icon << ": its legend stands beside a blank picture\n";
    CPBIcon::Bytes image = CPBIcon::encodeBitImage(icons_.icon(icon));
    KOVA_ASSERT(image.size() == 72);
    std::replace(image.begin(), image.end(), FIELD, FIELD_STAND_IN);
    data.insert(data.end(), BIT_IMAGE.begin(), BIT_IMAGE.end());
    data.insert(data.end(), image.begin(), image.end());
    appendText(L" ");
    appendText(legend);
}

void DebriefGenerator::addLegends()
{
    if (!settings_.enableLegends)
        return;
    addLineEnds(1);
    for (int i = 0; i < NUMBER_OF_ICONS; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        // A set-up read from an older file may hold fewer slots.
        KOVA_ASSERT(slot < settings_.icons.size() && slot < settings_.iconLegends.size());
        const int icon = slot < settings_.icons.size() ? settings_.icons[slot] : -1;
        const std::string legend = slot < settings_.iconLegends.size() ? settings_.iconLegends[slot] : std::string();
        addIconLine(icon, wide(legend));
        // Each picture on a printed line of its own: two pictures on one
        // line would print over each other.
        addLineEnds(2);
    }
}

void DebriefGenerator::addHeader()
{
    addLineEnds(1);
    appendText(settings_.printHeading.empty() ? std::wstring(DEFAULT_COMPANY) : settings_.printHeading);
    addLineEnds(2);

    appendText(translated(LangArray::TRAINING_RESULTS));
    addLineEnds(4);

    for (const LangArray::Index label : {LangArray::DATE, LangArray::VENTILATION, LangArray::COMPRESSION})
        addFillInLine(translated(label) + L": ");

    appendText(translated(LangArray::ALGORITHM) + L": " + wide(algorithmName_));
    addLineEnds(2);

    appendText(translated(LangArray::METRONOME));
    addField(METRONOME_FIELD);
    addLineEnds(2);
}

void DebriefGenerator::addResults()
{
    for (const ResultRow& row : RESULT_ROWS) {
        if (!(settings_.*row.shown))
            continue;
        appendText(translated(row.label));
        addLineEnds(1);
        if (row.totalField) {
            appendText(translated(LangArray::TOTAL) + L": ");
            addField(*row.totalField);
            addLineEnds(1);
        }
        const BarGenerator::Bytes& bar = bars_.getText(row.bar);
        data.insert(data.end(), bar.begin(), bar.end());
        if (row.valueField) {
            addLineEnds(1);
            // Units stand untranslated, as the controller prints its values.
            addValueField(*row.valueField, row.valueWidth, " " + LangArray::get(row.unit));
        }
        addLineEnds(2);
    }
}

void DebriefGenerator::addFooter()
{
    addFillInLine(translated(LangArray::INSTRUCTOR));

    appendText(translated(LangArray::APPROVED) + L": __ ");
    appendText(translated(LangArray::YES) + L" __ ");
    appendText(translated(LangArray::NO));
    addLineEnds(2);

    appendText(translated(LangArray::COMMENTS));
    addLineEnds(16);

    addField(END_OF_PAGE);
}
