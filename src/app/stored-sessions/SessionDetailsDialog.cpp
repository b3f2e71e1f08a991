#include "app/stored-sessions/SessionDetailsDialog.h"

#include "Database/stored-sessions/SessionDialog.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogTranslation.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionPanel.h"
#include "app/sessions/SessionView.h"
#include "app/stored-sessions/ReviewDialogTables.h"
#include "config/AlgorithmRecord.h"
#include "platform/Resources.h"
#include "platform/WaitCursor.h"

#include <QPixmap>

#include <memory>

namespace {

constexpr int APPLICATION_ICON = 128;

int registeredTemplate()
{
    registerReviewDialogTables();
    return SessionDetailsDialog::TEMPLATE_ID;
}

// The session the session dialog keeps until it opens another or closes.
class OpenedSession final : public SessionDialog::Inspection {
public:
    explicit OpenedSession(std::unique_ptr<Session> session) : session_(std::move(session)) {}

private:
    std::unique_ptr<Session> session_;
};

} // namespace

void SessionDetailsDialog::install()
{
    SessionDialog::setInspector([](const SessionRecord& record, const AlgorithmRecord& algorithm, bool showDebriefing,
                                   QWidget* parent) -> std::unique_ptr<SessionDialog::Inspection> {
        std::unique_ptr<Session> session;
        {
            // A stored session reads its whole data file as it is made.
            const platform::WaitCursor reading;
            session = std::make_unique<Session>(record, algorithm);
        }
        // Without its data file the session has nothing to show; the user
        // was told which file is missing.
        if (session->getDataFileMissing())
            return nullptr;
        SessionDetailsDialog dialog(*session, showDebriefing, parent);
        dialog.run();
        return std::make_unique<OpenedSession>(std::move(session));
    });
}

SessionDetailsDialog::SessionDetailsDialog(Session& session, bool showDebriefing, QWidget* parent)
    : TemplateDialog(registeredTemplate(), parent), session_(session), showDebriefing_(showDebriefing)
{
}

SessionDetailsDialog::~SessionDetailsDialog() = default;

bool SessionDetailsDialog::onInitDialog()
{
    kova::translateDialog(this);
    if (const auto icon = platform::loadResource(platform::ResourceType::Icon, APPLICATION_ICON)) {
        QPixmap picture;
        if (picture.loadFromData(icon->data(), static_cast<uint>(icon->size())))
            setWindowIcon(picture);
    }
    SessionView* view = session_.createSessionView();
    if (!view)
        LogStream::instance() << "SessionDetailsDialog: the session has no windows to show.\n";
    else
        view->create(this);
    // The views learn how many samples there are.
    session_.onTimer();
    session_.windows().refreshButtons();
    if (showDebriefing_)
        session_.setState(Session::DEBRIEF);
    fillWithView();
    ::connect(session_.viewsDestroyed, *this, &SessionDetailsDialog::onViewsDestroyed);
    return true;
}

void SessionDetailsDialog::fillWithView()
{
    if (SessionView* view = session_.getSessionView())
        view->setGeometry(rect());
}

void SessionDetailsDialog::resizeEvent(QResizeEvent* event)
{
    TemplateDialog::resizeEvent(event);
    fillWithView();
}

// The views go first; the dialog ends when the session says they are gone.
void SessionDetailsDialog::onCancel() { session_.destroyViews(); }

void SessionDetailsDialog::onViewsDestroyed(Session*) { done(QDialog::Rejected); }
