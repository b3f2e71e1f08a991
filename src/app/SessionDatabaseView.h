#pragma once
// The review panel of a session that has just been run (template 223): what
// the session's record holds, with the "Metronome used" box, the way back to
// the debriefing, and the operation that stores the session. The record
// editor of the stored sessions builds on it; until then it edits only the
// metronome box.

#include "app/SessionPanel.h"

class SessionDatabaseView : public SessionPanel {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 223;
    static constexpr int IDC_TRAINING_MODE = 1103;
    static constexpr int IDC_VENTILATION = 1079;
    static constexpr int IDC_COMPRESSION = 1078;
    static constexpr int IDC_SCENARIO = 1077;
    static constexpr int IDC_ALGORITHM = 1080;
    static constexpr int IDC_DURATION = 1076;
    static constexpr int IDC_MANIKIN = 1131;
    static constexpr int IDC_DATE = 1129;
    static constexpr int IDC_START_TIME = 1109;
    static constexpr int IDC_METRONOME = 1096;
    static constexpr int IDC_DEBRIEFING = 1255;
    static constexpr int IDC_ABORT = 2;

    explicit SessionDatabaseView(Session& session);

    // Stores the session as done: its row (with the box's metronome) and its
    // data file; false when either could not be stored.
    bool save() override;
    // Ticks (or clears) "Metronome used" once the window exists.
    void setMetronomeUsed(bool used) override;
    // The review shows no live data.
    void newData(int lastIndex) override {}

    // Puts template 223 into the dialog registry (done by the constructor when missing).
    static void registerTemplate();

protected:
    bool onInitDialog() override;

private:
    void showRecord();
};
