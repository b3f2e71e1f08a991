#include "propertyPage/Debriefing2Page.h"

#include "Rodezir/dialogs/ControlNotifier.h"
#include "config/PropertyModel.h"
#include "gettext/Gettext.h"

#include <QComboBox>

#include <utility>

namespace {
constexpr int NOTATION_COMBO = 1271;
constexpr int OVERRIDE_DEPTH = 1358;
constexpr int DEPTH_LOW = 1340;
constexpr int DEPTH_HIGH = 1375;
} // namespace

const std::vector<PageField>& Debriefing2Page::fields() const
{
    static const std::vector<PageField> table{
        PageField::check(1350, &PropertyModel::showCompressionRate),
        PageField::check(1352, &PropertyModel::showCompressionRelaxationRatio),
        // "50%:50%" (item data 0) or "1.0".
        PageField::comboChoice(NOTATION_COMBO, &PropertyModel::ratioAsPercent),
        PageField::check(1353, &PropertyModel::showCompressionDepth),
        PageField::check(1354, &PropertyModel::showPauseBetweenCompressions),
        PageField::check(1355, &PropertyModel::showWrongHandPositions),
        PageField::check(1356, &PropertyModel::showLeanings),
        PageField::check(1377, &PropertyModel::showCardiacOutput),
        PageField::check(OVERRIDE_DEPTH, &PropertyModel::overrideCompressionDepth),
        // Validated in the order the page has always checked them.
        PageField::number(1336, &PropertyModel::cardiacOutputLow, 0.01, 100.0),
        PageField::number(1373, &PropertyModel::cardiacOutputHigh, 0.01, 100.0),
        PageField::number(1338, &PropertyModel::cardiacOutputPerCompression, 0.0, 100.0),
        PageField::number(1339, &PropertyModel::cardiacOutputPerWrongHand, 0.0, 100.0),
        PageField::number(DEPTH_LOW, &PropertyModel::compressionDepthLow, 0.01, 100.0),
        PageField::number(DEPTH_HIGH, &PropertyModel::compressionDepthHigh, 0.01, 100.0),
        PageField::integer(1342, &PropertyModel::maxPauseBetweenCompressions, 1, 100),
    };
    return table;
}

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

void Debriefing2Page::onLoaded(const PropertyModel&) { updateDepthEdits(); }

// Both bound pairs are put in order, so a range typed the wrong way round
// still means the range the instructor had in mind; the page shows them so.
void Debriefing2Page::onStored(PropertyModel& model)
{
    if (model.cardiacOutputLow > model.cardiacOutputHigh)
        std::swap(model.cardiacOutputLow, model.cardiacOutputHigh);
    if (model.compressionDepthLow > model.compressionDepthHigh)
        std::swap(model.compressionDepthLow, model.compressionDepthHigh);
    load(model);
}
