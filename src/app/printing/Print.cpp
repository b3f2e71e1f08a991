#include "app/printing/Print.h"

#include "Database/Duration.h"
#include "Rodezir/BitmapDraw.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/PainterTextDevice.h"
#include "Rodezir/TextLines.h"
#include "Rodezir/dialogs/FontUtil.h"
#include "app/debriefing/SessionDebriefView.h"
#include "app/graphs/ToolBar.h"
#include "app/printing/PrintedGraphs.h"
#include "app/printing/PrintedTexts.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionDatabaseView.h"
#include "app/sessions/SessionView.h"
#include "config/Configuration.h"
#include "gettext/Gettext.h"
#include "platform/MessageBox.h"
#include "platform/PdfPrintout.h"
#include "platform/PrintDialog.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

using namespace kova;

namespace {

constexpr int LEFT_LOGO = 165;
constexpr int LEFT_LOGO_WIDTH = 446;
constexpr int LEFT_LOGO_HEIGHT = 81;
constexpr int RIGHT_LOGO = 166;
constexpr int RIGHT_LOGO_WIDTH = 459;
constexpr int RIGHT_LOGO_HEIGHT = 315;

int truncated(double value) { return static_cast<int>(value); }

QString qtext(const std::wstring& text) { return QString::fromStdWString(text); }

std::wstring wide(const std::string& utf8) { return QString::fromStdString(utf8).toStdWString(); }

std::wstring translate(const char* text) { return Gettext::translate(text); }

// Tahoma where the printer has it, else Arial, at a size in tenths of a point.
QFont printFont(const QPaintDevice* device, int tenthsOfPoint, bool bold)
{
    const std::string face = FontUtil::fontExists("tahoma", device, FontUtil::ANSI_CHARSET) ? "tahoma" : "arial";
    QFont font;
    FontUtil::create(font, face, FontUtil::pointsToLogical(tenthsOfPoint, device), bold, false);
    return font;
}

// Every printing failure is told to the user and written to the error log.
void printerError(const char* text)
{
    LogStream::instance() << "Printer error: " << text << "\n";
    platform::messageBox(translate(text), translate("Printer error"), platform::MB_OK);
}

// The panel's window, made when the session had not shown it yet: a stored
// session printed from its review has never built its graphs or table.
template <typename Panel> Panel* ready(Session& session, SessionPanel* panel)
{
    if (!panel)
        return nullptr;
    if (!panel->isCreated() && !panel->create(session.getSessionView()))
        return nullptr;
    return dynamic_cast<Panel*>(panel);
}

} // namespace

