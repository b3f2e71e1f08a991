#include "app/sessions/SessionPanel.h"

#include "app/sessions/Session.h"
#include "app/shell/ToolTipAnswer.h"

SessionPanel::SessionPanel(Session& session, int templateId) : ChildDialog(templateId), session_(session) {}

SessionPanel::SessionPanel(Session& session, const kova::DialogTemplate& dialogTemplate)
    : ChildDialog(dialogTemplate), session_(session)
{
}

bool SessionPanel::onInitDialog()
{
    const bool result = ChildDialog::onInitDialog();
    ToolTipAnswer::enable(this);
    return result;
}

void SessionPanel::onCancel()
{
    Session& session = session_;
    if (!session.close())
        return;
    session.pause();
    // Nothing of this panel or its session is touched after this.
    session.destroyViews();
}
