#pragma once
// "Inspect session details" (dialog 233): a stored session's graphs or its
// debriefing in a resizable window of their own, the session's view filling
// it. Closing it destroys the session's views; the dialog ends once the
// session tells that they are gone. The session belongs to the opener.

#include "Rodezir/SlotHolder.h"
#include "Rodezir/dialogs/TemplateDialog.h"

class Session;

class SessionDetailsDialog : public kova::TemplateDialog, public SlotHolder {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 233;

    SessionDetailsDialog(Session& session, bool showDebriefing, QWidget* parent = nullptr);
    ~SessionDetailsDialog() override;

    int run() { return doModal(); }
    Session& session() const { return session_; }

    // Makes the session dialog's "Graph..." and "Debriefing..." build a
    // session from the record's data file and show it here.
    static void install();

protected:
    bool onInitDialog() override;
    void onCancel() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void onViewsDestroyed(Session* session);
    void fillWithView();

    Session& session_;
    bool showDebriefing_;
};
