#include "Database/course-planner/ScheduleControls.h"

#include "Rodezir/ComboUtil.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "controls/MaskedEdit.h"

#include <QComboBox>
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

namespace {

std::string comboText(const QComboBox* combo)
{
    return combo ? kova::ComboUtil::getText(combo, false).toStdString() : std::string();
}

} // namespace

CourseSchedule::RowFields readRow(const QComboBox* ventilation, const QComboBox* compression,
                                  const QComboBox* manikin, const QWidget* start, const QWidget* end)
{
    CourseSchedule::RowFields fields;
    fields.ventilation = comboText(ventilation);
    fields.compression = comboText(compression);
    fields.manikinText = comboText(manikin);
    fields.start = kova::windowText(start).toStdString();
    fields.end = kova::windowText(end).toStdString();
    return fields;
}

void showManikin(QComboBox* combo, const SessionRecord& row)
{
    if (!combo)
        return;
    for (int item = 0; item < combo->count(); ++item) {
        if (CourseSchedule::manikinNumber(combo->itemText(item).toStdString()) == row.Manikin) {
            if (combo->currentIndex() != item || combo->currentText() != combo->itemText(item))
                combo->setCurrentIndex(item);
            return;
        }
    }
    combo->setCurrentIndex(-1);
    combo->setEditText(QString::number(row.Manikin));
}

bool applyStartTime(CourseSchedule& schedule, int index, QWidget* start, QWidget* end)
{
    if (!schedule.applyStartTime(index, kova::windowText(start).toStdString()))
        return false;
    const SessionRecord& row = schedule.row(index);
    if (auto* edit = qobject_cast<kova::MaskedEdit*>(start))
        edit->SetInputText(QString::fromStdString(row.StartTime));
    kova::setWindowText(end, QString::fromStdString(row.EndTime));
    return true;
}

} // namespace schedulecontrols
