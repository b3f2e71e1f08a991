#include "Database/editors/ScenarioDialog.h"

#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Database/record-controls/DurationCombo.h"
#include "Database/TablePool.h"
#include "Database/record-controls/TrainingModeCombo.h"
#include "Database/editors/AlgorithmDialog.h"
#include "Database/editors/EditEventsDialog.h"
#include "Rodezir/WindowTextUtil.h"
#include "Rodezir/dialogs/DialogTranslation.h"
#include "gettext/Gettext.h"

#include <QMetaObject>

#include <iterator>

namespace {
constexpr int NAME = recordcontrols::NAME;
constexpr int NAME_LIMIT = 80;
} // namespace

ScenarioDialog::ScenarioDialog(const ScenarioRecord& initialRecord, bool allowDelete, QWidget* parent)
    : RecordEditorDialog(TEMPLATE_ID, HELP_TOPIC, allowDelete, REGISTER_EVENTS, parent),
      table_(theDatabase),
      initialRecord_(initialRecord)
{
}

ScenarioDialog::~ScenarioDialog() = default;

QComboBox* ScenarioDialog::box(int id) const { return qobject_cast<QComboBox*>(getDlgItem(id)); }

std::string ScenarioDialog::algorithmText() const
{
    const QComboBox* algorithms = box(ALGORITHM);
    return algorithms ? kova::ComboUtil::getText(algorithms, false).toStdString() : std::string();
}

bool ScenarioDialog::onInitDialog()
{
    kova::translateDialog(this);
    bindSharedControls();
    for (int id : {ALGORITHM_DETAILS, EDIT_EVENTS})
        kova::RoundButton::attach(this, id);
    kova::limitText(getDlgItem(NAME), NAME_LIMIT);
    TrainingMode::fillCombo(box(TRAINING_MODE));
    Duration::fillCombo(box(DURATION));

    kova::ControlNotifier& events = notifier();
    refreshButtonsOn({NAME}, kova::Notification::EditChanged);
    refreshButtonsOn({REGISTER_EVENTS}, kova::Notification::Clicked);
    refreshButtonsOn({ALGORITHM, TRAINING_MODE}, kova::Notification::SelectionChanged);
    events.on(DURATION, kova::Notification::SelectionChanged, [this] { onDurationChanged(); });
    events.on(DURATION, kova::Notification::EditChanged, [this] { onDurationChanged(); });
    events.on(ALGORITHM_DETAILS, kova::Notification::Clicked, [this] { onAlgorithmDetails(); });
    events.on(EDIT_EVENTS, kova::Notification::Clicked, [this] { onEditEvents(); });

    // Unlike the other editors, an empty name is looked up like any other:
    // the menu opens on a new entry with the default values.
    start(table_, initialRecord_);
    return false;
}

void ScenarioDialog::onDurationChanged()
{
    QMetaObject::invokeMethod(
        this, [this] { updateButtons(); }, Qt::QueuedConnection);
}

void ScenarioDialog::showRecord(const ScenarioRecord& record)
{
    clearQuickFindSelection();
    kova::setWindowTextIfChanged(getDlgItem(NAME), QString::fromStdString(record.name));
    if (QComboBox* algorithms = box(ALGORITHM)) {
        kova::ComboUtil::selectString(algorithms, QString::fromStdString(record.algorithm));
        if (record.algorithm.empty() && algorithms->count() > 0)
            algorithms->setCurrentIndex(0);
    }
    Duration::select(box(DURATION), record.duration);
    if (QComboBox* modes = box(TRAINING_MODE))
        modes->setCurrentIndex(record.trainingMode >= 0 && record.trainingMode < modes->count()
                                   ? static_cast<int>(record.trainingMode)
                                   : -1);
    checkDlgButton(REGISTER_EVENTS, record.registerEvents != 0);
    if (QWidget* name = getDlgItem(NAME))
        name->setFocus(Qt::OtherFocusReason);
}

ScenarioRecord ScenarioDialog::readRecord()
{
    ScenarioRecord record = currentRecord();
    record.name = trim(kova::windowText(getDlgItem(NAME)).toStdString());
    record.duration = Duration::getSelected(box(DURATION));
    record.algorithm = algorithmText();
    record.registerEvents = isDlgButtonChecked(REGISTER_EVENTS) ? 1 : 0;
    const QComboBox* modes = box(TRAINING_MODE);
    record.trainingMode = modes ? modes->currentIndex() : -1;
    return record;
}

bool ScenarioDialog::isChanged()
{
    const ScenarioRecord& current = currentRecord();
    const QComboBox* modes = box(TRAINING_MODE);
    return trim(kova::windowText(getDlgItem(NAME)).toStdString()) != current.name
        || algorithmText() != current.algorithm || Duration::getSelected(box(DURATION)) != current.duration
        || (modes ? modes->currentIndex() : -1) != current.trainingMode
        || isDlgButtonChecked(REGISTER_EVENTS) != (current.registerEvents != 0);
}

void ScenarioDialog::enableButtons(unsigned mask) { enableSharedButtons(mask); }

std::wstring ScenarioDialog::message(int kind)
{
    static const char* const TEXTS[] = {
        "A scenario with the same name already exists!\nDo you want to replace the existing scenario with this "
        "one?\n\nIf you want to keep the new scenario and remove the old one, please choose 'Yes'.\nIf you want to "
        "drop the new scenario and keep the old one, choose 'No'.\nIf you want to have two different scenarios, "
        "please choose 'Cancel'\nand change the name of the new scenario to something different.",
        "A scenario with the same name already exists!\nDo you want to replace the existing scenario with this "
        "one?\nYou can not undo this operation.",
        "Scenario was changed. Save the changes?",
        "",
        "A scenario has to have a name.",
        "Are you sure you want to remove this scenario\nand all related sessions?\nYou can not undo this operation.",
        "Are you sure you want to remove this scenario\nand all related sessions?\nYou can not undo this operation.",
    };
    return recordmessages::translatedText(TEXTS, kind);
}

void ScenarioDialog::notifyChanged() { TablePool::refresh(TableKind::Scenario); }

// Every refill of the quick find also reads the algorithms again.
void ScenarioDialog::fillQuickFind()
{
    fillQuickFindFrom(table_);
    if (QComboBox* algorithms = box(ALGORITHM)) {
        AlgorithmTable algorithmTable(theDatabase);
        algorithmTable.open("");
        ComboBoxList list(*algorithms);
        algorithmTable.fillComboBox(list, "name", "");
    }
}

void ScenarioDialog::onAlgorithmDetails()
{
    AlgorithmDialog details(algorithmText(), false, this);
    details.run();
    fillQuickFind();
    const std::string key = details.getCurrentKey();
    if (key.empty())
        return;
    kova::ComboUtil::selectString(box(ALGORITHM), QString::fromStdString(key));
    updateButtons();
}

// The events belong to a stored scenario: it is saved first. Whatever the
// event editor's end, the scenario now registers events.
void ScenarioDialog::onEditEvents()
{
    if (!save())
        return;
    EditEventsDialog events(currentRecord().name, this);
    events.doModal();
    checkDlgButton(REGISTER_EVENTS, true);
    updateButtons();
}
