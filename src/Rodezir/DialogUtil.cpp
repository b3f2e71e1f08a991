#include "Rodezir/DialogUtil.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/FontUtil.h"
#include "Rodezir/dialogs/WindowGeometry.h"

#include <QWidget>

namespace kova {
namespace {

DialogTemplate smallFontTemplate(int templateId)
{
    DialogTemplate dialogTemplate(templateId);
    if (!dialogTemplate.isEmpty())
        applySmallDialogFont(dialogTemplate);
    return dialogTemplate;
}

RECT workAreaFor(const QWidget* parent)
{
    return getMonitorWorkArea(parent ? parent->window() : nullptr);
}

std::unique_ptr<TemplateDialog> createFrom(const DialogFactory& factory, const DialogTemplate& dialogTemplate,
                                           int templateId, QWidget* parent)
{
    if (dialogTemplate.isEmpty() || !factory) {
        LogStream::instance() << "createDialog(" << templateId << ") : no dialog template" << LogStream::endl;
        return nullptr;
    }
    std::unique_ptr<TemplateDialog> dialog = factory(dialogTemplate, parent);
    if (!dialog || !dialog->create())
        return nullptr;
    if (dialogTemplate.getStyle() & WS_VISIBLE)
        dialog->show();
    return dialog;
}

int doModalFrom(const DialogFactory& factory, const DialogTemplate& dialogTemplate, QWidget* parent)
{
    if (dialogTemplate.isEmpty() || !factory)
        return IDCANCEL;
    std::unique_ptr<TemplateDialog> dialog = factory(dialogTemplate, parent);
    if (!dialog)
        return IDCANCEL;
    return dialog->doModal();
}

} // namespace

SmallFontFacts SmallFontFacts::ofSystem()
{
    return {FontUtil::isNonAnsiCharset(), FontUtil::hasSmallFonts()};
}

void applySmallDialogFont(DialogTemplate& dialogTemplate)
{
    applySmallDialogFont(dialogTemplate, SmallFontFacts::ofSystem());
}

void applySmallDialogFont(DialogTemplate& dialogTemplate, const SmallFontFacts& facts)
{
    if (dialogTemplate.isEmpty())
        return;
    if (facts.nonAnsiCharset) {
        dialogTemplate.setPointSize(SMALL_FONT_POINTS);
        return;
    }
    if (facts.smallFontsInstalled)
        dialogTemplate.setFont(SMALL_FONT_FACE, SMALL_FONT_POINTS);
}

bool isTooLargeForWorkArea(SIZE dialogPixels, const RECT& workArea)
{
    return static_cast<double>(dialogPixels.cx) > SCREEN_SHARE_LIMIT * workArea.width()
           || static_cast<double>(dialogPixels.cy) > SCREEN_SHARE_LIMIT * workArea.height();
}

DialogTemplate templateFittingScreen(int templateId, const RECT& workArea, const SmallFontFacts& facts)
{
    DialogTemplate dialogTemplate(templateId);
    if (dialogTemplate.isEmpty())
        return dialogTemplate;
    if (isTooLargeForWorkArea(dialogTemplate.toPixels(dialogTemplate.getSize()), workArea))
        applySmallDialogFont(dialogTemplate, facts);
    return dialogTemplate;
}

std::unique_ptr<TemplateDialog> createDialogWithSmallFont(const DialogFactory& factory, int templateId, QWidget* parent)
{
    return createFrom(factory, smallFontTemplate(templateId), templateId, parent);
}

std::unique_ptr<TemplateDialog> createDialogFittingScreen(const DialogFactory& factory, int templateId, QWidget* parent)
{
    const DialogTemplate dialogTemplate = templateFittingScreen(templateId, workAreaFor(parent), SmallFontFacts::ofSystem());
    return createFrom(factory, dialogTemplate, templateId, parent);
}

int doModalWithSmallFont(const DialogFactory& factory, int templateId, QWidget* parent)
{
    return doModalFrom(factory, smallFontTemplate(templateId), parent);
}

int doModalFittingScreen(const DialogFactory& factory, int templateId, QWidget* parent)
{
    return doModalFrom(factory, templateFittingScreen(templateId, workAreaFor(parent), SmallFontFacts::ofSystem()),
                       parent);
}

bool replaceControl(QWidget* placeholder, QWidget* newWindow, int id)
{
    if (!placeholder || !newWindow)
        return false;
    QWidget* parent = placeholder->parentWidget();
    newWindow->setParent(parent);
    newWindow->setGeometry(placeholder->geometry());
    setControlId(newWindow, id);
    setWindowText(newWindow, QStringLiteral("c"));
    newWindow->setFocusPolicy(placeholder->focusPolicy());
    newWindow->setVisible(!placeholder->isHidden());
    if (placeholder->focusPolicy() & Qt::TabFocus)
        QWidget::setTabOrder(placeholder, newWindow);
    return true;
}

} // namespace kova
