#include "app/graphs/GraphDoc.h"

#include "Rodezir/LogStream.h"
#include "app/graphs/GraphPane.h"
#include "app/graphs/GraphSource.h"
#include "app/graphs/MarkSection.h"

#include <algorithm>
#include <ostream>

GraphDoc::GraphDoc(GraphSource& source) : source_(source) {}

GraphDoc::~GraphDoc() { KOVA_ASSERT(viewList_.size() == 0); }

void GraphDoc::addView(GraphPane& pane) { viewList_.push_back(&pane); }

void GraphDoc::removeView(GraphPane& pane) { std::erase(viewList_, &pane); }

const SeriesSummary* GraphDoc::getGroup(int index) const { return source_.group(index); }

void GraphDoc::addMark(const ToolbarButton& item) { appendMark(GraphEvent(item, source_.sampleCount() - 1)); }

void GraphDoc::appendMark(const GraphEvent& mark)
{
    marks_.push_back(mark);
    // The panes may draw, and a drawing pane never adds marks, but the list
    // is walked by index all the same.
    for (std::size_t i = 0; i < viewList_.size(); ++i)
        viewList_[i]->onMark(marks_.back());
}

bool GraphDoc::writeMarks(std::FILE* file) const
{
    if (!file)
        return false;
    const auto put = [file](const std::string& line) {
        return std::fwrite(line.data(), 1, line.size(), file) == line.size() && !std::ferror(file);
    };
    if (!put(MarkSection::countLine(static_cast<int>(marks_.size()))))
        return false;
    for (const GraphEvent& mark : marks_)
        if (!put(MarkSection::markLine(mark.sampleIndex, mark.image)))
            return false;
    return true;
}

bool GraphDoc::writeMarks(std::ostream& out) const
{
    const auto put = [&out](const std::string& line) {
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
        return static_cast<bool>(out);
    };
    if (!put(MarkSection::countLine(static_cast<int>(marks_.size()))))
        return false;
    for (const GraphEvent& mark : marks_)
        if (!put(MarkSection::markLine(mark.sampleIndex, mark.image)))
            return false;
    return true;
}

bool GraphDoc::readFrom(MarkSection::CharSource& in)
{
    return MarkSection::read(in, [this](int sampleIndex, int image) {
        appendMark(GraphEvent(ToolbarButton(std::wstring(), std::wstring(), image), sampleIndex));
    });
}

bool GraphDoc::readMarks(std::FILE* file)
{
    if (!file)
        return false;
    MarkSection::FileSource in(file);
    return readFrom(in);
}

bool GraphDoc::readMarks(std::istream& in)
{
    MarkSection::StreamSource source(in);
    return readFrom(source);
}

bool GraphDoc::readMarks(std::string_view text, std::size_t* consumed)
{
    MarkSection::TextSource source(text);
    const bool ok = readFrom(source);
    if (consumed)
        *consumed = source.position();
    return ok;
}

int GraphDoc::dropInvalidMarks(int sampleCount)
{
    const auto before = marks_.size();
    std::erase_if(marks_, [sampleCount](const GraphEvent& mark) {
        return mark.sampleIndex < -1 || mark.sampleIndex >= sampleCount || mark.image < 0
               || mark.image >= ToolbarButton::IMAGE_COUNT;
    });
    return static_cast<int>(before - marks_.size());
}
