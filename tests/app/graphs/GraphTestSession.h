#pragma once
// A session as the graphs see it, for graph tests: a measurement store at a
// chosen rate, running and ended flags the test sets, its update receivers
// and the shared display switches.

#include "app/graphs/GraphSession.h"
#include "app/graphs/GraphToggles.h"
#include "app/sessions/UpdateReceiver.h"
#include "comm/session/CommSession.h"

#include <algorithm>
#include <vector>

namespace graphtest {

class TestSession final : public GraphSession {
public:
    explicit TestSession(double rate = 20.0, bool ended = false) : ended(ended) { data.sampleRate = rate; }

    const CommSession& graphData() const override { return data; }
    bool isRunning() const override { return running; }
    bool hasEnded() const override { return ended; }
    void addUpdateReceiver(UpdateReceiver& receiver) override { receivers.push_back(&receiver); }
    void removeUpdateReceiver(UpdateReceiver& receiver) override { std::erase(receivers, &receiver); }
    GraphToggles& graphToggles() override { return toggles; }
    void showSessionWindow() override { ++windowShown; }

    // Hands every receiver the newest index, as a session's step does.
    void publish()
    {
        const int last = static_cast<int>(data.manData.size()) - 1;
        for (UpdateReceiver* receiver : std::vector<UpdateReceiver*>(receivers))
            receiver->update(last);
    }

    CommSession data;
    GraphToggles toggles{false};
    std::vector<UpdateReceiver*> receivers;
    bool running = false;
    bool ended = false;
    int windowShown = 0;
};

} // namespace graphtest
