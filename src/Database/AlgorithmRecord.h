#pragma once
// The limits of one resuscitation guideline (a row of the table "Algorithm"),
// against which a session is evaluated; copied by value between the database,
// the editors, the sessions and the controller transfer.

#include <QString>

#include <cstdint>
#include <string>

struct AlgorithmRecord {
    std::string Name;                      // the key: unique name of the algorithm
    double compDepthHigh = 50;             // mm
    double compDepthLow = 40;              // mm
    double compRelaxHigh = 60;             // %
    double compRelaxLow = 40;              // %
    double compRelaxRecc = 50;             // %
    double eccRateHigh = 110;              // compressions per minute
    double eccRateLow = 90;                // compressions per minute
    std::int32_t initVent = 2;             // initial ventilations
    double ventCompRatioDoubleComp = 5;    // two-person CPR: compressions per cycle
    double ventCompRatioDoubleVent = 1;    // two-person CPR: ventilations per cycle
    double ventCompRatioSingleComp = 15;   // single-person CPR: compressions per cycle
    double ventCompRatioSingleVent = 2;    // single-person CPR: ventilations per cycle
    double vRateHigh = 9;                  // ventilations per minute
    double vRateLow = 6;                   // ventilations per minute
    double vVolHigh = 0.6;                 // litres
    double vVolLow = 0.4;                  // litres
    bool builtIn = false;                  // supplied with a guideline, not made by the user
    std::int32_t pauseEccMax = 10;         // longest allowed pause in compressions

    void setDefaults() { *this = AlgorithmRecord(); }

    std::string getKey() const { return Name; }
    void setKey(const std::string& key) { Name = key; }

    // Names are UTF-8; letter case is compared on whole characters, not bytes.
    bool matchesKey(const std::string& key) const
    {
        return QString::fromStdString(Name).compare(QString::fromStdString(key), Qt::CaseInsensitive) == 0;
    }
    static bool isValidKey(const std::string& key) { return !key.empty(); }

    bool operator==(const AlgorithmRecord&) const = default;
};
