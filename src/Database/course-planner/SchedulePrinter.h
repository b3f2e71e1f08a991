#pragma once
// The printed schedule of a course, handed to its trainees: a heading with
// the two pictures and the title, the course's instructor, date, time,
// default scenario and notes, and a table of its sessions (who ventilates,
// who compresses, scenario, manikin, time). A table longer than its page
// goes on over further pages, each with the column headings again.

#include "Database/CourseRecord.h"
#include "Database/SessionRecord.h"

#include <functional>
#include <vector>

class QPagedPaintDevice;
class QWidget;

class SchedulePrinter {
public:
    // Asks the print dialog, then prints on the application's printer.
    // Everything that goes wrong is told in a message box.
    static void printSchedule(const CourseRecord& course, const std::vector<SessionRecord>& sessions,
                              QWidget* parent);

    // Prints on a paged device that is set up already (the printer, a PDF
    // writer); each page after the first begins with device.newPage(). False
    // when the document or a page could not begin, or a printer did not get
    // the whole document: the user was told, and for a page `abortDocument`
    // was called first.
    static bool print(QPagedPaintDevice& device, const CourseRecord& course, const std::vector<SessionRecord>& sessions,
                      const std::function<void()>& abortDocument = {});
};