void Print::setOrientation(bool landscape)
{
    platform::applicationPrinter().setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void Print::install()
{
    SessionDebriefView::setPrintFunction([](Session& session, bool debriefing) { printSession(session, debriefing); });
    // The review prints the debriefing report with what was typed into it.
    SessionDatabaseView::setPrinter([](Session& session, int flag) { printSession(session, flag != 0); });
}

void Print::printSession(Session& session, bool debriefing)
{
    // A stored session prints what its data file held; one whose identifier
    // names no data file has read nothing and prints nothing.
    if (session.getUsingFile() && !session.getRecord().namesDataFile()) {
        session.getRecord().tellIdentifierRefused();
        return;
    }
    setOrientation(!debriefing);
    // Named before the dialog: a PDF file takes the document's name.
    platform::applicationPrinter().setDocName(qtext(translate("Kova CPR Evaluation Data")));
    if (!platform::printDialog(nullptr))
        return;
    // The PDF output of a printer keeps a failed write for every later
    // document: a printer whose output failed is renewed, once the printout
    // has let go of it.
    if (!printDocument(session, debriefing))
        platform::renewApplicationPrinter();
}

bool Print::printDocument(Session& session, bool debriefing)
{
    QPrinter& printer = platform::applicationPrinter();
    platform::PdfPrintout output(printer);
    if (!output.ready()) {
        LogStream::instance() << "Print: " << output.failure() << "\n";
        printerError("Error initializing printer");
        return true;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        printerError("Error initializing printer");
        return true;
    }

    bool printed = false;
    {
        Print print(session, printer, painter);
        const PrintPlan::Options options{print.settings_.printGraph, print.settings_.printEventList,
                                         print.settings_.printDebriefingText, print.settings_.printApprovalFields};
        print.findPanels(debriefing, !debriefing || options.graphs);
        const int strips = debriefing && options.graphs && print.graphs_ ? print.graphs_->getPrintPageCount() : 0;
        printed = print.printPages(PrintPlan::make(debriefing, options, strips));
    }
    if (!printed) {
        painter.end();
        return false;
    }
    if (!platform::finishPrintout(painter, printer)) {
        printerError("Error finishing the printout");
        return false;
    }
    if (!output.commit()) {
        LogStream::instance() << "Print: " << output.failure() << "\n";
        printerError("Error finishing the printout");
    }
    return true;
}

Print::Print(Session& session, QPrinter& printer, QPainter& painter)
    : session_(session), printer_(printer), painter_(painter), settings_(Configuration::instance().getPropertyModel())
{
    titleFont_ = printFont(&printer, 200, true);
    textFont_ = printFont(&printer, 100, false);
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    W_ = page.width();
    H_ = page.height();
    m_ = W_ / 20;

    painter_.save();
    painter_.setFont(textFont_);
    painter_.setPen(QPen(Qt::black, 0));
    painter_.setBrush(Qt::NoBrush);
    lh_ = textHeight(L"Abjg");
    monochrome_ = printer.colorMode() == QPrinter::GrayScale;
}

Print::~Print() { painter_.restore(); }

void Print::findPanels(bool debriefing, bool graphs)
{
    if (debriefing) {
        debriefView_ = ready<SessionDebriefView>(session_, session_.getSessionDebriefView());
        if (!debriefView_)
            LogStream::instance() << "Print: the session has no debriefing panel; the report goes without its table.\n";
    }
    if (graphs) {
        graphs_ = ready<PrintedGraphs>(session_, session_.getSessionGraphView());
        if (!graphs_)
            LogStream::instance() << "Print: the session has no graph panel; the printout goes without graphs.\n";
    }
}

bool Print::printPages(const PrintPlan& plan)
{
    pageTotal_ = plan.pageTotal();

    bool first = true;
    for (const PrintPlan::Page& page : plan.pages()) {
        if (!first && !startPage())
            return false;
        first = false;
        switch (page.kind) {
        case PrintPlan::Page::FIRST:
            printFirstPage(page);
            break;
        case PrintPlan::Page::STRIPS:
            printStripPage(page);
            break;
        case PrintPlan::Page::FINAL:
            printFinalPage(page);
            break;
        }
    }
    return true;
}

bool Print::startPage()
{
    if (printer_.newPage())
        return true;
    printer_.abort();
    printerError("Error initializing new page");
    return false;
}

void Print::printFirstPage(const PrintPlan::Page& page)
{
    int y = printTitleBlock();
    y = printHeader(y);
    if (page.evaluationTable) {
        if (debriefView_)
            y += debriefView_->printTable(painter_, m_, y, W_ - 2 * m_, lh_);
        y += lh_;
        if (page.graphs) {
            if (graphs_)
                graphs_->selectFirstActionPrintWindow();
            printGraphs(m_, y, W_ - m_, truncated(0.29 * H_ + y));
        }
    } else if (page.graphs) {
        // The graph page shows what the graph panel's axis shows now.
        printGraphs(m_, y + m_ / 2, W_ - m_, H_ - (3 * m_) / 2);
    }
    if (page.approval)
        printApproval(H_ - 10 * lh_);
    if (page.footer)
        printFooter(page.number);
}

void Print::printStripPage(const PrintPlan::Page& page)
{
    const int y0 = printTitleBlock();
    int top = y0;
    for (const int strip : page.strips) {
        if (graphs_)
            graphs_->selectPrintPage(strip);
        printGraphs(m_, top, W_ - m_, truncated(0.35 * H_ + top));
        top = truncated(0.4 * H_ + y0);
    }
    if (page.footer)
        printFooter(page.number);
}

void Print::printFinalPage(const PrintPlan::Page& page)
{
    int y = printTitleBlock();
    y = printHeader(y);
    if (page.eventList)
        y = printEventRegistration(y);
    if (page.debriefingText)
        y = printDebriefingText(y);
    if (page.approval)
        printApproval(H_ - 10 * lh_);
    if (page.footer)
        printFooter(page.number);
}

void Print::printGraphs(int left, int top, int right, int bottom)
{
    if (!graphs_)
        return;
    painter_.save();
    graphs_->printGraphs(painter_, left, top, right, bottom, monochrome_);
    painter_.restore();
}

// Text

int Print::textWidth(const std::wstring& text) const { return PainterTextDevice(painter_).textExtent(text).cx; }

int Print::textHeight(const std::wstring& text) const { return PainterTextDevice(painter_).textExtent(text).cy; }

void Print::drawText(int x, int y, const std::wstring& text)
{
    PainterTextDevice device(painter_);
    device.drawText(x, y, text);
}

// Title block, header and footer

int Print::printTitleBlock()
{
    const int hR = truncated(0.08 * H_);
    const int wR = hR * RIGHT_LOGO_WIDTH / RIGHT_LOGO_HEIGHT;
    Util::showDib(painter_, RIGHT_LOGO, W_ - m_ - wR, 0, wR, hR, 0, 0, RIGHT_LOGO_WIDTH, RIGHT_LOGO_HEIGHT);
    const int hL = truncated(0.0304 * H_);
    const int wL = hL * LEFT_LOGO_WIDTH / LEFT_LOGO_HEIGHT;
    Util::showDib(painter_, LEFT_LOGO, m_, (hR - hL) / 2, wL, hL, 0, 0, LEFT_LOGO_WIDTH, LEFT_LOGO_HEIGHT);

    painter_.setFont(titleFont_);
    const std::wstring title = translate("Training Results");
    const int titleY = (hR + hL) / 2;
    const int titleHeight = textHeight(title);
    drawText((W_ - textWidth(title)) / 2, titleY, title);
    painter_.setFont(textFont_);

    const SessionRecord& record = session_.getRecord();
    const std::wstring date = wide(record.CourseDate + " " + record.StartTime);
    const int dateY = truncated(0.01 * H_ + titleY + titleHeight);
    drawText((W_ - textWidth(date)) / 2, dateY, date);
    const int dateBottom = dateY + textHeight(date);

    const std::vector<std::wstring> lines = PrintedTexts::headingLines(settings_.printHeading);
    if (lines.empty())
        return dateBottom;
    int widest = 0;
    for (const std::wstring& line : lines)
        widest = std::max(widest, textWidth(line));
    const int x = (W_ - widest) / 2;
    int top = dateBottom + textHeight(L"Abjg");
    int bottom = top;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int height = textHeight(lines[i]);
        if (i > 0)
            top += height + height / 6;
        drawText(x, top, lines[i]);
        bottom = top + height;
    }
    return bottom;
}

