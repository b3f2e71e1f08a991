#pragma once
// A horizontal three-dimensional bar over a value range, with coloured
// sub-ranges (such as the range of acceptable results) and a marker ball or
// picture at a value. It paints itself, and drawInto paints the same picture
// into any painter and rectangle (list cells, the debriefing, printing).

#include "controls/OwnerDraw.h"

#include <QPicture>
#include <QWidget>

#include <optional>
#include <vector>

namespace kova {

class BarGaugeWnd : public QWidget {
    Q_OBJECT
public:
    struct Range {
        double start;
        double end;
        COLORREF colour;
        bool leftTip;
        bool rightTip;
    };

    explicit BarGaugeWnd(QWidget* parent = nullptr);

    bool create(const QRect& rect, QWidget* parent, int controlId);
    // Takes the place of the dialog's control of that id.
    bool replaceControl(QWidget* parentDialog, int controlId);

    void setArea(double minimum, double maximum, COLORREF barColour);
    void setOffset(double value);
    void setScale(bool leftTipFlag, bool rightTipFlag, int leftMargin, int rightMargin);
    // Stores the second colour and drops the overlay picture.
    void setColor(COLORREF colour);
    void setOverlay(const QPicture& picture);
    void addRange(double start, double end, COLORREF colour, bool leftTip, bool rightTip);

    // Paints into the rectangle (left, top, right exclusive, bottom exclusive);
    // with `fewSteps` the ball is drawn with 3 shades instead of 15 (printing).
    void drawInto(QPainter& painter, int left, int top, int right, int bottom, bool fewSteps);

    // The marker's centre x for the current value in that rectangle, as painted.
    int markerCentre(int left, int right, int top, int bottom) const;

    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    double value() const { return m_value; }
    COLORREF secondColour() const { return m_secondColour; }
    bool hasOverlay() const { return m_overlay.has_value(); }
    const std::vector<Range>& ranges() const { return m_ranges; }

    // The light and dark variants of a colour the bar is shaded with.
    static QColor lightVariant(const QColor& colour);
    static QColor darkVariant(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Geometry;
    Geometry geometry(int left, int top, int right, int bottom) const;
    void paint(QPainter& painter, int left, int top, int right, int bottom, bool fewSteps) const;
    void paintMarker(QPainter& painter, const Geometry& g, bool fewSteps) const;

    double m_minimum = 0;
    double m_maximum = 0;
    COLORREF m_barColour = 0xFFFFFF;
    double m_value = 0;
    bool m_leftTipFlag = true;
    bool m_rightTipFlag = true;
    double m_leftMargin = 0;
    double m_rightMargin = 0;
    // Margins as shares of the width and the marker inset per pixel of height,
    // taken from the last drawInto; none before the first.
    std::optional<double> m_leftFactor;
    double m_rightFactor = 0;
    double m_verticalFactor = 0;
    COLORREF m_secondColour = 0xC0C0C0;
    std::optional<QPicture> m_overlay;
    std::vector<Range> m_ranges;
};

} // namespace kova
