#include "app/sessions/SessionWindowSet.h"

#include "app/graphs/ToolBar.h"
#include "app/sessions/EndSound.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionDatabaseView.h"
#include "app/sessions/SessionPanel.h"
#include "app/sessions/SessionView.h"
#include "app/shell/SaveSessionDialog.h"

#include <QApplication>

namespace {

struct Installed {
    std::array<SessionWindowSet::PanelFactory, 3> panels;
    SessionWindowSet::SaveQuestion saveQuestion;
    SessionWindowSet::Sound endSound;
};

Installed& installed()
{
    static Installed set;
    return set;
}

SessionWindows::SaveAnswer askWithDialog(QWidget* parent, const std::wstring& title, bool reviewAllowed)
{
    SaveSessionDialog dialog(title, reviewAllowed, parent ? parent->window() : QApplication::activeWindow());
    dialog.doModal();
    const SaveSessionDialog::Answer& answer = dialog.answer();
    if (answer.review)
        return SessionWindows::SaveAnswer::Review;
    if (answer.save)
        return SessionWindows::SaveAnswer::Yes;
    if (answer.close)
        return SessionWindows::SaveAnswer::No;
    return SessionWindows::SaveAnswer::Cancel;
}

} // namespace

void SessionWindowSet::install()
{
    auto& review = installed().panels[static_cast<std::size_t>(Panel::Review)];
    if (!review)
        review = [](Session& session) -> std::unique_ptr<SessionPanel> {
            return std::make_unique<SessionDatabaseView>(session);
        };
    SessionWindows::setFactory([](Session& session) { return std::make_unique<SessionWindowSet>(session); });
}

void SessionWindowSet::setPanelFactory(Panel kind, PanelFactory factory)
{
    installed().panels[static_cast<std::size_t>(kind)] = std::move(factory);
}

void SessionWindowSet::setSaveQuestion(SaveQuestion question) { installed().saveQuestion = std::move(question); }

void SessionWindowSet::setEndSound(Sound sound) { installed().endSound = std::move(sound); }

SessionWindowSet::SessionWindowSet(Session& session) : session_(session), toolBar_(std::make_unique<ToolBar>())
{
    for (const ToolbarButton& button : session.getEventButtons())
        toolBar_->add(button);
}

SessionWindowSet::~SessionWindowSet()
{
    for (auto& panel : panels_)
        delete panel.data();
    delete view_.data();
}

void SessionWindowSet::retire(QWidget* window)
{
    if (!window)
        return;
    window->hide();
    window->setParent(nullptr);
    window->deleteLater();
}

SessionView* SessionWindowSet::createView()
{
    if (!view_)
        view_ = new SessionView(session_);
    return view_;
}

SessionView* SessionWindowSet::view() const { return view_; }

SessionPanel* SessionWindowSet::panel(Panel kind, bool create)
{
    QPointer<SessionPanel>& panel = slot(kind);
    if (panel || !create)
        return panel;
    const PanelFactory& factory = installed().panels[static_cast<std::size_t>(kind)];
    if (factory)
        panel = factory(session_).release();
    return panel;
}

void SessionWindowSet::showPanel(Panel kind)
{
    if (view_)
        view_->showPanel(panel(kind, true));
}

void SessionWindowSet::destroyPanel(Panel kind)
{
    QPointer<SessionPanel>& panel = slot(kind);
    if (view_ && view_->currentPanel() == panel)
        view_->showPanel(nullptr);
    retire(panel);
    panel = nullptr;
}

void SessionWindowSet::destroyAll()
{
    for (const Panel kind : {Panel::Graph, Panel::Debrief, Panel::Review})
        destroyPanel(kind);
    retire(view_);
    view_ = nullptr;
}

void SessionWindowSet::newData(int lastIndex)
{
    for (auto& panel : panels_)
        if (panel)
            panel->newData(lastIndex);
}

void SessionWindowSet::refreshButtons()
{
    if (SessionPanel* graph = panel(Panel::Graph, false))
        graph->updateButtons();
}

void SessionWindowSet::hideEcgPanel()
{
    if (SessionPanel* graph = panel(Panel::Graph, false))
        graph->hideEcgPanel();
}

void SessionWindowSet::resendEcgRhythms()
{
    if (SessionPanel* graph = panel(Panel::Graph, false))
        graph->resendEcgRhythms();
}

void SessionWindowSet::showEcgPanel(bool show)
{
    if (SessionPanel* graph = panel(Panel::Graph, false))
        graph->showEcgPanel(show);
}

bool SessionWindowSet::isEcgPanelVisible()
{
    SessionPanel* graph = panel(Panel::Graph, false);
    return graph && graph->isEcgPanelVisible();
}

void SessionWindowSet::checkRhythmSwitch(int sampleIndex)
{
    if (SessionPanel* graph = panel(Panel::Graph, false))
        graph->checkRhythmSwitch(sampleIndex);
}

std::wstring SessionWindowSet::recommendationBoxText()
{
    SessionPanel* debrief = panel(Panel::Debrief, false);
    return debrief ? debrief->getRecommendationBoxText() : std::wstring();
}

bool SessionWindowSet::storeReview()
{
    SessionPanel* review = panel(Panel::Review, false);
    return review && review->save();
}

void SessionWindowSet::setMetronomeUsed(bool used)
{
    if (SessionPanel* review = panel(Panel::Review, false))
        review->setMetronomeUsed(used);
}

SessionWindows::SaveAnswer SessionWindowSet::askSave(const std::wstring& title, bool reviewAllowed)
{
    const SaveQuestion& question = installed().saveQuestion;
    return question ? question(view_, title, reviewAllowed) : askWithDialog(view_, title, reviewAllowed);
}

void SessionWindowSet::playEndSound()
{
    if (installed().endSound)
        installed().endSound();
    else
        EndSound::play();
}
