#include "CPB/DebriefGenerator.h"

#include "CPB/BarGenerator.h"
#include "CPB/CPBIconStrip.h"
#include "CPB/LangArray.h"
#include "CPB/Pointer.h"
#include "IconStripBitmap.h"
#include "Rodezir/LogStream.h"
#include "TempDir.h"
#include "config/LangStruct.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace {

using Bytes = DebriefGenerator::Bytes;

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes ends(std::size_t count) { return Bytes(count, 0x0D); }
Bytes field(std::uint8_t code) { return {0x03, code}; }
Bytes repeat(std::size_t count, char c) { return Bytes(count, static_cast<std::uint8_t>(c)); }
Bytes cat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

bool contains(const Bytes& page, const Bytes& part)
{
    return std::search(page.begin(), page.end(), part.begin(), part.end()) != page.end();
}

std::string logText()
{
    LogStream::destroy();
    return kovatest::readFile("errors.txt");
}

// Puts a test catalog built by msgfmt into the station directory (the
// working folder), where a page looks for "<code>.mo".
void installCatalog(const std::string& code)
{
    std::filesystem::copy_file(std::string(KOVA_CPB_CATALOGS) + "/" + code + ".mo", code + ".mo",
                               std::filesystem::copy_options::overwrite_existing);
}

class DebriefPage : public ::testing::Test {
protected:
    // Built on the heap: a generator is neither copied nor moved.
    std::unique_ptr<DebriefGenerator> generator(int language = 0) const
    {
        return std::make_unique<DebriefGenerator>(settings, language, bars, "AHA 2010", icons);
    }
    Bytes page(int language = 0) const { return generator(language)->getData(); }

    // The English page as the controller reads it, block by block.
    Bytes header() const
    {
        return cat({ends(1), text("Kova International A/S"), ends(2), text("Training Results"), ends(4),
                    text("Date: "), repeat(26, '_'), ends(2), text("Ventilation: "), repeat(19, '_'), ends(2),
                    text("Compression: "), repeat(19, '_'), ends(2), text("Algorithm: AHA 2010"), ends(2),
                    text("Metronome: "), field(66), ends(2)});
    }
    Bytes total(std::uint8_t code) const { return cat({text("Total: "), field(code), ends(1)}); }
    std::vector<Bytes> resultRows() const
    {
        return {
            cat({text("Initial ventilations"), ends(1), total(67), bars.getText(0), ends(2)}),
            cat({text("Ventilation rate"), ends(1), bars.getText(1), ends(1), repeat(13, ' '), field(71),
                 text(" /min"), ends(2)}),
            cat({text("Ventilation volume"), ends(1), total(72), bars.getText(2), ends(1), repeat(13, ' '),
                 field(74), text(" L"), ends(2)}),
            cat({text("Stomach inflation"), ends(1), total(75), bars.getText(3), ends(2)}),
            cat({text("ECC Rate"), ends(1), bars.getText(4), ends(1), repeat(12, ' '), field(79), text(" /min"),
                 ends(2)}),
            cat({text("Compression depth"), ends(1), total(80), bars.getText(5), ends(1), repeat(13, ' '),
                 field(82), text(" mm"), ends(2)}),
            cat({text("Wrong hand position"), ends(1), total(83), bars.getText(6), ends(2)}),
        };
    }
    Bytes footer() const
    {
        return cat({text("Instructor: "), repeat(20, '_'), ends(2), text("Approved: __ Yes __ No"), ends(2),
                    text("Comments:"), ends(16), field(86)});
    }

    PropertyModel settings;
    BarGenerator bars{AlgorithmRecord()};
    CPBIconStrip icons{nullptr, 0, 24};
};

using RowSwitch = bool PropertyModel::*;
const RowSwitch ROW_SWITCHES[] = {
    &PropertyModel::showInitialVentilations, &PropertyModel::showVentilationRate,
    &PropertyModel::showAverageVolume,       &PropertyModel::showStomachInflations,
    &PropertyModel::showCompressionRate,     &PropertyModel::showCompressionDepth,
    &PropertyModel::showWrongHandPositions,
};

TEST_F(DebriefPage, englishPageHoldsHeaderEveryRowAndFooter)
{
    Bytes expected = header();
    for (const Bytes& row : resultRows())
        expected.insert(expected.end(), row.begin(), row.end());
    expected = cat({expected, footer()});

    const auto generated = generator();
    EXPECT_EQ(generated->getData(), expected);
    EXPECT_TRUE(generated->fits());
    EXPECT_EQ(generated->size(), expected.size());
}

