#pragma once
// The tip a report control shows over a cell whose text is cut: a topmost
// borderless window at the cell's place, as wide as the whole text, that
// hides itself and hands the mouse back once the pointer leaves it.

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

namespace kova {

class CReportTipCtrl : public QWidget {
    Q_OBJECT
public:
    // `owner` is the report control whose cells the tip shows.
    explicit CReportTipCtrl(QWidget* owner, int cellMargin = 6);
    ~CReportTipCtrl() override;

    void setCellMargin(int margin) { margin_ = margin; }
    // Shows the text over the cell (owner coordinates) when it does not fit;
    // true when the tip appeared.
    bool show(const QRect& cellRect, const QString& text, const QFont* font);
    void hide();
    const QRect& cellRect() const { return cellRect_; }
    const QString& text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QWidget* owner_;
    int margin_;
    QRect cellRect_;
    QString text_;
    bool grabbed_ = false;
};

} // namespace kova
