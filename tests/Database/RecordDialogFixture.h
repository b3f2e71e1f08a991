#pragma once
// The records fixture for the record editors' windows: their templates
// registered, beeps counted, and helpers that type into a dialog's controls,
// press its buttons and save a screenshot of it in the build folder.

#include "TablesFixture.h"

#include "Database/editors/RecordDialogTables.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/TemplateDialog.h"
#include "TempDir.h"
#include "controls/MaskedEdit.h"
#include "platform/Beep.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <functional>

#include <string>

class RecordDialogFixture : public TablesFixture {
protected:
    void SetUp() override
    {
        TablesFixture::SetUp();
        registerRecordDialogTables();
        previousBeep_ = platform::setBeepFunction([this] { ++beeps; });
    }
    void TearDown() override
    {
        platform::setBeepFunction(previousBeep_);
        TablesFixture::TearDown();
    }

    static QWidget* item(const kova::TemplateDialog& dialog, int id)
    {
        QWidget* control = dialog.getDlgItem(id);
        EXPECT_NE(control, nullptr) << "no control " << id;
        return control;
    }
    static QString text(const kova::TemplateDialog& dialog, int id) { return kova::windowText(item(dialog, id)); }
    static bool enabled(const kova::TemplateDialog& dialog, int id)
    {
        QWidget* control = item(dialog, id);
        return control && control->isEnabled();
    }
    // What a user types: masked edits take it into their positions, other
    // edits replace their text.
    static void type(kova::TemplateDialog& dialog, int id, const QString& typed)
    {
        QWidget* control = item(dialog, id);
        if (auto* masked = qobject_cast<kova::MaskedEdit*>(control))
            masked->SetInputText(typed, 0, false);
        else if (auto* line = qobject_cast<QLineEdit*>(control))
            line->setText(typed);
        else if (auto* lines = qobject_cast<QPlainTextEdit*>(control))
            lines->setPlainText(typed);
        else
            ADD_FAILURE() << "control " << id << " takes no text";
    }
    static void click(kova::TemplateDialog& dialog, int id)
    {
        auto* button = qobject_cast<QAbstractButton*>(item(dialog, id));
        ASSERT_NE(button, nullptr) << id;
        button->click();
    }
    // Chooses an entry of a combo box as the user does.
    static void choose(kova::TemplateDialog& dialog, int id, const QString& entry)
    {
        auto* box = qobject_cast<QComboBox*>(item(dialog, id));
        ASSERT_NE(box, nullptr) << id;
        const int index = box->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
    }
    // Shows the dialog as the active window, so the focus moves as it does for a user.
    static void showActive(kova::TemplateDialog& dialog)
    {
        ASSERT_TRUE(dialog.create());
        dialog.show();
        dialog.activateWindow();
        QApplication::setActiveWindow(&dialog);
        QApplication::processEvents();
    }
    // Runs `act` on the modal dialog that the next call opens, once it shows.
    static void whenModalOpens(std::function<void(QWidget* dialog)> act)
    {
        QTimer::singleShot(0, [act = std::move(act)] { act(QApplication::activeModalWidget()); });
    }
    static void saveScreenshot(QWidget& window, const std::string& name)
    {
        QApplication::processEvents();
        const auto path = kovatest::binaryDir() / (name + ".png");
        EXPECT_TRUE(window.grab().save(QString::fromStdString(path.string())));
    }

    int beeps = 0;

private:
    platform::BeepFunction previousBeep_;
};
