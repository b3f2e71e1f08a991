#pragma once
// A print dialog for tests: it answers at once, pointing the printer at a
// PDF file, or cancelling; it counts how often it was shown.

#include "platform/PrintDialog.h"

#include <string>

namespace platform {

class PdfPrintDialogAsker final : public PrintDialogAsker {
public:
    bool ask(QPrinter& printer, QWidget* parent) override;

    std::string outputFile; // where the printout goes
    bool accept = true;     // false: the user cancels
    int shown = 0;
};

} // namespace platform
