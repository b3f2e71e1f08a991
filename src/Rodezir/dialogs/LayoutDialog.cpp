#include "Rodezir/dialogs/LayoutDialog.h"

#include "Rodezir/dialogs/DialogTranslation.h"

#include <QResizeEvent>

namespace kova {
namespace {

constexpr int MAX_GROWTH = 10000;

} // namespace

LayoutDialog::LayoutDialog(int templateId, QWidget* parent) : TemplateDialog(templateId, parent) {}

LayoutDialog::LayoutDialog(const DialogTemplate& dialogTemplate, QWidget* parent)
    : TemplateDialog(dialogTemplate, parent)
{
}

bool LayoutDialog::onInitDialog()
{
    const bool result = TemplateDialog::onInitDialog();
    if (result)
        translateDialog(this);
    initialised_ = true;
    const QRect frame = frameGeometry();
    frameWidth_ = frame.width() - width();
    frameHeight_ = frame.height() - height();
    applyTrackSizes();
    return result;
}

void LayoutDialog::setLayout(const LayoutItemPtr& layout, bool noMinimumTrack)
{
    noMinimumTrack_ = noMinimumTrack;
    layout_ = layout;
    if (layout_)
        layout_->setup({0, 0, width(), height()});
    applyTrackSizes();
}

MinMaxInfo LayoutDialog::getMinMaxInfo()
{
    MinMaxInfo info;
    onGetMinMaxInfo(info);
    return info;
}

void LayoutDialog::onGetMinMaxInfo(MinMaxInfo& info)
{
    if (!initialised_)
        return;
    if (!noMinimumTrack_) {
        const RECT setup = layout_ ? layout_->getSetupRect() : RECT{};
        info.minTrackSize = {frameWidth_ + setup.width(), frameHeight_ + setup.height()};
        info.hasMinTrack = true;
    }
    info.maxTrackSize = {frameWidth_ + MAX_GROWTH, frameHeight_ + MAX_GROWTH};
}

void LayoutDialog::applyTrackSizes()
{
    if (!initialised_)
        return;
    // Qt's limits are client sizes; the tracking sizes include the frame.
    const MinMaxInfo info = getMinMaxInfo();
    if (info.hasMinTrack)
        setMinimumSize(info.minTrackSize.x - frameWidth_, info.minTrackSize.y - frameHeight_);
    else
        setMinimumSize(0, 0);
    setMaximumSize(info.maxTrackSize.x - frameWidth_, info.maxTrackSize.y - frameHeight_);
}

void LayoutDialog::onSize(int cx, int cy)
{
    if (initialised_ && layout_)
        layout_->placeWithMargins({0, 0, cx, cy});
}

void LayoutDialog::resizeEvent(QResizeEvent* event)
{
    TemplateDialog::resizeEvent(event);
    onSize(event->size().width(), event->size().height());
}

} // namespace kova
