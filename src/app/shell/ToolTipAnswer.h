#pragma once
// The one answer of every window to Qt's tooltip requests, from the tooltip
// table (app/shell/idMap.h). A window that shows these tooltips switches them on
// with enable(); the control under the mouse is then looked up by its
// control id (a tool button by its command's id) and its text shown, lines
// broken at "\n" and wrapped at 300 pixels, after an 800 ms rest of the
// mouse. Commands of menus and toolbars take their status-bar texts from
// the same table.

#include <QObject>
#include <QString>

class QApplication;
class QFontMetrics;
class QWidget;

class ToolTipAnswer : public QObject {
    Q_OBJECT
public:
    static constexpr int INITIAL_DELAY = 800;
    static constexpr int MAX_TIP_WIDTH = 300;
    static constexpr int TIP_MARGIN = 3;

    // Installs the answer and the tooltip timing on the application; once is enough.
    static void install(QApplication& application);
    // Switches the table's tooltips on for the window and every control in it,
    // down to the next window or child frame that decides for itself.
    static void enable(QWidget* window, bool on = true);

    // The id a tooltip of that control is looked up by; 0 for none.
    static int toolTipId(const QWidget* control);
    // The table's text for that control as the tooltip shows it; empty when
    // the control has none or its window does not show these tooltips.
    static QString toolTipFor(const QWidget* control);
    // The text broken into lines no wider than `width` pixels: at "\n", and
    // between words where a line would grow too wide (a word longer than the
    // whole width stands on a line of its own).
    static QString wrapText(const QString& text, const QFontMetrics& metrics, int width);
    // Gives every command action under `owner` its status-bar text from the table.
    static void applyStatusTips(QWidget* owner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
