#include "Database/course-planner/SchedulePrinter.h"

#include "Database/course-planner/SchedulePage.h"
#include "Rodezir/BitmapDraw.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/FontUtil.h"
#include "gettext/Gettext.h"
#include "platform/MessageBox.h"
#include "platform/PdfPrintout.h"
#include "platform/PrintDialog.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <string>

namespace {

constexpr int BANNER_BITMAP = 165;
constexpr int PICTURE_BITMAP = 166;
constexpr int DOCUMENT_NAME_LIMIT = 99;

QString tr(const char* text) { return QString::fromStdWString(Gettext::translate(text)); }
QString qt(const std::string& text) { return QString::fromStdString(text); }

// Every printing failure is told to the user and written to the error log.
void tellPrinterError(const char* text)
{
    LogStream::instance() << "Printer error: " << text << "\n";
    platform::messageBox(Gettext::translate(text), Gettext::translate("Printer error"), platform::MB_OK);
}

// Points converted for the device's resolution; "tahoma" where the family
// exists, else "arial".
QFont scheduleFont(const QPaintDevice& device, int tenthsOfPoint, bool bold)
{
    const std::string face =
        kova::FontUtil::fontExists("tahoma", &device, kova::FontUtil::ANSI_CHARSET) ? "tahoma" : "arial";
    QFont font;
    kova::FontUtil::create(font, face, kova::FontUtil::pointsToLogical(tenthsOfPoint, &device), bold, false);
    return font;
}

int times(double factor, int value) { return static_cast<int>(factor * value); }

// One printout: the painter on the device and where the next line goes.
class ScheduleDocument {
public:
    ScheduleDocument(QPainter& painter, QPagedPaintDevice& device)
        : painter_(painter),
          device_(device),
          page_(SchedulePage::measure(device.width(), device.height())),
          titleFont_(scheduleFont(device, 200, true)),
          headerFont_(scheduleFont(device, 100, true)),
          textFont_(scheduleFont(device, 100, false))
    {
    }

    // False when a further page could not begin.
    bool draw(const CourseRecord& course, const std::vector<SessionRecord>& sessions)
    {
        drawHeading();
        const int y = drawCourse(course);
        return drawTable(y, sessions);
    }

private:
    int lineHeight(const QFont& font) const { return QFontMetrics(font, &device_).height(); }
    int textWidth(const QFont& font, const QString& text) const
    {
        return QFontMetrics(font, &device_).horizontalAdvance(text);
    }
    // Text with its cell's top at y, as the page was always laid out.
    void textAt(const QFont& font, int x, int y, const QString& text)
    {
        painter_.setFont(font);
        painter_.drawText(x, y + QFontMetrics(font, &device_).ascent(), text);
    }
    // One line in a cell, cut with an ellipsis at its right edge.
    void cell(int left, int top, int right, int bottom, const QString& text)
    {
        const QString shown = QFontMetrics(textFont_, &device_).elidedText(text, Qt::ElideRight, right - left);
        painter_.drawText(QRect(left, top, right - left, bottom - top),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
    }

    void drawHeading()
    {
        const SchedulePage::Box& banner = page_.banner;
        const SchedulePage::Box& picture = page_.picture;
        kova::Util::showDib(painter_, BANNER_BITMAP, banner.x, banner.y, banner.width, banner.height, 0, 0,
                            SchedulePage::BANNER_SOURCE_WIDTH, SchedulePage::BANNER_SOURCE_HEIGHT);
        kova::Util::showDib(painter_, PICTURE_BITMAP, picture.x, picture.y, picture.width, picture.height, 0, 0,
                            SchedulePage::PICTURE_SOURCE_WIDTH, SchedulePage::PICTURE_SOURCE_HEIGHT);
        const QString title = tr("Course schedule");
        textAt(titleFont_, (page_.width - textWidth(titleFont_, title)) / 2, headingMiddle(), title);
        painter_.setPen(QPen(Qt::black));
        painter_.setBrush(Qt::NoBrush);
    }
    int headingMiddle() const { return (page_.heading1 + page_.heading2) / 2; }

    // The course's lines; answers the top of the column headings.
    int drawCourse(const CourseRecord& course)
    {
        const int cy = lineHeight(textFont_);
        const int m = page_.margin;
        const int y1 = times(0.01, page_.height) + lineHeight(titleFont_) + headingMiddle();
        textAt(textFont_, m, y1,
               tr("Instructor: ") + qt(course.instructor) + tr(" on ") + qt(course.date) + tr(" at ")
                   + qt(course.time));
        const int y2 = y1 + times(1.5, cy);
        textAt(textFont_, m, y2, tr("Default scenario: ") + qt(course.defaultScenario));
        int y = y2;
        if (!course.note.empty()) {
            const int y3 = y2 + times(1.5, cy);
            const QString notes = tr("Notes:");
            textAt(textFont_, m, y3, notes);
            const QRect area(QPoint(2 * m + textWidth(textFont_, notes), y3), QPoint(page_.width - m, pageBottom()));
            QRect drawn;
            painter_.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, qt(course.note), &drawn);
            y = y3 + std::min(drawn.height(), area.height());
        }
        return y + 2 * cy;
    }