int Print::printHeader(int y)
{
    const SessionRecord& record = session_.getRecord();
    const int y1 = y + lh_;
    const int y2 = y1 + (3 * lh_) / 2;
    const int y3 = y1 + (6 * lh_) / 2;

    std::wstring ventilation = translate("Ventilation: ") + session_.getPersonVentilation();
    if (m_ + textWidth(ventilation) > W_ / 2)
        ventilation = translate("Vent: ") + session_.getPersonVentilation();
    drawText(m_, y1, ventilation);
    std::wstring compression = translate("Compression: ") + session_.getPersonChestCompression();
    if (textWidth(compression) > W_ / 2)
        compression = translate("Comp: ") + session_.getPersonChestCompression();
    drawText(m_, y2, compression);
    if (!record.CourseInstructor.empty())
        drawText(m_, y3, translate("Course Instructor: ") + wide(record.CourseInstructor));

    const auto rightAligned = [&](int top, const std::wstring& text) { drawText(W_ - m_ - textWidth(text), top, text); };
    rightAligned(y1, translate("Duration: ") + Duration::formatLong(static_cast<long>(session_.getElapsedSeconds())));
    rightAligned(y2, translate("Algorithm: ") + wide(session_.getAlgorithm().Name));
    rightAligned(y2 + (3 * lh_) / 2,
                 translate("Metronome: ") + (record.Metronome ? translate("on") : translate("off")));
    return y2 + (3 * lh_) / 2 + (5 * lh_) / 2;
}

void Print::printFooter(int pageNumber)
{
    const std::wstring text = translate("Page ") + std::to_wstring(pageNumber) + translate(" of ") +
                              std::to_wstring(pageTotal_);
    drawText(W_ - m_ - textWidth(text), H_ - textHeight(text), text);
}

// Event registration

int Print::printEventRegistration(int y)
{
    const int mode = static_cast<int>(session_.getRecord().TrainingMode);
    const PrintedTexts::Columns columns = PrintedTexts::eventColumns(
        mode, session_.getVentilationDoc().getMarks(), session_.getCompressionDoc().getMarks());
    const auto heading = [](const std::wstring& person) { return translate("Event registration (") + person + L")"; };
    drawText(m_, y, heading(columns.compressionHeading ? session_.getPersonChestCompression()
                                                       : session_.getPersonVentilation()));
    if (columns.twoHeadings)
        drawText(m_ + W_ / 2, y, heading(session_.getPersonChestCompression()));

    const int top = y + 2 * lh_;
    const int leftEnd = printEventColumn(columns.left, 2 * m_, W_ / 2 - 2 * m_, top);
    const int rightEnd = printEventColumn(columns.right, W_ / 2 + 2 * m_, W_ - 2 * m_, top);
    return std::max(leftEnd, rightEnd);
}

