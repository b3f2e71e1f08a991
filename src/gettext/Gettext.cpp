#include "gettext/Gettext.h"

#include "Rodezir/gstringUtil.h"
#include "gettext/MoCatalog.h"

#include <array>

namespace {

struct LanguageCodePage {
    std::string_view code;
    unsigned codePage;
};

// Languages whose catalogs are not written in the Western code page.
constexpr std::array<LanguageCodePage, 5> CODE_PAGES{{
    {"ja", 932},
    {"ko", 949},
    {"zh", 936},
    {"ru", 1251},
    {"pl", 1250},
}};
constexpr unsigned WESTERN_CODE_PAGE = 1252;

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiLetterOrDigit(char c) { return isAsciiLetter(c) || (c >= '0' && c <= '9'); }

} // namespace

Gettext::Gettext() = default;
Gettext::~Gettext() = default;

Gettext& Gettext::instance()
{
    static Gettext global;
    return global;
}

bool Gettext::setCatalog(const std::string& path)
{
    catalogPath_ = path;
    languageCode_ = languageCodeFromPath(path);
    catalog_.reset();
    if (path.empty())
        return false;
    auto catalog = std::make_unique<MoCatalog>();
    if (catalog->open(path))
        catalog_ = std::move(catalog);
    return catalog_ != nullptr;
}

std::string Gettext::languageCodeFromPath(std::string_view path)
{
    if (path.size() < 2)
        return {};
    if (path.size() == 2)
        return std::string(path);
    if (MoCatalog::endsWithMoExtension(path)) {
        // ".mo" and "x.mo" have fewer than two characters before the
        // extension; what there is is taken as it stands and matches no
        // language.
        const std::size_t dot = path.size() - 3;
        const std::size_t start = dot >= 2 ? dot - 2 : 0;
        return std::string(path.substr(start, dot - start));
    }
    return std::string(path.substr(path.size() - 2));
}

unsigned Gettext::codePageFor(std::string_view languageCode)
{
    for (const auto& row : CODE_PAGES)
        if (row.code == languageCode)
            return row.codePage;
    return WESTERN_CODE_PAGE;
}

std::string_view Gettext::stripContext(std::string_view msgid)
{
    // A tag is one letter and at most two letters or digits before "|".
    if (msgid.empty() || !isAsciiLetter(msgid[0]))
        return msgid;
    for (std::size_t bar = 1; bar <= 3 && bar < msgid.size(); ++bar) {
        if (msgid[bar] == '|')
            return msgid.substr(bar + 1);
        if (!isAsciiLetterOrDigit(msgid[bar]))
            return msgid;
    }
    return msgid;
}

bool Gettext::isEastAsian() const
{
    return languageCode_ == "ko" || languageCode_ == "ja" || languageCode_ == "zh";
}

std::wstring Gettext::lookup(std::string_view msgid, unsigned codePage) const
{
    if (msgid.empty())
        return {};
    const std::string id(msgid);
    if (!catalog_)
        return toWide(id, CP_ACP);
    const std::string translation = catalog_->lookup(id);
    // Not found and found-but-untranslated look alike: both show English.
    if (translation.empty())
        return toWide(id, CP_ACP);
    // A code page the system cannot convert with gives nothing; the English
    // text is better than an empty label.
    std::wstring text = toWide(translation, codePage);
    return text.empty() ? toWide(id, CP_ACP) : text;
}

std::wstring Gettext::translate(const char* msgid)
{
    if (!msgid)
        return {};
    return translateString(msgid);
}

std::wstring Gettext::translateString(std::string_view msgid)
{
    const Gettext& global = instance();
    return global.lookup(stripContext(msgid), global.codePage());
}
