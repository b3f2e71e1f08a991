#include "Rodezir/dialogs/DialogBuilder.h"

#include "Rodezir/ComboUtil.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/DialogTemplate.h"
#include "Rodezir/dialogs/DialogTemplateCodec.h"
#include "Rodezir/dialogs/FontUtil.h"
#include "platform/Resources.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTreeWidget>

#include <algorithm>
#include <cwctype>
#include <map>

namespace kova {
namespace {

constexpr std::uint32_t SS_NOPREFIX = 0x80;
constexpr std::uint32_t LVS_NOCOLUMNHEADER = 0x4000;
constexpr std::uint32_t TBS_VERT = 0x2;

std::wstring upperCase(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towupper(c); });
    return text;
}

QString textOf(const DialogControlTable& control)
{
    return control.text.isOrdinal() ? QString() : QString::fromStdWString(control.text.text);
}

// The resource id a picture control names: an ordinal, or "#<id>" as resource scripts write it.
int pictureId(const DialogControlTable& control)
{
    if (control.text.isOrdinal())
        return control.text.ordinal;
    const QString text = textOf(control);
    if (!text.startsWith(QLatin1Char('#')))
        return -1;
    bool ok = false;
    const int id = text.mid(1).toInt(&ok);
    return ok ? id : -1;
}

