#pragma once
// The print dialog of the windowed program: QPrintDialog without selection
// or page range, copies and collation left to the printer. Printing to a
// file is the PDF writer, offered beside the printers and chosen already
// when the machine has no printer, with a file named after the document.

#include "platform/PrintDialog.h"

#include <QString>

namespace platform {

class QtPrintDialogAsker final : public PrintDialogAsker {
public:
    bool ask(QPrinter& printer, QWidget* parent) override;

    // The PDF file a printout goes to until the user names one: the
    // document's name in the user's documents folder (the home folder when
    // there is none).
    static QString defaultPdfFile(const QString& documentName);
};

} // namespace platform
