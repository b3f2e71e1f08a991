#include "app/graphs/ToolBar.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/MenuBuilder.h"
#include "app/shell/idMap.h"

#include <QAction>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>

namespace {

constexpr const char* BUTTON_PROPERTY = "kovaToolbarButton";

} // namespace

ToolBar::ToolBar() : strip_(0) {}

void ToolBar::add(const ToolbarButton& record)
{
    buttons_.push_back(record);
    idMap::insert(record.id, record.toolTip);
}

const ToolbarButton* ToolBar::findButton(int commandId) const
{
    for (const ToolbarButton& button : buttons_)
        if (button.id == commandId)
            return &button;
    return nullptr;
}

QImage ToolBar::image(int index) const
{
    QImage picture = strip_.image(index);
    if (picture.isNull())
        return {};
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb mask = kova::IconImageList::MASK_COLOUR & 0xFFFFFF;
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if ((line[x] & 0xFFFFFF) == mask)
                line[x] = qRgba(0, 0, 0, 0);
    }
    return picture;
}

void ToolBar::addButtons(QToolBar* toolBar) const
{
    KOVA_ASSERT(toolBar != nullptr);
    if (!toolBar)
        return;
    KOVA_ASSERT(strip_.count() > 0);
    toolBar->setIconSize(QSize(BUTTON_WIDTH, BUTTON_HEIGHT));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const ToolbarButton& button : buttons_) {
        if (button.isSeparator()) {
            toolBar->addSeparator();
            continue;
        }
        auto* action = toolBar->addAction(QIcon(QPixmap::fromImage(image(button.image))),
                                          QString::fromStdWString(button.name));
        kova::MenuBuilder::setCommandId(action, button.id);
        action->setProperty(BUTTON_PROPERTY, QVariant::fromValue(const_cast<void*>(static_cast<const void*>(&button))));
    }
}

void ToolBar::enableButtons(QToolBar* toolBar, bool enable) const
{
    if (!toolBar)
        return;
    const auto actions = toolBar->actions();
    for (const ToolbarButton& button : buttons_) {
        if (button.isSeparator())
            continue;
        for (QAction* action : actions)
            if (kova::MenuBuilder::commandId(action) == button.id)
                action->setEnabled(enable);
    }
}

const ToolbarButton* ToolBar::buttonOf(const QAction* action)
{
    if (!action)
        return nullptr;
    return static_cast<const ToolbarButton*>(action->property(BUTTON_PROPERTY).value<void*>());
}

void ToolBar::drawImage(const ToolbarButton& record, QPainter& painter, int x, int y) const
{
    const QImage picture = image(record.image);
    if (!picture.isNull())
        painter.drawImage(x, y, picture);
}

void ToolBar::showImage(const ToolbarButton& record, QPainter& painter, int x, int y, int width, int height) const
{
    const QImage picture = image(record.image);
    if (picture.isNull() || width <= 0 || height <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(x, y, width, height), picture);
    painter.restore();
}
