#pragma once
// The languages a REV Evezodidaz controller can hold: the two-letter codes
// kept in the settings' language slots and their display names, translated
// once, in the interface language active at the first use.

#include <string>
#include <utility>
#include <vector>

class LangStruct {
public:
    // The 12 languages and the empty end entry.
    static constexpr int ENTRY_COUNT = 13;

    // 0 to 11 for a known code; -1 for an unknown or empty one.
    static int indexOf(const std::string& code);
    // The code of entry nr; empty (and, for the end entry, an assertion) otherwise.
    static std::string getCode(int nr);
    // The translated name of entry nr (0 to 11).
    static std::wstring getName(int nr);
    // Entries 0 to 11 in order, ended by the empty entry.
    static const std::vector<std::pair<std::string, std::wstring>>& table();
};
