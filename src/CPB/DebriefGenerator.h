#pragma once
// One debriefing page of the hand-held controller, for one algorithm in one
// controller language: icon legends, a header with fill-in lines, a block
// with a bar for each judged quantity and the instructor's footer, as the
// bytes the controller prints from, filling in only its measured values.

#include "CPB/CPBIcon.h"
#include "CPB/CPBIconStrip.h"
#include "CPB/LangArray.h"
#include "config/PropertyModel.h"
#include "gettext/Gettext.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class BarGenerator;

class DebriefGenerator {
public:
    using Bytes = std::vector<std::uint8_t>;

    // The memory area that each page is written to.
    static constexpr std::size_t PAGE_AREA_SIZE = 2048;
    // The company named on a page when the set-up names none.
    static constexpr const wchar_t* DEFAULT_COMPANY = L"Kova International A/S";

    // The page of `algorithmName` with the bars of `bars` (which must outlive
    // the generator) in the language at table index `language`, translated
    // with the catalog "<code>.mo" of the station directory: an index the
    // language table lacks, or a missing catalog, gives an English page. The
    // icon legends take their pictures from `icons`.
    DebriefGenerator(const PropertyModel& settings, int language, const BarGenerator& bars,
                     std::string algorithmName,
                     const CPBIconStrip& icons = CPBIconStrip::forSide(CPBIcon::SMALL_SIDE));
    DebriefGenerator(const DebriefGenerator&) = delete;
    DebriefGenerator& operator=(const DebriefGenerator&) = delete;

    const Bytes& getData() const { return data; }
    std::size_t size() const { return data.size(); }
    // Whether the page fits its memory area. A page that does not was
    // reported to the error log with its size when it was made; sending it
    // would cut it short, so it must not be sent.
    bool fits() const { return data.size() <= PAGE_AREA_SIZE; }

private:
    // Appends the text in the controller's page code page, without line
    // feeds or any other control character (they would be read as fields or
    // printer commands); returns the number of bytes appended.
    std::size_t appendText(const std::wstring& text);
    // Blanks that centre the value on the line, the field and the unit as it stands.
    void addValueField(std::uint8_t code, int width, const std::string& unit);
    void addIconLine(int icon, const std::wstring& legend);
    // The label, then as many "_" as fill its 32-column line.
    void addFillInLine(const std::wstring& label);
    void addField(std::uint8_t code);
    void addLineEnds(int count);

    std::wstring translated(LangArray::Index index) const;

    void addLegends();
    void addHeader();
    void addResults();
    void addFooter();

    Bytes data;
    PropertyModel settings_;
    Gettext translations_;
    const BarGenerator& bars_;
    std::string algorithmName_;
    const CPBIconStrip& icons_;
};
