#pragma once
// The station's set-up as a hand-held controller takes it: every byte the
// sending writes (icon numbers, configuration, both algorithms with their
// plot, bars and debriefing pages, company name, languages), made and
// checked before the link opens, so a set-up the controller cannot hold is
// refused whole instead of being written in part.

#include "config/AlgorithmRecord.h"
#include "config/PropertyModel.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CPBSetup {
public:
    using Bytes = std::vector<std::uint8_t>;

    static constexpr int ALGORITHMS = 2;

    struct Algorithm {
        AlgorithmRecord limits;  // the table's row, or the default limits under the set-up's name
        Bytes displayName;       // for the 40-byte name slot
        Bytes blockName;         // for the block, ended by a zero byte
        Bytes plot;
        Bytes bars;              // the whole bar data area
        std::array<Bytes, NUMBER_OF_LANGS> pages; // one per controller language
    };

    // Makes every byte from the settings, reading the limits of both
    // algorithms from the training records. False when the set-up cannot go
    // to a controller; problem() then names the cause.
    bool make(const PropertyModel& settings);
    // One translated line naming what stopped make; empty after a success.
    const std::wstring& problem() const { return problem_; }

    // The debriefing page area of algorithm a (0 or 1) in language slot k.
    static int pageArea(int a, int k);

    std::array<int, NUMBER_OF_ICONS> icons{};
    Bytes configuration;
    Bytes languages;
    std::array<Bytes, NUMBER_OF_LANGS> languageNames;
    Bytes companyName;
    std::array<Algorithm, ALGORITHMS> algorithms;

private:
    bool fail(std::wstring cause);

    std::wstring problem_;
};
