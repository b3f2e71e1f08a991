#include "propertyPage/PageExchange.h"

#include "Rodezir/ComboUtil.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/TemplateDialog.h"
#include "Rodezir/gstringUtil.h"
#include "config/LangStruct.h"
#include "config/PropertyModel.h"
#include "gettext/Gettext.h"
#include "platform/MessageBox.h"
#include "propertyPage/PageField.h"

#include <QAbstractButton>
#include <QComboBox>
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

template <typename T>
T PropertyModel::*member(const PageField& field)
{
    return std::get<T PropertyModel::*>(field.field);
}

int slotOf(const PageField& field) { return std::get<int>(field.field); }

// A language whose catalog is missing falls back to the first entry of the list.
void selectLanguage(QComboBox* box, const std::string& code)
{
    const int index = LangStruct::indexOf(code);
    if (!box || index == -1)
        return;
    int at = box->findData(index);
    if (at < 0)
        at = box->findData(0);
    if (at >= 0)
        box->setCurrentIndex(at);
}

// Text typed into the edit field selects no list item, and so no language.
int selectedLanguage(const QComboBox* box)
{
    if (!box || box->currentIndex() < 0 || box->currentText() != box->itemText(box->currentIndex()))
        return -1;
    return box->currentData().toInt();
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

QComboBox* PageExchange::combo(int id) const
{
    auto* box = qobject_cast<QComboBox*>(item(id));
    KOVA_ASSERT(box != nullptr);
    return box;
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

void PageExchange::load(const PageField& field, const PropertyModel& model)
{
    using Kind = PageField::Kind;
    const int id = field.id;
    switch (field.kind) {
    case Kind::Check:
        if (auto* button = qobject_cast<QAbstractButton*>(item(id)))
            button->setChecked(model.*member<bool>(field));
        break;
    case Kind::Choice: {
        // The group runs over consecutive ids from its first button.
        const int index = model.*member<bool>(field) ? 0 : 1;
        for (int i = 0; auto* button = qobject_cast<QAbstractButton*>(dialog_.getDlgItem(id + i)); ++i)
            button->setChecked(i == index);
        break;
    }
    case Kind::ComboChoice:
        if (QComboBox* box = combo(id))
            box->setCurrentIndex(box->findData(model.*member<bool>(field) ? 0 : 1));
        break;
    case Kind::Number:
        setEditText(item(id), QString::fromStdString(formatNumber(model.*member<double>(field))));
        break;
    case Kind::Integer:
        setEditText(item(id), QString::number(model.*member<std::int32_t>(field)));
        break;
    case Kind::Text:
        // Through the station's narrow text, as every text the user edits.
        setEditText(item(id), QString::fromStdWString(toWide(toNarrow(model.*member<std::wstring>(field)))));
        break;
    case Kind::ComboText:
        if (QComboBox* box = combo(id))
            kova::ComboUtil::selectString(box, QString::fromStdWString(toWide(model.*member<std::string>(field))));
        break;
    case Kind::LanguageCombo:
        selectLanguage(combo(id), model.getLanguage(slotOf(field)));
        break;
    case Kind::IconCombo:
        if (QComboBox* box = combo(id)) {
            const int picture = model.getIcon(slotOf(field));
            box->setCurrentIndex(picture < box->count() ? picture : -1);
        }
        break;
    }
}

void PageExchange::store(const PageField& field, PropertyModel& model)
{
    if (!ok_)
        return;
    using Kind = PageField::Kind;
    const int id = field.id;
    switch (field.kind) {
    case Kind::Check:
        if (auto* button = qobject_cast<QAbstractButton*>(item(id)))
            model.*member<bool>(field) = button->isChecked();
        break;
    case Kind::Choice:
        // With no button checked the record keeps its choice.
        for (int i = 0; auto* button = qobject_cast<QAbstractButton*>(dialog_.getDlgItem(id + i)); ++i)
            if (button->isChecked())
                model.*member<bool>(field) = i == 0;
        break;
    case Kind::ComboChoice:
        if (QComboBox* box = combo(id); box && box->currentIndex() >= 0)
            model.*member<bool>(field) = box->currentData().toInt() == 0;
        break;
    case Kind::Number:
        storeNumber(field, model.*member<double>(field));
        break;
    case Kind::Integer:
        storeInteger(field, model.*member<std::int32_t>(field));
        break;
    case Kind::Text:
        model.*member<std::wstring>(field) = toWide(toNarrow(editText(item(id)).toStdWString()));
        break;
    case Kind::ComboText:
        if (QComboBox* box = combo(id))
            model.*member<std::string>(field) = toNarrow(kova::ComboUtil::getText(box, false).toStdWString());
        break;
    case Kind::LanguageCombo:
        model.setLanguage(slotOf(field), LangStruct::getCode(selectedLanguage(combo(id))));
        break;
    case Kind::IconCombo: {
        const QComboBox* box = combo(id);
        model.setIcon(slotOf(field), box ? box->currentIndex() : -1);
        break;
    }
    }
}

void PageExchange::storeNumber(const PageField& field, double& value)
{
    double parsed = 0;
    if (!parseDouble(trimmed(editText(item(field.id))), parsed))
        return fail(field.id, Gettext::translate("Please enter a number."));
    if (!(field.low <= parsed && parsed <= field.high))
        return fail(field.id, replaceBounds(Gettext::translate("Please enter a number between %1 and %2."),
                                            formatNumber(field.low), formatNumber(field.high)));
    value = parsed;
}

void PageExchange::storeInteger(const PageField& field, int& value)
{
    const int low = static_cast<int>(field.low);
    const int high = static_cast<int>(field.high);
    int parsed = 0;
    if (!parseInt(trimmed(editText(item(field.id))), parsed))
        return fail(field.id, Gettext::translate("Please enter an integer."));
    if (!(low <= parsed && parsed <= high))
        return fail(field.id, replaceBounds(Gettext::translate("Please enter an integer between %1 and %2."),
                                            std::to_string(low), std::to_string(high)));
    value = parsed;
}
