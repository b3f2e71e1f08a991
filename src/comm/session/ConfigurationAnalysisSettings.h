#pragma once
// The analysis settings as the station's live settings record holds them at
// the moment they are asked for.

#include "comm/session/AnalysisSettings.h"

class ConfigurationAnalysisSettings final : public AnalysisSettingsSource {
public:
    AnalysisSettings analysisSettings() const override;
    // The one source every session shares.
    static const ConfigurationAnalysisSettings& instance();
};
