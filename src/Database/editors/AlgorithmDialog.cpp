#include "Database/editors/AlgorithmDialog.h"

#include "Database/AlgorithmRules.h"
#include "Database/Database.h"
#include "Database/TablePool.h"
#include "Rodezir/WindowTextUtil.h"
#include "Rodezir/dialogs/DialogTranslation.h"
#include "config/Configuration.h"
#include "controls/MaskedEdit.h"
#include "gettext/Gettext.h"
#include "platform/Beep.h"

#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

constexpr int INITIAL_VENTILATIONS = 1110;
constexpr int SHARE_LOW = 1140;
constexpr int SHARE_HIGH = 1141;
constexpr int LAST_FIELD = 1147;
constexpr int PERCENT_SIGNS[] = {1360, 1361, 1362};
constexpr int NAME_LIMIT = 80;
// A compression share of 100 % has no finite ratio: the field shows the
// largest its four places hold.
constexpr double LARGEST_RATIO = 9999;

// "%g" in the C locale, whatever the user's locale.
QString formatNumber(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return QString::fromLatin1(text);
}

// The leading characters that form a decimal number, with "," read as ".";
// nothing when they form none.
std::optional<double> numberIn(QString text)
{
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    const QByteArray bytes = text.toLatin1();
    char* end = nullptr;
    const double number = std::strtod(bytes.constData(), &end);
    if (end == bytes.constData())
        return std::nullopt;
    return number;
}

// A field without a number reads as 0.
double parseNumber(const QString& text) { return numberIn(text).value_or(0); }

double ratioOfShare(double share) { return share >= 100 ? LARGEST_RATIO : share / (100 - share); }
double shareOfRatio(double ratio) { return 100 * ratio / (ratio + 1); }

} // namespace

// A number field of the dialog and its record field; `share` marks the
// compression/relaxation percentages, `wholeNumbers` the two-digit ratio
// fields. The range each is kept in is the rules' (AlgorithmRules).
struct AlgorithmDialog::NumberField {
    int id;
    double AlgorithmRecord::*value;
    bool share;
    bool wholeNumbers;
};

const AlgorithmDialog::NumberField AlgorithmDialog::NUMBER_FIELDS[] = {
    {1111, &AlgorithmRecord::vRateLow, false, false},
    {1133, &AlgorithmRecord::vRateHigh, false, false},
    {1199, &AlgorithmRecord::vVolLow, false, false},
    {1135, &AlgorithmRecord::vVolHigh, false, false},
    {1136, &AlgorithmRecord::eccRateLow, false, false},
    {1137, &AlgorithmRecord::eccRateHigh, false, false},
    {1138, &AlgorithmRecord::compRelaxRecc, true, false},
    {1140, &AlgorithmRecord::compRelaxLow, true, false},
    {1141, &AlgorithmRecord::compRelaxHigh, true, false},
    {1142, &AlgorithmRecord::compDepthLow, false, false},
    {1143, &AlgorithmRecord::compDepthHigh, false, false},
    {1145, &AlgorithmRecord::ventCompRatioSingleComp, false, true},
    {1144, &AlgorithmRecord::ventCompRatioSingleVent, false, true},
    {1147, &AlgorithmRecord::ventCompRatioDoubleComp, false, true},
    {1146, &AlgorithmRecord::ventCompRatioDoubleVent, false, true},
};

AlgorithmDialog::AlgorithmDialog(const std::string& initialKey, bool allowDelete, QWidget* parent)
    : RecordEditorDialog(TEMPLATE_ID, HELP_TOPIC, allowDelete, LAST_FIELD, parent),
      table_(theDatabase),
      initialKey_(initialKey)
{
}

AlgorithmDialog::~AlgorithmDialog() = default;

kova::MaskedEdit* AlgorithmDialog::edit(int id) const { return qobject_cast<kova::MaskedEdit*>(getDlgItem(id)); }

