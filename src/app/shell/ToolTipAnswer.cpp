#include "app/shell/ToolTipAnswer.h"

#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/MenuBuilder.h"
#include "app/shell/idMap.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QMdiSubWindow>
#include <QProxyStyle>
#include <QStringList>
#include <QStyleFactory>
#include <QToolButton>
#include <QToolTip>

namespace {

constexpr const char* ENABLED_PROPERTY = "kovaTableToolTips";

// The tooltip timing and margins of the station, over the platform's style.
class ToolTipStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return ToolTipAnswer::INITIAL_DELAY;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_ToolTipLabelFrameWidth)
            return ToolTipAnswer::TIP_MARGIN;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// Whether the window around the control shows the table's tooltips: the
// nearest ancestor that decided says so; a window or child frame that did
// not decide shows none, whatever the window around it does.
bool tooltipsEnabledFor(const QWidget* control)
{
    for (const QWidget* w = control; w; w = w->parentWidget()) {
        const QVariant decided = w->property(ENABLED_PROPERTY);
        if (decided.isValid())
            return decided.toBool();
        if (w->isWindow() || qobject_cast<const QMdiSubWindow*>(w))
            return false;
    }
    return false;
}

// A plain text for the tooltip label, which would otherwise take a text that
// looks like markup for markup.
QString asLabelText(const QString& lines)
{
    return QStringLiteral("<p style='white-space:pre'>") + lines.toHtmlEscaped().replace('\n', "<br>")
        + QStringLiteral("</p>");
}

} // namespace

void ToolTipAnswer::install(QApplication& application)
{
    if (application.findChild<ToolTipAnswer*>(QString(), Qt::FindDirectChildrenOnly))
        return;
    application.installEventFilter(new ToolTipAnswer(&application));
    if (!dynamic_cast<ToolTipStyle*>(QApplication::style()))
        QApplication::setStyle(new ToolTipStyle(QStyleFactory::create(QApplication::style()->name())));
}

void ToolTipAnswer::enable(QWidget* window, bool on)
{
    if (window)
        window->setProperty(ENABLED_PROPERTY, on);
}

int ToolTipAnswer::toolTipId(const QWidget* control)
{
    if (!control)
        return 0;
    if (const int id = kova::controlId(control))
        return id;
    if (const auto* button = qobject_cast<const QToolButton*>(control))
        return kova::MenuBuilder::commandId(button->defaultAction());
    return 0;
}

QString ToolTipAnswer::toolTipFor(const QWidget* control)
{
    const int id = toolTipId(control);
    if (id == 0 || !tooltipsEnabledFor(control))
        return {};
    const QString text = QString::fromStdWString(idMap::lookup(id));
    if (text.isEmpty())
        return {};
    return wrapText(text, QFontMetrics(QToolTip::font()), MAX_TIP_WIDTH - 2 * TIP_MARGIN);
}

QString ToolTipAnswer::wrapText(const QString& text, const QFontMetrics& metrics, int width)
{
    QStringList lines;
    for (const QString& paragraph : text.split('\n')) {
        QString line;
        for (const QString& word : paragraph.split(' ')) {
            const QString longer = line.isEmpty() ? word : line + ' ' + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
                lines << line;
                line = word;
            } else {
                line = longer;
            }
        }
        lines << line;
    }
    return lines.join('\n');
}

void ToolTipAnswer::applyStatusTips(QWidget* owner)
{
    if (!owner)
        return;
    for (QAction* action : owner->findChildren<QAction*>()) {
        const int id = kova::MenuBuilder::commandId(action);
        if (id == 0)
            continue;
        // The status bar has one line.
        const QString text = QString::fromStdWString(idMap::lookup(id)).replace('\n', ' ');
        if (!text.isEmpty())
            action->setStatusTip(text);
    }
}

bool ToolTipAnswer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
        return false;
    auto* control = static_cast<QWidget*>(watched);
    const QString text = toolTipFor(control);
    if (text.isEmpty())
        return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), asLabelText(text), control);
    return true;
}
