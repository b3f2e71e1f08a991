#include "app/surveillance/EcgRhythmPanel.h"

#include "Rodezir/dialogs/DialogRegistry.h"
#include "Rodezir/dialogs/DialogTranslation.h"
#include "Rodezir/dialogs/FontUtil.h"
#include "platform/Resources.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

using namespace kova;

namespace {

constexpr int BUTTON_WIDTH = 27;
constexpr int BUTTON_HEIGHT = 17;
constexpr int COLUMN_PITCH = 30;
constexpr int ROW_PITCH = 24;
constexpr int COLUMNS = 6;
constexpr int LEFT = 3;
constexpr int TOP = 3;
// The options and commands sit in a row of their own under the rhythms.
constexpr int OPTION_ROW_TOP = 125;
// The caption lines lie over the lower half of the lamp and below it.
constexpr int LINE_TOP = 8;
constexpr int LINE_HEIGHT = 7;

std::wstring wide(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

// 26 rhythms in rows of six, then the four options and the two commands.
DialogTable ecgRhythmTable()
{
    DialogTable table;
    table.id = EcgRhythmPanel::TEMPLATE_ID;
    table.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
    table.fontFace = L"Century Gothic";
    table.pointSize = 8;
    table.x = 90;
    table.y = 220;
    table.cx = 182;
    table.cy = 150;
    table.controls.push_back(control(L"#" + std::to_wstring(EcgRhythmState::BACKGROUND), EcgRhythmPanel::ID_BACKGROUND,
                                     L"STATIC", SS_BITMAP, 0, 0, table.cx, table.cy));
    int slot = 0;
    for (const EcgRhythmState::Button& button : EcgRhythmState::buttons()) {
        const bool rhythm = button.rhythm != 0;
        const int row = rhythm ? slot / COLUMNS : 0;
        const int column = rhythm ? slot % COLUMNS : slot - EcgRhythmState::RHYTHM_COUNT;
        const int x = LEFT + column * COLUMN_PITCH;
        const int y = rhythm ? TOP + row * ROW_PITCH : OPTION_ROW_TOP;
        const bool command = button.id == EcgRhythmState::ID_SWOP_RHYTHMS || button.id == EcgRhythmState::ID_CHANGE_RHYTHM;
        const int picture = command ? EcgRhythmState::PICTURE_NONE : EcgRhythmState::PICTURE_NORMAL;
        table.controls.push_back(control(L"#" + std::to_wstring(picture), button.id, L"STATIC", SS_BITMAP | SS_NOTIFY,
                                         x, y, BUTTON_WIDTH, BUTTON_HEIGHT));
        const std::wstring name = TRANSLATION_MARKER + wide(button.name);
        table.controls.push_back(
            label(name + L" (LINE 1)", button.line1, x, y + LINE_TOP, BUTTON_WIDTH, LINE_HEIGHT, SS_CENTER));
        table.controls.push_back(label(name + L" (LINE 2)", button.line2, x, y + LINE_TOP + LINE_HEIGHT, BUTTON_WIDTH,
                                       LINE_HEIGHT, SS_CENTER));
        ++slot;
    }
    return table;
}

int registeredTemplate()
{
    if (!DialogRegistry::find(EcgRhythmPanel::TEMPLATE_ID))
        EcgRhythmPanel::registerTemplate();
    return EcgRhythmPanel::TEMPLATE_ID;
}

QColor panelBlue() { return QColor::fromRgb(EcgRhythmPanel::BACKGROUND_RGB); }

} // namespace

void EcgRhythmPanel::registerTemplate() { DialogRegistry::add(ecgRhythmTable()); }

EcgRhythmPanel::EcgRhythmPanel(SerialPort* port, const std::wstring& title)
    : TemplateDialog(registeredTemplate(), nullptr), state_(std::make_unique<EcgRhythmState>(port))
{
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    create();
    setWindowTitle(QString::fromStdWString(title));
    ::connect(state_->pictureChanged, *this, &EcgRhythmPanel::showPicture);
    for (const EcgRhythmState::Button& button : EcgRhythmState::buttons())
        showPicture(button.id);
    connect(&timer_, &QTimer::timeout, this, &EcgRhythmPanel::onTimer);
    timer_.start(EcgRhythmState::TICK_MS);
}

EcgRhythmPanel::~EcgRhythmPanel() = default;

bool EcgRhythmPanel::onInitDialog()
{
    translateDialog(this);
    // The whole panel is blue; the caption lines are white on that blue.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, panelBlue());
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);

