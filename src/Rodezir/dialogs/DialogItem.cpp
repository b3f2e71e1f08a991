#include "Rodezir/dialogs/DialogItem.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVariant>
#include <QWidget>

namespace kova {
namespace {

constexpr const char* ID_PROPERTY = "kovaControlId";
constexpr const char* TEXT_PROPERTY = "kovaWindowText";

} // namespace

int controlId(const QWidget* control)
{
    if (!control)
        return 0;
    const QVariant id = control->property(ID_PROPERTY);
    return id.isValid() ? id.toInt() : 0;
}

void setControlId(QWidget* control, int id)
{
    if (control)
        control->setProperty(ID_PROPERTY, id);
}

QWidget* getDlgItem(const QWidget* parent, int id)
{
    if (!parent || id == 0)
        return nullptr;
    // The dialog's own controls come first, so a page or child dialog inside
    // it with controls of the same ids never hides them.
    const auto own = parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* child : own)
        if (controlId(child) == id)
            return child;
    const auto all = parent->findChildren<QWidget*>();
    for (QWidget* child : all)
        if (controlId(child) == id)
            return child;
    return nullptr;
}

QString windowText(const QWidget* window)
{
    if (!window)
        return {};
    if (auto* button = qobject_cast<const QAbstractButton*>(window))
        return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(window))
        return group->title();
    if (auto* labelWidget = qobject_cast<const QLabel*>(window))
        return labelWidget->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(window))
        return edit->text();
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(window))
        return edit->toPlainText();
    if (auto* combo = qobject_cast<const QComboBox*>(window); combo && combo->isEditable())
        return combo->currentText();
    if (window->isWindow())
        return window->windowTitle();
    const QVariant text = window->property("text");
    if (text.isValid())
        return text.toString();
    return window->property(TEXT_PROPERTY).toString();
}

void setWindowText(QWidget* window, const QString& text)
{
    if (!window)
        return;
    if (auto* button = qobject_cast<QAbstractButton*>(window)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(window)) {
        group->setTitle(text);
    } else if (auto* labelWidget = qobject_cast<QLabel*>(window)) {
        labelWidget->setText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(window)) {
        edit->setText(text);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(window)) {
        edit->setPlainText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(window); combo && combo->isEditable()) {
        combo->setEditText(text);
    } else if (window->isWindow()) {
        window->setWindowTitle(text);
    } else if (window->metaObject()->indexOfProperty("text") >= 0) {
        window->setProperty("text", text);
    } else {
        window->setProperty(TEXT_PROPERTY, text);
    }
}

} // namespace kova
