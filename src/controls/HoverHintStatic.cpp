#include "controls/HoverHintStatic.h"

#include "controls/ControlReplacement.h"

#include <QCursor>

namespace kova {

HoverHintStatic::HoverHintStatic(QWidget* parent) : QLabel(parent), cursorReader_([] { return QCursor::pos(); })
{
    connect(&timer_, &QTimer::timeout, this, &HoverHintStatic::onTimer);
}

bool HoverHintStatic::attach(QWidget* parentDialog)
{
    if (!replaceDialogControl(parentDialog, HINT_CONTROL_ID, this))
        return false;
    timer_.start(TIMER_INTERVAL_MS);
    return true;
}

void HoverHintStatic::setHint(int cursorX, int cursorY, const QString& text)
{
    hintPosition_ = QPoint(cursorX, cursorY);
    setText(text);
}

void HoverHintStatic::onTimer()
{
    if (cursorReader_() != hintPosition_)
        setText(QString());
}

} // namespace kova
