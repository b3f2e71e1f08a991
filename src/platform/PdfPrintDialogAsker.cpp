#include "platform/PdfPrintDialogAsker.h"

#include <QPrinter>
#include <QString>

namespace platform {

bool PdfPrintDialogAsker::ask(QPrinter& printer, QWidget*)
{
    ++shown;
    if (!accept)
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(outputFile));
    return true;
}

} // namespace platform