    FontUtil::create(labelFont_, "Arial Narrow", 13, false, false);
    labelFont_.setWeight(QFont::Medium);
    if (auto* background = qobject_cast<QLabel*>(getDlgItem(ID_BACKGROUND)))
        background->setScaledContents(true);
    for (const EcgRhythmState::Button& button : EcgRhythmState::buttons()) {
        if (auto* lamp = qobject_cast<QLabel*>(getDlgItem(button.id))) {
            lamp->setScaledContents(true);
            lamp->installEventFilter(this);
            buttonOf_[lamp] = button.id;
        }
        for (const int line : {button.line1, button.line2}) {
            auto* text = qobject_cast<QLabel*>(getDlgItem(line));
            if (!text)
                continue;
            text->setFont(labelFont_);
            text->setAutoFillBackground(true);
            text->setWordWrap(false);
            text->setAlignment(Qt::AlignCenter);
            // A click on a caption line is a click on its lamp below.
            text->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
    }
    return TemplateDialog::onInitDialog();
}

void EcgRhythmPanel::toggleVisible()
{
    if (isVisible()) {
        hide();
        return;
    }
    show();
    raise();
}

void EcgRhythmPanel::sendToManikin() { state_->sendToManikin(); }

bool EcgRhythmPanel::checkRhythmSwitch(int sampleIndex) { return state_->checkRhythmSwitch(sampleIndex); }

void EcgRhythmPanel::onTimer() { state_->tick(); }

bool EcgRhythmPanel::eventFilter(QObject* watched, QEvent* event)
{
    const auto button = buttonOf_.find(watched);
    if (button == buttonOf_.end())
        return TemplateDialog::eventFilter(watched, event);
    // A lamp acts when it is pressed. The second press of a double click is
    // no click of its own (it comes as a press, or as a double click alone).
    if (event->type() == QEvent::MouseButtonDblClick)
        return true;
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return true;
        const bool second = watched == lastPressed_ && mouse->timestamp() >= lastPressTime_
            && mouse->timestamp() - lastPressTime_ < static_cast<quint64>(QApplication::doubleClickInterval());
        lastPressed_ = second ? nullptr : watched;
        lastPressTime_ = mouse->timestamp();
        if (!second)
            state_->click(button->second);
        return true;
    }
    return TemplateDialog::eventFilter(watched, event);
}

void EcgRhythmPanel::showPicture(int buttonId)
{
    auto* lamp = qobject_cast<QLabel*>(getDlgItem(buttonId));
    if (!lamp)
        return;
    lamp->setPixmap(picture(state_->pictureOf(buttonId)));
    // The lamp and its caption lines show at once, as the timer's blink needs.
    lamp->repaint();
    for (const EcgRhythmState::Button& button : EcgRhythmState::buttons()) {
        if (button.id != buttonId)
            continue;
        for (const int line : {button.line1, button.line2})
            if (QWidget* text = getDlgItem(line))
                text->repaint();
    }
}

const QPixmap& EcgRhythmPanel::picture(int resourceId)
{
    auto at = pictures_.find(resourceId);
    if (at != pictures_.end())
        return at->second;
    QPixmap pixmap;
    if (const auto bytes = platform::loadResource(platform::ResourceType::Bitmap, resourceId))
        pixmap.loadFromData(bytes->data(), static_cast<uint>(bytes->size()));
    return pictures_.emplace(resourceId, pixmap).first->second;
}
