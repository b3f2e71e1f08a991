#include "platform/QtMessageAsker.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QString>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace platform {

namespace {


// The buttons of a style in the order the box shows them, left to right.
std::vector<QMessageBox::StandardButton> buttonsOf(unsigned style)
{
    switch (style & 0xF) {
    case MB_OKCANCEL: return {QMessageBox::Ok, QMessageBox::Cancel};
    case MB_ABORTRETRYIGNORE: return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    case MB_YESNOCANCEL: return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case MB_YESNO: return {QMessageBox::Yes, QMessageBox::No};
    case MB_RETRYCANCEL: return {QMessageBox::Retry, QMessageBox::Cancel};
    default: return {QMessageBox::Ok};
    }
}

QMessageBox::Icon iconOf(unsigned style)
{
    switch (style & 0xF0) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

int resultOf(int button)
{
    constexpr std::array<std::pair<QMessageBox::StandardButton, int>, 7> RESULTS{{
        {QMessageBox::Ok, IDOK},
        {QMessageBox::Cancel, IDCANCEL},
        {QMessageBox::Abort, IDABORT},
        {QMessageBox::Retry, IDRETRY},
        {QMessageBox::Ignore, IDIGNORE},
        {QMessageBox::Yes, IDYES},
        {QMessageBox::No, IDNO},
    }};
    for (const auto& [standard, result] : RESULTS)
        if (button == standard)
            return result;
    return IDCANCEL;
}

} // namespace

int QtMessageAsker::ask(const std::wstring& text, const std::wstring& caption, unsigned style)
{
    const std::vector<QMessageBox::StandardButton> buttons = buttonsOf(style);
    QMessageBox::StandardButtons shown;
    for (QMessageBox::StandardButton button : buttons)
        shown |= button;
    // Over the modal window the user is in (a record editor opens without a
    // parent): a box over the main window would raise that above the editor
    // and hide what the box asks about.
    QWidget* over = QApplication::activeModalWidget();
    QMessageBox box(iconOf(style), QString::fromStdWString(caption), QString::fromStdWString(text), shown,
                    over ? over : parent_);
    // The button the style names is the default; one past the buttons the
    // box has falls back to its last, the choice that changes nothing.
    const std::size_t defaultIndex = (style & 0x300) >> 8;
    box.setDefaultButton(buttons[std::min(defaultIndex, buttons.size() - 1)]);
    // A box as narrow as a short text gets its caption cut by the window
    // manager ("Print... error"): it is made wide enough for the whole
    // caption beside the title bar's buttons.
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + TITLE_BAR_ROOM;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      grid->columnCount());
    // A box asked in the middle of a long operation is answered with the
    // arrow, not under the operation's wait cursor.
    const bool waiting = QGuiApplication::overrideCursor() != nullptr;
    if (waiting)
        QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    const int answer = box.exec();
    if (waiting)
        QGuiApplication::restoreOverrideCursor();
    return resultOf(answer);
}

} // namespace platform
