#include "propertyPage/PropertyPage4.h"

#include "Database/AlgorithmTable.h"
#include "Database/record-controls/ComboBoxList.h"
#include "Database/Database.h"
#include "Rodezir/ComboUtil.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/ControlNotifier.h"
#include "Rodezir/gstringUtil.h"
#include "config/LangStruct.h"
#include "config/PropertyModel.h"
#include "controls/IconImageList.h"
#include "controls/RoundButton.h"
#include "propertyPage/ConfigSeams.h"
#include "propertyPage/IconDescription.h"

#include <QComboBox>
#include <QDir>

#include <algorithm>

namespace {

constexpr int ALGORITHM_COMBOS[] = {1080, 1081};
constexpr int LANGUAGE_COMBOS[NUMBER_OF_LANGS] = {1395, 1396, 1397};
constexpr int ICON_COMBOS[NUMBER_OF_ICONS] = {1384, 1390, 1391, 1392, 1393, 1394};
constexpr int DETAILS_1 = 1084;
constexpr int DETAILS_2 = 1085;
constexpr int SEARCH = 1101;
constexpr int EDIT_LEGENDS = 1404;
constexpr int ENABLE_LEGENDS = 1405;
constexpr int REGISTER_EVENTS = 1389;

// Keeps the list ordered by text, the way a sorted combo box does.
void addSorted(QComboBox* box, const QString& text, int data)
{
    int at = 0;
    while (at < box->count() && QString::compare(box->itemText(at), text, Qt::CaseInsensitive) <= 0)
        ++at;
    box->insertItem(at, text, data);
}

} // namespace

PropertyPage4::PropertyPage4() : legends_(NUMBER_OF_ICONS) {}

PropertyPage4::~PropertyPage4() = default;

QComboBox* PropertyPage4::combo(int id) const
{
    auto* box = qobject_cast<QComboBox*>(item(id));
    KOVA_ASSERT(box != nullptr);
    return box;
}

std::vector<std::string> PropertyPage4::languageCandidates(const std::string& folder)
{
    std::vector<std::string> codes{"en"};
    const QStringList files = QDir(QString::fromStdString(folder)).entryList({"*.mo"}, QDir::Files);
    for (const QString& file : files) {
        const std::string name = file.toStdString();
        const auto dot = name.find('.');
        const int i = dot == std::string::npos ? -1 : static_cast<int>(dot);
        KOVA_ASSERT(i != -1);
        codes.push_back(i == -1 ? name : name.substr(0, dot));
    }
    std::sort(codes.begin(), codes.end());
    return codes;
}

void PropertyPage4::onInitPage()
{
    for (int id : {DETAILS_1, DETAILS_2, SEARCH, EDIT_LEGENDS})
        kova::RoundButton::attach(window(), id);
    fillAlgorithmCombos();
    fillLanguageCombos();
    icons_ = std::make_unique<kova::IconImageList>(0);
    fillIconCombos();

    kova::ControlNotifier& notifier = window()->notifier();
    notifier.on(DETAILS_1, kova::Notification::Clicked, [this] { showAlgorithmDetails(ALGORITHM_COMBOS[0]); });
    notifier.on(DETAILS_2, kova::Notification::Clicked, [this] { showAlgorithmDetails(ALGORITHM_COMBOS[1]); });
    notifier.on(SEARCH, kova::Notification::Clicked, [this] { lookForControllers(); });
    notifier.on(EDIT_LEGENDS, kova::Notification::Clicked, [this] { editLegends(); });
    notifier.on(ENABLE_LEGENDS, kova::Notification::Clicked,
                [this] { enableItem(EDIT_LEGENDS, isChecked(ENABLE_LEGENDS)); });
}

void PropertyPage4::fillAlgorithmCombos()
{
    if (!window())
        return;
    AlgorithmTable table(theDatabase);
    table.open("");
    for (int id : ALGORITHM_COMBOS)
        if (QComboBox* box = combo(id)) {
            ComboBoxList list(*box);
            table.fillComboBox(list, "Name", "");
        }
}

