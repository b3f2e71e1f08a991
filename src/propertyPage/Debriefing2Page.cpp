#include "propertyPage/Debriefing2Page.h"

#include "Rodezir/ControlNotifier.h"
#include "Rodezir/gstringUtil.h"
#include "config/PropertyModel.h"
#include "gettext/Gettext.h"
#include "propertyPage/PageExchange.h"

#include <QComboBox>

#include <utility>

namespace {
constexpr int NOTATION_COMBO = 1271;
constexpr int OVERRIDE_DEPTH = 1358;
constexpr int DEPTH_LOW = 1340;
constexpr int DEPTH_HIGH = 1375;
} // namespace

void Debriefing2Page::onInitPage()
{
    if (auto* combo = qobject_cast<QComboBox*>(item(NOTATION_COMBO))) {
        combo->addItem(QString::fromStdWString(Gettext::translate("50%:50%")), 0);
        combo->addItem(QString::fromStdWString(Gettext::translate("1.0")), 1);
        combo->setCurrentIndex(-1);
    }
    window()->notifier().on(OVERRIDE_DEPTH, kova::Notification::Clicked, [this] { updateDepthEdits(); });
}

void Debriefing2Page::updateDepthEdits()
{
    const bool enabled = isChecked(OVERRIDE_DEPTH);
    enableItem(DEPTH_LOW, enabled);
    enableItem(DEPTH_HIGH, enabled);
}

void Debriefing2Page::load(const PropertyModel& model)
{
    showCompressionRate_ = model.showCompressionRate;
    showRelaxationRatio_ = model.showCompressionRelaxationRatio;
    showCompressionDepth_ = model.showCompressionDepth;
    showPause_ = model.showPauseBetweenCompressions;
    maxPause_ = model.maxPauseBetweenCompressions;
    showWrongHand_ = model.showWrongHandPositions;
    showLeanings_ = model.showLeanings;
    showCardiacOutput_ = model.showCardiacOutput;
    cardiacOutputLow_ = model.cardiacOutputLow;
    cardiacOutputHigh_ = model.cardiacOutputHigh;
    outputPerCompression_ = model.cardiacOutputPerCompression;
    outputPerWrongHand_ = model.cardiacOutputPerWrongHand;
    depthLow_ = model.compressionDepthLow;
    depthHigh_ = model.compressionDepthHigh;
    runExchange(false);
    if (auto* combo = qobject_cast<QComboBox*>(item(NOTATION_COMBO)))
        combo->setCurrentIndex(combo->findData(model.ratioAsPercent ? 0 : 1));
    setChecked(OVERRIDE_DEPTH, model.overrideCompressionDepth);
    updateDepthEdits();
}

// Both bound pairs are put in order, so a range typed the wrong way round
// still means the range the instructor had in mind.
bool Debriefing2Page::store(PropertyModel& model)
{
    if (!runExchange(true))
        return false;
    if (cardiacOutputLow_ > cardiacOutputHigh_)
        std::swap(cardiacOutputLow_, cardiacOutputHigh_);
    if (depthLow_ > depthHigh_)
        std::swap(depthLow_, depthHigh_);
    runExchange(false);
    model.showCompressionRate = showCompressionRate_ != 0;
    model.showCompressionRelaxationRatio = showRelaxationRatio_ != 0;
    model.showCompressionDepth = showCompressionDepth_ != 0;
    model.showPauseBetweenCompressions = showPause_ != 0;
    model.maxPauseBetweenCompressions = maxPause_;
    model.showWrongHandPositions = showWrongHand_ != 0;
    model.showLeanings = showLeanings_ != 0;
    model.showCardiacOutput = showCardiacOutput_ != 0;
    model.cardiacOutputLow = cardiacOutputLow_;
    model.cardiacOutputHigh = cardiacOutputHigh_;
    model.cardiacOutputPerCompression = outputPerCompression_;
    model.cardiacOutputPerWrongHand = outputPerWrongHand_;
    model.compressionDepthLow = depthLow_;
    model.compressionDepthHigh = depthHigh_;
    if (auto* combo = qobject_cast<QComboBox*>(item(NOTATION_COMBO)))
        if (combo->currentIndex() >= 0)
            model.ratioAsPercent = combo->currentData().toInt() == 0;
    model.overrideCompressionDepth = isChecked(OVERRIDE_DEPTH);
    return true;
}

void Debriefing2Page::exchange(PageExchange& data)
{
    data.check(1350, showCompressionRate_);
    data.check(1352, showRelaxationRatio_);
    data.check(1353, showCompressionDepth_);
    data.check(1354, showPause_);
    data.check(1355, showWrongHand_);
    data.check(1356, showLeanings_);
    data.check(1377, showCardiacOutput_);
    // Validated in the order the page has always checked them.
    data.number(1336, cardiacOutputLow_, 0.01, 100.0);
    data.number(1373, cardiacOutputHigh_, 0.01, 100.0);
    data.number(1338, outputPerCompression_, 0.0, 100.0);
    data.number(1339, outputPerWrongHand_, 0.0, 100.0);
    data.number(DEPTH_LOW, depthLow_, 0.01, 100.0);
    data.number(DEPTH_HIGH, depthHigh_, 0.01, 100.0);
    data.integer(1342, maxPause_, 1, 100);
}