TEST_F(DebriefPage, eachRowSwitchLeavesOutItsOwnRowOnly)
{
    const std::vector<Bytes> rows = resultRows();
    // Bit k of the mask turns row k off.
    for (const int mask : {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x55, 0x7F}) {
        Bytes expected = header();
        for (int k = 0; k < 7; ++k) {
            settings.*ROW_SWITCHES[k] = !(mask & (1 << k));
            if (!(mask & (1 << k)))
                expected.insert(expected.end(), rows[static_cast<std::size_t>(k)].begin(),
                                rows[static_cast<std::size_t>(k)].end());
        }
        expected = cat({expected, footer()});
        EXPECT_EQ(page(), expected) << "rows off: " << mask;
    }
}

TEST_F(DebriefPage, headingIsWrittenInThePageCodePageWithoutControlCharacters)
{
    // A field byte or an escape in a text would be read as a field or a
    // printer command; a character code page 850 lacks prints as "?".
    settings.printHeading = L"\u00C6r\u00F8 Caf\u00E9 \u20AC\nGmbH\x03\x1B";
    const Bytes generated = page();
    const Bytes start = cat({ends(1), text("\x92r\x9B Caf\x82 ?GmbH"), ends(2), text("Training Results")});
    EXPECT_TRUE(std::equal(start.begin(), start.end(), generated.begin()));
}

TEST_F(DebriefPage, germanCatalogTranslatesTheLabelsButNotTheUnits)
{
    installCatalog("de");
    const Bytes generated = page(LangStruct::indexOf("de"));
    const Bytes parts[] = {
        cat({ends(1), text("Kova International A/S"), ends(2), text("Trainingsergebnisse"), ends(4)}),
        cat({text("Datum: "), repeat(25, '_'), ends(2)}),
        // Untranslated labels stay English.
        cat({text("Ventilation: "), repeat(19, '_'), ends(2)}),
        cat({text("Algorithmus: AHA 2010"), ends(2), text("Metronom: "), field(66)}),
        // The line feed of the translation is gone.
        cat({text("Beatmungs-frequenz"), ends(1), bars.getText(1), ends(1), repeat(13, ' '), field(71),
             text(" /min")}),
        cat({text("Magen\x81" "berbl\x84hung"), ends(1), text("Gesamt: "), field(75)}),
        cat({repeat(13, ' '), field(82), text(" mm"), ends(2)}),
        cat({text("Ausbilder: "), repeat(21, '_'), ends(2), text("Best\x84tigt: __ Ja __ Nein"), ends(2),
             text("Anmerkungen:"), ends(16), field(86)}),
    };
    for (const Bytes& part : parts)
        EXPECT_TRUE(contains(generated, part)) << std::string(part.begin(), part.end());
    EXPECT_FALSE(contains(generated, text("\x0A")));
}

TEST_F(DebriefPage, dateLabelOfALineOrLongerGetsNoUnderscores)
{
    const struct {
        const char* code;
        std::string label;
    } cases[] = {
        {"fr", "Date de la s\x82" "ance de formation: "},        // exactly 32 characters
        {"es", "Fecha de la sesi\xA2n de entrenamiento pr\xA0" "ctico: "}, // 46
    };
    for (const auto& c : cases) {
        installCatalog(c.code);
        const Bytes generated = page(LangStruct::indexOf(c.code));
        EXPECT_TRUE(contains(generated, cat({ends(4), text(c.label), ends(2), text("Ventilation: ")}))) << c.code;
    }
}

TEST_F(DebriefPage, languagesWithoutCatalogGiveTheEnglishPage)
{
    const Bytes english = page(0);
    installCatalog("de");
    // Past the table, its end entry, and a language whose catalog is missing.
    for (const int language : {-1, 12, 13, 99, LangStruct::indexOf("it")})
        EXPECT_EQ(page(language), english) << language;
}

