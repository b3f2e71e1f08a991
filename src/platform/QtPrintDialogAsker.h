#pragma once
// The print dialog of the windowed program: QPrintDialog without selection,
// page range or print-to-file, copies and collation left to the printer.

#include "platform/PrintDialog.h"

namespace platform {

class QtPrintDialogAsker final : public PrintDialogAsker {
public:
    bool ask(QPrinter& printer, QWidget* parent) override;
};

} // namespace platform
