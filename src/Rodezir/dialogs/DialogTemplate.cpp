#include "Rodezir/dialogs/DialogTemplate.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogRegistry.h"
#include "Rodezir/dialogs/DialogTemplateCodec.h"
#include "Rodezir/dialogs/FontUtil.h"
#include "Rodezir/gstringUtil.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QString>

#include <algorithm>
#include <cstring>
#include <vector>

namespace kova {
namespace {

constexpr std::size_t CLASSIC_HEADER = 18;
constexpr std::size_t EXTENDED_HEADER = 26;
constexpr const char* BASE_UNIT_LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

std::size_t alignUp4(std::size_t offset) { return (offset + 3) & ~static_cast<std::size_t>(3); }

void appendWord(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

// Base units of a font as the dialog manager measures them: the average width
// of the 52 Latin letters rounded to the nearest pixel, and the line height
// with the external leading.
SIZE measureBaseUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QString::fromLatin1(BASE_UNIT_LETTERS));
    return {(width + 26) / 52, metrics.height() + metrics.leading()};
}

} // namespace

DialogTemplate::DialogTemplate(int templateId)
{
    load(templateId);
}

DialogTemplate::DialogTemplate(const std::string& templateName)
{
    load(templateName);
}

DialogTemplate::DialogTemplate(const DialogTable& table, bool extended)
{
    const auto bytes = DialogTemplateCodec::encode(table, extended);
    assign(bytes.data(), bytes.size());
}

DialogTemplate::DialogTemplate(const DialogTemplate& other)
{
    if (!other.isEmpty())
        replaceBuffer(other.data(), other.size());
}

DialogTemplate& DialogTemplate::operator=(const DialogTemplate& other)
{
    if (this == &other)
        return *this;
    if (other.isEmpty()) {
        buffer_.reset();
        capacity_ = size_ = 0;
    } else {
        replaceBuffer(other.data(), other.size());
    }
    return *this;
}

bool DialogTemplate::load(const std::string& templateName)
{
    const auto bytes = DialogRegistry::templateBytes(templateName);
    return bytes && assign(bytes->data(), bytes->size());
}

bool DialogTemplate::load(int templateId)
{
    const auto bytes = DialogRegistry::templateBytes(templateId & 0xFFFF);
    return bytes && assign(bytes->data(), bytes->size());
}

bool DialogTemplate::assign(const std::uint8_t* bytes, std::size_t count)
{
    DialogTemplate candidate;
    if (bytes && count > 0)
        candidate.replaceBuffer(bytes, count);
    if (candidate.isEmpty() || !candidate.layout().valid) {
        LogStream::instance() << "DialogTemplate::assign() : not a dialog template (" << static_cast<unsigned long>(count)
                              << " bytes)." << LogStream::endl;
        buffer_.reset();
        capacity_ = size_ = 0;
        return false;
    }
    *this = std::move(candidate);
    return true;
}

void DialogTemplate::replaceBuffer(const std::uint8_t* bytes, std::size_t count)
{
    capacity_ = count + SPARE_BYTES;
    buffer_ = std::make_unique<std::uint8_t[]>(capacity_);
    std::memset(buffer_.get(), 0, capacity_);
    std::memcpy(buffer_.get(), bytes, count);
    size_ = count;
}

std::uint16_t DialogTemplate::word(std::size_t offset) const
{
    if (offset + 2 > capacity_)
        return 0;
    return static_cast<std::uint16_t>(buffer_[offset] | (buffer_[offset + 1] << 8));
}

