#pragma once
// Answers the station's real print dialog (QPrintDialog) as a user would: it
// waits for the dialog to come up, writes down the printers it offers and
// the one chosen, types a file name into its file field and presses Print,
// or presses Cancel.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QStringList>
#include <QTimer>

namespace kovatest {

struct PrintDialogSeen {
    bool shown = false;
    // The entries of the printer list, and the one chosen when it came up.
    QStringList printers;
    QString chosen;
    // The output file the dialog showed.
    QString fileName;
};

// Answers the next print dialog: with `file` when given (the PDF item must be
// the one chosen), else Cancel. Gives up after about five seconds.
inline void answerPrintDialog(PrintDialogSeen& seen, const QString& file, int triesLeft = 500)
{
    QTimer::singleShot(10, [&seen, file, triesLeft] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (triesLeft > 0)
                answerPrintDialog(seen, file, triesLeft - 1);
            return;
        }
        seen.shown = true;
        if (auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"))) {
            for (int i = 0; i < printers->count(); ++i)
                if (!printers->itemText(i).isEmpty())
                    seen.printers << printers->itemText(i);
            seen.chosen = printers->currentText();
        }
        auto* fileName = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
        if (fileName)
            seen.fileName = fileName->text();
        const auto* buttons = dialog->findChild<QDialogButtonBox*>();
        const QDialogButtonBox::ButtonRole role = file.isEmpty() ? QDialogButtonBox::RejectRole
                                                                 : QDialogButtonBox::AcceptRole;
        if (fileName && !file.isEmpty())
            fileName->setText(file);
        for (QAbstractButton* button : buttons ? buttons->buttons() : QList<QAbstractButton*>{})
            if (buttons->buttonRole(button) == role) {
                button->click();
                return;
            }
        dialog->reject();
    });
}

} // namespace kovatest
