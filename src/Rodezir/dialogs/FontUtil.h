#pragma once
// The fonts of the station: creating the fonts its windows and printouts draw
// with, asking whether a face exists, measuring, and converting point sizes.
// The Windows face names the dialogs and drawings ask for are mapped to the
// installed families in one table.

#include <QFont>

#include <optional>
#include <string>

class QPaintDevice;

namespace kova::FontUtil {

// Character sets of the font requests.
inline constexpr int ANSI_CHARSET = 0;
inline constexpr int DEFAULT_CHARSET = 1;
inline constexpr int SHIFTJIS_CHARSET = 128;
inline constexpr int HANGUL_CHARSET = 129;
inline constexpr int GB2312_CHARSET = 134;
inline constexpr int CHINESEBIG5_CHARSET = 136;
inline constexpr int GREEK_CHARSET = 161;
inline constexpr int TURKISH_CHARSET = 162;
inline constexpr int RUSSIAN_CHARSET = 204;
inline constexpr int EASTEUROPE_CHARSET = 238;

struct TextMetrics {
    int height = 0;          // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0; // height less the em size
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
};

// The installed family that stands in for a Windows face name ("MS Sans
// Serif", "Arial", "Times New Roman", ...); an unknown face is returned as it is.
QString installedFamily(const std::string& face);

// The character set of the station's code page. The station's narrow text is
// UTF-8 and every installed family covers the scripts it shows through Qt's
// font fallback, so this is ANSI_CHARSET.
int getCharset();
bool isNonAnsiCharset();
// Whether a "Small Fonts" family exists; worked out once per run.
bool hasSmallFonts();

// Whether a family of that face (its first 31 characters, through the mapping
// table) exists for the character set's script; DEFAULT_CHARSET accepts any.
bool fontExists(const std::string& face, const QPaintDevice* device, int charset);
bool isFontInstalled(const std::string& face, int charset = DEFAULT_CHARSET);

// Fills `font` with the face at a height in logical units (negative: the
// character height, positive: the cell height, 0: the default size), bold
// and italic as asked. On failure one error-log line is written and the
// system font is put in instead, so `font` is always usable.
bool create(QFont& font, const std::string& face, int height, bool bold, bool italic);
// The same font, or nothing on failure (nothing logged).
std::optional<QFont> createHandle(const std::string& face, int height, bool bold, bool italic);

// The logical dots per inch of the screen (96 without one).
int screenDpiY();

// The font of a dialog template: the face at the point size for a screen of
// `dpiY` dots per inch, weight normal.
QFont dialogFont(const std::string& face, int pointSize, int dpiY);

int getTextHeight(const QFont& font, const QPaintDevice* device = nullptr);
TextMetrics getTextMetrics(const QFont& font, const QPaintDevice* device = nullptr);

// A size in tenths of a point as the negative logical height to create a font
// with, for the device (the screen when null), and back.
int pointsToLogical(int tenthsOfPoint, const QPaintDevice* device = nullptr);
int logicalToPoints(int logicalHeight, const QPaintDevice* device = nullptr);

} // namespace kova::FontUtil
