#pragma once
// The debriefing's evaluation list over one session's measurement store: the
// six columns and four colours of the report control, one row with its bar
// per shown quantity and the comments row, each refresh's figures, the
// separators and the recommendation drawn below the rows, and the same table
// drawn onto a printed page.

#include "app/debriefing/DebriefEvaluation.h"

#include "config/AlgorithmRecord.h"
#include "config/PropertyModel.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class CommSession;
class QPainter;

namespace kova {
class BarGaugeWnd;
class CReportCtrl;
struct ReportNotify;
} // namespace kova

class DebriefReport {
public:
    // The item data of the comments row.
    static constexpr int COMMENTS_ROW_DATA = 1;
    // Space below a row that closes its group, for the separator line.
    static constexpr int SEPARATOR_HEIGHT = 8;

    // The report and the session are not owned; the session's algorithm and
    // training mode are the ones its measurement store evaluates with.
    DebriefReport(kova::CReportCtrl& report, CommSession& session);
    ~DebriefReport();
    DebriefReport(const DebriefReport&) = delete;
    DebriefReport& operator=(const DebriefReport&) = delete;

    // The six columns and the report's colours.
    void defineColumns();
    // A bar for every row kind, spanning the limits as they stand now.
    void createBars(const PropertyModel& settings);
    // Appends the rows the settings and the training mode show, and the
    // comments row when the settings ask for it. The rows stay as filled.
    void fillRows(const PropertyModel& settings);
    // Evaluates the session again and writes every filled row's figures and
    // bar marker. With `onlyWhenChanged`, nothing is evaluated or written
    // while the measurements, the algorithm, the training mode and the
    // settings are those of the last refresh: only the comments row is drawn
    // again (the recommendation is being typed).
    void refresh(const PropertyModel& settings, bool onlyWhenChanged = false);

    // Draws the area the report leaves below a row: the recommendation below
    // the comments row, a separator below a row that closes its group.
    void drawExtraArea(const kova::ReportNotify& area, const std::wstring& recommendation) const;

    // Draws the shown rows as text lines with their bars at (x, y), `width`
    // wide, one line every one and a half line heights, with the footnote;
    // answers the height reserved.
    int printTable(QPainter& painter, int x, int y, int width, int lineHeight, const PropertyModel& settings) const;

    // The kinds of the report's rows, in row order, as filled.
    const std::vector<int>& filledKinds() const { return filledKinds_; }
    // The report row of the comments, or -1 without one.
    int commentsRow() const { return commentsRow_; }
    kova::BarGaugeWnd* bar(int kind) const;
    // How many times the session was evaluated (a keystroke must not).
    int evaluations() const { return evaluations_; }

private:
    // What an evaluation depends on, to tell whether it must run again.
    struct Inputs {
        std::size_t samples = 0;
        AlgorithmRecord algorithm;
        int trainingMode = 0;
        PropertyModel settings;
        bool operator==(const Inputs&) const = default;
    };
    Inputs inputsNow(const PropertyModel& settings) const;
    // Compares without copying: a keystroke asks this.
    bool sameInputs(const PropertyModel& settings) const;
    DebriefEvaluation evaluationNow(const PropertyModel& settings) const;
    void redrawCommentsRow();

    // What a refresh last wrote into a row; a filled row holds one blank in
    // its figure cells, no remark, and is bold until its first refresh.
    struct RowTexts {
        std::wstring total = L" ";
        std::wstring average = L" ";
        std::wstring remark;
        int extraHeight = 0;
        bool plain = false;
    };

    kova::CReportCtrl& report_;
    CommSession& session_;
    std::array<std::shared_ptr<kova::BarGaugeWnd>, DebriefEvaluation::ROW_KINDS> bars_;
    std::vector<int> filledKinds_;
    std::vector<RowTexts> written_;
    int commentsRow_ = -1;
    std::unique_ptr<Inputs> lastInputs_;
    int evaluations_ = 0;
};
