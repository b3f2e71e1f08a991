#pragma once
// The fixed words of the controller's debriefing pages, in English: the words
// of an English page and the message ids under which a page's own catalog
// finds the other languages. The table itself is never translated.

#include <string>

class LangArray {
public:
    enum Index {
        TRAINING_RESULTS,
        DATE,
        VENTILATION,
        COMPRESSION,
        ALGORITHM,
        INITIAL_VENTILATIONS,
        VENTILATION_RATE,
        VENTILATION_VOLUME,
        STOMACH_INFLATION,
        ECC_RATE,
        COMPRESSION_DEPTH,
        WRONG_HAND_POSITION,
        TOTAL,
        COMMENTS,
        APPROVED,
        YES,
        NO,
        INSTRUCTOR,
        PER_MINUTE,
        LITRES,
        MILLIMETRES,
        PERCENT,
        METRONOME,
        SIZE
    };

    // A copy of entry `index`; an index outside 0 to 22 is reported to the
    // error log and gives the empty text.
    static std::string get(int index);
};
