// One dialog the whole way: a table, its template bytes, the builder, the
// translation of its marked texts, its notifications and its layout on resize.
#include "Rodezir/dialogs/BoxLayout.h"
#include "Rodezir/dialogs/ControlGroup.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/DialogRegistry.h"
#include "Rodezir/dialogs/FrameLayout.h"
#include "Rodezir/dialogs/LayoutDialog.h"
#include "Rodezir/dialogs/LayoutSpacer.h"
#include "Rodezir/dialogs/WindowGeometry.h"
#include "gettext/Gettext.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <filesystem>

namespace {

using namespace kova;

constexpr int IDD_TRAINEE = 30100;
constexpr int IDC_PERSON_GROUP = 1000;
constexpr int IDC_FIRST_NAME = 1001;
constexpr int IDC_LAST_NAME = 1002;
constexpr int IDC_COURSE = 1003;
constexpr int IDC_INSTRUCTOR = 1004;
constexpr int IDC_SESSIONS = 1005;
constexpr int IDC_FIRST_LABEL = 1011;
constexpr int IDC_LAST_LABEL = 1012;
constexpr int IDC_COURSE_LABEL = 1013;
constexpr int IDC_SESSIONS_LABEL = 1015;
constexpr int IDC_SERIAL = 1016;

DialogTable traineeDialog()
{
    DialogTable table;
    table.id = IDD_TRAINEE;
    table.caption = L"\u00A4Trainee";
    table.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | DS_SETFONT;
    table.fontFace = L"MS Sans Serif";
    table.pointSize = 8;
    table.cx = 260;
    table.cy = 170;
    table.controls = {
        groupBox(L"\u00A4Person", IDC_PERSON_GROUP, 7, 4, 246, 62),
        label(L"\u00A4First name:", IDC_FIRST_LABEL, 15, 18, 50, 8),
        editText(IDC_FIRST_NAME, 70, 16, 175, 12),
        label(L"\u00A4Last name:", IDC_LAST_LABEL, 15, 34, 50, 8),
        editText(IDC_LAST_NAME, 70, 32, 175, 12),
        control(L"\u00A4Instructor", IDC_INSTRUCTOR, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 70, 49, 80, 10),
        label(L"\u00A4Course:", IDC_COURSE_LABEL, 7, 74, 50, 8),
        control(L"", IDC_COURSE, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 70, 72, 183, 80),
        label(L"\u00A4Sessions:", IDC_SESSIONS_LABEL, 7, 90, 50, 8),
        control(L"", IDC_SESSIONS, L"LISTBOX", WS_BORDER | WS_VSCROLL | WS_TABSTOP, 70, 90, 183, 52),
        label(L"No. 0815", IDC_SERIAL, 7, 153, 60, 8),
        defPushButton(L"\u00A4OK", IDOK, 95, 149, 50, 14),
        pushButton(L"\u00A4Cancel", IDCANCEL, 149, 149, 50, 14),
        pushButton(L"\u00A4Help", IDHELP, 203, 149, 50, 14),
    };
    return table;
}

// The dialog as its own code would write it: the person box and the course
// line keep their height, the session list takes the growth, and the buttons
// keep to the bottom right.
class TraineeDialog : public LayoutDialog {
public:
    TraineeDialog() : LayoutDialog(IDD_TRAINEE) {}
    int okClicks = 0;
    int edits = 0;

protected:
    bool onInitDialog() override
    {
        const bool result = LayoutDialog::onInitDialog();
        auto* sessions = qobject_cast<QListWidget*>(getDlgItem(IDC_SESSIONS));
        sessions->addItems({"2026-12-01  Basic life support", "2026-12-03  Refresher", "2026-12-08  Instructor course"});
        auto* course = qobject_cast<QComboBox*>(getDlgItem(IDC_COURSE));
        course->addItems({"Basic life support", "Refresher"});
        notifier().on(IDC_FIRST_NAME, Notification::EditChanged, [this] { ++edits; });

        auto fields = std::make_unique<ColumnLayout>();
        for (int row : {0, 1}) {
            auto line = std::make_unique<RowLayout>();
            line->add(0, ControlGroup::create(this, row == 0 ? IDC_FIRST_LABEL : IDC_LAST_LABEL));
            line->add(1, ControlGroup::create(this, row == 0 ? IDC_FIRST_NAME : IDC_LAST_NAME));
            fields->add(0, LayoutItemPtr(line.release()));
        }
        fields->add(0, ControlGroup::create(this, IDC_INSTRUCTOR));
        LayoutItemPtr person = FrameLayout::create(ControlGroup::create(this, IDC_PERSON_GROUP), LayoutItemPtr(fields.release()));

        auto courseRow = std::make_unique<RowLayout>();
        courseRow->add(0, ControlGroup::create(this, IDC_COURSE_LABEL));
        courseRow->add(1, ControlGroup::create(this, IDC_COURSE));
        auto sessionRow = std::make_unique<RowLayout>();
        sessionRow->add(0, ControlGroup::create(this, IDC_SESSIONS_LABEL));
        sessionRow->add(1, ControlGroup::create(this, IDC_SESSIONS));
        auto buttons = std::make_unique<RowLayout>();
        buttons->add(0, ControlGroup::create(this, IDC_SERIAL));
        buttons->add(1, LayoutSpacer::create(0, 0));
        buttons->add(0, ControlGroup::create(this, IDOK, IDCANCEL, IDHELP));

        auto page = std::make_unique<ColumnLayout>();
        page->add(0, person);
        page->add(0, LayoutItemPtr(courseRow.release()));
        page->add(1, LayoutItemPtr(sessionRow.release()));
        page->add(0, LayoutItemPtr(buttons.release()));
        setLayout(LayoutItemPtr(page.release()), false);
        return result;
    }
    void onOK() override
    {
        ++okClicks;
        LayoutDialog::onOK();
    }
};

class SampleDialogTest : public ::testing::Test {
protected:
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd{dir.path()};

