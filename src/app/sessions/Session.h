#pragma once
// One training run on one manikin, or one stored run opened again for review:
// its record and algorithm, the manikin link and the measurement store, the
// three curves with their marks, the event buttons of its scenario, its state
// (live graphs, debriefing, review) and its windows. The session manager steps
// it every 20 ms; a step moves the new samples into the store, ends a timed
// session on time and hands the new last sample index to the session's
// update receivers and panels.

#include "Database/SessionRecord.h"
#include "Rodezir/Signal.h"
#include "Rodezir/SlotHolder.h"
#include "app/graphs/GraphDoc.h"
#include "app/graphs/GraphSession.h"
#include "app/graphs/GraphSource.h"
#include "app/graphs/ToolbarButton.h"
#include "app/sessions/SessionWindows.h"
#include "comm/session/CommSession.h"
#include "config/AlgorithmRecord.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class DataFileChange;
class SessionLink;
class SessionPanel;
class SessionView;
class ToolBar;
class UpdateReceiver;

class Session : public GraphSession, public virtual SlotHolder {
public:
    enum State { INIT = 0, COLLECT = 1, DEBRIEF = 2, REVIEW = 3 };

    // The Manikin field of a stored session: the all-ones 32-bit port value.
    static constexpr std::uint32_t STORED_MANIKIN = 0xFFFFFFFFu;
    // The most characters of the recommendations box the data file keeps.
    static constexpr std::size_t RECOMMENDATIONS_LIMIT = 349;

    // A live session on the record's port, taken from the station's port
    // registry (the port is already open), or a stored session read from its
    // data file at once.
    Session(const SessionRecord& record, const AlgorithmRecord& algorithm);
    // A live session on a link of the caller's (tests and benchmarks); null
    // for a stored session.
    Session(const SessionRecord& record, const AlgorithmRecord& algorithm, std::unique_ptr<SessionLink> link);
    // Closes and gives back the port of a live session; the windows go too.
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // One step: collect, end on time, publish the newest index, watch the
    // link (a lost link is asked about until the session has ended).
    // Answers the battery level (255 for a stored session).
    int onTimer();
    // Starts or resumes collecting (a live session that has not ended).
    void start();
    // Stops collecting; the record's EndTime notes when.
    void pause();
    // The timed session has reached its duration.
    void onEnd();
    // Collecting now; never for a stored session.
    bool isRunning() const override;
    // The time the collected samples span, in whole seconds (64 bits: a rate
    // far below a manikin's gives times no 32 bits hold).
    std::int64_t getElapsedSeconds() const;

    std::wstring getPersonVentilation() const;
    std::wstring getPersonChestCompression() const;
    const SessionRecord& getRecord() const { return record_; }
    // Copies the record in (the review panel's edits), then recordChanged.
    void setRecord(const SessionRecord& record);
    // The identifier under which this session last wrote its data file (and
    // so stored, or began to store, its row); empty before. A store may
    // change the row and the file of that identifier, and no other session's.
    const std::string& getStoredSerial() const { return storedSerial_; }
    const AlgorithmRecord& getAlgorithm() const { return algorithm_; }
    // The window and message-box caption.
    const std::string& getTitle() const { return title_; }
    std::wstring getTitleWide() const;

    // Makes the container and shows the live panel; only from INIT.
    SessionView* createSessionView();
    SessionView* getSessionView() const;
    // COLLECT shows the live panel, DEBRIEF the debriefing, REVIEW the review;
    // every state but REVIEW destroys the review panel. COLLECT to REVIEW
    // directly is a fault of the caller (it goes through DEBRIEF).
    void setState(int state);
    int getState() const { return state_; }
    // The panels, made on first use; null when no panel of the kind is installed.
    SessionPanel* getSessionGraphView();
    SessionPanel* getSessionDebriefView();
    SessionPanel* getReviewView();
    // The event toolbar the windows made of the scenario's buttons; null without windows.
    ToolBar* getToolBar() const;
    // Tells viewsClosing, destroys every window, tells viewsDestroyed. The
    // session manager deletes the session once that has been told.
    void destroyViews();
    // Whether the session may close: a stored one at once; a live one asks
    // "Save session?" and stores itself on Yes (false when that failed).
    bool close();

    // Writes the data file as a whole (replacing the earlier one only once
    // the new one is complete); false, after telling the user, when it could not.
    bool save();
    // The same for a store that writes the session's row too: the new
    // contents wait in `change` for the row's commit (see DataFileChange).
    bool save(DataFileChange& change);
    // Reads the data file into the curves, the measurement store and the
    // recommendations; false when it could not (a damaged file is told).
    bool loadDataFile();
    // A stored session whose data file could not be opened (it is missing:
    // stored by a station that keeps another data folder), or whose
    // identifier names no data file at all: it holds no samples and is not
    // shown. The user was told which file in which folder, or why none.
    bool getDataFileMissing() const { return dataFileMissing_; }
    // The data file's path; empty when the identifier names none.
    std::string dataFilePath() const { return record_.dataFileName().value_or(std::string()); }

