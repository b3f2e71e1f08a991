#include "platform/QtPrintDialogAsker.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

namespace platform {

QString QtPrintDialogAsker::defaultPdfFile(const QString& documentName)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    QString name = documentName.trimmed();
    // A name of the document, never a path of its own.
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    if (name.isEmpty())
        name = QStringLiteral("printout");
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

bool QtPrintDialogAsker::ask(QPrinter& printer, QWidget* parent)
{
    // Without a printer the PDF writer is the only way to print: it is the
    // choice the dialog comes up with, on a file the user can rename.
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        printer.setOutputFormat(QPrinter::PdfFormat);
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty())
        printer.setOutputFileName(defaultPdfFile(printer.docName()));
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace platform
