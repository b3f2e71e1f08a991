#include "Rodezir/DateText.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"

#include <QDateTime>
#include <QLocale>

namespace kova {
namespace {

constexpr std::size_t ISO_DATE_LENGTH = 10;

QDate toDate(const SYSTEMTIME& time)
{
    return QDate(time.wYear, time.wMonth, time.wDay);
}

SYSTEMTIME fromDateTime(const QDateTime& now)
{
    SYSTEMTIME time;
    const QDate date = now.date();
    const QTime clock = now.time();
    time.wYear = static_cast<std::uint16_t>(date.year());
    time.wMonth = static_cast<std::uint16_t>(date.month());
    time.wDay = static_cast<std::uint16_t>(date.day());
    time.wDayOfWeek = static_cast<std::uint16_t>(date.dayOfWeek() % 7);
    time.wHour = static_cast<std::uint16_t>(clock.hour());
    time.wMinute = static_cast<std::uint16_t>(clock.minute());
    time.wSecond = static_cast<std::uint16_t>(clock.second());
    time.wMilliseconds = static_cast<std::uint16_t>(clock.msec());
    return time;
}

SYSTEMTIME localNow()
{
    return fromDateTime(QDateTime::currentDateTime());
}

// The locale's short date with the year in full: course records span decades,
// and a two-digit year would leave the century to guessing.
QString shortDateFormat(const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QString shortTimeFormat(const QLocale& locale, bool withSeconds)
{
    QString format = locale.timeFormat(QLocale::ShortFormat);
    if (withSeconds && !format.contains(QLatin1String("ss")))
        format.replace(QLatin1String("mm"), QLatin1String("mm:ss"));
    return format;
}

// One run of a picture letter, formatted.
QString pictureField(QChar letter, int count, const QDate& date, const QLocale& locale)
{
    switch (letter.unicode()) {
    case 'd':
        if (count == 1)
            return QString::number(date.day());
        if (count == 2)
            return QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0'));
        return locale.dayName(date.dayOfWeek(), count == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
    case 'M':
        if (count == 1)
            return QString::number(date.month());
        if (count == 2)
            return QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0'));
        return locale.monthName(date.month(), count == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
    case 'y':
        if (count == 1)
            return QString::number(date.year() % 100);
        if (count == 2)
            return QStringLiteral("%1").arg(date.year() % 100, 2, 10, QLatin1Char('0'));
        return QString::number(date.year());
    default:
        // The era ("gg") of the Gregorian calendar is left out.
        return {};
    }
}

QString formatPicture(const QDate& date, const QString& picture)
{
    const QLocale locale;
    QString result;
    for (qsizetype i = 0; i < picture.size();) {
        const QChar c = picture[i];
        if (c == QLatin1Char('\'')) {
            ++i;
            while (i < picture.size()) {
                if (picture[i] == QLatin1Char('\'')) {
                    if (i + 1 < picture.size() && picture[i + 1] == QLatin1Char('\'')) {
                        result += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                result += picture[i++];
            }
            continue;
        }
        if (c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y') || c == QLatin1Char('g')) {
            int count = 0;
            while (i < picture.size() && picture[i] == c) {
                ++count;
                ++i;
            }
            result += pictureField(c, count, date, locale);
            continue;
        }
        result += c;
        ++i;
    }
    return result;
}

bool isDigits(const std::wstring& text, std::size_t from, std::size_t count)
{
    for (std::size_t i = from; i < from + count; ++i)
        if (text[i] < L'0' || text[i] > L'9')
            return false;
    return true;
}

int number(const std::wstring& text, std::size_t from, std::size_t count)
{
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i)
        value = value * 10 + (text[i] - L'0');
    return value;
}

} // namespace

std::string dateText(const SYSTEMTIME& time, bool longDate)
{
    const QLocale locale;
    const QString format = longDate ? locale.dateFormat(QLocale::LongFormat) : shortDateFormat(locale);
    return locale.toString(toDate(time), format).toStdString();
}

std::string timeText(const SYSTEMTIME& time, bool withSeconds)
{
    const QLocale locale;
    const QTime clock(time.wHour, time.wMinute, time.wSecond);
    return locale.toString(clock, shortTimeFormat(locale, withSeconds)).toStdString();
}

std::string dateTimeText(const SYSTEMTIME& time, bool longDate, bool withSeconds)
{
    return dateText(time, longDate) + ' ' + timeText(time, withSeconds);
}

std::string todayText(bool longDate)
{
    return dateText(localNow(), longDate);
}

std::string nowText(bool withSeconds)
{
    return timeText(localNow(), withSeconds);
}

std::string formatDate(const SYSTEMTIME& time, const std::string& picture)
{
    return formatPicture(toDate(time), QString::fromStdString(picture)).toStdString();
}

std::string formatToday(const std::string& picture)
{
    return formatDate(localNow(), picture);
}

std::wstring formatToday(const std::wstring& picture)
{
    return formatPicture(QDate::currentDate(), QString::fromStdWString(picture)).toStdWString();
}

std::wstring isoDateToText(const std::wstring& isoDate)
{
    // Read only what is there: a short or malformed text is refused, never read past.
    const bool wellFormed = isoDate.size() >= ISO_DATE_LENGTH && isDigits(isoDate, 0, 4) && isDigits(isoDate, 5, 2)
                            && isDigits(isoDate, 8, 2);
    const QDate date = wellFormed ? QDate(number(isoDate, 0, 4), number(isoDate, 5, 2), number(isoDate, 8, 2)) : QDate();
    if (!date.isValid()) {
        LogStream::instance() << "isoDateToText(" << isoDate << ") : not a date of the form YYYY-MM-DD"
                              << LogStream::endl;
        return {};
    }
    const QLocale locale;
    return locale.toString(date, shortDateFormat(locale)).toStdWString();
}

std::string isoDateToText(const std::string& isoDate)
{
    return toNarrow(isoDateToText(toWide(isoDate)));
}

} // namespace kova