void PropertyPage4::fillLanguageCombos()
{
    if (!window())
        return;
    for (int id : LANGUAGE_COMBOS)
        if (QComboBox* box = combo(id))
            box->clear();
    for (const std::string& code : languageCandidates(QDir::currentPath().toStdString())) {
        const int index = LangStruct::indexOf(code);
        if (index < 0)
            continue;
        const QString name = QString::fromStdWString(toWide(toNarrow(LangStruct::getName(index))));
        for (int id : LANGUAGE_COMBOS)
            if (QComboBox* box = combo(id))
                addSorted(box, name, index);
    }
    // A new list has no choice until the record's language is selected.
    for (int id : LANGUAGE_COMBOS)
        if (QComboBox* box = combo(id))
            box->setCurrentIndex(-1);
}

void PropertyPage4::fillIconCombos()
{
    for (int id : ICON_COMBOS) {
        QComboBox* box = combo(id);
        if (!box)
            continue;
        box->clear();
        box->setIconSize(QSize(icons_->imageWidth(), icons_->imageHeight()));
        for (int i = 0; i < ICON_ITEMS; ++i)
            box->addItem(i < icons_->count() ? QIcon(icons_->pixmap(i)) : QIcon(), QString(), i);
        box->setCurrentIndex(-1);
    }
}

const std::vector<PageField>& PropertyPage4::fields() const
{
    static const std::vector<PageField> table{
        PageField::comboText(ALGORITHM_COMBOS[0], &PropertyModel::algorithm1),
        PageField::comboText(ALGORITHM_COMBOS[1], &PropertyModel::algorithm2),
        PageField::check(ENABLE_LEGENDS, &PropertyModel::enableLegends),
        PageField::languageCombo(LANGUAGE_COMBOS[0], 0),
        PageField::languageCombo(LANGUAGE_COMBOS[1], 1),
        PageField::languageCombo(LANGUAGE_COMBOS[2], 2),
        PageField::iconCombo(ICON_COMBOS[0], 0),
        PageField::iconCombo(ICON_COMBOS[1], 1),
        PageField::iconCombo(ICON_COMBOS[2], 2),
        PageField::iconCombo(ICON_COMBOS[3], 3),
        PageField::iconCombo(ICON_COMBOS[4], 4),
        PageField::iconCombo(ICON_COMBOS[5], 5),
        PageField::check(REGISTER_EVENTS, &PropertyModel::registerEvents),
    };
    return table;
}

// The legends are edited in their own dialog, so the page keeps them until it is stored.
// A record fetched from a controller may name an algorithm the lists did not
// hold yet: they are read again, or storing the page would lose the name.
void PropertyPage4::onLoaded(const PropertyModel& model)
{
    fillAlgorithmCombos();
    for (int i = 0; i < 2; ++i)
        if (QComboBox* box = combo(ALGORITHM_COMBOS[i]))
            kova::ComboUtil::selectString(
                box, QString::fromStdWString(toWide(i == 0 ? model.getAlgorithm1() : model.getAlgorithm2())));
    enableItem(EDIT_LEGENDS, model.enableLegends);
    for (int i = 0; i < NUMBER_OF_ICONS; ++i)
        legends_[static_cast<std::size_t>(i)] = model.getIconLegend(i);
}

void PropertyPage4::onStored(PropertyModel& model)
{
    for (int i = 0; i < NUMBER_OF_ICONS; ++i)
        model.setIconLegend(i, legends_[static_cast<std::size_t>(i)]);
}

// The instructor may add, rename or delete algorithms in the editor, so both
// lists are read again before the editor's record is chosen.
void PropertyPage4::showAlgorithmDetails(int comboId)
{
    QComboBox* box = combo(comboId);
    if (!box)
        return;
    const std::string name = toNarrow(kova::ComboUtil::getText(box, false).toStdWString());
    auto editor = configseams::makeAlgorithmEditor(name, false);
    editor->doModal();
    fillAlgorithmCombos();
    const std::string key = editor->getCurrentKey();
    if (!key.empty())
        kova::ComboUtil::selectString(box, QString::fromStdWString(toWide(key)));
}

void PropertyPage4::lookForControllers()
{
    auto calibration = configseams::makeCalibrationWindow();
    calibration->setExpanded(true);
    calibration->runModal(window());
}

void PropertyPage4::editLegends()
{
    std::vector<int> numbers;
    for (int id : ICON_COMBOS) {
        QComboBox* box = combo(id);
        numbers.push_back(box ? box->currentIndex() : -1);
    }
    IconDescription dialog(numbers, legends_);
    if (dialog.runModal(window()))
        for (int i = 0; i < NUMBER_OF_ICONS; ++i)
            legends_[static_cast<std::size_t>(i)] = dialog.getDescription(i);
}