    int pageBottom() const { return page_.height - page_.margin; }

    void drawColumnHeadings(int y)
    {
        const char* headings[] = {"Ventilation", "Chest compression", "Scenario", "Manikin", "Time"};
        for (int column = 0; column < 5; ++column)
            textAt(headerFont_, page_.columns[column], y, tr(headings[column]));
        painter_.setFont(textFont_);
    }

    bool drawTable(int headingsTop, const std::vector<SessionRecord>& sessions)
    {
        const int cy = lineHeight(textFont_);
        const int step = times(1.5, cy);
        const int rowHeight = times(1.4, cy);
        const int* c = page_.columns;
        const int m = page_.margin;
        // The first row goes with its headings onto the next page when they
        // would not fit together.
        if (!sessions.empty() && headingsTop + step + rowHeight > pageBottom() && !startPage(headingsTop))
            return false;
        drawColumnHeadings(headingsTop);
        int top = headingsTop;
        int number = 0;
        for (const SessionRecord& session : sessions) {
            top += step;
            if (top + rowHeight > pageBottom()) {
                if (!startPage(top))
                    return false;
                drawColumnHeadings(top);
                top += step;
            }
            const int bottom = top + rowHeight;
            cell(m / 2, top, m, bottom, QString::number(++number));
            cell(c[0], top, c[1], bottom, qt(session.PersonVentilation));
            cell(c[1], top, c[2], bottom, qt(session.PersonChestCompression));
            cell(c[2], top, c[3], bottom, qt(session.Scenario));
            cell(c[3], top, c[4], bottom, QString::number(session.Manikin));
            textAt(textFont_, c[4], top, qt(session.StartTime) + QStringLiteral("-") + qt(session.EndTime));
        }
        return true;
    }

    // The next page; `top` becomes the top margin, where its headings go.
    bool startPage(int& top)
    {
        if (!device_.newPage())
            return false;
        top = page_.margin;
        return true;
    }

    QPainter& painter_;
    QPagedPaintDevice& device_;
    SchedulePage page_;
    QFont titleFont_;
    QFont headerFont_;
    QFont textFont_;
};

} // namespace

bool SchedulePrinter::print(QPagedPaintDevice& device, const CourseRecord& course,
                            const std::vector<SessionRecord>& sessions, const std::function<void()>& abortDocument)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        tellPrinterError("Error initializing printer");
        return false;
    }
    ScheduleDocument document(painter, device);
    if (!document.draw(course, sessions)) {
        if (abortDocument)
            abortDocument();
        painter.end();
        tellPrinterError("Error initializing new page");
        return false;
    }
    // The schedule is printed only once its document is whole on the printer.
    auto* printer = dynamic_cast<QPrinter*>(&device);
    if (!(printer ? platform::finishPrintout(painter, *printer) : painter.end())) {
        tellPrinterError("Error finishing the printout");
        return false;
    }
    return true;
}

namespace {

// Prints on the printer as the dialog left it; false when its output failed.
bool printOn(QPrinter& printer, const CourseRecord& course, const std::vector<SessionRecord>& sessions)
{
    if (!printer.isValid()) {
        tellPrinterError("Error initializing printer");
        return true;
    }
    platform::PdfPrintout output(printer);
    if (!output.ready()) {
        LogStream::instance() << "Course schedule: " << output.failure() << "\n";
        tellPrinterError("Error initializing printer");
        return true;
    }
    if (!SchedulePrinter::print(printer, course, sessions, [&printer] { printer.abort(); }))
        return false;
    if (!output.commit()) {
        LogStream::instance() << "Course schedule: " << output.failure() << "\n";
        tellPrinterError("Error finishing the printout");
    }
    return true;
}

} // namespace

void SchedulePrinter::printSchedule(const CourseRecord& course, const std::vector<SessionRecord>& sessions,
                                    QWidget* parent)
{
    // Named before the dialog: a PDF file takes the document's name.
    platform::applicationPrinter().setDocName(tr("Kova CPR Course Schedule").left(DOCUMENT_NAME_LIMIT));
    if (!platform::printDialog(parent))
        return;
    // A printer whose output failed may spoil later printouts: it is
    // renewed, once the printout has let go of it.
    if (!printOn(platform::applicationPrinter(), course, sessions))
        platform::renewApplicationPrinter();
}