bool AlgorithmDialog::onInitDialog()
{
    showWaitCursor(true);
    kova::translateDialog(this);
    bindSharedControls();
    // The ratio pairs take two digits, the others digits and a point.
    kova::MaskedEdit::attach(this, INITIAL_VENTILATIONS, QStringLiteral("##"));
    for (const NumberField& field : NUMBER_FIELDS)
        kova::MaskedEdit::attach(this, field.id, field.wholeNumbers ? QStringLiteral("##") : QStringLiteral("%%%%"));
    kova::MaskedEdit::attach(this, SCRATCH, QStringLiteral("%%%%"));
    kova::limitText(getDlgItem(recordcontrols::NAME), NAME_LIMIT);

    kova::ControlNotifier& events = notifier();
    refreshButtonsOn({recordcontrols::NAME, INITIAL_VENTILATIONS}, kova::Notification::EditChanged);
    events.on(INITIAL_VENTILATIONS, kova::Notification::FocusLost, [this] { checkRanges(); });
    for (const NumberField& field : NUMBER_FIELDS) {
        if (field.id == RECOMMENDED_SHARE)
            events.on(field.id, kova::Notification::EditChanged, [this] { onRecommendedShareChanged(); });
        else
            refreshButtonsOn({field.id}, kova::Notification::EditChanged);
        // The recommended share is kept in range while it is typed.
        if (field.id != RECOMMENDED_SHARE)
            events.on(field.id, kova::Notification::FocusLost, [this] { checkRanges(); });
    }

    percent_ = Configuration::instance().getPropertyModel().ratioAsPercent;
    start(table_, initialKey_);
    for (int id : PERCENT_SIGNS)
        kova::showControl(getDlgItem(id), percent_);
    kova::showControl(getDlgItem(RELAXATION_SHARE), percent_);
    showWaitCursor(false);
    return false;
}

void AlgorithmDialog::showNumber(int id, double value)
{
    if (kova::MaskedEdit* field = edit(id))
        field->SetInputText(formatNumber(value), 0, true);
}

double AlgorithmDialog::readNumber(int id) const
{
    const QWidget* field = getDlgItem(id);
    return field ? parseNumber(kova::windowText(field)) : 0;
}

QString AlgorithmDialog::ratioText(double share) const
{
    kova::MaskedEdit* scratch = edit(SCRATCH);
    if (!scratch)
        return formatNumber(ratioOfShare(share));
    scratch->SetInputText(formatNumber(ratioOfShare(share)), 0, true);
    return scratch->text();
}

// A ratio the user did not touch gives back the stored share exactly: the
// ratio the field shows is cut to its places and would not.
double AlgorithmDialog::readShare(int id, double stored) const
{
    if (percent_)
        return readNumber(id);
    const QWidget* field = getDlgItem(id);
    if (field && kova::windowText(field) == ratioText(stored))
        return stored;
    return shareOfRatio(readNumber(id));
}

void AlgorithmDialog::showRecord(const AlgorithmRecord& record)
{
    clearQuickFindSelection();
    kova::setWindowTextIfChanged(getDlgItem(recordcontrols::NAME), QString::fromStdString(record.Name));
    showNumber(INITIAL_VENTILATIONS, record.initVent);
    for (const NumberField& field : NUMBER_FIELDS) {
        const double value = record.*field.value;
        showNumber(field.id, field.share && !percent_ ? ratioOfShare(value) : value);
    }
    if (QWidget* name = getDlgItem(recordcontrols::NAME))
        name->setFocus(Qt::OtherFocusReason);
}

AlgorithmRecord AlgorithmDialog::readRecord()
{
    AlgorithmRecord record = currentRecord();
    record.Name = AlgorithmRules::storedName(kova::windowText(getDlgItem(recordcontrols::NAME)).toStdString());
    record.initVent = static_cast<std::int32_t>(readNumber(INITIAL_VENTILATIONS));
    for (const NumberField& field : NUMBER_FIELDS)
        record.*field.value = field.share ? readShare(field.id, currentRecord().*field.value) : readNumber(field.id);
    // Two fields that show the same ratio are the same share, even where
    // one of them is an untouched share kept exactly: the low limit may not
    // come out above the high one the window shows as equal.
    if (!percent_
        && kova::windowText(getDlgItem(SHARE_LOW)) == kova::windowText(getDlgItem(SHARE_HIGH)))
        record.compRelaxLow = std::min(record.compRelaxLow, record.compRelaxHigh);
    return record;
}

bool AlgorithmDialog::isChanged()
{
    const AlgorithmRecord& current = currentRecord();
    if (kova::windowText(getDlgItem(recordcontrols::NAME)).toStdString() != current.Name)
        return true;
    if (static_cast<std::int32_t>(readNumber(INITIAL_VENTILATIONS)) != current.initVent)
        return true;
    for (const NumberField& field : NUMBER_FIELDS) {
        const double stored = current.*field.value;
        if (field.share && !percent_) {
            if (parseNumber(ratioText(stored)) != readNumber(field.id))
                return true;
        } else if (readNumber(field.id) != stored) {
            return true;
        }
    }
    return false;
}

