#pragma once
// Shared pieces of the session tests: a manikin link of the test's own under
// a real ManikinReader (each step replays one sample while the reader runs),
// windows that record what the session asked of them, and records.

#include "FakeReaderPort.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionLink.h"
#include "app/sessions/SessionRowStore.h"
#include "app/sessions/SessionWindows.h"
#include "comm/reader/ManikinReader.h"
#include "comm/link/SerialPort.h"
#include "Rodezir/gstringUtil.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sessiontest {

// What the link of a session did and will answer.
struct LinkLog {
    FakeReaderPort::State port;
    int batteryLevel = 3;
    std::string name = "Lobby manikin";
    bool sendsEcg = false;
    bool pulse = false;
    bool releaseResult = true;
    int reopenResult = SerialPort::OPEN_SUCCESS;
    int releases = 0;
    int reopens = 0;
    int batteryRequests = 0;
    bool destroyed = false;
    // Commands in the order sent: (command, value).
    std::vector<std::pair<int, int>> commands;
};

// A link whose reader replays one recorded sample a step; link type 1 makes
// 20 samples a second, 3 makes 50.
class FakeLink final : public SessionLink {
public:
    explicit FakeLink(LinkLog& log, int portNumber = 5, int linkType = 1)
        : log_(log)
    {
        log_.port.portNumber = portNumber;
        log_.port.recorded = true;
        log_.port.linkType = linkType;
        log_.port.linkTypeAfterOpen = linkType;
        if (log_.port.recording.empty())
            log_.port.recording = {ManikinSample{40, 10, 0, 128}, ManikinSample{0, 0, 0, 120}};
        reader_ = std::make_unique<ManikinReader>(std::make_unique<FakeReaderPort>(log_.port));
    }
    ~FakeLink() override { log_.destroyed = true; }

    int portNumber() const override { return log_.port.portNumber; }
    ManikinReader& reader() override { return *reader_; }
    bool isAlive() override { return log_.port.connected && log_.port.alive; }
    int batteryLevel() const override { return log_.batteryLevel; }
    void requestBatteryLevel() override { ++log_.batteryRequests; }
    std::string manikinName() const override { return log_.name; }
    bool sendsEcg() const override { return log_.sendsEcg; }
    void sendCommand24(bool on) override { log_.commands.emplace_back(24, on ? 1 : 0); }
    void setPulse(bool on) override
    {
        log_.commands.emplace_back(28, on ? 1 : 0);
        log_.pulse = on;
    }
    bool pulseOn() const override { return log_.pulse; }
    bool release() override
    {
        ++log_.releases;
        log_.port.connected = false;
        return log_.releaseResult;
    }
    int reopen() override
    {
        ++log_.reopens;
        if (log_.reopenResult == SerialPort::OPEN_SUCCESS) {
            log_.port.connected = true;
            log_.port.alive = true;
        }
        return log_.reopenResult;
    }

private:
    LinkLog& log_;
    std::unique_ptr<ManikinReader> reader_;
};

// What a session asked of its windows.
struct WindowsLog {
    bool viewMade = false;
    std::vector<SessionWindows::Panel> shown;
    std::vector<SessionWindows::Panel> made;
    std::vector<SessionWindows::Panel> destroyed;
    std::vector<int> newData;
    int buttonRefreshes = 0;
    int ecgHides = 0;
    int rhythmResends = 0;
    // The ECG rhythm panel: shown or hidden, and the marked samples told.
    bool ecgPanelVisible = false;
    std::vector<int> rhythmChecks;
    int endSounds = 0;
    int stores = 0;
    int metronomeTicks = 0;
    bool allDestroyed = false;
    bool storeResult = true;
    std::wstring box;
    // Answers to "Save session?", front first (then Cancel), and what was asked.
    std::deque<SessionWindows::SaveAnswer> answers;
    std::vector<std::pair<std::wstring, bool>> asked;
    // Called when the review stores the session.
    std::function<bool(Session&)> onStore;
};

// Windows without a window: the container and the panels are tokens.
class FakeWindows final : public SessionWindows {
public:
    FakeWindows(Session& session, WindowsLog& log) : session_(session), log_(log) {}

