#pragma once
// What a session asks of its windows: the container that shows it, its three
// panels (live graphs, debriefing, review), the question put when it closes
// and the sound at its end. The windowed program installs the factory that
// makes them for each session (SessionWindowSet::install); a session made
// without one has no windows, and tests install fakes.

#include <functional>
#include <memory>
#include <string>

class Session;
class SessionPanel;
class SessionView;
class ToolBar;

class SessionWindows {
public:
    enum class Panel { Graph, Debrief, Review };
    // The answers to "Save session?".
    enum class SaveAnswer { Review, Yes, No, Cancel };

    virtual ~SessionWindows() = default;

    // The container, made on the first call; null when it cannot be made.
    virtual SessionView* createView() = 0;
    virtual SessionView* view() const = 0;
    // The panel of that kind, made on first use when `create` is set; null
    // when it does not exist or no panel of that kind is installed.
    virtual SessionPanel* panel(Panel kind, bool create) = 0;
    // Makes the panel the one the container shows.
    virtual void showPanel(Panel kind) = 0;
    // Destroys one panel, when it exists.
    virtual void destroyPanel(Panel kind) = 0;
    // Destroys the container and every panel.
    virtual void destroyAll() = 0;
    // The event toolbar made of the session's event buttons.
    virtual ToolBar* toolBar() = 0;

    // The session's newest sample index after a step, for every panel.
    virtual void newData(int lastIndex) = 0;
    // The live panel's buttons follow the session's state.
    virtual void refreshButtons() = 0;
    // The ECG rhythm panel goes out of sight with the live panel.
    virtual void hideEcgPanel() = 0;
    // A reconnected wireless manikin is sent its ECG rhythms again.
    virtual void resendEcgRhythms() = 0;
    // The ECG rhythm panel shown or hidden (the surveillance window's ECG-box
    // list), and whether it shows.
    virtual void showEcgPanel(bool show) = 0;
    virtual bool isEcgPanelVisible() = 0;
    // ECG sample `sampleIndex` carries the defibrillation mark: the ECG
    // rhythm panel makes the next rhythm the current one.
    virtual void checkRhythmSwitch(int sampleIndex) = 0;
    // The text of the debriefing panel's recommendations box; empty without the panel.
    virtual std::wstring recommendationBoxText() = 0;
    // The review panel stores the session (its row and its data file); false
    // when that failed or there is no review panel.
    virtual bool storeReview() = 0;
    // Ticks the review panel's "Metronome used" box, when the panel exists.
    virtual void setMetronomeUsed(bool used) = 0;

    // "Save session?" over the session's window; Review is offered only when allowed.
    virtual SaveAnswer askSave(const std::wstring& title, bool reviewAllowed) = 0;
    // "end.wav", without waiting for it.
    virtual void playEndSound() = 0;

    using Factory = std::function<std::unique_ptr<SessionWindows>(Session&)>;
    // Installs the factory every later session gets its windows from (an
    // empty one: sessions without windows).
    static void setFactory(Factory factory);
    static std::unique_ptr<SessionWindows> make(Session& session);
};

// The windows of a session when no factory is installed: there are none, no
// panel stores anything, and the save question is answered with Cancel, so a
// session is never discarded unasked.
class NoSessionWindows final : public SessionWindows {
public:
    SessionView* createView() override { return nullptr; }
    SessionView* view() const override { return nullptr; }
    SessionPanel* panel(Panel, bool) override { return nullptr; }
    void showPanel(Panel) override {}
    void destroyPanel(Panel) override {}
    void destroyAll() override {}
    ToolBar* toolBar() override { return nullptr; }
    void newData(int) override {}
    void refreshButtons() override {}
    void hideEcgPanel() override {}
    void resendEcgRhythms() override {}
    void showEcgPanel(bool) override {}
    bool isEcgPanelVisible() override { return false; }
    void checkRhythmSwitch(int) override {}
    std::wstring recommendationBoxText() override { return {}; }
    bool storeReview() override { return false; }
    void setMetronomeUsed(bool) override {}
    SaveAnswer askSave(const std::wstring&, bool) override { return SaveAnswer::Cancel; }
    void playEndSound() override {}
};
