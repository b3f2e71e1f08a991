#pragma once
// The label that shows a hint only while the mouse rests where it was when the
// hint was set: a timer of its own clears the text within a second after the
// cursor moves.

#include <QLabel>
#include <QPoint>
#include <QTimer>

#include <functional>

namespace kova {

class HoverHintStatic : public QLabel {
    Q_OBJECT
public:
    static constexpr int HINT_CONTROL_ID = 1007;
    static constexpr int TIMER_INTERVAL_MS = 1000;

    explicit HoverHintStatic(QWidget* parent = nullptr);

    // Takes the place of the dialog's label 1007 and starts the timer.
    bool attach(QWidget* parentDialog);
    // Remembers the cursor position (screen coordinates) the hint belongs to and shows the text.
    void setHint(int cursorX, int cursorY, const QString& text);

    // Where the cursor is now; the screen cursor unless a test puts another reader in.
    void setCursorReader(std::function<QPoint()> reader) { cursorReader_ = std::move(reader); }

    // One tick of the timer: clears the hint when the cursor has moved.
    void onTimer();

    const QTimer& timer() const { return timer_; }

private:
    QPoint hintPosition_;
    QTimer timer_;
    std::function<QPoint()> cursorReader_;
};

} // namespace kova