    SessionView* createView() override
    {
        log_.viewMade = true;
        return view();
    }
    // Only compared with null by the session.
    SessionView* view() const override { return log_.viewMade ? reinterpret_cast<SessionView*>(&token_) : nullptr; }
    SessionPanel* panel(Panel kind, bool create) override
    {
        bool& exists = panels_[static_cast<int>(kind)];
        if (!exists && create) {
            exists = true;
            log_.made.push_back(kind);
        }
        return exists ? reinterpret_cast<SessionPanel*>(&token_) : nullptr;
    }
    void showPanel(Panel kind) override
    {
        panel(kind, true);
        log_.shown.push_back(kind);
    }
    void destroyPanel(Panel kind) override
    {
        bool& exists = panels_[static_cast<int>(kind)];
        if (exists)
            log_.destroyed.push_back(kind);
        exists = false;
    }
    void destroyAll() override
    {
        for (bool& exists : panels_)
            exists = false;
        log_.viewMade = false;
        log_.allDestroyed = true;
    }
    ToolBar* toolBar() override { return nullptr; }
    void newData(int lastIndex) override { log_.newData.push_back(lastIndex); }
    void refreshButtons() override { ++log_.buttonRefreshes; }
    void hideEcgPanel() override { ++log_.ecgHides; }
    void resendEcgRhythms() override { ++log_.rhythmResends; }
    void showEcgPanel(bool show) override { log_.ecgPanelVisible = show; }
    bool isEcgPanelVisible() override { return log_.ecgPanelVisible; }
    void checkRhythmSwitch(int sampleIndex) override { log_.rhythmChecks.push_back(sampleIndex); }
    std::wstring recommendationBoxText() override { return log_.box; }
    bool storeReview() override
    {
        ++log_.stores;
        if (!panels_[static_cast<int>(Panel::Review)])
            return false;
        return log_.onStore ? log_.onStore(session_) : log_.storeResult;
    }
    void setMetronomeUsed(bool used) override { log_.metronomeTicks += used ? 1 : 0; }
    SaveAnswer askSave(const std::wstring& title, bool reviewAllowed) override
    {
        log_.asked.emplace_back(title, reviewAllowed);
        if (log_.answers.empty())
            return SaveAnswer::Cancel;
        const SaveAnswer answer = log_.answers.front();
        log_.answers.pop_front();
        return answer;
    }
    void playEndSound() override { ++log_.endSounds; }

private:
    Session& session_;
    WindowsLog& log_;
    bool panels_[3] = {false, false, false};
    mutable char token_ = 0;
};

// Installs FakeWindows for every session made while the object lives; each
// session's log is found by its address.
class ScopedFakeWindows {
public:
    ScopedFakeWindows()
    {
        SessionWindows::setFactory([this](Session& session) {
            logs_.emplace_back(&session, std::make_unique<WindowsLog>());
            return std::make_unique<FakeWindows>(session, *logs_.back().second);
        });
    }
    ~ScopedFakeWindows() { SessionWindows::setFactory({}); }
    ScopedFakeWindows(const ScopedFakeWindows&) = delete;
    ScopedFakeWindows& operator=(const ScopedFakeWindows&) = delete;

    // The log of the newest session at that address.
    WindowsLog& of(const Session& session)
    {
        for (auto entry = logs_.rbegin(); entry != logs_.rend(); ++entry)
            if (entry->first == &session)
                return *entry->second;
        static WindowsLog none;
        return none;
    }

private:
    std::vector<std::pair<const Session*, std::unique_ptr<WindowsLog>>> logs_;
};

// A live session's record: port 5, duration in seconds, two participants.
inline SessionRecord liveRecord(long duration = 600, int linkType = 3, long port = 5)
{
    SessionRecord record;
    record.Manikin = port;
    record.linkType = linkType;
    record.Duration = duration;
    record.PersonVentilation = "Anna";
    record.PersonChestCompression = "User 1";
    record.Scenario = "Basic";
    return record;
}

// A live session on a fake link (one sample a step; link type 1: 20 a
// second, 3: 50 a second).
inline std::unique_ptr<Session> liveSession(LinkLog& log, const SessionRecord& record, int readerLinkType = 1)
{
    return std::make_unique<Session>(record, AlgorithmRecord{},
                                     std::make_unique<FakeLink>(log, static_cast<int>(record.Manikin), readerLinkType));
}

// A live session of the record (windows installed by the caller) that
// collected `samples` samples and was stopped.
inline std::unique_ptr<Session> collectedSession(LinkLog& log, int samples,
                                                 const SessionRecord& record = liveRecord())
{
    auto session = liveSession(log, record);
    session->createSessionView();
    session->start();
    for (int i = 0; i < samples; ++i)
        session->onTimer();
    session->pause();
    return session;
}

// A live session on a fake link that collected `steps` samples and was
// stopped, its note and its recommendations box `text`: its row and its data
// file can be matched by that text.
inline std::unique_ptr<Session> finishedSession(LinkLog& log, ScopedFakeWindows& windows, const std::string& text,
                                                int steps = 40)
{
    SessionRecord record = liveRecord();
    record.Note = text;
    auto session = collectedSession(log, steps, record);
    windows.of(*session).box = toWide(text);
    return session;
}

// Stores the session as its review does, with `note` as the record's note
// and as its recommendations box: the row and the data file of that store
// can be matched by it.
inline bool storeWithNote(ScopedFakeWindows& windows, Session& session, const std::string& note)
{
    SessionRecord record = session.getRecord();
    record.Note = note;
    windows.of(session).box = toWide(note);
    return SessionRowStore::store(session, record);
}

} // namespace sessiontest
