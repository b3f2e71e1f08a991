#pragma once
// The print dialog behind one small interface: the windowed program installs
// the Qt dialog, tests install one that points the printer at a PDF file or
// cancels. Every printout asks here, on the one printer the application
// keeps, so the printer chosen last stays the application's printer.

class QPainter;
class QPrinter;
class QWidget;

namespace platform {

class PrintDialogAsker {
public:
    virtual ~PrintDialogAsker() = default;
    // Lets the user set up the printer for one printout (no selection, no
    // page range; a file is printed as PDF); true when the user chose to
    // print. The printer carries the document's name already.
    virtual bool ask(QPrinter& printer, QWidget* parent) = 0;
};

// The asker in force. Without an installed one nobody can be asked: the
// request is written to the error log and answered as cancelled.
PrintDialogAsker& printDialogAsker();
// Installs an asker (null restores the default); the caller keeps ownership.
void setPrintDialogAsker(PrintDialogAsker* asker);

// Shorthand for printDialogAsker().ask on the application's printer; true
// when the printout may go ahead on applicationPrinter().
bool printDialog(QWidget* parent);

// The application's one printer (high resolution), made on first use and
// deleted with the application object.
QPrinter& applicationPrinter();
// Puts a new application printer with the same settings in place of the
// old one, whose references go with it. The PDF output of a printer keeps
// a failed write for every later document (each would come out empty), so
// a printout that could not be written renews the printer.
void renewApplicationPrinter();

// Ends the painter's document on the printer; true when it came out whole.
// A PDF file written to its end closes with "%%EOF": anything short of that
// (a full disk, a device that takes nothing) is a document not printed,
// whatever the painter answered.
bool finishPrintout(QPainter& painter, QPrinter& printer);

// Installs an asker for the life of the object and restores the previous one.
class ScopedPrintDialogAsker {
public:
    explicit ScopedPrintDialogAsker(PrintDialogAsker& asker);
    ~ScopedPrintDialogAsker();
    ScopedPrintDialogAsker(const ScopedPrintDialogAsker&) = delete;
    ScopedPrintDialogAsker& operator=(const ScopedPrintDialogAsker&) = delete;

private:
    PrintDialogAsker* previous_;
};

} // namespace platform
