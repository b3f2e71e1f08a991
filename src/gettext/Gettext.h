#pragma once
// The translation layer: the message catalog of one language with its
// language code, turning English message ids into wide text of the right
// code page. One global object serves the user interface.

#include <memory>
#include <string>
#include <string_view>

class MoCatalog;

class Gettext {
public:
    Gettext();
    ~Gettext();
    Gettext(const Gettext&) = delete;
    Gettext& operator=(const Gettext&) = delete;

    // The object behind `translate` and `translateString`; it starts with no
    // catalog, so every text passes through in English until start-up loads
    // one.
    static Gettext& instance();

    // Loads the catalog at `path` (".mo" appended when missing) and takes the
    // language code from the path. True when a catalog is loaded afterwards;
    // on false the language code stays set and every text shows in English.
    bool setCatalog(const std::string& path);

    // The translation of `msgid` converted with `codePage`; the msgid itself
    // (in the station's narrow encoding) without a catalog or translation;
    // empty for an empty msgid.
    std::wstring lookup(std::string_view msgid, unsigned codePage) const;

    // The translation of a literal or a narrow text through the global
    // object, after removing a context tag ("a|", "b2|", "xy3|"). A null
    // pointer gives an empty text.
    static std::wstring translate(const char* msgid);
    static std::wstring translateString(std::string_view msgid);

    // The language code is "ko", "ja" or "zh".
    bool isEastAsian() const;

    const std::string& catalogPath() const { return catalogPath_; }
    const std::string& languageCode() const { return languageCode_; }
    bool hasCatalog() const { return catalog_ != nullptr; }
    // The code page of this object's language.
    unsigned codePage() const { return codePageFor(languageCode_); }

    // The code page of a language code (exact, case-sensitive): "ja" 932,
    // "ko" 949, "zh" 936, "ru" 1251, "pl" 1250, anything else 1252.
    static unsigned codePageFor(std::string_view languageCode);
    // The language code a catalog path names: the path itself when it has
    // two characters, else the two characters before ".mo", else the last two.
    static std::string languageCodeFromPath(std::string_view path);
    // The msgid without its leading context tag, or unchanged without one.
    static std::string_view stripContext(std::string_view msgid);

private:
    std::unique_ptr<MoCatalog> catalog_;
    std::string catalogPath_;
    std::string languageCode_;
};
