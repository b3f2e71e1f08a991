#pragma once
// A printout to a PDF file, written whole or not at all: while the object
// lives the printer writes into a temporary file beside the chosen one, and
// commit() puts the temporary in the file's place once the document came
// out whole. A failed printout so never leaves a damaged file where the
// user had one. A printer that prints on paper, or a PDF writer aimed at
// something other than a plain file (a device), prints as it is.

#include <QString>

#include <memory>
#include <string>

class QPrinter;

namespace platform {

class ReplacingFile;

class PdfPrintout {
public:
    explicit PdfPrintout(QPrinter& printer);
    // The printer's file name returns; a temporary not committed is removed.
    ~PdfPrintout();
    PdfPrintout(const PdfPrintout&) = delete;
    PdfPrintout& operator=(const PdfPrintout&) = delete;

    // False when the temporary could not be made: nothing can be printed.
    bool ready() const { return ready_; }
    // Once the document is whole: the file takes its name. False when it
    // could not (the chosen file is as it was).
    bool commit();
    // What went wrong with the file, for the error log.
    const std::string& failure() const { return failure_; }

private:
    QPrinter& printer_;
    QString target_;
    std::unique_ptr<ReplacingFile> file_;
    bool ready_ = true;
    std::string failure_;
};

} // namespace platform
