#include "app/livepanel/SessionManagerTabView.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/FontUtil.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionLink.h"
#include "app/sessions/SessionPanel.h"
#include "app/sessions/SessionView.h"
#include "app/sessions/SessionWindows.h"
#include "gettext/Gettext.h"

#include <QResizeEvent>
#include <QSignalBlocker>
#include <QTabBar>

#include <algorithm>

namespace {

// One font for every tab bar. The face's smallest size on the station's
// first platform was its 8-point one; a literal 8-pixel cell would be unreadable.
const QFont& tabFont()
{
    static const QFont font = [] {
        QFont made;
        kova::FontUtil::create(made, "MS Sans Serif", kova::FontUtil::pointsToLogical(80), false, false);
        return made;
    }();
    return font;
}

bool sendsEcg(const Session& session) { return session.link() && session.link()->sendsEcg(); }

} // namespace

SessionManagerTabView::SessionManagerTabView()
{
    // The tab bar and the active view cover the whole window.
    setAttribute(Qt::WA_NoSystemBackground);
}

SessionManagerTabView::~SessionManagerTabView() = default;

bool SessionManagerTabView::create(QWidget* frame)
{
    if (created_)
        return true;
    tabBar_ = new QTabBar(this);
    tabBar_->setObjectName(QStringLiteral("control%1").arg(TAB_CONTROL_ID));
    tabBar_->setProperty("controlId", TAB_CONTROL_ID);
    tabBar_->setFont(tabFont());
    tabBar_->setExpanding(false);
    tabBar_->setDrawBase(true);
    connect(tabBar_, &QTabBar::currentChanged, this, &SessionManagerTabView::onTabChanged);
    if (frame)
        frame->setWindowTitle(QString::fromStdWString(Gettext::translate("Session")));
    created_ = true;
    for (const QPointer<SessionView>& view : viewList_)
        if (view)
            insertTab(view);
    if (activeView_)
        activeView_->show();
    layoutActiveView();
    return true;
}

int SessionManagerTabView::tabCount() const { return tabBar_ ? tabBar_->count() : 0; }

void SessionManagerTabView::insertTab(SessionView* view)
{
    if (!view->isCreated())
        view->create(this);
    else if (view->parentWidget() != this)
        view->setParent(this);
    if (view != activeView_)
        view->hide();
    const QSignalBlocker quiet(tabBar_);
    const int index = tabBar_->addTab(QString::fromStdString(view->getSession().getTitle()));
    tabBar_->setTabData(index, QVariant::fromValue(static_cast<void*>(view)));
    tabBar_->setCurrentIndex(index);
}

void SessionManagerTabView::addView(SessionView* view)
{
    if (!view)
        return;
    viewList_.emplace_back(view);
    if (created_)
        insertTab(view);
    activateView(view, true);
}

int SessionManagerTabView::tabOf(const SessionView* view) const
{
    for (int i = 0; i < tabCount(); ++i)
        if (tabBar_->tabData(i).value<void*>() == view)
            return i;
    return -1;
}

SessionView* SessionManagerTabView::viewOfTab(int index) const
{
    // Only a view still listed (and alive) answers for its tab.
    auto* view = static_cast<SessionView*>(tabBar_->tabData(index).value<void*>());
    for (const QPointer<SessionView>& listed : viewList_)
        if (listed && listed == view)
            return view;
    return nullptr;
}

void SessionManagerTabView::activateView(SessionView* view, bool selectTab)
{
    const bool listed = std::find(viewList_.begin(), viewList_.end(), view) != viewList_.end();
    KOVA_ASSERT(listed);
    if (!listed)
        return;
    if (created_ && view != activeView_) {
        view->show();
        if (SessionView* previous = activeView_) {
            previous->hide();
            SessionWindows& before = previous->getSession().windows();
            const bool boxWasOpen = before.isEcgPanelVisible();
            before.hideEcgPanel();
            // The ECG box stays open across the change when both sessions have ECG.
            if (boxWasOpen && sendsEcg(view->getSession()))
                view->getSession().windows().showEcgPanel(true);
        }
        if (selectTab) {
            const int index = tabOf(view);
            KOVA_ASSERT(index>=0);
            if (index >= 0) {
                const QSignalBlocker quiet(tabBar_);
                tabBar_->setCurrentIndex(index);
            }
        }
    }
    activeView_ = view;
    layoutActiveView();
    if (created_)
        update();
}

void SessionManagerTabView::onTabChanged(int index)
{
    if (index >= 0)
        if (SessionView* view = viewOfTab(index))
            activateView(view, false);
}

void SessionManagerTabView::removeView(SessionView* view)
{
    std::erase_if(viewList_, [view](const QPointer<SessionView>& listed) { return !listed || listed == view; });
    if (!created_) {
        if (activeView_ == view)
            activeView_ = viewList_.empty() ? nullptr : viewList_.back().data();
        return;
    }
    const int index = tabOf(view);
    KOVA_ASSERT(index>=0);
    if (index >= 0) {
        const QSignalBlocker quiet(tabBar_);
        tabBar_->removeTab(index);
    }
    if (view == activeView_) {
        activeView_ = nullptr;
        if (tabCount() > 0) {
            // The tab before it, or the new first one when the first went.
            const int next = index > 0 ? index - 1 : 0;
            activateView(viewOfTab(next), true);
        }
    } else if (activeView_) {
        activeView_->update();
    }
    // The session takes its view down itself; until then it is out of sight.
    if (view)
        view->hide();
}

void SessionManagerTabView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutActiveView();
}

void SessionManagerTabView::layoutActiveView()
{
    if (!created_ || !activeView_)
        return;
    const int tabHeight = tabBar_->sizeHint().height();
    tabBar_->setGeometry(0, 0, width(), tabHeight);
    activeView_->setGeometry(0, tabHeight, width(), std::max(0, height() - tabHeight));
}
