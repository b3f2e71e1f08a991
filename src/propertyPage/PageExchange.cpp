#include "propertyPage/PageExchange.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/TemplateDialog.h"
#include "Rodezir/gstringUtil.h"
#include "gettext/Gettext.h"
#include "platform/MessageBox.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

std::wstring replaceBounds(std::wstring message, const std::string& low, const std::string& high)
{
    auto put = [&message](const std::wstring& marker, const std::string& value) {
        const auto at = message.find(marker);
        if (at != std::wstring::npos)
            message.replace(at, marker.size(), std::wstring(value.begin(), value.end()));
    };
    put(L"%1", low);
    put(L"%2", high);
    return message;
}

std::string trimmed(const QString& text) { return text.trimmed().toStdString(); }

// Whole text as a number, in the C locale's form.
bool parseDouble(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && std::isfinite(value);
}

bool parseInt(const std::string& text, int& value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size() || parsed < INT32_MIN || parsed > INT32_MAX)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

QString editText(QWidget* widget)
{
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return line->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        return plain->toPlainText();
    return {};
}

void setEditText(QWidget* widget, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        line->setText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        plain->setPlainText(text);
}

} // namespace

std::string PageExchange::formatNumber(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

QWidget* PageExchange::item(int id) const
{
    QWidget* widget = dialog_.getDlgItem(id);
    KOVA_ASSERT(widget != nullptr);
    return widget;
}

void PageExchange::fail(int id, const std::wstring& message)
{
    ok_ = false;
    platform::messageBox(message, L"Kova CPR Software", platform::MB_OK | platform::MB_ICONWARNING);
    if (QWidget* widget = item(id)) {
        widget->setFocus(Qt::OtherFocusReason);
        if (auto* line = qobject_cast<QLineEdit*>(widget))
            line->selectAll();
    }
}

void PageExchange::check(int id, int& value)
{
    if (!ok_)
        return;
    auto* button = qobject_cast<QAbstractButton*>(item(id));
    if (!button)
        return;
    if (saving_)
        value = button->isChecked() ? 1 : 0;
    else
        button->setChecked(value != 0);
}

void PageExchange::radio(int firstId, int& index)
{
    if (!ok_)
        return;
    // The group runs over consecutive ids from its first button.
    for (int i = 0;; ++i) {
        auto* button = qobject_cast<QAbstractButton*>(dialog_.getDlgItem(firstId + i));
        if (!button)
            break;
        if (saving_ && button->isChecked())
            index = i;
        else if (!saving_)
            button->setChecked(i == index);
    }
}

void PageExchange::number(int id, double& value, double low, double high)
{
    if (!ok_)
        return;
    QWidget* widget = item(id);
    if (!saving_) {
        setEditText(widget, QString::fromStdString(formatNumber(value)));
        return;
    }
    double parsed = 0;
    if (!parseDouble(trimmed(editText(widget)), parsed))
        return fail(id, Gettext::translate("Please enter a number."));
    if (!(low <= parsed && parsed <= high))
        return fail(id, replaceBounds(Gettext::translate("Please enter a number between %1 and %2."),
                                      formatNumber(low), formatNumber(high)));
    value = parsed;
}

void PageExchange::integer(int id, int& value, int low, int high)
{
    if (!ok_)
        return;
    QWidget* widget = item(id);
    if (!saving_) {
        setEditText(widget, QString::number(value));
        return;
    }
    int parsed = 0;
    if (!parseInt(trimmed(editText(widget)), parsed))
        return fail(id, Gettext::translate("Please enter an integer."));
    if (!(low <= parsed && parsed <= high))
        return fail(id, replaceBounds(Gettext::translate("Please enter an integer between %1 and %2."),
                                      std::to_string(low), std::to_string(high)));
    value = parsed;
}

void PageExchange::text(int id, std::string& value)
{
    if (!ok_)
        return;
    QWidget* widget = item(id);
    if (saving_)
        value = toNarrow(editText(widget).toStdWString());
    else
        setEditText(widget, QString::fromStdWString(toWide(value)));
}
