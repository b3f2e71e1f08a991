#include "Rodezir/dialogs/DialogTemplateCodec.h"

#include "Rodezir/gstringUtil.h"

#include <algorithm>
#include <array>
#include <cwctype>

namespace kova {
namespace {

constexpr std::uint16_t EXTENDED_SIGNATURE = 0xFFFF;

struct PredefinedClass {
    int ordinal;
    const wchar_t* name;
};

constexpr std::array<PredefinedClass, 6> PREDEFINED_CLASSES{{
    {0x80, L"BUTTON"},
    {0x81, L"EDIT"},
    {0x82, L"STATIC"},
    {0x83, L"LISTBOX"},
    {0x84, L"SCROLLBAR"},
    {0x85, L"COMBOBOX"},
}};

class Writer {
public:
    void word(std::uint32_t value)
    {
        bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    }
    void dword(std::uint32_t value)
    {
        word(value & 0xFFFF);
        word(value >> 16);
    }
    void byte(std::uint32_t value) { bytes.push_back(static_cast<std::uint8_t>(value & 0xFF)); }

    // A NUL-terminated UTF-16 string.
    void text(const std::wstring& value)
    {
        for (char16_t unit : wideToUtf16(value)) {
            if (unit == 0)
                break;
            word(unit);
        }
        word(0);
    }
    void name(const TemplateName& value)
    {
        if (value.isOrdinal()) {
            word(0xFFFF);
            word(static_cast<std::uint32_t>(value.ordinal));
        } else {
            text(value.text);
        }
    }
    void alignTo4()
    {
        while (bytes.size() % 4 != 0)
            bytes.push_back(0);
    }

    std::vector<std::uint8_t> bytes;
};

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    std::size_t offset() const { return offset_; }

    std::uint32_t word()
    {
        if (!need(2))
            return 0;
        const std::uint32_t value = data_[offset_] | (data_[offset_ + 1] << 8);
        offset_ += 2;
        return value;
    }
    std::uint32_t dword()
    {
        const std::uint32_t low = word();
        return low | (word() << 16);
    }
    int shortValue() { return static_cast<std::int16_t>(static_cast<std::uint16_t>(word())); }
    std::uint32_t byte()
    {
        if (!need(1))
            return 0;
        return data_[offset_++];
    }
    std::wstring text()
    {
        std::u16string units;
        while (ok_) {
            const std::uint32_t unit = word();
            if (unit == 0 || !ok_)
                break;
            units.push_back(static_cast<char16_t>(unit));
        }
        return utf16ToWide(units);
    }
    TemplateName name()
    {
        if (remaining() >= 2 && data_[offset_] == 0xFF && data_[offset_ + 1] == 0xFF) {
            offset_ += 2;
            return TemplateName::number(static_cast<int>(word()));
        }
        return {text(), -1};
    }
    std::vector<std::uint8_t> bytes(std::size_t count)
    {
        if (!need(count))
            return {};
        std::vector<std::uint8_t> result(data_ + offset_, data_ + offset_ + count);
        offset_ += count;
        return result;
    }
    void alignTo4()
    {
        const std::size_t aligned = (offset_ + 3) & ~static_cast<std::size_t>(3);
        // The last item may end the template without its padding.
        offset_ = std::min(aligned, size_);
    }
    std::size_t remaining() const { return size_ - offset_; }

private:
    bool need(std::size_t count)
    {
        if (!ok_ || count > remaining()) {
            ok_ = false;
            return false;
        }
        return true;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
    bool ok_ = true;
};

TemplateName controlClass(const std::wstring& windowClass)
{
    const int ordinal = DialogTemplateCodec::predefinedClassOrdinal(windowClass);
    return ordinal >= 0 ? TemplateName::number(ordinal) : TemplateName{windowClass, -1};
}

std::wstring className(const TemplateName& name)
{
    return name.isOrdinal() ? DialogTemplateCodec::predefinedClassName(name.ordinal) : name.text;
}

void writeControl(Writer& out, const DialogControlTable& item, bool extended)
{
    out.alignTo4();
    if (extended) {
        out.dword(item.helpId);
        out.dword(item.exStyle);
        out.dword(item.style);
    } else {
        out.dword(item.style);
        out.dword(item.exStyle);
    }
    out.word(static_cast<std::uint32_t>(item.x));
    out.word(static_cast<std::uint32_t>(item.y));
    out.word(static_cast<std::uint32_t>(item.cx));
    out.word(static_cast<std::uint32_t>(item.cy));
    if (extended)
        out.dword(static_cast<std::uint32_t>(item.id));
    else
        out.word(static_cast<std::uint32_t>(item.id));
    out.name(controlClass(item.windowClass));
    out.name(item.text);
    out.word(static_cast<std::uint32_t>(item.creationData.size()));
    out.bytes.insert(out.bytes.end(), item.creationData.begin(), item.creationData.end());
}

std::optional<DialogControlTable> readControl(Reader& in, bool extended)
{
    in.alignTo4();
    DialogControlTable item;
    if (extended) {
        item.helpId = in.dword();
        item.exStyle = in.dword();
        item.style = in.dword();
    } else {
        item.style = in.dword();
        item.exStyle = in.dword();
    }
    item.x = in.shortValue();
    item.y = in.shortValue();
    item.cx = in.shortValue();
    item.cy = in.shortValue();
    // Ids are 16-bit in both forms as far as the dialog manager is concerned:
    // 0xFFFF is IDC_STATIC, and every other id up to 65535 (a Help button's
    // 32800, a command's 57xxx) stays the number the dialog asks for.
    const auto raw = static_cast<std::uint16_t>(extended ? in.dword() & 0xFFFF : in.word());
    item.id = raw == 0xFFFF ? IDC_STATIC : raw;
    item.windowClass = className(in.name());
    item.text = in.name();
    const std::size_t extra = in.word();
    item.creationData = in.bytes(extra);
    if (!in.ok())
        return std::nullopt;
    return item;
}

} // namespace

std::wstring DialogTemplateCodec::predefinedClassName(int ordinal)
{
    for (const auto& entry : PREDEFINED_CLASSES)
        if (entry.ordinal == ordinal)
            return entry.name;
    return {};
}

int DialogTemplateCodec::predefinedClassOrdinal(const std::wstring& name)
{
    std::wstring upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](wchar_t c) { return std::towupper(c); });
    for (const auto& entry : PREDEFINED_CLASSES)
        if (upper == entry.name)
            return entry.ordinal;
    return -1;
}

