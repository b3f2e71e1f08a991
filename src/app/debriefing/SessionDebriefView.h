#pragma once
// The debriefing panel of a session (template 136): the evaluation list with
// a bar per quantity, the instructor's recommendation below it, and the way
// back to the graphs, on to the review, to printing and out. It also draws
// the evaluation table onto a printed page.

#include "app/sessions/SessionPanel.h"

#include <functional>
#include <memory>
#include <string>

class DebriefReport;
class PropertyModel;
class QPainter;
class QPlainTextEdit;

namespace kova {
class CReportCtrl;
struct ReportNotify;
} // namespace kova

class SessionDebriefView : public SessionPanel {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 136;
    static constexpr int IDC_GRAPH = 1021;
    static constexpr int IDC_REVIEW = 1027;
    static constexpr int IDC_ABORT = 2;
    static constexpr int IDC_PRINT = 1072;
    static constexpr int IDC_RECOMMENDATION = 1492;
    static constexpr int IDC_RECOMMENDATION_LABEL = 1493;
    static constexpr int IDC_REPORT = 1332;
    // The refresh request a window may send the panel (no control bears it).
    static constexpr int ID_REFRESH = 1022;
    static constexpr int HELP_TOPIC = 10003;
    // The most characters the recommendation box takes.
    static constexpr int RECOMMENDATION_LIMIT = 200;

    // Prints a session; `debriefing` adds the evaluation table. Installed by
    // the printing part of the program.
    using PrintFunction = std::function<void(Session& session, bool debriefing)>;
    static void setPrintFunction(PrintFunction print);

    // The dialog is built from its template, with the small font when it
    // would not fit the screen.
    explicit SessionDebriefView(Session& session);
    ~SessionDebriefView() override;

    // Makes this the debriefing panel of every later session.
    static void install();
    // Puts template 136 into the dialog registry (done by the constructor when missing).
    static void registerTemplate();

    // Evaluates the session again and rewrites the list.
    void refreshEvaluation();
    // Draws the evaluation table at (x, y), `width` wide; answers its height.
    int printTable(QPainter& painter, int x, int y, int width, int lineHeight);
    static char unitSeparator();

    std::wstring getRecommendationBoxText() const override;
    // The debriefing shows no live data.
    void newData(int lastIndex) override {}
    void help() override;

    kova::CReportCtrl* reportControl() const { return report_; }
    const DebriefReport* debriefReport() const { return debrief_.get(); }

protected:
    bool onInitDialog() override;
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void onReportNotify(kova::ReportNotify* record);
    void onRecommendationChanged();
    static const PropertyModel& settings();

    QPlainTextEdit* box_ = nullptr;
    kova::CReportCtrl* report_ = nullptr;
    std::unique_ptr<DebriefReport> debrief_;
};