int Print::printEventColumn(const std::vector<GraphEvent>& marks, int x, int xRight, int y)
{
    const ToolBar* toolBar = session_.getToolBar();
    const double rate = session_.getCommSession().sampleRate;
    const int space = textWidth(L" ");
    const auto width = [this](const std::wstring& text) { return textWidth(text); };
    int shown = 0;
    for (const GraphEvent& mark : marks) {
        if (shown == PrintedTexts::COLUMN_ROWS)
            break;
        ++shown;
        if (toolBar)
            toolBar->showImage(mark, painter_, x, y, lh_, lh_);
        const std::wstring text = PrintedTexts::markText(mark.name);
        const int textX = x + truncated(1.25 * lh_);
        drawText(textX, y, text);
        const std::wstring time = PrintedTexts::markTime(mark.sampleIndex, rate);
        const int timeX = xRight - textWidth(time);
        drawText(timeX, truncated(y + 0.25 * lh_), time);
        const int leaderX = textX + textWidth(text) + space;
        drawText(leaderX, y, PrintedTexts::dotLeader(leaderX, timeX - space, width));
        y = truncated(y + 1.25 * lh_);
    }
    if (static_cast<int>(marks.size()) > shown) {
        drawText(x, y, L"...");
        return y + lh_;
    }
    return y;
}

// Recommendation text and approval block

int Print::printDebriefingText(int y)
{
    PainterTextDevice device(painter_);
    const TextLines lines(device, session_.getRecommendationText(), Gettext::instance().isEastAsian());
    lines.drawAligned(device, W_ - 2 * m_, m_, y + lh_, TextLines::ALIGN_LEFT);
    return y + lh_;
}

void Print::printApproval(int y)
{
    const SessionRecord& record = session_.getRecord();
    const std::wstring approved = PrintedTexts::approvalText(record.Approved);
    const std::wstring approvedBy = translate("Approved by: ") + wide(record.ApprovedBy);
    const std::wstring commentsLabel = translate("Comments:");
    const std::wstring comments = commentsLabel + wide(record.Note);

    const int gap = truncated(0.02 * W_);
    const int wider = std::max(textWidth(approved), textWidth(approvedBy));
    const int split = wider + textWidth(commentsLabel) < W_ / 2 - m_ - gap ? W_ / 2 + m_ : W_ / 2;
    const int bottom = H_ - 2 * lh_;

    painter_.save();
    painter_.setPen(QPen(Qt::black, 3, Qt::SolidLine));
    const auto box = [this](int left, int top, int right, int lower) {
        painter_.drawLine(left, top, right, top);
        painter_.drawLine(right, top, right, lower);
        painter_.drawLine(right, lower, left, lower);
        painter_.drawLine(left, lower, left, top);
    };
    box(m_, y, split, bottom);
    box(split + gap, y, W_ - m_, bottom);
    painter_.restore();

    // The comments break at words inside their box; what does not fit is cut
    // at the box, and a word wider than the box ends in an ellipsis.
    const QRect inside(QPoint(m_ + 10, y + 5), QPoint(split - 10, bottom - 5));
    if (inside.width() > 0 && inside.height() > 0) {
        const QFontMetrics metrics(textFont_, &printer_);
        QStringList lines = qtext(comments).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'));
        for (QString& line : lines) {
            QStringList words = line.split(QLatin1Char(' '));
            for (QString& word : words)
                word = metrics.elidedText(word, Qt::ElideRight, inside.width());
            line = words.join(QLatin1Char(' '));
        }
        painter_.save();
        painter_.setClipRect(inside);
        painter_.drawText(inside, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, lines.join(QLatin1Char('\n')));
        painter_.restore();
    }

    const int g2 = truncated(0.024 * W_);
    const int textX = split + gap + g2;
    drawText(textX, y + lh_, approved);
    drawText(textX, y + lh_ + (3 * lh_) / 2, approvedBy);

    painter_.save();
    painter_.setPen(QPen(Qt::black, 1, Qt::DotLine));
    const int lineY = H_ - (3 * lh_) / 2 - lh_;
    painter_.drawLine(textX, lineY, W_ - m_ - g2, lineY);
    painter_.restore();
}
