#include "Database/TextMatch.h"

#include <QString>

bool textMatches(const std::string& a, const std::string& b, TextMatch match)
{
    if (match == TextMatch::Exact)
        return a == b;
    if (a == b)
        return true;
    // Qt folds case by Unicode rules and ignores the user's locale, so the
    // same names match on every station whatever language it runs in.
    return QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()))
               .compare(QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())), Qt::CaseInsensitive)
        == 0;
}

bool textStartsWith(const std::string& text, const std::string& prefix, TextMatch match)
{
    if (text.compare(0, prefix.size(), prefix) == 0)
        return true;
    if (match == TextMatch::Exact)
        return false;
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .startsWith(QString::fromUtf8(prefix.data(), static_cast<qsizetype>(prefix.size())), Qt::CaseInsensitive);
}
