#include "Database/editors/PersonDialog.h"

#include "Database/Database.h"
#include "Database/TablePool.h"
#include "Rodezir/WindowTextUtil.h"
#include "Rodezir/dialogs/DialogTranslation.h"
#include "gettext/Gettext.h"

#include <iterator>
#include <utility>

namespace {

constexpr int NAME = recordcontrols::NAME;
constexpr int ADDRESS = 1119;
constexpr int PHONE = 1120;
constexpr int NOTES = 1121;
constexpr int DEGREE = 1122;
constexpr int CPR_COURSES = 1124;
constexpr int RESUSCITATIONS = 1125;
constexpr int INSTRUCTOR = 1028;

// Each text field with its record field and text limit, in the order they are shown and compared.
struct TextField {
    int id;
    std::string PersonRecord::*value;
    int limit;
};
const TextField TEXT_FIELDS[] = {
    {ADDRESS, &PersonRecord::address, 250},       {PHONE, &PersonRecord::phone, 20},
    {DEGREE, &PersonRecord::degree, 80},          {NOTES, &PersonRecord::note, 250},
    {CPR_COURSES, &PersonRecord::cprCourses, 10}, {RESUSCITATIONS, &PersonRecord::resuscitations, 10},
};
constexpr int NAME_LIMIT = 80;

} // namespace

PersonDialog::PersonDialog(const std::string& initialName, bool instructorPreset, bool allowDelete, QWidget* parent)
    : RecordEditorDialog(TEMPLATE_ID, HELP_TOPIC, allowDelete, NOTES, parent),
      table_(theDatabase),
      initialName_(initialName),
      instructorPreset_(instructorPreset)
{
}

PersonDialog::~PersonDialog() = default;

std::string PersonDialog::text(int id) const { return kova::windowText(getDlgItem(id)).toStdString(); }

bool PersonDialog::onInitDialog()
{
    kova::translateDialog(this);
    bindSharedControls();
    kova::limitText(getDlgItem(NAME), NAME_LIMIT);
    for (const TextField& field : TEXT_FIELDS)
        kova::limitText(getDlgItem(field.id), field.limit);
    refreshButtonsOn({NAME, ADDRESS, PHONE, DEGREE, CPR_COURSES, RESUSCITATIONS, NOTES},
                     kova::Notification::EditChanged);
    refreshButtonsOn({INSTRUCTOR}, kova::Notification::Clicked);

    // Unlike the other editors, an empty name is looked up like any other: the
    // menu opens on a new, empty entry.
    PersonRecord initial;
    initial.name = initialName_;
    initial.instructor = instructorPreset_;
    start(table_, initial);
    return false;
}

void PersonDialog::showRecord(const PersonRecord& record)
{
    clearQuickFindSelection();
    kova::setWindowText(getDlgItem(NAME), QString::fromStdString(record.name));
    for (const TextField& field : TEXT_FIELDS)
        kova::setWindowText(getDlgItem(field.id), QString::fromStdString(record.*field.value));
    checkDlgButton(INSTRUCTOR, record.instructor);
    if (QWidget* name = getDlgItem(NAME))
        name->setFocus(Qt::OtherFocusReason);
}

PersonRecord PersonDialog::readRecord()
{
    PersonRecord record = currentRecord();
    record.name = trim(text(NAME));
    for (const TextField& field : TEXT_FIELDS)
        record.*field.value = text(field.id);
    record.instructor = isDlgButtonChecked(INSTRUCTOR);
    return record;
}

bool PersonDialog::isChanged()
{
    const PersonRecord& current = currentRecord();
    if (trim(text(NAME)) != current.name)
        return true;
    for (const TextField& field : TEXT_FIELDS)
        if (text(field.id) != current.*field.value)
            return true;
    return isDlgButtonChecked(INSTRUCTOR) != current.instructor;
}

void PersonDialog::enableButtons(unsigned mask) { enableSharedButtons(mask); }

std::wstring PersonDialog::message(int kind)
{
    static const char* const TEXTS[] = {
        "A person with the same name already exists!\nDo you want to replace the existing person with this "
        "one?\n\nIf you want to keep the new entry and remove the old one, please choose 'Yes'.\nIf you want to "
        "drop the new entry and keep the old one, choose 'No'.\nIf you want to have two different persons, please "
        "choose 'Cancel'\nand change the name of the new entry to something different.",
        "A person with the same name already exists!\nDo you want to replace the existing person with this one?\n",
        "Data was changed. Save the changes?",
        "",
        "A person has to have a name.",
        "Are you sure you want to remove this person\nand all related sessions and courses?\nYou can not undo this "
        "operation.",
        "Are you sure you want to remove this person\nand all related sessions and courses?\nYou can not undo this "
        "operation.",
    };
    return recordmessages::translatedText(TEXTS, kind);
}

void PersonDialog::notifyChanged() { TablePool::refresh(TableKind::Person); }

void PersonDialog::fillQuickFind() { fillQuickFindFrom(table_); }

// A new entry from an instructor's field starts as an instructor without
// counting as a change.
void PersonDialog::onNewButton()
{
    if (!onNew() || !instructorPreset_)
        return;
    PersonRecord record = currentRecord();
    record.instructor = true;
    setCurrentRecord(record);
    checkDlgButton(INSTRUCTOR, true);
    updateButtons();
}
