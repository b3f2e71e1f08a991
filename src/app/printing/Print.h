#pragma once
// Prints one session, live or stored: the landscape graph page, or the
// portrait debriefing report with the evaluation table, graph strips, the
// event registration, the recommendation text and the approval block. It
// draws on the application's printer in device units; the page plan says
// what goes on which page, the session's panels draw the graphs and the
// evaluation table.

#include "app/printing/PrintPlan.h"
#include "config/PropertyModel.h"

#include <QFont>

#include <memory>
#include <string>
#include <vector>

struct GraphEvent;
class PrintedGraphs;
class QPainter;
class QPrinter;
class Session;
class SessionDebriefView;

class Print {
public:
    // Asks the print dialog, then prints the graph page (debriefing false)
    // or the debriefing report. Nothing is printed when the dialog is
    // cancelled; a printer that fails shows "Printer error".
    static void printSession(Session& session, bool debriefing);
    // The application's printer turns to landscape or portrait and stays so
    // for later print dialogs.
    static void setOrientation(bool landscape);
    // Makes the panels' Print buttons print through printSession.
    static void install();

private:
    // Prints on the application's printer as the dialog left it; false when
    // the printer's output failed and the printer must be renewed.
    static bool printDocument(Session& session, bool debriefing);
    Print(Session& session, QPrinter& printer, QPainter& painter);
    ~Print();

    // The session's debriefing panel (the report) and graph panel, made when
    // they were not; null where the session has none.
    void findPanels(bool debriefing, bool graphs);
    // The pages of the plan, each begun and ended once; false when the
    // printer failed (the user has been told, the document aborted).
    bool printPages(const PrintPlan& plan);
    bool startPage();
    void printFirstPage(const PrintPlan::Page& page);
    void printStripPage(const PrintPlan::Page& page);
    void printFinalPage(const PrintPlan::Page& page);
    void printGraphs(int left, int top, int right, int bottom);

    int printTitleBlock();
    int printHeader(int y);
    void printFooter(int pageNumber);
    int printEventRegistration(int y);
    int printEventColumn(const std::vector<GraphEvent>& marks, int x, int xRight, int y);
    int printDebriefingText(int y);
    void printApproval(int y);

    int textWidth(const std::wstring& text) const;
    int textHeight(const std::wstring& text) const;
    void drawText(int x, int y, const std::wstring& text);

    Session& session_;
    QPrinter& printer_;
    QPainter& painter_;
    // Read once per print.
    const PropertyModel settings_;
    QFont titleFont_;
    QFont textFont_;
    int W_ = 0;
    int H_ = 0;
    int m_ = 0;
    int lh_ = 0;
    int pageTotal_ = 0;
    PrintedGraphs* graphs_ = nullptr;
    SessionDebriefView* debriefView_ = nullptr;
    bool monochrome_ = false;
};
