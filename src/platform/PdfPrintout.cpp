#include "platform/PdfPrintout.h"

#include "platform/ReplacingFile.h"

#include <QPrinter>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace platform {

namespace {

// The chosen file is replaced by a renamed temporary only when it is a plain
// file or none yet: a device or a pipe is written to as it is.
bool replaceable(const std::string& path, mode_t& mode)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT;
    if (!S_ISREG(info.st_mode))
        return false;
    mode = info.st_mode & 07777;
    return true;
}

} // namespace

PdfPrintout::PdfPrintout(QPrinter& printer) : printer_(printer)
{
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return;
    const std::string target = printer.outputFileName().toStdString();
    mode_t mode = 0644;
    if (!replaceable(target, mode))
        return;
    // Temporaries of printouts that were killed before their end go first.
    ReplacingFile::removeStale(target);
    auto file = std::make_unique<ReplacingFile>(target, mode);
    if (!file->open()) {
        ready_ = false;
        failure_ = "cannot make a file beside " + target + ": " + std::strerror(errno);
        return;
    }
    target_ = printer.outputFileName();
    printer.setOutputFileName(QString::fromStdString(file->temporaryPath()));
    file_ = std::move(file);
}

PdfPrintout::~PdfPrintout()
{
    if (file_)
        printer_.setOutputFileName(target_);
}

bool PdfPrintout::commit()
{
    if (!file_)
        return ready_;
    // The printer wrote through a descriptor of its own: this one puts the
    // same file's bytes on the disk before the rename.
    if (!file_->finish() || !file_->commit()) {
        failure_ = "cannot put the printout in place of " + target_.toStdString() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace platform
