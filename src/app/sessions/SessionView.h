#pragma once
// The plain window that stands for one session wherever it is shown (a tab
// of the session window, the stored-session details): it has no controls of
// its own and shows one of the session's panels at a time, filling it.

#include <QPointer>
#include <QWidget>

class Session;
class SessionPanel;

class SessionView : public QWidget {
    Q_OBJECT
public:
    explicit SessionView(Session& session);

    Session& getSession() const { return session_; }
    // Becomes a visible child of the parent, which lays it out; the current
    // panel is made and shown then.
    bool create(QWidget* parent);
    bool isCreated() const { return created_; }
    // Hides the panel shown so far and shows this one over the whole view,
    // making its window first when needed (once the view itself exists).
    void showPanel(SessionPanel* panel);
    SessionPanel* currentPanel() const { return current_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeCurrent();

    Session& session_;
    QPointer<SessionPanel> current_;
    bool created_ = false;
};
