#pragma once
// An editable copy of a dialog template (classic or extended form), so a
// dialog can be changed before it is built: style, position, size, caption and
// above all its font. It also converts between dialog units and pixels with the
// template's own font, measured the way the dialog manager measures it.

#include "Rodezir/Geometry.h"
#include "Rodezir/dialogs/DialogTable.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kova {

class DialogTemplate {
public:
    // Room kept behind the template so a longer caption (512 bytes) or a new
    // font block (at most 70 bytes and its alignment) grows in place.
    static constexpr std::size_t SPARE_BYTES = 578;
    static constexpr int MAX_CAPTION_GROWTH = 512;
    // Face names are held in 32 UTF-16 units with their terminator.
    static constexpr int FACE_SIZE = 32;

    DialogTemplate() = default;
    // The dialog of that id from the dialog registry; empty when there is none.
    explicit DialogTemplate(int templateId);
    // The dialog compiled in under that name; empty when there is none.
    explicit DialogTemplate(const std::string& templateName);
    explicit DialogTemplate(const DialogTable& table, bool extended = true);
    DialogTemplate(const DialogTemplate& other);
    DialogTemplate& operator=(const DialogTemplate& other);
    DialogTemplate(DialogTemplate&&) noexcept = default;
    DialogTemplate& operator=(DialogTemplate&&) noexcept = default;
    ~DialogTemplate() = default;

    // Replaces the template by the named resource; false, and nothing changed, when it does not exist.
    bool load(const std::string& templateName);
    bool load(int templateId);
    // Replaces the template by a copy of the bytes; false (and empty) when the
    // bytes do not hold a whole template header.
    bool assign(const std::uint8_t* bytes, std::size_t count);

    std::size_t size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }
    const std::uint8_t* data() const { return buffer_.get(); }

    // Must not be asked of an empty template.
    bool isExtended() const;
    bool hasFont() const;

    std::uint32_t getStyle() const;
    void setStyle(std::uint32_t style);
    // (-1, -1) when empty.
    POINT getPosition() const;
    void setPosition(POINT position);
    SIZE getSize() const;
    void setSize(SIZE size);

    std::wstring getCaption() const;
    // False, and nothing changed, when the caption would grow by more than 256
    // units or no longer fit the spare room.
    bool setCaption(const std::wstring& caption);

    struct Font {
        std::string face; // UTF-8
        int pointSize = -1;
    };
    // An empty face and point size -1 when the template has no font block.
    Font getFont() const;
    // Writes a font block (inserting one after the caption when there is none).
    // False for an empty template and for face names that do not fit 31 units.
    bool setFont(const std::string& face, int pointSize);
    // False when the template has no font block.
    bool setPointSize(int pointSize);

    // Horizontal and vertical dialog base units in pixels; (-1, -1) when empty.
    SIZE getBaseUnits() const;
    SIZE toPixels(SIZE dialogUnits) const;
    SIZE toDialogUnits(SIZE pixels) const;
    // A rectangle in dialog units (x, y, cx, cy) in pixels, as the dialog manager maps it.
    RECT toPixels(int x, int y, int cx, int cy) const;

    // The base units of the system dialog font, for templates without a font block.
    static SIZE systemBaseUnits();

private:
    struct Layout {
        std::size_t captionOffset = 0;
        std::size_t captionBytes = 0; // with its terminator
        std::size_t fontOffset = 0;
        std::size_t fontBytes = 0; // 0 without a font block
        std::size_t headerEnd = 0;
        std::size_t itemsStart = 0; // header end taken up to a multiple of 4
        bool valid = false;
    };

    Layout layout() const;
    std::uint16_t word(std::size_t offset) const;
    void setWord(std::size_t offset, std::uint32_t value);
    std::uint32_t dword(std::size_t offset) const;
    void setDword(std::size_t offset, std::uint32_t value);
    std::size_t styleOffset() const { return isExtended() ? 12 : 0; }
    std::size_t itemCountOffset() const { return isExtended() ? 16 : 8; }
    std::size_t rectOffset() const { return isExtended() ? 18 : 10; }
    std::size_t skipName(std::size_t offset) const;
    // Rewrites everything from the caption on: caption, font block, padding to
    // the next 4-byte boundary, then the items unchanged.
    bool rewriteTail(const Layout& old, const std::vector<std::uint8_t>& caption,
                     const std::vector<std::uint8_t>& fontBlock);
    void replaceBuffer(const std::uint8_t* bytes, std::size_t count);

    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
};

} // namespace kova
