#pragma once
// The limits of one resuscitation guideline (a row of the table "Algorithm"),
// against which a session is evaluated; copied by value between the database,
// the editors, the sessions and the controller transfer.

#include <cstdint>
#include <locale.h>
#include <string>
#include <wctype.h>

struct AlgorithmRecord {
    std::string Name;                      // the key: unique name of the algorithm
    double compDepthHigh = 50;             // mm
    double compDepthLow = 40;              // mm
    double compRelaxHigh = 60;             // %
    double compRelaxLow = 40;              // %
    double compRelaxRecc = 50;             // %
    double eccRateHigh = 110;              // compressions per minute
    double eccRateLow = 90;                // compressions per minute
    std::int32_t initVent = 2;             // initial ventilations
    double ventCompRatioDoubleComp = 5;    // two-person CPR: compressions per cycle
    double ventCompRatioDoubleVent = 1;    // two-person CPR: ventilations per cycle
    double ventCompRatioSingleComp = 15;   // single-person CPR: compressions per cycle
    double ventCompRatioSingleVent = 2;    // single-person CPR: ventilations per cycle
    double vRateHigh = 9;                  // ventilations per minute
    double vRateLow = 6;                   // ventilations per minute
    double vVolHigh = 0.6;                 // litres
    double vVolLow = 0.4;                  // litres
    bool builtIn = false;                  // supplied with a guideline, not made by the user
    std::int32_t pauseEccMax = 10;         // longest allowed pause in compressions

    void setDefaults() { *this = AlgorithmRecord(); }

    std::string getKey() const { return Name; }
    void setKey(const std::string& key) { Name = key; }

    // Names are UTF-8; letter case is compared on whole characters of any
    // script, not on bytes.
    bool matchesKey(const std::string& key) const
    {
        std::size_t i = 0;
        std::size_t j = 0;
        while (i < Name.size() && j < key.size())
            if (foldedCharacter(Name, i) != foldedCharacter(key, j))
                return false;
        return i == Name.size() && j == key.size();
    }
    static bool isValidKey(const std::string& key) { return !key.empty(); }

    bool operator==(const AlgorithmRecord&) const = default;

private:
    // The lower-case form of the UTF-8 character at `at`, which moves past it;
    // a byte that starts no valid character stands for itself.
    static wint_t foldedCharacter(const std::string& text, std::size_t& at)
    {
        static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
        const unsigned char lead = byte(at);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        wint_t code = lead;
        bool valid = length > 0 && at + length <= text.size();
        if (valid && length > 1) {
            code = lead & (0x7F >> length);
            for (std::size_t k = 1; k < length; ++k) {
                valid = valid && (byte(at + k) & 0xC0) == 0x80;
                code = (code << 6) | (byte(at + k) & 0x3F);
            }
        }
        if (!valid) {
            ++at;
            return 0x110000 + lead; // outside Unicode: never equal to a real character
        }
        at += length;
        return unicode ? towlower_l(code, unicode) : (code < 0x80 ? static_cast<wint_t>(towlower(code)) : code);
    }
};
