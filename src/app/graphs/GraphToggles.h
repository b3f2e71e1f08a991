#pragma once
// The five display switches shared by the graphs of every session, each with
// its control id, its state and a signal that carries (control id, state)
// when the switch is set. The session manager holds the one set.

#include "Rodezir/Signal.h"

#include <array>

class GraphToggles {
public:
    static constexpr int PROBLEMS = 1001;
    static constexpr int EVENTS = 1003;
    static constexpr int CR_RATIO = 1013;
    static constexpr int CARDIAC_OUTPUT = 1321;
    static constexpr int ECG_SIGNAL = 1409;
    static constexpr std::array<int, 5> IDS{EVENTS, PROBLEMS, CR_RATIO, CARDIAC_OUTPUT, ECG_SIGNAL};

    // Every switch on but the cardiac output, which starts as the station's
    // setting says.
    explicit GraphToggles(bool showCardiacOutput = false);
    GraphToggles(const GraphToggles&) = delete;
    GraphToggles& operator=(const GraphToggles&) = delete;

    // The state of a switch; an unknown id is a fault, logged, and reads off.
    bool get(int controlId) const;
    // Stores the state and notifies the switch's signal with (id, state).
    void set(int controlId, bool on);
    // The signal of a switch; an unknown id gets a signal nobody sets.
    Signal<int, bool>& signal(int controlId);

    bool showProblems() const { return get(PROBLEMS); }
    bool showEvents() const { return get(EVENTS); }
    bool showCrRatio() const { return get(CR_RATIO); }
    bool showCardiacOutput() const { return get(CARDIAC_OUTPUT); }
    bool showEcgSignal() const { return get(ECG_SIGNAL); }

private:
    struct Toggle {
        bool on = true;
        Signal<int, bool> changed;
    };
    Toggle* find(int controlId);
    const Toggle* find(int controlId) const;

    std::array<Toggle, IDS.size()> toggles_;
    Toggle unknown_;
};
