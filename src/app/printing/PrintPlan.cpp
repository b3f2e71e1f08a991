#include "app/printing/PrintPlan.h"

#include <algorithm>

PrintPlan PrintPlan::make(bool debriefing, const Options& options, int strips)
{
    PrintPlan plan;
    plan.debriefing_ = debriefing;
    plan.landscape_ = !debriefing;

    Page first;
    first.kind = Page::FIRST;
    first.number = 1;
    if (!debriefing) {
        // A graph page without its graphs would be an empty sheet: the
        // debriefing's graph option does not govern it.
        first.graphs = true;
        plan.pages_.push_back(first);
        return plan;
    }

    first.evaluationTable = true;
    first.graphs = options.graphs;
    const bool multiPage = options.graphs || options.debriefingText;
    if (!multiPage) {
        first.approval = options.approval;
        plan.pages_.push_back(first);
        return plan;
    }
    first.footer = true;
    plan.pages_.push_back(first);

    int number = 2;
    if (options.graphs) {
        for (int strip = 1; strip < std::max(strips, 0); strip += 2) {
            Page page;
            page.kind = Page::STRIPS;
            page.number = number++;
            page.strips.push_back(strip);
            if (strip + 1 < strips)
                page.strips.push_back(strip + 1);
            page.footer = true;
            plan.pages_.push_back(page);
        }
    }

    Page final;
    final.kind = Page::FINAL;
    final.number = number;
    final.eventList = options.eventList;
    final.debriefingText = options.debriefingText;
    final.approval = options.approval;
    final.footer = true;
    plan.pages_.push_back(final);
    return plan;
}
