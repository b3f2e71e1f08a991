#pragma once
// Which pages a printed session has and what goes on each: the landscape
// graph page, or the debriefing report with its first page, its pages of
// graph strips two by two, and its final page. Window-free; Print draws
// what the plan lays out, so the page total in every footer is the number
// of pages printed.

#include <vector>

class PrintPlan {
public:
    // The debriefing print settings.
    struct Options {
        bool graphs = true;
        bool eventList = true;
        bool debriefingText = true;
        bool approval = true;
    };

    struct Page {
        // The first page carries the session header; a strip page only the
        // title block and its strips; the final page the header again and
        // the closing parts.
        enum Kind { FIRST, STRIPS, FINAL };
        Kind kind = FIRST;
        int number = 1;
        // First page: the evaluation table (the debriefing report only).
        bool evaluationTable = false;
        // First page: the graphs in its graph area.
        bool graphs = false;
        // Strip page: the strip indexes, one or two.
        std::vector<int> strips;
        bool eventList = false;
        bool debriefingText = false;
        bool approval = false;
        bool footer = false;
        friend bool operator==(const Page&, const Page&) = default;
    };

    // The graph page (debriefing false) always shows the graphs and nothing
    // of the debriefing settings. The debriefing report has several pages
    // when graphs or the debriefing text are printed; `strips` is how many
    // strips of the configured print time the session fills (below 0 counts
    // as 0); the first page shows the strip around the first action, the
    // pages after it strips 1 to strips - 1.
    static PrintPlan make(bool debriefing, const Options& options, int strips);

    const std::vector<Page>& pages() const { return pages_; }
    // The total the footers print.
    int pageTotal() const { return static_cast<int>(pages_.size()); }
    bool landscape() const { return landscape_; }
    bool debriefing() const { return debriefing_; }

private:
    std::vector<Page> pages_;
    bool landscape_ = false;
    bool debriefing_ = false;
};