QWidget* makeButton(QWidget* parent, const DialogControlTable& control)
{
    switch (control.style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
        return new QCheckBox(parent);
    case BS_3STATE:
    case BS_AUTO3STATE: {
        auto* box = new QCheckBox(parent);
        box->setTristate(true);
        return box;
    }
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: {
        auto* radio = new QRadioButton(parent);
        // Exclusivity follows the template's WS_GROUP runs, not the parent.
        radio->setAutoExclusive(false);
        return radio;
    }
    case BS_GROUPBOX:
        return new QGroupBox(parent);
    default: {
        auto* button = new QPushButton(parent);
        button->setDefault((control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        button->setFlat((control.style & BS_TYPEMASK) == BS_OWNERDRAW);
        return button;
    }
    }
}

// A multi-line edit of a dialog: Tab and Shift+Tab move on and back as from
// every other field, and Ctrl+Tab types a tab, as in the dialog manager.
class MultiLineEdit final : public QPlainTextEdit {
public:
    explicit MultiLineEdit(QWidget* parent) : QPlainTextEdit(parent) { setTabChangesFocus(true); }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return QPlainTextEdit::event(event);
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->key() != Qt::Key_Tab || (key->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier)
            return QPlainTextEdit::event(event);
        // Claimed before any shortcut, so no window's Ctrl+Tab takes it away.
        if (event->type() == QEvent::KeyPress && !isReadOnly())
            insertPlainText(QStringLiteral("\t"));
        event->accept();
        return true;
    }
};

QWidget* makeEdit(QWidget* parent, const DialogControlTable& control)
{
    if (control.style & ES_MULTILINE) {
        auto* edit = new MultiLineEdit(parent);
        edit->setReadOnly(control.style & ES_READONLY);
        return edit;
    }
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(control.style & ES_READONLY);
    if (control.style & ES_PASSWORD)
        edit->setEchoMode(QLineEdit::Password);
    if (control.style & ES_NUMBER)
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    if (control.style & ES_CENTER)
        edit->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    else if (control.style & ES_RIGHT)
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return edit;
}

QWidget* makePicture(QWidget* parent, const DialogControlTable& control, platform::ResourceType type)
{
    auto* picture = new QLabel(parent);
    const int id = pictureId(control);
    if (const auto bytes = id >= 0 ? platform::loadResource(type, id) : std::nullopt) {
        QPixmap pixmap;
        if (pixmap.loadFromData(bytes->data(), static_cast<uint>(bytes->size())))
            picture->setPixmap(pixmap);
    }
    picture->setAlignment((control.style & SS_CENTERIMAGE) ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
    return picture;
}

QWidget* makeFrame(QWidget* parent, int shape, int shadow, QPalette::ColorRole fill = QPalette::NoRole)
{
    auto* frame = new QFrame(parent);
    frame->setFrameShape(static_cast<QFrame::Shape>(shape));
    frame->setFrameShadow(static_cast<QFrame::Shadow>(shadow));
    if (fill != QPalette::NoRole) {
        frame->setAutoFillBackground(true);
        frame->setBackgroundRole(fill);
    }
    return frame;
}

QWidget* makeStatic(QWidget* parent, const DialogControlTable& control)
{
    switch (control.style & SS_TYPEMASK) {
    case SS_ICON:
        return makePicture(parent, control, platform::ResourceType::Icon);
    case SS_BITMAP:
        return makePicture(parent, control, platform::ResourceType::Bitmap);
    case SS_BLACKRECT:
        return makeFrame(parent, QFrame::NoFrame, QFrame::Plain, QPalette::WindowText);
    case SS_GRAYRECT:
        return makeFrame(parent, QFrame::NoFrame, QFrame::Plain, QPalette::Mid);
    case SS_WHITERECT:
        return makeFrame(parent, QFrame::NoFrame, QFrame::Plain, QPalette::Base);
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME:
        return makeFrame(parent, QFrame::Box, QFrame::Plain);
    case SS_ETCHEDHORZ:
        return makeFrame(parent, QFrame::HLine, QFrame::Sunken);
    case SS_ETCHEDVERT:
        return makeFrame(parent, QFrame::VLine, QFrame::Sunken);
    case SS_ETCHEDFRAME:
        return makeFrame(parent, QFrame::Box, QFrame::Sunken);
    default:
        break;
    }
    auto* text = new QLabel(parent);
    text->setTextFormat(Qt::PlainText);
    const std::uint32_t kind = control.style & SS_TYPEMASK;
    text->setWordWrap(kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT);
    Qt::Alignment vertical = (control.style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop;
    Qt::Alignment horizontal = kind == SS_CENTER ? Qt::AlignHCenter : kind == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
    text->setAlignment(horizontal | vertical);
    if (control.style & SS_SUNKEN) {
        text->setFrameShape(QFrame::Panel);
        text->setFrameShadow(QFrame::Sunken);
    }
    return text;
}

QWidget* makeCombo(QWidget* parent, const DialogControlTable& control)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable((control.style & 0x3) != CBS_DROPDOWNLIST);
    if (control.style & CBS_SORT)
        combo->setInsertPolicy(QComboBox::InsertAlphabetically);
    ComboUtil::followTyping(combo);
    return combo;
}

QWidget* makeList(QWidget* parent, const DialogControlTable& control)
{
    auto* list = new QListWidget(parent);
    list->setSortingEnabled(control.style & LBS_SORT);
    if (control.style & LBS_EXTENDEDSEL)
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    else if (control.style & LBS_MULTIPLESEL)
        list->setSelectionMode(QAbstractItemView::MultiSelection);
    return list;
}

// A list view whose selection is always shown keeps it in full colour when
// another control has the focus.
void showSelectionAlways(QAbstractItemView* view)
{
    QPalette palette = view->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    view->setPalette(palette);
}

// An up-down control: two arrows stepping a position, which it does not show
// (its buddy or its list does).
class UpDownBox final : public QSpinBox {
public:
    explicit UpDownBox(QWidget* parent) : QSpinBox(parent)
    {
        setButtonSymbols(QAbstractSpinBox::UpDownArrows);
        lineEdit()->setReadOnly(true);
    }

protected:
    QString textFromValue(int) const override { return QString(); }
    int valueFromText(const QString&) const override { return value(); }
    QValidator::State validate(QString&, int&) const override { return QValidator::Acceptable; }
};

QWidget* makeListView(QWidget* parent, const DialogControlTable& control)
{
    QAbstractItemView* view = nullptr;
    // Icon, small-icon and list views show pictures side by side: a list of items.
    if ((control.style & LVS_TYPEMASK) != LVS_REPORT) {
        auto* items = new QListWidget(parent);
        items->setViewMode((control.style & LVS_TYPEMASK) == LVS_LIST ? QListView::ListMode : QListView::IconMode);
        view = items;
    } else {
        auto* rows = new QTreeWidget(parent);
        rows->setRootIsDecorated(false);
        rows->setHeaderHidden(control.style & LVS_NOCOLUMNHEADER);
        rows->setSelectionBehavior(QAbstractItemView::SelectRows);
        view = rows;
    }
    if (control.style & LVS_SINGLESEL)
        view->setSelectionMode(QAbstractItemView::SingleSelection);
    if (control.style & LVS_SHOWSELALWAYS)
        showSelectionAlways(view);
    return view;
}

using Factories = std::map<std::wstring, DialogBuilder::Factory>;

Factories& factories()
{
    static Factories registered{
        {L"BUTTON", makeButton},
        {L"EDIT", makeEdit},
        {L"STATIC", makeStatic},
        {L"COMBOBOX", makeCombo},
        {L"LISTBOX", makeList},
        {L"SCROLLBAR",
         [](QWidget* parent, const DialogControlTable& control) -> QWidget* {
             return new QScrollBar((control.style & SBS_VERT) ? Qt::Vertical : Qt::Horizontal, parent);
         }},
        {L"MSCTLS_PROGRESS32",
         [](QWidget* parent, const DialogControlTable& control) -> QWidget* {
             auto* bar = new QProgressBar(parent);
             bar->setOrientation((control.style & PBS_VERTICAL) ? Qt::Vertical : Qt::Horizontal);
             bar->setTextVisible(false);
             return bar;
         }},
        {L"MSCTLS_TRACKBAR32",
         [](QWidget* parent, const DialogControlTable& control) -> QWidget* {
             return new QSlider((control.style & TBS_VERT) ? Qt::Vertical : Qt::Horizontal, parent);
         }},
        {L"MSCTLS_UPDOWN32", [](QWidget* parent, const DialogControlTable&) -> QWidget* { return new UpDownBox(parent); }},
        {L"SYSLISTVIEW32", makeListView},
        {L"SYSTABCONTROL32", [](QWidget* parent, const DialogControlTable&) -> QWidget* { return new QTabBar(parent); }},
        {L"SYSANIMATE32", [](QWidget* parent, const DialogControlTable&) -> QWidget* { return new QLabel(parent); }},
    };
    return registered;
}

// Frames, lines and pictures show no text: a picture's text names its resource.
bool takesText(const QWidget* widget, const DialogControlTable& control)
{
    if (DialogTemplateCodec::predefinedClassOrdinal(control.windowClass) == 0x82) {
        const std::uint32_t kind = control.style & SS_TYPEMASK;
        if (kind == SS_ICON || kind == SS_BITMAP)
            return false;
    }
    return !qobject_cast<const QFrame*>(widget) || qobject_cast<const QLabel*>(widget);
}

} // namespace

void DialogBuilder::registerWindowClass(const std::wstring& windowClass, Factory factory)
{
    if (factory)
        factories()[upperCase(windowClass)] = std::move(factory);
}

bool DialogBuilder::isRegistered(const std::wstring& windowClass)
{
    return factories().count(upperCase(windowClass)) != 0;
}

QWidget* DialogBuilder::createControl(QWidget* parent, const DialogControlTable& control,
                                      const DialogTemplate& dialogTemplate)
{
    QWidget* widget = nullptr;
    const auto found = factories().find(upperCase(control.windowClass));
    if (found != factories().end())
        widget = found->second(parent, control);
    if (!widget) {
        LogStream::instance() << "DialogBuilder::createControl() : unknown window class " << control.windowClass
                              << " for control " << control.id << "." << LogStream::endl;
        widget = new QWidget(parent);
    }
    setControlId(widget, control.id);
    widget->setObjectName(QStringLiteral("control%1").arg(control.id));
    const RECT rect = dialogTemplate.toPixels(control.x, control.y, control.cx, control.cy);
    int height = rect.height();
    // A combo box's rectangle holds its dropped-down list; closed it is as tall as its font needs.
    if (qobject_cast<QComboBox*>(widget))
        height = std::min(height, widget->sizeHint().height());
    widget->setGeometry(rect.left, rect.top, rect.width(), height);
    if (!control.text.isOrdinal() && !control.text.text.empty() && takesText(widget, control))
        setWindowText(widget, textOf(control));
    widget->setEnabled(!(control.style & WS_DISABLED));
    if (!(control.style & WS_TABSTOP) && widget->focusPolicy() != Qt::NoFocus)
        widget->setFocusPolicy(Qt::ClickFocus);
    widget->setVisible(control.style & WS_VISIBLE);
    return widget;
}

bool DialogBuilder::build(QWidget* dialog, const DialogTemplate& dialogTemplate)
{
    if (!dialog || dialogTemplate.isEmpty())
        return false;
    const auto table = DialogTemplateCodec::decode(dialogTemplate.data(), dialogTemplate.size());
    if (!table) {
        LogStream::instance() << "DialogBuilder::build() : malformed dialog template." << LogStream::endl;
        return false;
    }
    const DialogTemplate::Font font = dialogTemplate.getFont();
    if (font.pointSize > 0 && !font.face.empty())
        dialog->setFont(FontUtil::dialogFont(font.face, font.pointSize, FontUtil::screenDpiY()));
    setWindowText(dialog, QString::fromStdWString(table->caption));
    const RECT client = dialogTemplate.toPixels(table->x, table->y, table->cx, table->cy);
    dialog->resize(client.width(), client.height());
    if (!dialog->isWindow())
        dialog->move(client.left, client.top);

    QButtonGroup* radioGroup = nullptr;
    QWidget* previous = nullptr;
    QLabel* waitingLabel = nullptr;
    for (const auto& control : table->controls) {
        QWidget* widget = createControl(dialog, control, dialogTemplate);
        // A label's "&" marks the key that takes the focus to the next control
        // that takes it, as the dialog manager does; shown underlined.
        if (waitingLabel && widget->focusPolicy() != Qt::NoFocus) {
            waitingLabel->setBuddy(widget);
            waitingLabel = nullptr;
        }
        if (auto* text = qobject_cast<QLabel*>(widget); text && !(control.style & SS_NOPREFIX)
            && text->pixmap().isNull() && text->text().contains(QLatin1Char('&')))
            waitingLabel = text;
        if (control.style & WS_GROUP)
            radioGroup = nullptr;
        if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            if (!radioGroup)
                radioGroup = new QButtonGroup(dialog);
            radioGroup->addButton(radio);
        }
        // Windows draws group boxes behind the controls they surround.
        if (qobject_cast<QGroupBox*>(widget))
            widget->lower();
        if (widget->focusPolicy() != Qt::NoFocus) {
            if (previous)
                QWidget::setTabOrder(previous, widget);
            previous = widget;
        }
    }
    return true;
}

} // namespace kova
