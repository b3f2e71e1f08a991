#include "Rodezir/FitChecker.h"

#include "Rodezir/PainterTextDevice.h"
#include "Rodezir/TextLines.h"
#include "Rodezir/WindowStyle.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/DialogRegistry.h"
#include "Rodezir/dialogs/DialogTemplateCodec.h"
#include "Rodezir/dialogs/DialogTranslation.h"
#include "Rodezir/dialogs/TemplateDialog.h"
#include "gettext/Gettext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include <array>
#include <initializer_list>
#include <strings.h>

namespace kova {
namespace {

// Window texts are read whole, but a parent's caption only by its first characters.
constexpr int CAPTION_CHARACTERS = 49;

bool anyKind(WindowStyle style, std::initializer_list<std::uint32_t> masks)
{
    for (std::uint32_t mask : masks)
        if (style.hasStyle(mask))
            return true;
    return false;
}

struct MarginRule {
    const char* className; // null: any class
    bool (*applies)(WindowStyle);
    int left, top, right, bottom;
    bool isText;
    bool (*wraps)(WindowStyle);
};

bool always(WindowStyle) { return true; }
bool never(WindowStyle) { return false; }
bool multiline(WindowStyle style) { return style.hasStyle(BS_MULTILINE); }
bool editMultiline(WindowStyle style) { return style.hasStyle(ES_MULTILINE); }

// Tested in order; the first rule of the control's class whose style test holds gives its margins.
const std::array<MarginRule, 9> MARGIN_RULES{{
    {"Button", [](WindowStyle s) { return s.hasStyle(0xB); }, 0, 0, 0, 0, false, never},
    {"Button", [](WindowStyle s) { return s.hasStyle(0x7); }, 10, 0, 0, 2, true, never},
    {"Button",
     [](WindowStyle s) { return anyKind(s, {5, 6, 3, 9, 2, 4}) && !s.hasStyle(BS_PUSHLIKE); },
     19, 0, 0, 0, true, multiline},
    {"Button", always, 2, 2, 2, 2, true, multiline},
    {"Static",
     [](WindowStyle s) { return anyKind(s, {7, 0xE, 4, 8, 5, 3, 0xD, 0x800, 9, 6}); },
     0, 0, 0, 0, true, never},
    {"Static", always, 1, 0, 0, 0, true,
     [](WindowStyle s) { return !s.hasStyle(0xC) && !s.hasStyle(0xB); }},
    {"Edit", [](WindowStyle s) { return (s.value() & (ES_AUTOVSCROLL | ES_AUTOHSCROLL)) != 0; }, 0, 0, 0, 0, false,
     editMultiline},
    {"Edit", always, 0, 0, 0, 0, true, editMultiline},
    {nullptr, always, 0, 0, 0, 0, false, never},
}};

// The class name as the window manager spells it ("Button", not "BUTTON").
std::string predefinedName(const std::wstring& windowClass)
{
    static constexpr std::array<const char*, 6> NAMES{"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    const QString name = QString::fromStdWString(windowClass);
    for (const char* known : NAMES)
        if (name.compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
            return known;
    return name.toStdString();
}

// Visible once its dialog is shown: neither it nor any ancestor below the
// outermost one is hidden (the sweep builds its dialogs without showing them).
bool isVisibleInDialog(const QWidget* window)
{
    for (const QWidget* w = window; w && w->parentWidget(); w = w->parentWidget())
        if (w->isHidden())
            return false;
    return true;
}

// The class and style of a widget that no template row describes, from what it is.
ControlClass inferControlClass(const QWidget* control)
{
    if (qobject_cast<const QGroupBox*>(control))
        return {"Button", BS_GROUPBOX};
    if (auto* box = qobject_cast<const QCheckBox*>(control))
        return {"Button", box->isTristate() ? BS_AUTO3STATE : BS_AUTOCHECKBOX};
    if (qobject_cast<const QRadioButton*>(control))
        return {"Button", BS_AUTORADIOBUTTON};
    if (qobject_cast<const QPushButton*>(control))
        return {"Button", BS_PUSHBUTTON};
    if (auto* labelWidget = qobject_cast<const QLabel*>(control)) {
        if (!labelWidget->pixmap().isNull())
            return {"Static", SS_BITMAP};
        return {"Static", labelWidget->wordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP};
    }
    if (qobject_cast<const QLineEdit*>(control))
        return {"Edit", ES_AUTOHSCROLL};
    if (qobject_cast<const QPlainTextEdit*>(control) || qobject_cast<const QTextEdit*>(control))
        return {"Edit", ES_MULTILINE | ES_AUTOVSCROLL};
    if (qobject_cast<const QComboBox*>(control))
        return {"ComboBox", 0};
    if (qobject_cast<const QListWidget*>(control))
        return {"ListBox", 0};
    if (control && control->metaObject() == &QFrame::staticMetaObject)
        return {"Static", SS_BLACKFRAME};
    return {control ? control->metaObject()->className() : "", 0};
}

const TemplateDialog* templateDialogOf(const QWidget* control)
{
    for (const QWidget* w = control ? control->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* dialog = qobject_cast<const TemplateDialog*>(w))
            return dialog;
    return nullptr;
}

} // namespace

TextMargins textMarginsFor(const std::string& className, std::uint32_t style)
{
    const WindowStyle windowStyle(style);
    for (const MarginRule& rule : MARGIN_RULES) {
        if (rule.className && ::strcasecmp(rule.className, className.c_str()) != 0)
            continue;
        if (!rule.applies(windowStyle))
            continue;
        return {rule.left, rule.top, rule.right, rule.bottom, rule.isText, rule.wraps(windowStyle)};
    }
    return {};
}

ControlClass getControlClass(const QWidget* control)
{
    const int id = controlId(control);
    const TemplateDialog* dialog = templateDialogOf(control);
    if (id == 0 || !dialog || dialog->dialogTemplate().isEmpty())
        return inferControlClass(control);
    const auto table = DialogTemplateCodec::decode(dialog->dialogTemplate().data(), dialog->dialogTemplate().size());
    if (!table)
        return inferControlClass(control);
    // Many statics share one id; only a row the id names alone speaks for the widget.
    const DialogControlTable* row = nullptr;
    for (const DialogControlTable& candidate : table->controls) {
        if (candidate.id != id)
            continue;
        if (row)
            return inferControlClass(control);
        row = &candidate;
    }
    if (!row)
        return inferControlClass(control);
    return {predefinedName(row->windowClass), row->style};
}

TextMargins getTextMargins(const QWidget* control)
{
    const ControlClass kind = getControlClass(control);
    return textMarginsFor(kind.className, kind.style);
}

SIZE getTextExtent(const QWidget* control, int wrapWidth)
{
    const std::wstring text = windowText(control).toStdWString();
    SIZE extent;
    if (!text.empty()) {
        PainterTextDevice device(control->font());
        if (wrapWidth == 0) {
            extent = device.textExtent(text);
        } else {
            std::vector<int> unused;
            extent = TextLines(device, text, Gettext::instance().isEastAsian())
                         .layout(nullptr, wrapWidth, 0, 0, TextLines::ALIGN_LEFT, false, unused);
        }
    }
    return {extent.cx - 1, extent.cy - 1};
}

std::string getWindowTextString(const QWidget* window)
{
    return windowText(window).toStdString();
}

SIZE getClientSize(const QWidget* window)
{
    if (!window)
        return {};
    // A frame's border is not part of its client area.
    if (auto* frame = qobject_cast<const QFrame*>(window))
        return {frame->contentsRect().width(), frame->contentsRect().height()};
    return {window->width(), window->height()};
}

std::string getAncestorCaption(const QWidget* window)
{
    for (const QWidget* w = window ? window->parentWidget() : nullptr; w; w = w->parentWidget()) {
        const QString caption = windowText(w).left(CAPTION_CHARACTERS);
        if (!caption.isEmpty())
            return caption.toStdString();
    }
    return {};
}

int textFits(const QWidget* control)
{
    const TextMargins margins = getTextMargins(control);
    if (!margins.isText)
        return NOT_A_TEXT_CONTROL;
    const SIZE client = getClientSize(control);
    const int availableWidth = client.cx - (margins.left + margins.right);
    const int availableHeight = client.cy - (margins.top + margins.bottom);
    const SIZE extent = getTextExtent(control, margins.wraps ? availableWidth : 0);
    return extent.cx <= availableWidth && extent.cy <= availableHeight ? TEXT_FITS : TEXT_TOO_LARGE;
}

void fitControlToText(QWidget* control)
{
    if (!control)
        return;
    const QRect window = control->geometry();
    const TextMargins margins = getTextMargins(control);
    const SIZE extent = getTextExtent(control, margins.wraps ? window.width() : 0);
    control->resize(std::max(0, window.width() + margins.left - margins.right + extent.cx),
                    std::max(0, window.height() + margins.top - margins.bottom + extent.cy));
}

std::string checkControl(const QWidget* window, const ResourceNameMap& names)
{
    if (!window || !isVisibleInDialog(window) || textFits(window) != TEXT_TOO_LARGE)
        return {};
    const int id = controlId(window);
    std::string line = "  The text='" + getWindowTextString(window) + "' in control ";
    if (const auto name = names.find(id); name != names.end())
        line += name->second;
    line += "(" + std::to_string(id) + ")";
    if (const std::string caption = getAncestorCaption(window); !caption.empty())
        line += " with parent '" + caption + "'";
    return line + " is too large\n";
}

std::string checkDialog(const QWidget* dialog, const ResourceNameMap& names)
{
    std::string lines;
    if (!dialog)
        return lines;
    for (const QWidget* child : dialog->findChildren<QWidget*>())
        lines += checkControl(child, names);
    return lines;
}

std::string checkAllDialogs(const ResourceNameMap& names, QWidget* mainWindow)
{
    std::string report;
    for (const auto& [id, name] : names) {
        if (name.rfind("IDD_", 0) != 0 || !DialogRegistry::templateBytes(id))
            continue;
        TemplateDialog dialog(id, mainWindow);
        if (!dialog.create())
            continue;
        translateDialog(&dialog);
        const std::string lines = checkDialog(&dialog, names);
        if (!lines.empty())
            report += name + "\n" + lines;
    }
    if (!report.empty())
        report += "\n";
    return report;
}

} // namespace kova
