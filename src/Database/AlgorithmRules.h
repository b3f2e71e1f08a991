#pragma once
// The rules an algorithm keeps before the station stores it, whether a user
// typed it into the algorithm editor or a hand-held controller gave it back:
// every limit inside its range, every low limit at most its high one (the two
// volumes may cross), and a name of more than blanks and control characters.
// The editor brings typed values into line; a fetch refuses a row that is not.

#include "config/AlgorithmRecord.h"

#include <cstdint>
#include <optional>
#include <string>

class AlgorithmRules {
public:
    static constexpr std::int32_t LEAST_INITIAL_VENTILATIONS = 0;
    static constexpr std::int32_t MOST_INITIAL_VENTILATIONS = 20;
    static constexpr const char* INITIAL_VENTILATIONS_LABEL = "Initial ventilations";

    // The record as the editor leaves it when a field is left: every value
    // brought into its range, then every low limit down to its high one.
    static AlgorithmRecord keptInRange(AlgorithmRecord record);

    // The name as it is stored: without blanks or control characters at either end.
    static std::string storedName(const std::string& typed);

    // What keeps a record from being stored as it stands.
    struct Fault {
        enum Kind { NO_NAME, OUT_OF_RANGE, CROSSED } kind;
        const char* label = ""; // the editor's label of the limit
        double value = 0;       // out of range: the value; crossed: the low limit
        double high = 0;        // crossed: the high limit
        double least = 0;       // out of range: the range
        double most = 0;
    };
    // The first rule the record breaks, in the editor's order of its fields.
    static std::optional<Fault> firstFault(const AlgorithmRecord& record);
};
