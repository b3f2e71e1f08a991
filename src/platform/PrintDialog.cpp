#include "platform/PrintDialog.h"

#include <QCoreApplication>
#include <QPrinter>

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

ScopedPrintDialogAsker::ScopedPrintDialogAsker(PrintDialogAsker& asker) : previous_(installed) { installed = &asker; }

ScopedPrintDialogAsker::~ScopedPrintDialogAsker() { installed = previous_; }

} // namespace platform
