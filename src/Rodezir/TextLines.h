#pragma once
// A (translated) text broken into measured words for one font, laid out in
// lines no wider than a given width and measured or drawn left-aligned,
// centred or right-aligned. In the East Asian languages only blanks, line
// ends and hyphens separate words; elsewhere every character that is not an
// ASCII letter or digit is a word of its own, so a line may break beside it.

#include "Rodezir/Geometry.h"
#include "Rodezir/TextDevice.h"

#include <string>
#include <vector>

namespace kova {

class TextLines {
public:
    enum Break { BREAK_NONE = 0, BREAK_LINE = 1, BREAK_BLANK = 2 };
    enum Alignment { ALIGN_LEFT = 0, ALIGN_CENTRE = 1, ALIGN_RIGHT = 2 };

    struct Word {
        std::wstring text;
        SIZE extent;
        int breakKind = BREAK_NONE;
        friend bool operator==(const Word&, const Word&) = default;
    };

    // Splits and measures the text with the device's font.
    TextLines(const TextDevice& device, const std::wstring& text, bool eastAsian);

    // Lays the words out in lines of at most `maxWidth`, drawing them when a
    // device is given, and answers (widest line, total height). With
    // `collectLineWidths` the width of every line is appended to `lineWidths`;
    // drawing centred or right-aligned reads the widths from it.
    SIZE layout(TextDevice* device, int maxWidth, int left, int top, int alignment, bool collectLineWidths,
                std::vector<int>& lineWidths) const;
    // Measures the line widths first when they are needed, then draws.
    SIZE drawAligned(TextDevice& device, int maxWidth, int left, int top, int alignment) const;

    const std::vector<Word>& words() const { return words_; }
    int textHeight() const { return textHeight_; }
    int spaceWidth() const { return spaceWidth_; }

private:
    void addWord(const TextDevice& device, const std::wstring& text, int breakKind);
    int lineOffset(int alignment, int maxWidth, const std::vector<int>& lineWidths, std::size_t line) const;

    int textHeight_ = 0;
    int spaceWidth_ = 0;
    std::vector<Word> words_;
};

} // namespace kova
