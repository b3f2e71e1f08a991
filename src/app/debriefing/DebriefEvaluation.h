#pragma once
// The judgement of one session for its debriefing, row by row: the marker and
// span of each row's bar, the texts of the columns "Total", "Average",
// "Recommended" and the remark, and which rows the station's settings and the
// training mode show. The panel and the printed table both read it.

#include "app/debriefing/DebriefBar.h"
#include "app/debriefing/DebriefFigures.h"

#include <string>
#include <vector>

class CommSession;
class PropertyModel;
struct AlgorithmRecord;

class DebriefEvaluation {
public:
    // The row kinds, in the order the rows stand.
    enum Kind {
        MINUTE_VOLUME = 0,
        CARDIAC_OUTPUT,
        INITIAL_VENTILATIONS,
        VENTILATION_RATE,
        VENTILATION_VOLUME,
        STOMACH_INFLATION,
        COMPRESSION_RATE,
        COMPRESSION_RELAXATION,
        COMPRESSION_DEPTH,
        PAUSE,
        WRONG_HAND_POSITION,
        LEANING,
        COMPRESSION_VENTILATION_RATIO,
    };
    static constexpr int ROW_KINDS = 13;

    // Holds the algorithm and the settings by reference (read at every call),
    // the figures by value.
    DebriefEvaluation(const DebriefFigures& figures, const AlgorithmRecord& algorithm, int trainingMode,
                      const PropertyModel& settings);
    // The session's figures as they stand, its algorithm (the default
    // guideline's limits when it has none) and its training mode. The
    // evaluation must not outlive the session.
    static DebriefEvaluation of(const CommSession& session, const PropertyModel& settings);

    // The "Recommended" column; empty for an unknown kind.
    std::wstring recommendedText(int kind) const;
    // Sets those of the three texts the kind defines and leaves the others as
    // given; an unknown kind sets nothing.
    void evaluateRow(int kind, std::wstring& total, std::wstring& average, std::wstring& evaluation) const;
    // Where the kind's bar places the measured value.
    double marker(int kind) const;
    // The value range the kind's bar spans and its green range.
    DebriefBar bar(int kind) const;

    const DebriefFigures& figures() const { return figures_; }
    int trainingMode() const { return trainingMode_; }

    // The translated label of a row kind; empty for an unknown kind.
    static std::wstring rowLabel(int kind);
    // Whether the settings show the row and the training mode keeps it.
    static bool isRowShown(int kind, int trainingMode, const PropertyModel& settings);
    // The kinds shown, ascending: the j-th is the report's row j.
    static std::vector<int> shownKinds(int trainingMode, const PropertyModel& settings);
    // Whether a shown row ends its group and so gets a separator below it.
    static bool closesGroup(int kind, int trainingMode, const PropertyModel& settings);
    // The text lines the printed table reserves, the footnote's among them.
    static int printSlotCount(int trainingMode, const PropertyModel& settings);

    // n followed by "%".
    static std::wstring percentText(int percent);
    // Between a value and its unit.
    static char unitSeparator() { return ' '; }

private:
    const AlgorithmRecord& algorithm_;
    const PropertyModel& settings_;
    DebriefFigures figures_;
    int trainingMode_;
};
