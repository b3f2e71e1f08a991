#include "Rodezir/TextLines.h"

#include <algorithm>

namespace kova {
namespace {

bool isWordCharacter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9');
}

} // namespace

TextLines::TextLines(const TextDevice& device, const std::wstring& text, bool eastAsian)
    : textHeight_(device.textHeight()), spaceWidth_(device.textExtent(L" ").cx)
{
    std::wstring word;
    bool inWord = false;
    auto nextIsBlank = [&text](std::size_t i) { return i + 1 < text.size() && text[i + 1] == L' '; };
    auto endWord = [&](int breakKind) {
        addWord(device, word, breakKind);
        word.clear();
        inWord = false;
    };

    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L' ') {
            if (inWord)
                endWord(BREAK_BLANK);
        } else if (c == L'\n') {
            // An empty word keeps an empty line in the count.
            endWord(BREAK_LINE);
        } else if (c == L'-') {
            if (inWord) {
                word += c;
                endWord(nextIsBlank(i) ? BREAK_BLANK : BREAK_NONE);
            } else {
                word = c;
                inWord = true;
            }
        } else if (eastAsian || isWordCharacter(c)) {
            word += c;
            inWord = true;
        } else {
            word += c;
            endWord(nextIsBlank(i) ? BREAK_BLANK : BREAK_NONE);
        }
    }
    if (inWord)
        endWord(BREAK_NONE);
}

void TextLines::addWord(const TextDevice& device, const std::wstring& text, int breakKind)
{
    Word word;
    word.text = text;
    word.extent = text.empty() ? SIZE{0, device.textExtent(L" ").cy} : device.textExtent(text);
    word.breakKind = breakKind;
    words_.push_back(std::move(word));
}

int TextLines::lineOffset(int alignment, int maxWidth, const std::vector<int>& lineWidths, std::size_t line) const
{
    if (alignment == ALIGN_LEFT)
        return 0;
    const int lineWidth = line < lineWidths.size() ? lineWidths[line] : 0;
    if (alignment == ALIGN_RIGHT)
        return maxWidth - lineWidth;
    return std::max(0, maxWidth - lineWidth) / 2;
}

SIZE TextLines::layout(TextDevice* device, int maxWidth, int left, int top, int alignment, bool collectLineWidths,
                       std::vector<int>& lineWidths) const
{
    int x = 0;
    int lineTop = 0;
    int widest = 0;
    int lineWidth = 0;
    std::size_t line = 0;
    bool lineEndPending = false;
    auto newLine = [&] {
        lineTop += textHeight_;
        x = 0;
        if (collectLineWidths)
            lineWidths.push_back(lineWidth);
        lineWidth = 0;
        ++line;
    };

    for (const Word& word : words_) {
        if (lineEndPending)
            newLine();
        else if (x > 0 && x + word.extent.cx > maxWidth)
            newLine();
        lineEndPending = false;
        if (device && !word.text.empty())
            device->drawText(left + x + lineOffset(alignment, maxWidth, lineWidths, line), top + lineTop, word.text);
        x += word.extent.cx;
        widest = std::max(widest, x);
        // A trailing blank is not part of the line's width.
        lineWidth = x;
        if (word.breakKind == BREAK_BLANK)
            x += spaceWidth_;
        else if (word.breakKind == BREAK_LINE)
            lineEndPending = true;
    }
    if (collectLineWidths)
        lineWidths.push_back(lineWidth);
    if (widest == 0 && lineTop == 0)
        return {0, 0};
    return {widest, lineTop + textHeight_};
}

SIZE TextLines::drawAligned(TextDevice& device, int maxWidth, int left, int top, int alignment) const
{
    std::vector<int> lineWidths;
    if (alignment != ALIGN_LEFT)
        layout(nullptr, maxWidth, left, top, alignment, true, lineWidths);
    return layout(&device, maxWidth, left, top, alignment, false, lineWidths);
}

} // namespace kova