    void SetUp() override
    {
        DialogRegistry::add(traineeDialog());
        ASSERT_TRUE(Gettext::instance().setCatalog(KOVA_DIALOGS_CATALOG));
    }
    void TearDown() override
    {
        Gettext::instance().setCatalog("");
        DialogRegistry::remove(IDD_TRAINEE);
    }
};

TEST_F(SampleDialogTest, tableToTranslatedResizableDialog)
{
    TraineeDialog dialog;
    ASSERT_TRUE(dialog.create());
    dialog.show();
    QApplication::processEvents();

    EXPECT_EQ(dialog.windowTitle(), "Kursist");
    EXPECT_EQ(windowText(dialog.getDlgItem(IDC_FIRST_LABEL)), "Fornavn:");
    EXPECT_EQ(windowText(dialog.getDlgItem(IDCANCEL)), "Annuller");
    EXPECT_EQ(windowText(dialog.getDlgItem(IDC_SERIAL)), "No. 0815");

    qobject_cast<QLineEdit*>(dialog.getDlgItem(IDC_FIRST_NAME))->setText("Ane");
    EXPECT_EQ(dialog.edits, 1);

    const RECT list = getWindowRectInParent(dialog.getDlgItem(IDC_SESSIONS));
    const RECT help = getWindowRectInParent(dialog.getDlgItem(IDHELP));
    const RECT group = getWindowRectInParent(dialog.getDlgItem(IDC_PERSON_GROUP));
    const RECT firstName = getWindowRectInParent(dialog.getDlgItem(IDC_FIRST_NAME));
    const QSize natural = dialog.size();
    EXPECT_EQ(dialog.minimumSize(), natural);

    dialog.resize(natural.width() + 120, natural.height() + 80);
    QApplication::processEvents();
    EXPECT_EQ(getWindowRectInParent(dialog.getDlgItem(IDC_SESSIONS)),
              (RECT{list.left, list.top, list.right + 120, list.bottom + 80}));
    EXPECT_EQ(getWindowRectInParent(dialog.getDlgItem(IDHELP)), help.offset(120, 80));
    EXPECT_EQ(getWindowRectInParent(dialog.getDlgItem(IDC_PERSON_GROUP)),
              (RECT{group.left, group.top, group.right + 120, group.bottom}));
    EXPECT_EQ(getWindowRectInParent(dialog.getDlgItem(IDC_FIRST_NAME)),
              (RECT{firstName.left, firstName.top, firstName.right + 120, firstName.bottom}));

    const std::filesystem::path shots = kovatest::binaryDir() / "screenshots";
    std::filesystem::create_directories(shots);
    ASSERT_TRUE(dialog.grab().save(QString::fromStdString((shots / "sample-dialog.png").string())));

    qobject_cast<QPushButton*>(dialog.getDlgItem(IDOK))->click();
    EXPECT_EQ(dialog.okClicks, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
