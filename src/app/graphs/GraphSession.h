#pragma once
// What the time axis and its graph panes need of the session they show: its
// measurements and rate, whether it collects or has ended, its list of update
// receivers, the shared display switches, and bringing its window forward.
// The session implements it; tests put a fake in its place.

class CommSession;
class GraphToggles;
class UpdateReceiver;

class GraphSession {
public:
    virtual ~GraphSession() = default;

    // The measurement store: its sample count and its rate.
    virtual const CommSession& graphData() const = 0;
    // Collecting now (panes are white then, grey otherwise).
    virtual bool isRunning() const = 0;
    // A timed session has reached its end, or the session was read from its
    // file. Once the flag turns on, the session hands its receivers the index
    // at which it ended; the axis then ends any drag, goes back to the start
    // and tells its owner.
    virtual bool hasEnded() const = 0;
    virtual void addUpdateReceiver(UpdateReceiver& receiver) = 0;
    // Removes every entry of the receiver.
    virtual void removeUpdateReceiver(UpdateReceiver& receiver) = 0;
    // The display switches shared by all sessions.
    virtual GraphToggles& graphToggles() = 0;
    // Brings the session's window to the front (from a surveillance tile).
    virtual void showSessionWindow() = 0;
};
