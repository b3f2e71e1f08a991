#include "controls/MaskData.h"

#include <QString>

namespace kova {
namespace {

// Only 7-bit characters are ever taken; the classification is the plain ASCII one.
bool isAsciiDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }
bool isAsciiAlpha(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

const char MASK_CHARS[] = {'.', ',', ':', '/', '#', '%', 'A', '?', '>', '<', '&'};

} // namespace

bool MaskData::IsValidInput(QChar c) const
{
    switch (m_eType) {
    case MaskDigit: return isAsciiDigit(c);
    case MaskDecimal: return isAsciiDigit(c) || c == QLatin1Char('.');
    case MaskAlphaNumeric: return isAsciiAlpha(c) || isAsciiDigit(c);
    case MaskAlpha:
    case MaskAlphaUpper:
    case MaskAlphaLower: return isAsciiAlpha(c);
    case MaskCharacter: return c.unicode() >= 32 && c.unicode() <= 126;
    default: return false;
    }
}

QChar MaskData::PreProcessChar(QChar c) const
{
    if (m_eType == MaskAlphaUpper)
        return c.toUpper();
    if (m_eType == MaskAlphaLower)
        return c.toLower();
    return c;
}

QString MaskData::GetMaskChars() const
{
    if (m_eType <= MaskCharacter)
        return QString(QLatin1Char(MASK_CHARS[m_eType]));
    if (m_eType == MaskLiteralEscape)
        return QStringLiteral("\\") + m_chValue;
    return m_chValue.isNull() ? QString() : QString(m_chValue);
}

} // namespace kova