void DialogTemplate::setWord(std::size_t offset, std::uint32_t value)
{
    if (offset + 2 > capacity_)
        return;
    buffer_[offset] = static_cast<std::uint8_t>(value & 0xFF);
    buffer_[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

std::uint32_t DialogTemplate::dword(std::size_t offset) const
{
    return word(offset) | (static_cast<std::uint32_t>(word(offset + 2)) << 16);
}

void DialogTemplate::setDword(std::size_t offset, std::uint32_t value)
{
    setWord(offset, value & 0xFFFF);
    setWord(offset + 2, value >> 16);
}

bool DialogTemplate::isExtended() const
{
    return size_ >= 4 && word(2) == 0xFFFF;
}

std::size_t DialogTemplate::skipName(std::size_t offset) const
{
    if (word(offset) == 0xFFFF)
        return offset + 4;
    while (offset + 2 <= size_ && word(offset) != 0)
        offset += 2;
    return offset + 2;
}

DialogTemplate::Layout DialogTemplate::layout() const
{
    Layout result;
    const bool extended = isExtended();
    const std::size_t fixed = extended ? EXTENDED_HEADER : CLASSIC_HEADER;
    if (size_ < fixed)
        return result;
    std::size_t offset = skipName(fixed);            // menu
    offset = skipName(offset);                       // window class
    result.captionOffset = offset;
    offset = skipName(offset);                       // caption (never an ordinal, but bounded all the same)
    result.captionBytes = offset - result.captionOffset;
    result.fontOffset = offset;
    if (dword(styleOffset()) & DS_SETFONT) {
        const std::size_t faceOffset = offset + (extended ? 6 : 2);
        offset = skipName(faceOffset);
        result.fontBytes = offset - result.fontOffset;
    }
    result.headerEnd = offset;
    result.itemsStart = alignUp4(offset);
    result.valid = offset <= size_;
    return result;
}

bool DialogTemplate::hasFont() const
{
    return !isEmpty() && (getStyle() & DS_SETFONT) != 0;
}

std::uint32_t DialogTemplate::getStyle() const
{
    return isEmpty() ? 0 : dword(styleOffset());
}

void DialogTemplate::setStyle(std::uint32_t style)
{
    if (isEmpty())
        return;
    // Turning DS_SETFONT on or off by hand would make the font block appear or
    // vanish under the items; setFont is the way to add one.
    const std::uint32_t keep = getStyle() & DS_SETFONT;
    setDword(styleOffset(), (style & ~DS_SETFONT) | keep);
}

POINT DialogTemplate::getPosition() const
{
    if (isEmpty())
        return {-1, -1};
    const std::size_t at = rectOffset();
    return {static_cast<std::int16_t>(word(at)), static_cast<std::int16_t>(word(at + 2))};
}

void DialogTemplate::setPosition(POINT position)
{
    if (isEmpty())
        return;
    setWord(rectOffset(), static_cast<std::uint32_t>(position.x));
    setWord(rectOffset() + 2, static_cast<std::uint32_t>(position.y));
}

SIZE DialogTemplate::getSize() const
{
    if (isEmpty())
        return {-1, -1};
    const std::size_t at = rectOffset() + 4;
    return {static_cast<std::int16_t>(word(at)), static_cast<std::int16_t>(word(at + 2))};
}

void DialogTemplate::setSize(SIZE size)
{
    if (isEmpty())
        return;
    setWord(rectOffset() + 4, static_cast<std::uint32_t>(size.cx));
    setWord(rectOffset() + 6, static_cast<std::uint32_t>(size.cy));
}

std::wstring DialogTemplate::getCaption() const
{
    if (isEmpty())
        return {};
    const Layout at = layout();
    std::u16string units;
    for (std::size_t offset = at.captionOffset; offset + 2 <= at.fontOffset && word(offset) != 0; offset += 2)
        units.push_back(static_cast<char16_t>(word(offset)));
    return utf16ToWide(units);
}

bool DialogTemplate::rewriteTail(const Layout& old, const std::vector<std::uint8_t>& caption,
                                 const std::vector<std::uint8_t>& fontBlock)
{
    const std::size_t itemBytes = size_ > old.itemsStart ? size_ - old.itemsStart : 0;
    const std::size_t headerEnd = old.captionOffset + caption.size() + fontBlock.size();
    const std::size_t itemsStart = alignUp4(headerEnd);
    const bool hasItems = word(itemCountOffset()) != 0;
    const std::size_t newSize = hasItems ? itemsStart + itemBytes : headerEnd;
    if (newSize > capacity_)
        return false;
    const std::vector<std::uint8_t> items(buffer_.get() + old.itemsStart, buffer_.get() + old.itemsStart + itemBytes);
    std::uint8_t* out = buffer_.get() + old.captionOffset;
    std::memcpy(out, caption.data(), caption.size());
    out += caption.size();
    if (!fontBlock.empty())
        std::memcpy(out, fontBlock.data(), fontBlock.size());
    std::memset(buffer_.get() + headerEnd, 0, capacity_ - headerEnd);
    if (hasItems && !items.empty())
        std::memcpy(buffer_.get() + itemsStart, items.data(), items.size());
    size_ = newSize;
    return true;
}

bool DialogTemplate::setCaption(const std::wstring& caption)
{
    if (isEmpty())
        return false;
    const Layout old = layout();
    const std::u16string units = wideToUtf16(caption);
    const long long grow = 2 * (static_cast<long long>(units.size()) + 1) - static_cast<long long>(old.captionBytes);
    if (grow > MAX_CAPTION_GROWTH)
        return false;
    std::vector<std::uint8_t> captionBytes;
    for (char16_t unit : units)
        appendWord(captionBytes, unit);
    appendWord(captionBytes, 0);
    const std::vector<std::uint8_t> fontBlock(buffer_.get() + old.fontOffset, buffer_.get() + old.fontOffset + old.fontBytes);
    return rewriteTail(old, captionBytes, fontBlock);
}

DialogTemplate::Font DialogTemplate::getFont() const
{
    Font font;
    if (!hasFont())
        return font;
    const Layout at = layout();
    font.pointSize = word(at.fontOffset);
    std::u16string face;
    for (std::size_t offset = at.fontOffset + (isExtended() ? 6 : 2); offset + 2 <= at.headerEnd && word(offset) != 0; offset += 2)
        face.push_back(static_cast<char16_t>(word(offset)));
    font.face = toNarrow(utf16ToWide(face));
    return font;
}

bool DialogTemplate::setFont(const std::string& face, int pointSize)
{
    if (isEmpty())
        return false;
    const std::u16string units = wideToUtf16(toWide(face));
    if (units.size() + 1 > FACE_SIZE) {
        LogStream::instance() << "DialogTemplate::setFont( " << face << ", " << pointSize
                              << " ) : face name too long." << LogStream::endl;
        return false;
    }
    const Layout old = layout();
    std::vector<std::uint8_t> fontBlock;
    appendWord(fontBlock, static_cast<std::uint32_t>(pointSize));
    if (isExtended()) {
        // Weight, italic and charset stay as the template had them (zero when it had no font block).
        const std::size_t at = old.fontOffset + 2;
        const bool had = old.fontBytes != 0;
        for (std::size_t i = 0; i < 4; ++i)
            fontBlock.push_back(had ? buffer_[at + i] : 0);
    }
    for (char16_t unit : units)
        appendWord(fontBlock, unit);
    appendWord(fontBlock, 0);
    const std::vector<std::uint8_t> caption(buffer_.get() + old.captionOffset,
                                            buffer_.get() + old.captionOffset + old.captionBytes);
    const std::uint32_t style = getStyle();
    setDword(styleOffset(), style | DS_SETFONT);
    if (!rewriteTail(old, caption, fontBlock)) {
        setDword(styleOffset(), style);
        return false;
    }
    return true;
}

bool DialogTemplate::setPointSize(int pointSize)
{
    if (!hasFont())
        return false;
    setWord(layout().fontOffset, static_cast<std::uint32_t>(pointSize));
    return true;
}

SIZE DialogTemplate::systemBaseUnits()
{
    if (!qGuiApp)
        return {8, 16};
    return measureBaseUnits(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
}

SIZE DialogTemplate::getBaseUnits() const
{
    if (isEmpty())
        return {-1, -1};
    const Font font = getFont();
    if (!qGuiApp || font.pointSize < 0 || font.face.empty())
        return systemBaseUnits();
    QFont measured = FontUtil::dialogFont(font.face, font.pointSize, FontUtil::screenDpiY());
    return measureBaseUnits(measured);
}

SIZE DialogTemplate::toPixels(SIZE dialogUnits) const
{
    if (isEmpty())
        return {-1, -1};
    const SIZE base = getBaseUnits();
    return {mulDiv(dialogUnits.cx, base.cx, 4), mulDiv(dialogUnits.cy, base.cy, 8)};
}

SIZE DialogTemplate::toDialogUnits(SIZE pixels) const
{
    if (isEmpty())
        return {-1, -1};
    const SIZE base = getBaseUnits();
    return {mulDiv(pixels.cx, 4, base.cx), mulDiv(pixels.cy, 8, base.cy)};
}

RECT DialogTemplate::toPixels(int x, int y, int cx, int cy) const
{
    const SIZE base = getBaseUnits();
    const int left = mulDiv(x, base.cx, 4);
    const int top = mulDiv(y, base.cy, 8);
    return {left, top, left + mulDiv(cx, base.cx, 4), top + mulDiv(cy, base.cy, 8)};
}

} // namespace kova
