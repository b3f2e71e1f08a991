#include "platform/QtPrintDialogAsker.h"

#include <QPrintDialog>

namespace platform {

bool QtPrintDialogAsker::ask(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace platform
