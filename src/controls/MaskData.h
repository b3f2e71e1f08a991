#pragma once
// One position of a masked edit: a literal the user cannot change, or an input
// position that accepts one kind of character, with what it shows now.

#include <QChar>

namespace kova {

class MaskData {
public:
    enum Type : int {
        MaskDecimalSeparator = 0, // "."
        MaskThousandsSeparator = 1, // ","
        MaskTimeSeparator = 2, // ":"
        MaskDateSeparator = 3, // "/"
        MaskDigit = 4, // "#"
        MaskDecimal = 5, // "%": a digit or "."
        MaskAlphaNumeric = 6, // "A"
        MaskAlpha = 7, // "?"
        MaskAlphaUpper = 8, // ">"
        MaskAlphaLower = 9, // "<"
        MaskCharacter = 10, // "&": 32 to 126
        MaskLiteralEscape = 11, // "\" and the character after it
        MaskLiteral = 12, // any other character
    };

    MaskData() = default;
    MaskData(Type type, QChar character) : m_eType(type), m_chValue(character) {}

    bool IsInputData() const { return m_eType >= MaskDigit && m_eType <= MaskCharacter; }
    // Whether the position takes the character (input positions only).
    bool IsValidInput(QChar character) const;
    // The character as stored: upper- or lower-cased for those positions.
    QChar PreProcessChar(QChar character) const;
    // The mask text this position came from.
    QString GetMaskChars() const;

    Type m_eType = MaskLiteral;
    QChar m_chValue = QChar(0);
};

} // namespace kova
