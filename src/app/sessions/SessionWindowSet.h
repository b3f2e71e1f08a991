#pragma once
// The windows of one session in the windowed program: its view, its three
// panels, its event toolbar, the "Save session?" dialog over its window and
// the sound at its end. install() makes every later session get one.
//
// Panels come from factories: the live graph panel, the debriefing panel and
// the review panel are each installed by the part of the program that builds
// them. Until a review panel is installed, the review is SessionDatabaseView's
// own least form; a kind without a factory has no panel.

#include "app/sessions/SessionWindows.h"

#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class QWidget;

class SessionWindowSet final : public SessionWindows {
public:
    using PanelFactory = std::function<std::unique_ptr<SessionPanel>(Session&)>;
    // Puts the save question; the real one shows SaveSessionDialog modally.
    using SaveQuestion = std::function<SaveAnswer(QWidget* parent, const std::wstring& title, bool reviewAllowed)>;
    using Sound = std::function<void()>;

    // Makes every later session's windows a SessionWindowSet, with the
    // review panel's least form unless one is installed.
    static void install();
    // The factory of one kind of panel (empty: no such panel).
    static void setPanelFactory(Panel kind, PanelFactory factory);
    // Replaces the save question (tests); empty restores the dialog.
    static void setSaveQuestion(SaveQuestion question);
    // Replaces the end sound (tests); empty restores EndSound.
    static void setEndSound(Sound sound);

    explicit SessionWindowSet(Session& session);
    // Windows still there go at once (they are out of sight by now).
    ~SessionWindowSet() override;

    SessionView* createView() override;
    SessionView* view() const override;
    SessionPanel* panel(Panel kind, bool create) override;
    void showPanel(Panel kind) override;
    void destroyPanel(Panel kind) override;
    void destroyAll() override;
    ToolBar* toolBar() override { return toolBar_.get(); }
    void newData(int lastIndex) override;
    void refreshButtons() override;
    void hideEcgPanel() override;
    void resendEcgRhythms() override;
    void showEcgPanel(bool show) override;
    bool isEcgPanelVisible() override;
    void checkRhythmSwitch(int sampleIndex) override;
    std::wstring recommendationBoxText() override;
    bool storeReview() override;
    void setMetronomeUsed(bool used) override;
    SaveAnswer askSave(const std::wstring& title, bool reviewAllowed) override;
    void playEndSound() override;

private:
    QPointer<SessionPanel>& slot(Panel kind) { return panels_[static_cast<std::size_t>(kind)]; }
    // Out of sight and out of its parent now, deleted once control is back
    // in the event loop (the window may be in its own handler).
    static void retire(QWidget* window);

    Session& session_;
    QPointer<SessionView> view_;
    std::array<QPointer<SessionPanel>, 3> panels_;
    std::unique_ptr<ToolBar> toolBar_;
};
