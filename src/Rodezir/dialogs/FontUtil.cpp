#include "Rodezir/dialogs/FontUtil.h"

#include "Rodezir/Geometry.h"
#include "Rodezir/LogStream.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QScreen>

#include <array>
#include <cstdlib>
#include <initializer_list>

namespace kova::FontUtil {
namespace {

// Windows faces and the installed families that stand in for them, closest
// first: Liberation is metric-compatible with Arial and Times New Roman, so
// dialog texts measure as they were designed.
struct FaceMapping {
    const char* face;
    std::array<const char*, 2> families;
};

constexpr std::array<FaceMapping, 14> FACE_MAP{{
    {"MS Sans Serif", {"Liberation Sans", "DejaVu Sans"}},
    {"MS Shell Dlg", {"Liberation Sans", "DejaVu Sans"}},
    {"MS Shell Dlg 2", {"Liberation Sans", "DejaVu Sans"}},
    {"Microsoft Sans Serif", {"Liberation Sans", "DejaVu Sans"}},
    {"Tahoma", {"Liberation Sans", "DejaVu Sans"}},
    {"Verdana", {"Liberation Sans", "DejaVu Sans"}},
    {"Arial", {"Liberation Sans", "DejaVu Sans"}},
    {"System", {"Liberation Sans", "DejaVu Sans"}},
    {"Arial Narrow", {"Liberation Sans Narrow", "Liberation Sans"}},
    {"Times New Roman", {"Liberation Serif", "DejaVu Serif"}},
    {"Century Gothic", {"URW Gothic", "DejaVu Sans"}},
    {"Courier New", {"Liberation Mono", "DejaVu Sans Mono"}},
    {"Courier", {"Liberation Mono", "DejaVu Sans Mono"}},
    // The small face of dialogs too large for the screen: a narrow sans keeps
    // 7-point texts readable.
    {"Small Fonts", {"Liberation Sans Narrow", "Liberation Sans"}},
}};

// Qt cannot make fonts taller than this many pixels.
constexpr int MAX_FONT_HEIGHT = 16384;
constexpr int FACE_CHARACTERS = 31;

bool familyInstalled(const QString& family, QFontDatabase::WritingSystem script = QFontDatabase::Any)
{
    return QFontDatabase::families(script).contains(family, Qt::CaseInsensitive);
}

QFontDatabase::WritingSystem scriptOf(int charset)
{
    struct Entry {
        int charset;
        QFontDatabase::WritingSystem script;
    };
    static constexpr std::array<Entry, 10> SCRIPTS{{
        {ANSI_CHARSET, QFontDatabase::Latin},
        {DEFAULT_CHARSET, QFontDatabase::Any},
        {SHIFTJIS_CHARSET, QFontDatabase::Japanese},
        {HANGUL_CHARSET, QFontDatabase::Korean},
        {GB2312_CHARSET, QFontDatabase::SimplifiedChinese},
        {CHINESEBIG5_CHARSET, QFontDatabase::TraditionalChinese},
        {GREEK_CHARSET, QFontDatabase::Greek},
        {TURKISH_CHARSET, QFontDatabase::Latin},
        {RUSSIAN_CHARSET, QFontDatabase::Cyrillic},
        {EASTEUROPE_CHARSET, QFontDatabase::Latin},
    }};
    for (const auto& entry : SCRIPTS)
        if (entry.charset == charset)
            return entry.script;
    return QFontDatabase::Any;
}

int deviceDpiY(const QPaintDevice* device)
{
    return device ? device->logicalDpiY() : screenDpiY();
}

QFontMetrics metricsOn(const QFont& font, const QPaintDevice* device)
{
    return device ? QFontMetrics(font, device) : QFontMetrics(font);
}

const char* flagText(bool value) { return value ? "true" : "false"; }

} // namespace

int screenDpiY()
{
    if (qGuiApp && qGuiApp->primaryScreen())
        return qRound(qGuiApp->primaryScreen()->logicalDotsPerInchY());
    return 96;
}

QString installedFamily(const std::string& face)
{
    const QString wanted = QString::fromStdString(face);
    for (const auto& mapping : FACE_MAP) {
        if (wanted.compare(QLatin1String(mapping.face), Qt::CaseInsensitive) != 0)
            continue;
        for (const char* family : mapping.families)
            if (familyInstalled(QLatin1String(family)))
                return QLatin1String(family);
        return QLatin1String(mapping.families.front());
    }
    return wanted;
}

int getCharset()
{
    return ANSI_CHARSET;
}

bool isNonAnsiCharset()
{
    static const bool nonAnsi = getCharset() != ANSI_CHARSET;
    return nonAnsi;
}

bool hasSmallFonts()
{
    static const bool found = isFontInstalled("Small Fonts", getCharset());
    return found;
}

bool fontExists(const std::string& face, const QPaintDevice* device, int charset)
{
    const QString cut = QString::fromStdString(face).left(FACE_CHARACTERS);
    if (cut.isEmpty())
        return false;
    return familyInstalled(installedFamily(cut.toStdString()), scriptOf(charset));
}

bool isFontInstalled(const std::string& face, int charset)
{
    return fontExists(face, nullptr, charset);
}

std::optional<QFont> createHandle(const std::string& face, int height, bool bold, bool italic)
{
    if (std::abs(height) > MAX_FONT_HEIGHT)
        return std::nullopt;
    QFont font(installedFamily(face));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(italic);
    if (height < 0) {
        font.setPixelSize(-height);
    } else if (height > 0) {
        // A positive height asks for the cell height (ascent + descent), not the em size.
        font.setPixelSize(height);
        const int cell = QFontMetrics(font).height();
        if (cell > 0 && cell != height)
            font.setPixelSize(std::max(1, height * height / cell));
    }
    return font;
}

bool create(QFont& font, const std::string& face, int height, bool bold, bool italic)
{
    if (auto made = createHandle(face, height, bold, italic)) {
        font = *made;
        return true;
    }
    LogStream::instance() << "FontUtil::create( .., " << face << ", " << height << ", " << flagText(bold) << ", "
                          << flagText(italic) << ") : can't create font." << LogStream::endl;
    font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    return false;
}

QFont dialogFont(const std::string& face, int pointSize, int dpiY)
{
    QFont font(installedFamily(face));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    // As the dialog manager asks for it: -MulDiv(points, LOGPIXELSY, 72) pixels of character height.
    const int pixels = mulDiv(pointSize, dpiY, 72);
    font.setPixelSize(std::max(1, pixels));
    return font;
}

int getTextHeight(const QFont& font, const QPaintDevice* device)
{
    return metricsOn(font, device).height();
}

TextMetrics getTextMetrics(const QFont& font, const QPaintDevice* device)
{
    const QFontMetrics metrics = metricsOn(font, device);
    TextMetrics result;
    result.ascent = metrics.ascent();
    result.descent = metrics.descent();
    result.height = metrics.height();
    const int em = font.pixelSize() > 0 ? font.pixelSize() : qRound(font.pointSizeF() * deviceDpiY(device) / 72.0);
    result.internalLeading = std::max(0, result.height - em);
    result.externalLeading = metrics.leading();
    result.aveCharWidth = metrics.averageCharWidth();
    result.maxCharWidth = metrics.maxWidth();
    return result;
}

int pointsToLogical(int tenthsOfPoint, const QPaintDevice* device)
{
    const int deviceHeight = deviceDpiY(device) * tenthsOfPoint / 720;
    return -std::abs(deviceHeight);
}

int logicalToPoints(int logicalHeight, const QPaintDevice* device)
{
    const int dpi = deviceDpiY(device);
    return dpi > 0 ? logicalHeight * 720 / dpi : 0;
}

} // namespace kova::FontUtil
