#include "Rodezir/WindowTextUtil.h"

#include "Rodezir/dialogs/DialogItem.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>

namespace kova {

QString getWindowText(const QWidget* window)
{
    return window ? windowText(window) : QString();
}

void setWindowTextIfChanged(QWidget* window, const QString& text)
{
    if (window && windowText(window) != text)
        setWindowText(window, text);
}

void setDlgItemTextIfChanged(QWidget* parent, int id, const std::string& text)
{
    setWindowTextIfChanged(getDlgItem(parent, id), QString::fromStdString(text));
}

void limitText(QWidget* edit, int limit)
{
    if (auto* line = qobject_cast<QLineEdit*>(edit)) {
        line->setMaxLength(limit);
        return;
    }
    auto* text = qobject_cast<QPlainTextEdit*>(edit);
    if (!text)
        return;
    text->setProperty("kovaTextLimit", limit);
    if (text->property("kovaTextLimited").toBool())
        return;
    text->setProperty("kovaTextLimited", true);
    // The plain text edit has no limit of its own: what goes past it is cut
    // again at once, the caret staying where the typing was.
    QObject::connect(text, &QPlainTextEdit::textChanged, text, [text] {
        const int most = text->property("kovaTextLimit").toInt();
        if (text->document()->characterCount() - 1 <= most)
            return;
        QTextCursor cursor = text->textCursor();
        const int caret = cursor.position();
        const int excess = text->document()->characterCount() - 1 - most;
        cursor.setPosition(std::max(0, caret - excess));
        cursor.setPosition(caret, QTextCursor::KeepAnchor);
        if (caret - excess < 0 || cursor.selectedText().isEmpty()) {
            cursor.setPosition(most);
            cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        }
        cursor.removeSelectedText();
        text->setTextCursor(cursor);
    });
}

} // namespace kova