TEST_F(DebriefPage, iconLegendsStandOnePictureALineBeforeTheHeader)
{
    // Icon 0: pixels (0,0), (5,10) and (23,23); icon 1: a column whose first
    // byte is the field byte 0x03, and one that is 0x02 already.
    const auto bitmap = cpbtest::stripBitmap(48, 24, {{0, 0}, {5, 10}, {23, 23}, {24, 6}, {24, 7}, {25, 6}});
    const CPBIconStrip strip(bitmap.data(), bitmap.size(), 24);
    ASSERT_EQ(strip.count(), 2);

    settings.enableLegends = true;
    settings.icons = {0, 1, 96, -1, 1, 0};
    settings.iconLegends = {"CPR", "Ventilation", "Pulse", "", "\u00C4rzte", "x"};
    const DebriefGenerator generator(settings, 0, bars, "AHA 2010", strip);

    Bytes first(72, 0);
    first[0] = 0x80;
    first[16] = 0x20;
    first[71] = 0x01;
    Bytes second(72, 0);
    second[0] = 0x02; // was 0x03
    second[3] = 0x02;
    const Bytes blank(72, 0);
    const Bytes prefix{0x1B, 0x2A, 0x20, 0x18, 0x00};
    const Bytes expected = cat({ends(1),
                                prefix, first, text(" CPR"), ends(2),
                                prefix, second, text(" Ventilation"), ends(2),
                                prefix, blank, text(" Pulse"), ends(2),
                                prefix, blank, text(" "), ends(2),
                                prefix, second, text(" \x8Erzte"), ends(2),
                                prefix, first, text(" x"), ends(2),
                                header()});
    const Bytes& data = generator.getData();
    ASSERT_GE(data.size(), expected.size());
    EXPECT_EQ(Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);

    const std::string log = logText();
    EXPECT_NE(log.find("no icon 96"), std::string::npos);
    EXPECT_NE(log.find("no icon -1"), std::string::npos);
}

TEST_F(DebriefPage, aPageBeyondItsMemoryAreaIsMeasuredAndLogged)
{
    for (const int area : {Pointer::DEBRIEF_A1_L1, Pointer::DEBRIEF_A2_L3})
        ASSERT_EQ(DebriefGenerator::PAGE_AREA_SIZE, static_cast<std::size_t>(Pointer::size(area)));
    const struct {
        const char* name;
        std::function<void(PropertyModel&)> change;
    } cases[] = {
        {"heading", [](PropertyModel& s) { s.printHeading = std::wstring(1500, L'K'); }},
        {"legends",
         [](PropertyModel& s) {
             s.enableLegends = true;
             s.iconLegends.assign(6, std::string(200, 'L'));
         }},
    };
    for (const auto& c : cases) {
        settings = PropertyModel();
        c.change(settings);
        const auto generated = generator();
        EXPECT_FALSE(generated->fits()) << c.name;
        EXPECT_GT(generated->size(), DebriefGenerator::PAGE_AREA_SIZE) << c.name;
        EXPECT_NE(logText().find("takes " + std::to_string(generated->size()) + " bytes, more than the 2048"),
                  std::string::npos)
            << c.name;
    }
}

TEST(LangArray, holdsTheEnglishLabelsAndRefusesOtherIndexes)
{
    EXPECT_EQ(LangArray::get(0), "Training Results");
    EXPECT_EQ(LangArray::get(17), "Instructor: ");
    EXPECT_EQ(LangArray::get(22), "Metronome: ");
    EXPECT_EQ(LangArray::get(LangArray::COMMENTS), "Comments:");
    for (const int index : {23, -1}) {
        EXPECT_EQ(LangArray::get(index), "");
    }
    LogStream::destroy();
    EXPECT_NE(kovatest::readFile("errors.txt").find(": false"), std::string::npos);
}

TEST(ControllerIconStrip, cutsIconsFromTheBitmapAndLeavesOthersWhite)
{
    const auto bitmap = cpbtest::stripBitmap(72, 20, {{0, 0}, {25, 19}, {71, 5}});
    const CPBIconStrip strip(bitmap.data(), bitmap.size(), 24);
    EXPECT_EQ(strip.count(), 3);
    EXPECT_TRUE(strip.icon(0).isBlack(0, 0));
    EXPECT_TRUE(strip.icon(1).isBlack(1, 19));
    EXPECT_FALSE(strip.icon(1).isBlack(0, 0));
    EXPECT_TRUE(strip.icon(2).isBlack(23, 5));
    // Rows below a short strip, and icons it lacks, are white.
    for (const int number : {1, 3, -1}) {
        const CPBIcon::Pixels icon = strip.icon(number);
        ASSERT_EQ(icon.width, 24);
        ASSERT_EQ(icon.argb.size(), 24u * 24u);
        for (int y = 20; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                EXPECT_FALSE(icon.isBlack(x, y));
    }
    EXPECT_EQ(CPBIcon::encodeBitImage(strip.icon(3)), Bytes(72, 0));

    const std::uint8_t notABitmap[] = {'B', 'M', 1, 2, 3};
    EXPECT_EQ(CPBIconStrip(notABitmap, sizeof notABitmap, 24).count(), 0);
}

} // namespace