    // The record's Metronome becomes 1 on every beat; the review panel ticks its box.
    void onMetronomeBeat();
    // The main frame's metronome beat; every session made afterwards listens
    // to it. Null (when the frame goes) stops that for later sessions.
    static void setMetronomeSignal(Signal<>* beat);

    bool getUsingFile() const { return usingFile_; }
    bool getEnded() const { return ended_; }
    bool getModified() const { return modified_; }
    // Whether the session shows the ECG curve: the station's setting when
    // the session was made; the new-session dialog sets it as it starts one.
    bool getEcgEnabled() const { return ecgEnabled_; }
    void setEcgEnabled(bool enabled) { ecgEnabled_ = enabled; }
    int getBatteryLevel() const { return batteryLevel_; }
    int getLastPublishedIndex() const { return lastPublishedIndex_; }
    // The recommendations read back from the data file.
    const std::string& getRecommendations() const { return recommendations_; }
    // What the recommendations box holds, cut to what the data file keeps (UTF-8).
    std::string getRecommendationBoxText() const;
    // The stored recommendations, then what the box holds: the text the
    // debriefing shows below its list and the printout prints.
    std::wstring getRecommendationText() const;

    CommSession& getCommSession() { return comm_; }
    const CommSession& getCommSession() const { return comm_; }
    GraphDoc& getCompressionDoc() { return compressionDoc_; }
    GraphDoc& getEcgDoc() { return ecgDoc_; }
    GraphDoc& getVentilationDoc() { return ventilationDoc_; }
    // The scenario's event buttons, in order (ids fresh for this run, "&" doubled).
    const std::vector<ToolbarButton>& getEventButtons() const { return eventButtons_; }
    SessionWindows& windows() { return *windows_; }
    // The live link; null for a stored session.
    SessionLink* link() const { return link_.get(); }

    // The graphs' view of the session.
    const CommSession& graphData() const override { return comm_; }
    bool hasEnded() const override { return ended_; }
    void addUpdateReceiver(UpdateReceiver& receiver) override;
    void removeUpdateReceiver(UpdateReceiver& receiver) override;
    GraphToggles& graphToggles() override;
    void showSessionWindow() override;

    // Milliseconds from the start to sample `index` at `rate` samples a second.
    static std::int64_t sampleMilliseconds(int index, double rate);
    // Whether sample `index` lies beyond a duration of `seconds` (-1, or any
    // negative duration, is no limit). In 64 bits: no duration wraps.
    static bool isPastDuration(long seconds, int index, double rate);

    Signal<> stateChanged;
    Signal<> modifiedChanged;
    Signal<Session*> viewsClosing;
    Signal<Session*> viewsDestroyed;
    Signal<Session*> recordChanged;

private:
    void buildTitle();
    void loadEventButtons();
    void publish();
    // Tells the windows of each defibrillation mark among the samples from `from` on.
    void tellDefibrillationMarks(std::size_t from);
    void onLostLink();
    void bringEndTimeUp();
    void addKnownPerson(const std::string& name);
    void tellDataFileDamaged() const;
    // The four sections into the open file; false when one failed.
    bool writeDataFile(int fd) const;
    // A failed save is told; a saved session is no longer modified.
    bool tellSaved(bool saved);
    void tellDataFileMissing() const;

    SessionRecord record_;
    AlgorithmRecord algorithm_;
    bool usingFile_;
    bool dataFileMissing_ = false;
    std::unique_ptr<SessionLink> link_;
    CommSession comm_;
    GraphSource compressionSource_;
    GraphSource ecgSource_;
    GraphSource ventilationSource_;
    GraphDoc compressionDoc_;
    GraphDoc ecgDoc_;
    GraphDoc ventilationDoc_;
    std::vector<ToolbarButton> eventButtons_;
    std::string title_;
    std::unique_ptr<SessionWindows> windows_;
    std::vector<UpdateReceiver*> receivers_;
    std::string recommendations_;
    std::string storedSerial_;
    int state_ = INIT;
    bool ended_ = false;
    bool modified_ = false;
    bool linkMessageShown_ = false;
    bool linkErrorDismissed_ = false;
    int lastPublishedIndex_ = 0;
    int batteryLevel_ = 255;
    bool ecgEnabled_ = true;
};
