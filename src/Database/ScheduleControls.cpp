#include "Database/ScheduleControls.h"

#include <QScrollBar>

namespace schedulecontrols {

void syncScrollBar(CourseSchedule& schedule, QScrollBar* bar)
{
    if (!bar)
        return;
    const QSignalBlocker quiet(bar);
    if (schedule.takeScrollRangeChange()) {
        bar->setRange(0, schedule.scrollLimit());
        bar->setPageStep(schedule.pageRows());
        bar->setSingleStep(1);
    }
    bar->setValue(schedule.topRow());
}

bool scroll(CourseSchedule& schedule, QScrollBar& bar, int action)
{
    using Request = CourseSchedule::ScrollRequest;
    bool moved = false;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: moved = schedule.scroll(Request::LineUp); break;
    case QAbstractSlider::SliderSingleStepAdd: moved = schedule.scroll(Request::LineDown); break;
    case QAbstractSlider::SliderPageStepSub: moved = schedule.scroll(Request::PageUp); break;
    case QAbstractSlider::SliderPageStepAdd: moved = schedule.scroll(Request::PageDown); break;
    case QAbstractSlider::SliderToMinimum: moved = schedule.scroll(Request::Top); break;
    case QAbstractSlider::SliderToMaximum: moved = schedule.scroll(Request::Bottom); break;
    case QAbstractSlider::SliderMove: moved = schedule.scroll(Request::Thumb, bar.sliderPosition()); break;
    default: break;
    }
    bar.setSliderPosition(schedule.topRow());
    return moved;
}

} // namespace schedulecontrols
