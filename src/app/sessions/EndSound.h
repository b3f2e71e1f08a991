#pragma once
// The sound at the end of a timed session: "end.wav" of the station
// directory, played without waiting for it. Where the machine has no sound
// output, or the file is missing, the platform's beep stands in.

#include <QString>

class EndSound {
public:
    static void play(const QString& file = QStringLiteral("end.wav"));
};
