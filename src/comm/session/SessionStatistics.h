#pragma once
// The evaluation of a session's compression series and ventilation groups
// against the limits of its algorithm and of the station settings.

#include "comm/session/CompressionSeries.h"
#include "comm/session/SessionResults.h"
#include "comm/session/VentilationGroup.h"

#include <cstdint>
#include <vector>

class SessionStatistics {
public:
    struct CompressionLimits {
        double depthLow = 40;
        double depthHigh = 50;
        double rateLow = 90;
        double rateHigh = 110;
        std::int32_t maxPause = 9;      // seconds
        double cardiacOutputLow = 1.4;  // L/min
        double cardiacOutputHigh = 6.0; // L/min
    };

    // last: index of the session's last measurement.
    static VentilationResults evaluateVentilations(const std::vector<VentilationGroup>& groups, std::int32_t last,
                                                   double low, double high, double sampleRate);
    // Ventilations given before the first compression series.
    static std::int32_t evaluateInitialVentilations(const std::vector<CompressionSeries>& series,
                                                    const std::vector<VentilationGroup>& groups);
    // Only series with times and a duration add to the ratio and the output:
    // the closed ones, and the last one once its complete cycles are counted
    // (CompressionSeries::closeCompleteCycles).
    static CompressionResults evaluateCompressions(const std::vector<CompressionSeries>& series,
                                                   const CompressionLimits& limits, double sampleRate);
    // c and v: compressions and ventilations per cycle of the training mode.
    static CycleResults evaluateCycles(const std::vector<CompressionSeries>& series,
                                       const std::vector<VentilationGroup>& groups, std::int32_t c, std::int32_t v);
    // Truncates toward zero; a value beyond the integers (from a limit out of
    // range) gives 0 or the nearest end.
    static std::int32_t truncate(double value);

    // Whole seconds to the first compression or ventilation peak; -1 without either.
    static std::int32_t firstActionTime(const std::vector<CompressionSeries>& series,
                                        const std::vector<VentilationGroup>& groups, double sampleRate);
};
