#pragma once
// The figures a debriefing judges: the measurement store's results after its
// evaluation and the two values its ventilation analyser keeps, taken together
// at one moment so every text of one refresh tells the same story.

#include "comm/session/SessionResults.h"

class CommSession;

struct DebriefFigures {
    SessionResults results;
    double minuteVolume = 0.0;   // litres per minute
    double volumeAverage = 0.0;  // the ventilation analyser's running mean, litres

    // What the session holds now (after CommSession::evaluate).
    static DebriefFigures of(const CommSession& session);
};
