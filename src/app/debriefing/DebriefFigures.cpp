#include "app/debriefing/DebriefFigures.h"

#include "comm/session/CommSession.h"

DebriefFigures DebriefFigures::of(const CommSession& session)
{
    DebriefFigures figures;
    figures.results = session.results();
    figures.minuteVolume = session.ventilationAnalyser().getMinuteVolume();
    figures.volumeAverage = session.ventilationAnalyser().getVolumeAverage();
    return figures;
}
