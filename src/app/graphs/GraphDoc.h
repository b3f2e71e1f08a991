#pragma once
// The document of one curve of one session: its description (GraphSource),
// the panes that show it and the marks the instructor set on it, which the
// session data file keeps as a mark section.

#include "app/graphs/GraphEvent.h"

#include <cstdio>
#include <iosfwd>
#include <string_view>
#include <vector>

class GraphPane;
namespace MarkSection {
class CharSource;
}
class GraphSource;
struct SeriesSummary;

class GraphDoc {
public:
    // The source is not owned; it must outlive the document.
    explicit GraphDoc(GraphSource& source);
    // Every pane must have left before (a pane still listed is logged).
    ~GraphDoc();
    GraphDoc(const GraphDoc&) = delete;
    GraphDoc& operator=(const GraphDoc&) = delete;

    GraphSource& getSource() { return source_; }
    const GraphSource& getSource() const { return source_; }

    // Panes join when they are made for this document and leave when they
    // go; each added or read mark reaches every listed pane once, in order.
    void addView(GraphPane& pane);
    void removeView(GraphPane& pane);
    const std::vector<GraphPane*>& getViewList() const { return viewList_; }

    // The evaluated series holding the sample, or null (always on curves
    // without groups).
    const SeriesSummary* getGroup(int index) const;

    // A mark of the button at the newest sample (-1 before the first).
    void addMark(const ToolbarButton& item);
    const std::vector<GraphEvent>& getMarks() const { return marks_; }

    // The mark section; false when the stream reports an error after the
    // count or after any line (the rest is then not written).
    bool writeMarks(std::FILE* file) const;
    bool writeMarks(std::ostream& out) const;
    // Appends the marks of a mark section, each as a button without texts
    // with a fresh id and the stored image. False for a section that is
    // damaged or cut short; the marks read before that stay.
    bool readMarks(std::FILE* file);
    bool readMarks(std::istream& in);
    bool readMarks(std::string_view text, std::size_t* consumed = nullptr);

    // Once the measurements are read: drops the marks no sample can hold
    // (below -1 or past the last sample) and those whose image is not in the
    // strip. -1, a mark set before the first sample, stays. Answers how many went.
    int dropInvalidMarks(int sampleCount);

private:
    bool readFrom(MarkSection::CharSource& in);
    void appendMark(const GraphEvent& mark);

    GraphSource& source_;
    std::vector<GraphPane*> viewList_;
    std::vector<GraphEvent> marks_;
};
