#pragma once
// The base of the panels that show one session inside its view: the live
// graphs, the debriefing and the review. A panel belongs to its session (the
// session makes and destroys it through its windows), answers tooltips from
// the tooltip table, and hands its Cancel (the Escape key, button 2) to the
// session's close question. Enter never closes anything.
//
// A panel is installed as a factory (SessionWindowSet::setPanelFactory); the
// session's windows call the operations below on the panel of the kind that
// has them, and the rest keep the defaults.

#include "app/shell/ChildDialog.h"

#include <string>

class Session;

class SessionPanel : public ChildDialog {
    Q_OBJECT
public:
    SessionPanel(Session& session, int templateId);
    SessionPanel(Session& session, const kova::DialogTemplate& dialogTemplate);

    Session& getSession() const { return session_; }

    // The session's newest sample index after each of its steps.
    virtual void newData(int lastIndex) = 0;

    // The live graph panel: its buttons follow the session's state; the ECG
    // rhythm panel goes out of sight, is shown or hidden (the surveillance
    // window), switches the rhythms on a defibrillation mark; a reconnected
    // manikin is sent its rhythms.
    virtual void updateButtons() {}
    virtual void hideEcgPanel() {}
    virtual void resendEcgRhythms() {}
    virtual void showEcgPanel(bool show) {}
    virtual bool isEcgPanelVisible() const { return false; }
    virtual void checkRhythmSwitch(int sampleIndex) {}
    // The debriefing panel: the text of its recommendations box.
    virtual std::wstring getRecommendationBoxText() const { return {}; }
    // The review panel: stores the session (row and data file); ticks its
    // "Metronome used" box.
    virtual bool save() { return false; }
    virtual void setMetronomeUsed(bool used) {}

protected:
    // The dialog's own initialisation, then the table's tooltips for every control.
    bool onInitDialog() override;
    // The session asks whether it may close; only then it pauses and its
    // views go, this panel among them (later, once the handler has returned).
    void onCancel() override;
    // The panel lives in the session window: closing that frame would end
    // every session unasked.
    void onOK() override {}

private:
    Session& session_;
};
