#include "app/shell/MenuTemplate.h"

#include "Rodezir/gstringUtil.h"

namespace MenuTemplate {
namespace {

class Reader {
public:
    Reader(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

    bool word(std::uint16_t& value)
    {
        if (size_ - position_ < 2)
            return false;
        value = static_cast<std::uint16_t>(bytes_[position_] | bytes_[position_ + 1] << 8);
        position_ += 2;
        return true;
    }

    bool text(std::string& value)
    {
        const std::size_t start = position_;
        for (std::uint16_t unit = 1; unit != 0;)
            if (!word(unit))
                return false;
        value = toNarrow(utf16leToWide(bytes_ + start, position_ - start - 2), CP_UTF8);
        return true;
    }

    bool skip(std::size_t count)
    {
        if (size_ - position_ < count)
            return false;
        position_ += count;
        return true;
    }

    // Items up to and including the one marked as the last of its list.
    bool items(std::vector<platform::MenuItemResource>& list, int level)
    {
        if (level >= MAX_MENU_LEVEL)
            return false;
        for (;;) {
            std::uint16_t option = 0;
            if (!word(option))
                return false;
            platform::MenuItemResource item;
            item.flags = option & ~(MF_POPUP | MF_END);
            if (!(option & MF_POPUP)) {
                std::uint16_t id = 0;
                if (!word(id))
                    return false;
                item.id = id;
            }
            if (!text(item.text))
                return false;
            if (option & MF_POPUP) {
                if (!items(item.popup, level + 1))
                    return false;
            } else if (item.id == 0 && item.text.empty()) {
                item.flags |= platform::MF_SEPARATOR;
            }
            list.push_back(std::move(item));
            if (option & MF_END)
                return true;
        }
    }

private:
    const std::uint8_t* bytes_;
    std::size_t size_;
    std::size_t position_ = 0;
};

} // namespace

std::optional<platform::MenuResource> read(const std::uint8_t* bytes, std::size_t size)
{
    if (!bytes)
        return std::nullopt;
    Reader reader(bytes, size);
    std::uint16_t version = 0;
    std::uint16_t offset = 0;
    if (!reader.word(version) || !reader.word(offset) || version != 0 || !reader.skip(offset))
        return std::nullopt;
    platform::MenuResource menu;
    if (!reader.items(menu.items, 0))
        return std::nullopt;
    return menu;
}

std::optional<platform::MenuResource> read(const std::vector<std::uint8_t>& bytes)
{
    return read(bytes.data(), bytes.size());
}

} // namespace MenuTemplate
