// A dialog's combo box filled from a table column: sorted boxes keep their
// order, and the text chosen before is chosen again.

#include "RecordsFixture.h"
#include "ScenarioTestTable.h"

#include "Database/record-controls/ComboBoxList.h"
#include "Database/Database.h"

#include <QComboBox>

namespace {
QStringList itemsOf(const QComboBox& combo)
{
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items << combo.itemText(i);
    return items;
}
} // namespace

using ComboBoxFill = OpenRecordsFixture;

TEST_F(ComboBoxFill, sortedDropDownListGetsTheColumnInOrderAndKeepsItsChoice)
{
    ScenarioTestTable table(theDatabase);
    table.open("");
    for (const char* name : {"child", "Basic", "Advanced", "Ärzte"})
        table.store({name, 60, "", false, 1});

    QComboBox combo;
    combo.setEditable(false);
    combo.setInsertPolicy(QComboBox::InsertAlphabetically);
    combo.addItems({"Basic", "Gone"});
    combo.setCurrentIndex(0);
    ComboBoxList list(combo);
    table.fillComboBox(list, "name", "");
    EXPECT_EQ(itemsOf(combo), (QStringList{"Advanced", "Basic", "child", "Ärzte"}));
    EXPECT_EQ(combo.currentText(), "Basic");

    combo.setCurrentIndex(3);
    table.fillComboBox(list, "name", "\"Name\" <> 'Ärzte'");
    EXPECT_EQ(itemsOf(combo), (QStringList{"Advanced", "Basic", "child"}));
    EXPECT_EQ(combo.currentIndex(), -1); // the chosen name is no longer listed
}

TEST_F(ComboBoxFill, unsortedEditableBoxKeepsTheRowOrderAndItsTypedText)
{
    ScenarioTestTable table(theDatabase);
    table.open("");
    for (const char* name : {"Zulu", "Alpha"})
        table.store({name, 60, "", false, 1});

    QComboBox combo;
    combo.setEditable(true);
    combo.setEditText("Typed by hand");
    ComboBoxList list(combo);
    table.fillComboBox(list, "name", "");
    EXPECT_EQ(itemsOf(combo), (QStringList{"Zulu", "Alpha"}));
    EXPECT_EQ(combo.currentText(), "Typed by hand");
}
