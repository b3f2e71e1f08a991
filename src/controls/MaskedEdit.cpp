#include "controls/MaskedEdit.h"

#include "Rodezir/LogStream.h"
#include "controls/ControlReplacement.h"
#include "platform/Beep.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>

#include <memory>

namespace kova {
namespace {

constexpr char16_t chNULL = 0;
constexpr char16_t chCR = '\r';
constexpr char16_t chLF = '\n';
constexpr char16_t chDEL = 127;

// The first separator character of a date or time format ("HH:mm" gives ":"),
// when it is one a mask can show.
bool separatorOfFormat(const QString& format, QChar& separator)
{
    for (QChar c : format) {
        if (c.isLetter() || c == QLatin1Char('\''))
            continue;
        if (c.unicode() < 32 || c.unicode() > 126)
            return false;
        separator = c;
        return true;
    }
    return false;
}

} // namespace

MaskedEdit::MaskedEdit(const QString& mask, QWidget* parent) : QLineEdit(parent)
{
    readLocaleSeparators();
    SetMask(mask);
}

MaskedEdit* MaskedEdit::attach(QWidget* parentDialog, int controlId, const QString& mask)
{
    auto edit = std::make_unique<MaskedEdit>(mask);
    if (!replaceDialogControl(parentDialog, controlId, edit.get()))
        return nullptr;
    // The template's text does not fit the mask; the positions decide what shows.
    if (edit->positionCount() > 0)
        edit->RefreshText(0);
    return edit.release();
}

void MaskedEdit::readLocaleSeparators()
{
    // A query that gives nothing usable keeps the default.
    const QLocale locale = QLocale::system();
    const QString group = locale.groupSeparator();
    if (!group.isEmpty() && group.at(0).unicode() >= 32 && group.at(0).unicode() <= 126)
        m_chThousandsSeparator = group.at(0);
    separatorOfFormat(locale.timeFormat(QLocale::ShortFormat), m_chTimeSeparator);
    separatorOfFormat(locale.dateFormat(QLocale::ShortFormat), m_chDateSeparator);
}

void MaskedEdit::SetMask(const QString& pszMask)
{
    m_listData.clear();
    for (qsizetype i = 0; i < pszMask.size(); ++i) {
        const QChar c = pszMask.at(i);
        switch (c.unicode()) {
        case '.': m_listData.append(MaskData(MaskData::MaskDecimalSeparator, m_chDecimalSeparator)); break;
        case ',': m_listData.append(MaskData(MaskData::MaskThousandsSeparator, m_chThousandsSeparator)); break;
        case ':': m_listData.append(MaskData(MaskData::MaskTimeSeparator, m_chTimeSeparator)); break;
        case '/': m_listData.append(MaskData(MaskData::MaskDateSeparator, m_chDateSeparator)); break;
        case '#': m_listData.append(MaskData(MaskData::MaskDigit, m_chPrompt)); break;
        case '%': m_listData.append(MaskData(MaskData::MaskDecimal, m_chPrompt)); break;
        case 'A': m_listData.append(MaskData(MaskData::MaskAlphaNumeric, m_chPrompt)); break;
        case '?': m_listData.append(MaskData(MaskData::MaskAlpha, m_chPrompt)); break;
        case '>': m_listData.append(MaskData(MaskData::MaskAlphaUpper, m_chPrompt)); break;
        case '<': m_listData.append(MaskData(MaskData::MaskAlphaLower, m_chPrompt)); break;
        case '&': m_listData.append(MaskData(MaskData::MaskCharacter, m_chPrompt)); break;
        case '\\':
            if (i + 1 < pszMask.size()) {
                m_listData.append(MaskData(MaskData::MaskLiteralEscape, pszMask.at(++i)));
            } else {
                // A backslash with nothing after it ends the mask.
                m_listData.append(MaskData(MaskData::MaskLiteral, QChar(chNULL)));
            }
            break;
        default: m_listData.append(MaskData(MaskData::MaskLiteral, c)); break;
        }
    }
    KOVA_ASSERT(GetMask() == pszMask);
    RefreshText(0);
}

QString MaskedEdit::GetMask() const
{
    QString mask;
    for (const MaskData& data : m_listData)
        mask += data.GetMaskChars();
    return mask;
}

QString MaskedEdit::GetInputChars() const
{
    QString chars;
    for (const MaskData& data : m_listData)
        if (data.IsInputData())
            chars += data.m_chValue;
    return chars;
}

QString MaskedEdit::GetDisplayText() const
{
    QString shown;
    for (const MaskData& data : m_listData)
        if (!data.m_chValue.isNull())
            shown += data.m_chValue;
    return shown;
}

bool MaskedEdit::SetInputText(const QString& text, int keep, bool raw)
{
    QString combined = GetInputChars().left(std::max(keep, 0));
    for (QChar c : text)
        if (raw || c != m_chPrompt)
            combined += c;

    bool all = true;
    qsizetype cursor = 0;
    for (MaskData& data : m_listData) {
        if (!data.IsInputData())
            continue;
        if (cursor >= combined.size()) {
            data.m_chValue = m_chPrompt;
            continue;
        }
        QChar c = combined.at(cursor++);
        bool exhausted = false;
        while (c != m_chPrompt && !data.IsValidInput(c)) {
            all = false;
            if (cursor >= combined.size()) {
                exhausted = true;
                break;
            }
            c = combined.at(cursor++);
        }
        if (exhausted)
            continue; // the position keeps what it held
        data.m_chValue = c == m_chPrompt ? c : data.PreProcessChar(c);
    }
    RefreshText(0);
    return all;
}

void MaskedEdit::SetPromptChar(QChar newPrompt)
{
    const char16_t chNewPromptSymbol = newPrompt.unicode();
    KOVA_ASSERT((chNewPromptSymbol != chNULL) && (chNewPromptSymbol != chCR) && (chNewPromptSymbol != chLF) && (chNewPromptSymbol != 127));
    if (chNewPromptSymbol == chNULL || chNewPromptSymbol == chCR || chNewPromptSymbol == chLF || chNewPromptSymbol == chDEL)
        return;
    for (MaskData& data : m_listData)
        if (data.IsInputData() && data.m_chValue == m_chPrompt)
            data.m_chValue = chNewPromptSymbol;
    m_chPrompt = chNewPromptSymbol;
    RefreshText(-1);
}

void MaskedEdit::ClearInput(bool inputsOnly)
{
    if (inputsOnly) {
        for (MaskData& data : m_listData)
            if (data.IsInputData())
                data.m_chValue = m_chPrompt;
    } else {
        m_listData.clear();
    }
    RefreshText(0);
}

bool MaskedEdit::IsInputPosition(int index) const
{
    return index >= 0 && index < positionCount() && m_listData.at(index).IsInputData();
}

int MaskedEdit::NextInputPosition(int index) const
{
    for (int i = std::max(index, 0); i < positionCount(); ++i)
        if (m_listData.at(i).IsInputData())
            return i;
    return positionCount();
}

int MaskedEdit::PrevInputPosition(int index) const
{
    index = std::max(index, 0);
    if (IsInputPosition(index))
        return index;
    for (int i = std::min(index, positionCount()) - 1; i >= 0; --i)
        if (m_listData.at(i).IsInputData())
            return i + 1; // the caret just after it
    return NextInputPosition(index);
}

int MaskedEdit::FirstEmptyPosition(int index) const
{
    for (int i = std::max(index, 0); i < positionCount(); ++i)
        if (m_listData.at(i).IsInputData() && m_listData.at(i).m_chValue == m_chPrompt)
            return i;
    return positionCount();
}

void MaskedEdit::RefreshText(int caret)
{
    const int kept = cursorPosition();
    const QString shown = GetDisplayText();
    if (text() != shown)
        setText(shown);
    if (caret >= 0)
        setCaret(NextInputPosition(caret));
    else
        setCursorPosition(kept);
}

void MaskedEdit::setCaret(int index)
{
    deselect();
    setCursorPosition(index);
}

int MaskedEdit::InsertCharAt(int index, QChar character)
{
    const QString previous = GetInputChars();
    QString shifted;
    int placedAt = -1;
    for (int i = 0; i < positionCount(); ++i) {
        if (!m_listData.at(i).IsInputData())
            continue;
        if (placedAt < 0 && i >= index) {
            shifted += character;
            placedAt = i;
        }
        shifted += m_listData.at(i).m_chValue;
    }
    if (SetInputText(shifted, 0, true))
        return placedAt;
    SetInputText(previous, 0, true);
    return -1;
}

int MaskedEdit::PutCharAt(int index, QChar character)
{
    if (!IsInputPosition(index))
        return index;
    MaskData& data = m_listData[index];
    if (character != m_chPrompt && !data.IsValidInput(character))
        return -1;
    data.m_chValue = character == m_chPrompt ? character : data.PreProcessChar(character);
    return index;
}

int MaskedEdit::DeleteRange(int start, int end)
{
    QString kept;
    int removed = 0;
    for (int i = 0; i < positionCount(); ++i) {
        if (!m_listData.at(i).IsInputData())
            continue;
        if (i >= start && i < end)
            ++removed;
        else
            kept += m_listData.at(i).m_chValue;
    }
    SetInputText(kept, 0, true);
    return removed;
}

MaskedEdit::Selection MaskedEdit::selection() const
{
    if (hasSelectedText()) {
        const int start = selectionStart();
        return {start, start + static_cast<int>(selectedText().size())};
    }
    return {cursorPosition(), cursorPosition()};
}

void MaskedEdit::cutSelection()
{
    const Selection range = selection();
    if (m_listData.isEmpty()) {
        cut();
        return;
    }
    if (range.start == range.end)
        return;
    copy();
    DeleteRange(range.start, range.end);
    RefreshText(range.start);
}

void MaskedEdit::clearSelection()
{
    const Selection range = selection();
    if (m_listData.isEmpty()) {
        del();
        return;
    }
    DeleteRange(range.start, range.end);
    RefreshText(range.start);
}

void MaskedEdit::pasteText(const QString& pasted)
{
    const Selection range = selection();
    if (m_listData.isEmpty()) {
        insert(pasted);
        return;
    }
    // What the plain edit would hold after the paste, fed back through the
    // positions: pasted literals that suit no input position are skipped.
    QString edited = text();
    edited.replace(range.start, range.end - range.start, pasted);
    SetInputText(edited, 0, false);
    setCaret(FirstEmptyPosition(range.start));
}

void MaskedEdit::pasteClipboard()
{
    pasteText(QApplication::clipboard()->text());
}

void MaskedEdit::OnInputError()
{
    platform::messageBeep();
}

bool MaskedEdit::OnCheckInput()
{
    return true;
}

void MaskedEdit::onDelete(const Selection& range)
{
    const int end = range.start == range.end ? range.start + 1 : range.end;
    if (DeleteRange(range.start, end) > 0) {
        RefreshText(range.start);
        return;
    }
    OnInputError();
    setCaret(NextInputPosition(range.start));
}

void MaskedEdit::onBackspace(const Selection& range)
{
    int start = range.start;
    const int end = range.end;
    if (start == end) {
        start = range.start - 1;
        if (start < 0) {
            OnInputError();
            setCaret(NextInputPosition(0));
            return;
        }
    }
    if (DeleteRange(start, end) > 0) {
        RefreshText(start);
        return;
    }
    OnInputError();
    setCaret(NextInputPosition(start));
}

void MaskedEdit::onCharacter(QChar character, const Selection& range)
{
    if (range.start != range.end) {
        if (DeleteRange(range.start, range.end) == 0) {
            OnInputError();
            setCaret(NextInputPosition(range.start));
            return;
        }
        const int placed = InsertCharAt(range.start, character);
        if (placed >= 0) {
            RefreshText(placed + 1);
        } else {
            OnInputError();
            RefreshText(range.start);
        }
        return;
    }
    const int start = range.start;
    if (!IsInputPosition(start)) {
        OnInputError();
        setCaret(NextInputPosition(start));
        return;
    }
    if (!m_bInsertMode) {
        if (PutCharAt(start, character) < 0) {
            OnInputError();
            RefreshText(start);
        } else {
            RefreshText(start + 1);
        }
        return;
    }
    const int placed = InsertCharAt(start, character);
    if (placed >= 0) {
        RefreshText(placed + 1);
    } else {
        OnInputError();
        RefreshText(start);
    }
}

void MaskedEdit::keyPressEvent(QKeyEvent* event)
{
    if (m_listData.isEmpty()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const Selection range = selection();
    if (event->matches(QKeySequence::Paste)) {
        pasteClipboard();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        cutSelection();
        return;
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Delete:
        onDelete(range);
        return;
    case Qt::Key_Insert:
        if (event->modifiers() == Qt::NoModifier) {
            m_bInsertMode = !m_bInsertMode;
            return;
        }
        break;
    case Qt::Key_Backspace:
        onBackspace(range);
        return;
    case Qt::Key_Home:
    case Qt::Key_Right:
    case Qt::Key_Down:
        if (event->key() == Qt::Key_Down)
            cursorForward(shift);
        else
            QLineEdit::keyPressEvent(event);
        if (!shift)
            setCaret(NextInputPosition(cursorPosition()));
        return;
    case Qt::Key_Left:
    case Qt::Key_Up:
        if (event->key() == Qt::Key_Up)
            cursorBackward(shift);
        else
            QLineEdit::keyPressEvent(event);
        if (!shift)
            setCaret(PrevInputPosition(cursorPosition()));
        return;
    default: break;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed.at(0).unicode() >= 32 && typed.at(0).unicode() != 127 &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        onCharacter(typed.at(0), range);
        return;
    }
    // Everything else is the plain edit's, except that it never edits the
    // text behind the positions' back (undo, delete word and the like).
    QLineEdit::keyPressEvent(event);
    if (text() != GetDisplayText())
        RefreshText(range.start);
}

void MaskedEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (m_listData.isEmpty())
        return;
    if (hasSelectedText() && selectionStart() == 0 && selectedText().size() == text().size())
        setCaret(NextInputPosition(0));
}

void MaskedEdit::focusOutEvent(QFocusEvent* event)
{
    if (!OnCheckInput()) {
        setFocus();
        OnInputError();
        setCaret(NextInputPosition(0));
    }
    QLineEdit::focusOutEvent(event);
}

void MaskedEdit::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_listData.isEmpty()) {
        QLineEdit::contextMenuEvent(event);
        return;
    }
    // The plain edit's menu would change the text directly; ours goes through the positions.
    QMenu menu(this);
    const bool selected = hasSelectedText();
    menu.addAction(tr("Cu&t"), this, &MaskedEdit::cutSelection)->setEnabled(selected && !isReadOnly());
    menu.addAction(tr("&Copy"), this, &MaskedEdit::copy)->setEnabled(selected);
    menu.addAction(tr("&Paste"), this, &MaskedEdit::pasteClipboard)->setEnabled(!isReadOnly());
    menu.addAction(tr("&Delete"), this, &MaskedEdit::clearSelection)->setEnabled(selected && !isReadOnly());
    menu.exec(event->globalPos());
}

} // namespace kova