void AlgorithmDialog::enableButtons(unsigned mask)
{
    const bool builtIn = currentRecord().builtIn;
    enableSharedButtons(mask, !builtIn);
    if (auto* name = qobject_cast<QLineEdit*>(getDlgItem(recordcontrols::NAME)))
        name->setReadOnly(builtIn);
}

std::wstring AlgorithmDialog::message(int kind)
{
    static const char* const TEXTS[] = {
        "An algorithm with the same name already exists!\nDo you want to replace the existing algorithm with this "
        "one?\n\nNotice that all existing sessions based on this algorithm\nwill be affected, and the debriefings "
        "will be invalid.\nYou can not undo this operation.\nIf you want to use the new entry and remove the old "
        "one, please choose 'Yes'.\nIf you want to drop the new entry and keep the old one, choose 'No'.\nIf you "
        "want to have two different algorithms, please choose 'Cancel'\nand change the name of the new entry to "
        "something different.",
        "An algorithm with the same name already exists!\nDo you want to replace the existing algorithm with this "
        "one?\nNotice that all existing sessions based on this algorithm\nwill be affected, and the debriefings "
        "will be invalid.\nYou can not undo this operation.",
        "Algorithm was changed! Save the changes?\nNotice that all existing sessions based on this "
        "algorithm\nwill be affected, and the debriefings will be invalid.\nYou can not undo this operation.",
        "Algorithm was changed! Save the changes?\nNotice that all existing sessions based on this "
        "algorithm\nwill be affected, and the debriefings will be invalid.\nYou can not undo this operation.",
        "An algorithm has to have a name.\nPlease fill in a name before you save.",
        "Are you sure you want to remove this algorithm\nand all related sessions and scenarios?\nYou can not "
        "undo this operation.",
        "Are you sure you want to remove this algorithm\nand all related sessions and scenarios?\nYou can not "
        "undo this operation.",
    };
    return recordmessages::translatedText(TEXTS, kind);
}

void AlgorithmDialog::notifyChanged() { TablePool::refresh(TableKind::Algorithm); }

void AlgorithmDialog::fillQuickFind() { fillQuickFindFrom(table_); }

// A command that stores the entry or asks about it may come while the focus
// is still in a number field, which has not been checked yet.
void AlgorithmDialog::applyFieldRules() { checkRanges(); }

void AlgorithmDialog::checkRanges()
{
    if (validating_)
        return;
    validating_ = true;
    const AlgorithmRecord typed = readRecord();
    const AlgorithmRecord record = AlgorithmRules::keptInRange(typed);
    if (!(record == typed)) {
        platform::messageBeep();
        showRecord(record);
    } else {
        showEmptiedFields(record);
    }
    validating_ = false;
    updateButtons();
}

// An emptied field reads as 0, which lies in the range of several fields:
// it shows the 0 that is stored rather than stay blank. Nothing was corrected,
// so nothing beeps.
void AlgorithmDialog::showEmptiedFields(const AlgorithmRecord& record)
{
    const auto emptied = [this](int id) {
        const QWidget* field = getDlgItem(id);
        return field && !numberIn(kova::windowText(field));
    };
    if (emptied(INITIAL_VENTILATIONS))
        showNumber(INITIAL_VENTILATIONS, record.initVent);
    for (const NumberField& field : NUMBER_FIELDS) {
        const double value = record.*field.value;
        if (emptied(field.id))
            showNumber(field.id, field.share && !percent_ ? ratioOfShare(value) : value);
    }
}

// Saved from a field that was emptied and never left.
bool AlgorithmDialog::afterStore()
{
    showEmptiedFields(currentRecord());
    return true;
}

void AlgorithmDialog::onRecommendedShareChanged()
{
    updateButtons();
    if (!percent_)
        return;
    const double share = readNumber(RECOMMENDED_SHARE);
    if (share < 0 || share > 100) {
        showNumber(RECOMMENDED_SHARE, std::clamp(share, 0.0, 100.0));
        return; // the change of the field comes back here
    }
    kova::setWindowTextIfChanged(getDlgItem(RELAXATION_SHARE), formatNumber(100 - share));
}
