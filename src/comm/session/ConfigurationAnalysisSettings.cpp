#include "comm/session/ConfigurationAnalysisSettings.h"

#include "config/Configuration.h"
#include "config/PropertyModel.h"

AnalysisSettings ConfigurationAnalysisSettings::analysisSettings() const
{
    const PropertyModel& model = Configuration::instance().getPropertyModel();
    AnalysisSettings s;
    s.overrideCompressionDepth = model.overrideCompressionDepth;
    s.compressionDepthLow = model.compressionDepthLow;
    s.compressionDepthHigh = model.compressionDepthHigh;
    s.cardiacOutputPerCompression = model.cardiacOutputPerCompression;
    s.cardiacOutputPerWrongHand = model.cardiacOutputPerWrongHand;
    s.cardiacOutputLow = model.cardiacOutputLow;
    s.cardiacOutputHigh = model.cardiacOutputHigh;
    s.maxPauseBetweenCompressions = model.maxPauseBetweenCompressions;
    return s;
}

const ConfigurationAnalysisSettings& ConfigurationAnalysisSettings::instance()
{
    static const ConfigurationAnalysisSettings source;
    return source;
}
