#include "platform/PrintDialog.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace platform {

namespace {

PrintDialogAsker* installed = nullptr;

class UnattendedPrintDialog final : public PrintDialogAsker {
public:
    bool ask(QPrinter&, QWidget*) override
    {
        std::fprintf(stderr, "Print: no print dialog is installed; nothing is printed.\n");
        return false;
    }
};

std::unique_ptr<QPrinter>& printerSlot()
{
    static std::unique_ptr<QPrinter> printer;
    return printer;
}

// The printer must not outlive the application object its print engine works with.
void deletePrinter() { printerSlot().reset(); }

bool pdfComplete(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    if (size < 5 || !file.seek(std::max<qint64>(0, size - 32)))
        return false;
    return file.readAll().contains("%%EOF");
}

} // namespace

PrintDialogAsker& printDialogAsker()
{
    static UnattendedPrintDialog unattended;
    return installed ? *installed : unattended;
}

void setPrintDialogAsker(PrintDialogAsker* asker) { installed = asker; }

bool printDialog(QWidget* parent) { return printDialogAsker().ask(applicationPrinter(), parent); }

QPrinter& applicationPrinter()
{
    std::unique_ptr<QPrinter>& printer = printerSlot();
    if (!printer) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (QCoreApplication::instance())
            qAddPostRoutine(deletePrinter);
    }
    return *printer;
}

void renewApplicationPrinter()
{
    std::unique_ptr<QPrinter>& slot = printerSlot();
    if (!slot) {
        applicationPrinter();
        return;
    }
    const QPrinter& old = *slot;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(old.outputFormat());
    if (old.outputFormat() == QPrinter::NativeFormat)
        printer->setPrinterName(old.printerName());
    printer->setOutputFileName(old.outputFileName());
    printer->setPageLayout(old.pageLayout());
    printer->setColorMode(old.colorMode());
    printer->setCopyCount(old.copyCount());
    printer->setCollateCopies(old.collateCopies());
    printer->setDuplex(old.duplex());
    printer->setPageOrder(old.pageOrder());
    printer->setFullPage(old.fullPage());
    printer->setDocName(old.docName());
    slot = std::move(printer);
}

bool finishPrintout(QPainter& painter, QPrinter& printer)
{
    const bool ended = painter.end();
    const bool pdfWritten = printer.outputFormat() != QPrinter::PdfFormat || pdfComplete(printer.outputFileName());
    return ended && printer.printerState() != QPrinter::Error && pdfWritten;
}

ScopedPrintDialogAsker::ScopedPrintDialogAsker(PrintDialogAsker& asker) : previous_(installed) { installed = &asker; }

ScopedPrintDialogAsker::~ScopedPrintDialogAsker() { installed = previous_; }

} // namespace platform
