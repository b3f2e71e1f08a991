#pragma once
// The pane that draws one curve of a session over the window of its time
// axis: the curve, the recommended band, the time grid, value labels, problem
// markers, the group labels of evaluated compression series, the
// instructor's marks, and the zoom and time-span selections. It draws into a
// back buffer and repaints only the strips that changed; the same drawing
// prints onto any paint device. Its mouse gestures go to the axis.

#include "Rodezir/SlotHolder.h"
#include "app/graphs/GraphPane.h"
#include "app/graphs/GraphScale.h"

#include <QFrame>
#include <QImage>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class AxisCtrl;
class GraphDoc;
class GraphSession;
class GraphToggles;
struct SeriesSummary;
class QFontMetrics;
class QPainter;

namespace kova {
class HoverHintStatic;
}

class GraphView : public QFrame, public GraphPane, public virtual SlotHolder {
    Q_OBJECT
public:
    static constexpr QRgb STORED_BACKGROUND = 0xFFDEDFDE;   // RGB(222, 223, 222)
    static constexpr QRgb BAND_ON_SCREEN = 0xFF00A790;      // RGB(0, 167, 144)
    static constexpr QRgb BAND_ON_PAPER = 0xFF62FFF2;       // RGB(98, 255, 242)
    static constexpr int WIDE_PEN_WINDOW_MS = 50000;
    static constexpr int GROUP_LABEL_WINDOW_MS = 300000;

    // A pane for the document (the document's "createView"): it joins the
    // document's panes and follows its curve's problem and group signals.
    // The caller gives it a window with Create (the parent then owns it) and
    // an axis with setAxisCtrl.
    static GraphView* createView(GraphDoc& doc);
    GraphView(GraphDoc& doc, bool inverted);
    ~GraphView() override;

    bool Create(QWidget* parent);
    // Leaves the previous axis and joins the new one (null: none), which
    // draws the pane whole.
    void setAxisCtrl(AxisCtrl* axis);
    AxisCtrl* getAxisCtrl() const { return axisCtrl_; }
    // The ECG pane: paper grid, thin pen, no band and no value labels.
    void setEcgStyle(bool on) { ecgStyle_ = on; }
    bool isEcgStyle() const { return ecgStyle_; }
    // Where the mouse readout goes (the panel's hint label), or null.
    void setReadoutTarget(kova::HoverHintStatic* target) { readoutTarget_ = target; }
    // Asked while drawing when a flagged ECG sample comes past the last one
    // asked about (the ECG rhythm panel's check for a rhythm switch).
    void setRhythmCheck(std::function<void()> check) { rhythmCheck_ = std::move(check); }
    // Where the cursor is, in screen coordinates (tests put their own).
    void setCursorReader(std::function<QPoint()> reader) { cursorReader_ = std::move(reader); }

    // GraphPane.
    void onMark(const GraphEvent& mark) override;
    bool isPaneCreated() const override { return created_; }
    void redrawAll() override;
    void drawNewSamples(int from, int to) override;
    void showZoomSelection(int from, int to) override;
    void showSpanSelection(int from, int to) override;
    std::optional<int> indexUnderCursor() const override;
    void captureMouse() override;
    void releaseMouseCapture() override;
    void onAxisDestroyed() override { setAxisCtrl(nullptr); }

    void drawBackground();
    void drawRange(int from, int to);
    void copyToScreen(int from, int to);
    void onMarkerSignal(int index);
    void onGroupSignal(int index);

    // Conversions of the plot, over the axis window.
    double valueAt(int y) const { return scale().valueAt(y); }
    int indexAt(int x) const { return scale().indexAt(x); }
    int xOfIndex(std::int64_t index) const { return scale().xOf(index); }
    int yOfValue(double value) const { return scale().yOf(value); }
    std::wstring getUnit() const;
    // The width of the curve's pen: 2 while the window is at most 50
    // seconds, else 1 (1 on the ECG pane).
    int curvePenWidth() const;
    // A value label (the scale's ends, the limits of the band, the captions
    // of the group rows) where the pane draws it.
    struct ValueLabel {
        QRect box;
        QString text;
    };
    // The value labels in the axis's font over the plot as it is now.
    std::vector<ValueLabel> valueLabels() const;
    // The mouse readout for a point of the plot.
    std::wstring readoutAt(int x, int y) const;

    // Draws the curve with band, grid, value labels, its name and marks into
    // the rectangle of any paint device; the axis prints its labels apart.
    void printTo(QPainter& painter, int left, int top, int right, int bottom, bool blackAndWhite);

    const QImage& backBuffer() const { return memBitmap_; }
    GraphDoc& getDocument() const { return graphDoc_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    GraphScale scale() const;
    GraphSession* session() const;
    GraphToggles* toggles() const;
    int lastDrawableIndex() const;
    bool showsGroupLabels() const;
    int labelHeight(QPainter& painter) const;
    std::vector<ValueLabel> valueLabels(const QFontMetrics& metrics) const;
    // The value labels are drawn at all: not on the ECG pane, nor on a pane
    // lower than two labels.
    bool showsValueLabels(int labelHeight) const;
    // The top of the first row of group labels (C/R ratio; the cardiac
    // output one label and a pixel lower).
    int groupLabelRow(int labelHeight) const;

    void paintBackground(QPainter& painter);
    void paintBand(QPainter& painter);
    void paintGrid(QPainter& painter);
    void paintValueLabels(QPainter& painter);
    void paintCurve(QPainter& painter, int from, int to, bool withGroups);
    void paintMarker(QPainter& painter, int x, int y) const;
    void paintGroupLabels(QPainter& painter, const SeriesSummary& group);
    void paintMark(QPainter& painter, const GraphEvent& mark);
    void paintSpanSelection(QPainter& painter);
    bool markVisible(const GraphEvent& mark) const;
    QRect markColumn(const GraphEvent& mark) const;
    QRect zoomRect(std::pair<int, int> range) const;
    struct SpanLayout {
        int x1 = 0;
        int x2 = 0;
        QRect box;
        QRect covered;
        QString text;
    };
    SpanLayout spanLayout(std::pair<int, int> range) const;
    std::pair<int, int> clampedSpan() const;
    void repaintClient(const QRect& clientRect);
    QPoint clientPos(const QPointF& widgetPos) const;
    void updateReadout(const QPoint& client, const QPoint& global);
    void refreshReadout();

    GraphDoc& graphDoc_;
    AxisCtrl* axisCtrl_ = nullptr;
    bool isPrinting_ = false;
    bool created_ = false;
    bool inverted_;
    bool ecgStyle_ = false;
    bool blackAndWhite_ = false;
    int lastRhythmCheckIndex_ = 0;
    kova::HoverHintStatic* readoutTarget_ = nullptr;
    QImage memBitmap_;
    int plotLeft_ = 0;
    int plotTop_ = 0;
    int plotWidth_ = 0;
    int plotHeight_ = 0;
    std::pair<int, int> zoomSelection_{-1, -1};
    std::pair<int, int> spanSelection_{-1, -1};
    std::function<void()> rhythmCheck_;
    std::function<QPoint()> cursorReader_;
};
