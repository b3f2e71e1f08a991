#pragma once
// The time axis window under a session's graph panes: paints the minutes and
// seconds of the visible window, measures its labels, prints them, and tells
// its parent when the visible window changes. The window arithmetic lives in
// TimeAxis.

#include "app/graphs/TimeAxis.h"

#include <QFont>
#include <QWidget>

#include <optional>

class QPaintDevice;
class QPainter;

class AxisCtrl : public QWidget, public TimeAxis {
    Q_OBJECT
public:
    // owner: the live panel hosting the axis, or null (surveillance tiles).
    AxisCtrl(GraphSession& session, AxisOwner* owner);
    ~AxisCtrl() override;

    // Makes the window a visible child of the parent, joins the session's
    // update receivers and the display switches, and measures the labels.
    bool Create(QWidget* parent);
    bool isCreated() const { return created_; }

    // The axis font: "tahoma" where installed, else "arial"; 12 pixels, bold.
    static const QFont& axisFont();
    // Its text height, measured once.
    static int axisFontHeight();
    // The font in use: the print font while printing, else the axis font.
    QFont getFont() const;
    // The extent of "000:00" in that font.
    QSize getLabelSize() const { return labelSize_; }
    // The height the panel gives the axis: one label and a little air.
    int axisHeight() const;

    // Printing: a 6-point bold font for the device, then the labels of the
    // window into the rectangle; afterwards the screen font and area return.
    void setPrintFont(const QPaintDevice* device);
    void printTo(QPainter& painter, const QRect& rectangle);
    // The height of the axis when printed on the device.
    static int printHeight(const QPaintDevice* device);

    QSize sizeHint() const override;

    // The session's step and the widget's repaint share a name.
    void update(int newIndex) override { TimeAxis::update(newIndex); }
    using QWidget::update;

signals:
    // The visible window changed: the live panel follows with its scroll bar
    // and zoom list.
    void viewChanged();

protected:
    bool windowExists() const override { return created_; }
    void paintLabels() override { QWidget::update(); }
    void notifyViewChanged() override { emit viewChanged(); }
    void invalidateLabels() override { QWidget::update(); }

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    static QFont printFontFor(const QPaintDevice* device);
    void drawLabels(QPainter& painter, const QRect& area, bool onScreen) const;

    bool created_ = false;
    std::optional<QFont> printFont_;
    QSize labelSize_;
    QSize savedLabelSize_;
};
