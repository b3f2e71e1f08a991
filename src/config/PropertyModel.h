#pragma once
// The station's settings record: every option of the configuration dialog,
// a plain value that is copied, compared and serialised in a fixed order.

#include <cstdint>
#include <string>
#include <vector>

class ObjectInput;
class ObjectOutput;

constexpr int NUMBER_OF_LANGS = 3;
constexpr int NUMBER_OF_ICONS = 6;

class PropertyModel {
public:
    // The version the settings file is written with; 0 and 1 are read.
    static constexpr std::int32_t VERSION = 1;
    static constexpr std::int32_t END_MARKER = 0x1234;
    // What read throws, as a bare text, for any other version.
    static constexpr const char* UNSUPPORTED_VERSION = "Unsupported version in PropertyModel data!";

    PropertyModel();

    // Every field but endMarker.
    bool operator==(const PropertyModel& other) const;

    std::string getAlgorithm1() const { return algorithm1; }
    std::string getAlgorithm2() const { return algorithm2; }
    void setAlgorithm1(const std::string& name) { algorithm1 = name; }
    void setAlgorithm2(const std::string& name) { algorithm2 = name; }

    // Slot 0 to 2; a bad slot is reported to the error log.
    std::string getLanguage(int i) const;
    void setLanguage(int i, const std::string& code);
    // Slot 0 to 5; a bad slot is reported to the error log and then throws
    // std::out_of_range.
    int getIcon(int i) const;
    void setIcon(int i, int picture);
    std::string getIconLegend(int i) const;
    void setIconLegend(int i, const std::string& legend);

    // True while icons, languages and iconLegends hold 6, 3 and 6 entries.
    bool hasFixedSizes() const;

    void write(ObjectOutput& out) const;
    // Throws UNSUPPORTED_VERSION or mem_buffer::buffer_overflow_error.
    void read(ObjectInput& in);

    bool playEndSound = true;
    double metronomeRate = 100.0;
    bool debriefingAsCounts = true;
    bool showCardiacOutput = false;
    bool showMinuteVolume = true;
    bool showAverageVolume = true;
    bool showInitialVentilations = true;
    bool showVentilationRate = true;
    bool showStomachInflations = true;
    double minuteVolumeLow = 1.5;
    double minuteVolumeHigh = 6.0;
    bool showVentilationCompressionRatio = true;
    bool showDebriefingComments = true;
    double cardiacOutputPerCompression = 0.03;
    double cardiacOutputPerWrongHand = 0.01;
    double cardiacOutputLow = 1.4;
    double cardiacOutputHigh = 6.0;
    bool showCompressionRate = true;
    bool showCompressionDepth = true;
    bool showCompressionRelaxationRatio = true;
    bool showPauseBetweenCompressions = true;
    std::int32_t maxPauseBetweenCompressions = 9;
    bool showWrongHandPositions = true;
    bool showLeanings = true;
    bool ratioAsPercent = true;
    bool overrideCompressionDepth = false;
    double compressionDepthLow = 30.0;
    double compressionDepthHigh = 52.0;
    std::wstring printHeading;
    bool printGraph = true;
    std::int32_t graphMaxPrintTime = 5;
    bool printDebriefingText = true;
    bool printApprovalFields = true;
    bool printEventList = true;
    std::string algorithm1 = "AHA 2010";
    std::string algorithm2 = "ERC 2010";
    std::vector<std::int32_t> icons;
    std::vector<std::string> languages;
    std::vector<std::string> iconLegends;
    bool registerEvents = true;
    bool enableLegends = false;
    bool ecgEnabled = true;
    std::int32_t endMarker = END_MARKER;

private:
    void setVersion0Defaults();
};
