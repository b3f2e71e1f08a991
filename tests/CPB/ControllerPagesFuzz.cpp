// Feeds arbitrary limits, algorithm numbers, switches, icons, legends, a
// heading and a page catalog to the bar, plot and page generators: whatever
// a settings file, the records or a catalog hold, the controller gets full
// lines, tables of columns 1 to 32, a whole plot block and a measured page.

#include "CPB/BarGenerator.h"
#include "CPB/CPBIconStrip.h"
#include "CPB/DebriefGenerator.h"
#include "CPB/GraphGenerator.h"
#include "Rodezir/gstringUtil.h"
#include "config/LangStruct.h"
#include "config/PropertyModel.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    template <class T>
    T take()
    {
        T value{};
        const std::size_t n = std::min(sizeof(T), size_ - at_);
        std::memcpy(&value, data_ + at_, n);
        at_ += n;
        return value;
    }
    std::string text()
    {
        const std::size_t n = std::min<std::size_t>(take<std::uint8_t>() * 2u, size_ - at_);
        std::string s(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return s;
    }
    std::string rest()
    {
        std::string s(reinterpret_cast<const char*>(data_ + at_), size_ - at_);
        at_ = size_;
        return s;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void checkBars(const BarGenerator& bars)
{
    for (int row = 0; row < BarGenerator::ROWS; ++row) {
        check(bars.getText(row).size() == BarGenerator::LINE_SIZE);
        for (const std::uint8_t entry : bars.getMap(row))
            check(entry >= 1 && entry <= 32);
    }
    check(bars.getBarData().size() == BarGenerator::BAR_DATA_SIZE);
}

// The pages read their catalogs from the working folder: a folder of the
// fuzzer's own, removed at exit.
std::filesystem::path& folder()
{
    static std::filesystem::path path;
    return path;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char name[] = "/tmp/kova-pages-fuzz-XXXXXX";
    if (!mkdtemp(name) || chdir(name) != 0)
        std::abort();
    folder() = name;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder(), ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input input(data, size);
    AlgorithmRecord limits;
    limits.Name = "Fuzzed";
    for (double* limit : {&limits.compDepthLow, &limits.compDepthHigh, &limits.eccRateLow, &limits.eccRateHigh,
                          &limits.vRateLow, &limits.vRateHigh, &limits.vVolLow, &limits.vVolHigh})
        *limit = input.take<double>();
    limits.initVent = input.take<std::int32_t>();
    const int algorithm = input.take<std::int32_t>();
    const auto switches = input.take<std::uint8_t>();
    const int language = input.take<std::int8_t>();

    PropertyModel settings;
    settings.showInitialVentilations = switches & 0x01;
    settings.showVentilationRate = switches & 0x02;
    settings.showAverageVolume = switches & 0x04;
    settings.showStomachInflations = switches & 0x08;
    settings.showCompressionRate = switches & 0x10;
    settings.showCompressionDepth = switches & 0x20;
    settings.showWrongHandPositions = switches & 0x40;
    settings.enableLegends = switches & 0x80;
    for (int i = 0; i < NUMBER_OF_ICONS; ++i) {
        settings.icons[static_cast<std::size_t>(i)] = input.take<std::int8_t>();
        settings.iconLegends[static_cast<std::size_t>(i)] = input.text();
    }
    settings.printHeading = toWide(input.text(), CP_UTF8);
    settings.setAlgorithm2(input.text());

    const std::string code = LangStruct::getCode(language);
    const std::string catalog = input.rest();
    if (!code.empty()) {
        if (FILE* file = std::fopen((code + ".mo").c_str(), "wb")) {
            std::fwrite(catalog.data(), 1, catalog.size(), file);
            std::fclose(file);
        }
    }

    const BarGenerator bars(limits);
    checkBars(bars);
    // Without records open, any number gives the default limits of a name.
    const BarGenerator named(settings, algorithm);
    checkBars(named);

    check(GraphGenerator(static_cast<float>(limits.compDepthLow), static_cast<float>(limits.compDepthHigh),
                         static_cast<float>(limits.vVolLow), static_cast<float>(limits.vVolHigh))
              .getData()
              .size()
          == GraphGenerator::DATA_SIZE);

    const CPBIconStrip& icons = CPBIconStrip::forSide(CPBIcon::SMALL_SIDE);
    const DebriefGenerator page(settings, language, bars, named.getAlgorithm().Name, icons);
    const auto& bytes = page.getData();
    check(page.fits() == (bytes.size() <= DebriefGenerator::PAGE_AREA_SIZE));
    check(bytes.size() >= 2 && bytes[bytes.size() - 2] == 0x03 && bytes.back() == 86);
    return 0;
}
