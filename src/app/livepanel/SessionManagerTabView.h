#pragma once
// The inside of the session window: a tab per session, titled by the
// session, with the selected session's view below the tabs; only that view
// is visible. The ECG box of a session follows a tab change to the next
// session when both have ECG. The session manager closes the session window
// when its last session goes (and with it the last tab).

#include "app/sessions/SessionView.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class QTabBar;

class SessionManagerTabView : public QWidget {
    Q_OBJECT
public:
    static constexpr int TAB_CONTROL_ID = 101;

    SessionManagerTabView();
    ~SessionManagerTabView() override;

    // Becomes the session window's inside: the tab bar, the frame's title
    // "Session", and a tab for every view added so far (the last one added
    // is shown). The frame takes the view in as its hosted window.
    bool create(QWidget* frame);
    bool isCreated() const { return created_; }

    // Appends the view; once the window exists it gets its window inside
    // this one and a selected tab. Then it is activated.
    void addView(SessionView* view);
    // Shows the view instead of the active one (with its tab selected when
    // asked); the view must be one added.
    void activateView(SessionView* view, bool selectTab);
    // Takes the view's tab away; the tab before it (or the new first one)
    // becomes current.
    void removeView(SessionView* view);

    SessionView* getActiveView() const { return activeView_; }
    const std::vector<QPointer<SessionView>>& getViewList() const { return viewList_; }
    QTabBar* tabBar() const { return tabBar_; }
    int tabCount() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void insertTab(SessionView* view);
    int tabOf(const SessionView* view) const;
    SessionView* viewOfTab(int index) const;
    void onTabChanged(int index);
    void layoutActiveView();

    QTabBar* tabBar_ = nullptr;
    QPointer<SessionView> activeView_;
    std::vector<QPointer<SessionView>> viewList_;
    bool created_ = false;
};