std::vector<std::uint8_t> DialogTemplateCodec::encode(const DialogTable& table, bool extended)
{
    Writer out;
    if (extended) {
        out.word(1);
        out.word(EXTENDED_SIGNATURE);
        out.dword(table.helpId);
        out.dword(table.exStyle);
        out.dword(table.style);
    } else {
        out.dword(table.style);
        out.dword(table.exStyle);
    }
    out.word(static_cast<std::uint32_t>(table.controls.size()));
    out.word(static_cast<std::uint32_t>(table.x));
    out.word(static_cast<std::uint32_t>(table.y));
    out.word(static_cast<std::uint32_t>(table.cx));
    out.word(static_cast<std::uint32_t>(table.cy));
    out.name(table.menu);
    out.name(table.windowClass);
    out.text(table.caption);
    if (table.style & DS_SETFONT) {
        out.word(static_cast<std::uint32_t>(table.pointSize));
        if (extended) {
            out.word(static_cast<std::uint32_t>(table.weight));
            out.byte(static_cast<std::uint32_t>(table.italic));
            out.byte(static_cast<std::uint32_t>(table.charset));
        }
        out.text(table.fontFace);
    }
    for (const auto& item : table.controls)
        writeControl(out, item, extended);
    return std::move(out.bytes);
}

std::optional<DialogTable> DialogTemplateCodec::decode(const std::uint8_t* bytes, std::size_t size)
{
    if (!bytes)
        return std::nullopt;
    Reader in(bytes, size);
    DialogTable table;
    table.fontFace.clear();
    table.pointSize = 0;
    const bool extended = size >= 4 && bytes[2] == 0xFF && bytes[3] == 0xFF;
    if (extended) {
        in.word();
        in.word();
        table.helpId = in.dword();
        table.exStyle = in.dword();
        table.style = in.dword();
    } else {
        table.style = in.dword();
        table.exStyle = in.dword();
    }
    const std::size_t count = in.word();
    table.x = in.shortValue();
    table.y = in.shortValue();
    table.cx = in.shortValue();
    table.cy = in.shortValue();
    table.menu = in.name();
    table.windowClass = in.name();
    table.caption = in.text();
    if (table.style & DS_SETFONT) {
        table.pointSize = static_cast<int>(in.word());
        if (extended) {
            table.weight = static_cast<int>(in.word());
            table.italic = static_cast<int>(in.byte());
            table.charset = static_cast<int>(in.byte());
        }
        table.fontFace = in.text();
    }
    if (!in.ok())
        return std::nullopt;
    // Every item takes at least 18 bytes, so a count the bytes cannot hold is
    // refused before anything is reserved for it.
    if (count > in.remaining() / 18 + 1)
        return std::nullopt;
    table.controls.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        auto item = readControl(in, extended);
        if (!item)
            return std::nullopt;
        table.controls.push_back(std::move(*item));
    }
    return table;
}

} // namespace kova
