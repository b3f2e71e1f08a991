#include "Rodezir/ComboUtil.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/ControlNotifier.h"
#include "Rodezir/dialogs/DialogBuilder.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/DialogTemplate.h"
#include "Rodezir/dialogs/TemplateDialog.h"
#include "Rodezir/dialogs/WindowGeometry.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

namespace {

using namespace kova;

class DialogBuilderTest : public ::testing::Test {
protected:
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd{dir.path()};
    void TearDown() override { LogStream::destroy(); }
};

TEST_F(DialogBuilderTest, everyWindowClassBecomesItsWidget)
{
    struct Case {
        DialogControlTable control;
        const char* widgetClass;
    };
    const Case cases[] = {
        {pushButton(L"Push", 101, 0, 0, 40, 14), "QPushButton"},
        {control(L"Check", 102, L"BUTTON", BS_AUTOCHECKBOX, 0, 0, 40, 10), "QCheckBox"},
        {control(L"Three", 103, L"button", BS_AUTO3STATE, 0, 0, 40, 10), "QCheckBox"},
        {control(L"Radio", 104, L"BUTTON", BS_AUTORADIOBUTTON, 0, 0, 40, 10), "QRadioButton"},
        {groupBox(L"Group", 105, 0, 0, 40, 40), "QGroupBox"},
        {editText(106, 0, 0, 40, 12), "QLineEdit"},
        {control(L"", 107, L"EDIT", ES_MULTILINE, 0, 0, 40, 40), "QPlainTextEdit"},
        {label(L"Text", 108, 0, 0, 40, 8), "QLabel"},
        {control(L"", 109, L"STATIC", SS_ETCHEDHORZ, 0, 0, 40, 1), "QFrame"},
        {control(L"", 110, L"STATIC", SS_ICON, 0, 0, 20, 20), "QLabel"},
        {control(L"", 111, L"COMBOBOX", CBS_DROPDOWNLIST, 0, 0, 40, 80), "QComboBox"},
        {control(L"", 112, L"LISTBOX", 0, 0, 0, 40, 40), "QListWidget"},
        {control(L"", 113, L"SCROLLBAR", SBS_VERT, 0, 0, 10, 40), "QScrollBar"},
        {control(L"", 114, L"msctls_progress32", 0, 0, 0, 40, 10), "QProgressBar"},
        {control(L"", 115, L"SysListView32", LVS_REPORT, 0, 0, 40, 40), "QTreeWidget"},
        {control(L"", 116, L"SysTabControl32", 0, 0, 0, 40, 14), "QTabBar"},
        {control(L"", 117, L"NoSuchClass", 0, 0, 0, 40, 14), "QWidget"},
        {control(L"", 118, L"msctls_updown32", 0, 0, 0, 10, 14), "QSpinBox"},
    };
    DialogTable table;
    table.cx = 100;
    table.cy = 100;
    for (const auto& c : cases)
        table.controls.push_back(c.control);
    const DialogTemplate dialogTemplate(table);
    QWidget dialog;
    ASSERT_TRUE(DialogBuilder::build(&dialog, dialogTemplate));
    for (const auto& c : cases) {
        QWidget* widget = getDlgItem(&dialog, c.control.id);
        ASSERT_NE(widget, nullptr) << c.control.id;
        EXPECT_STREQ(widget->metaObject()->className(), c.widgetClass) << c.control.id;
        EXPECT_EQ(controlId(widget), c.control.id);
    }
    EXPECT_FALSE(qobject_cast<QComboBox*>(getDlgItem(&dialog, 111))->isEditable());
    EXPECT_TRUE(qobject_cast<QCheckBox*>(getDlgItem(&dialog, 103))->isTristate());
    EXPECT_EQ(qobject_cast<QScrollBar*>(getDlgItem(&dialog, 113))->orientation(), Qt::Vertical);
    // An up-down steps its position and shows none: its buddy or list does.
    auto* upDown = qobject_cast<QSpinBox*>(getDlgItem(&dialog, 118));
    upDown->setRange(0, 10);
    upDown->stepBy(3);
    EXPECT_EQ(upDown->value(), 3);
    EXPECT_TRUE(upDown->text().isEmpty());
    upDown->stepBy(20);
    EXPECT_EQ(upDown->value(), 10);
    LogStream::destroy();
    EXPECT_NE(kovatest::readFile(dir.path() / "errors.txt").find("unknown window class NoSuchClass"), std::string::npos);
}

TEST_F(DialogBuilderTest, controlsSitAtTheirPixelRectanglesWithTheirState)
{
    DialogTable table;
    table.caption = L"Persons";
    table.fontFace = L"MS Sans Serif";
    table.pointSize = 8;
    table.cx = 200;
    table.cy = 100;
    table.controls = {label(L"Name:", 10, 7, 9, 40, 8),
                      editText(2, 50, 7, 100, 12, ES_AUTOHSCROLL | WS_TABSTOP | WS_DISABLED),
                      pushButton(L"Hidden", 3, 7, 30, 50, 14),
                      defPushButton(L"OK", IDOK, 143, 79, 50, 14)};
    table.controls[2].style &= ~WS_VISIBLE;
    const DialogTemplate dialogTemplate(table);
    QWidget dialog;
    ASSERT_TRUE(DialogBuilder::build(&dialog, dialogTemplate));
    dialog.show();

    const SIZE base = dialogTemplate.getBaseUnits();
    EXPECT_EQ(dialog.size(), QSize(mulDiv(200, base.cx, 4), mulDiv(100, base.cy, 8)));
    EXPECT_EQ(dialog.windowTitle(), "Persons");
    EXPECT_EQ(QFontInfo(dialog.font()).family(), "Liberation Sans");
    EXPECT_EQ(getWindowRectInParent(getDlgItem(&dialog, 2)), dialogTemplate.toPixels(50, 7, 100, 12));
    EXPECT_EQ(windowText(getDlgItem(&dialog, 10)), "Name:");
    EXPECT_FALSE(getDlgItem(&dialog, 2)->isEnabled());
    EXPECT_FALSE(getDlgItem(&dialog, 3)->isVisible());
    EXPECT_TRUE(getDlgItem(&dialog, IDOK)->isVisible());
    auto* ok = qobject_cast<QPushButton*>(getDlgItem(&dialog, IDOK));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(getDlgItem(&dialog, 2)->nextInFocusChain(), getDlgItem(&dialog, 3));
}

TEST_F(DialogBuilderTest, radioButtonsAreExclusiveWithinTheirGroupOnly)
{
    DialogTable table;
    table.cx = table.cy = 100;
    const auto radio = [](int id, std::uint32_t extra) {
        return control(L"r", id, L"BUTTON", BS_AUTORADIOBUTTON | extra, 0, id * 10, 40, 10);
    };
    table.controls = {radio(1, WS_GROUP), radio(2, 0), radio(3, WS_GROUP), radio(4, 0)};
    QWidget dialog;
    ASSERT_TRUE(DialogBuilder::build(&dialog, DialogTemplate(table)));
    auto button = [&](int id) { return qobject_cast<QRadioButton*>(getDlgItem(&dialog, id)); };
    button(1)->click();
    button(3)->click();
    button(2)->click();
    EXPECT_FALSE(button(1)->isChecked());
    EXPECT_TRUE(button(2)->isChecked());
    EXPECT_TRUE(button(3)->isChecked());
}

TEST_F(DialogBuilderTest, pictureControlsShowTheirResources)
{
    DialogTable table;
    table.cx = table.cy = 100;
    table.controls = {control(L"", 1, L"STATIC", SS_BITMAP, 0, 0, 20, 20), control(L"#140", 2, L"STATIC", SS_BITMAP, 30, 0, 20, 20),
                      control(L"#141", 3, L"STATIC", SS_ICON, 60, 0, 20, 20)};
    table.controls[0].text = TemplateName::number(140);
    QWidget dialog;
    ASSERT_TRUE(DialogBuilder::build(&dialog, DialogTemplate(table)));
    for (int id : {1, 2}) {
        const QPixmap picture = qobject_cast<QLabel*>(getDlgItem(&dialog, id))->pixmap();
        EXPECT_EQ(picture.size(), QSize(16, 12)) << id;
    }
    EXPECT_TRUE(qobject_cast<QLabel*>(getDlgItem(&dialog, 3))->pixmap().isNull());
}

TEST_F(DialogBuilderTest, registeredClassesAndMalformedTemplates)
{
    DialogBuilder::registerWindowClass(L"KovaGauge", [](QWidget* parent, const DialogControlTable&) {
        auto* widget = new QProgressBar(parent);
        widget->setObjectName("gauge");
        return widget;
    });
    EXPECT_TRUE(DialogBuilder::isRegistered(L"KOVAGAUGE"));
    DialogTable table;
    table.cx = table.cy = 50;
    table.controls = {control(L"", 7, L"KovaGauge", 0, 0, 0, 40, 10)};
    QWidget dialog;
    ASSERT_TRUE(DialogBuilder::build(&dialog, DialogTemplate(table)));
    EXPECT_NE(dialog.findChild<QProgressBar*>(), nullptr);

    QWidget other;
    EXPECT_FALSE(DialogBuilder::build(&other, DialogTemplate()));
    EXPECT_TRUE(other.findChildren<QWidget*>().isEmpty());
}

TEST_F(DialogBuilderTest, notificationsReachTheirHandlersById)
{
    DialogTable table;
    table.cx = table.cy = 200;
    table.controls = {pushButton(L"Go", 1, 0, 0, 40, 14),
                      editText(2, 0, 20, 40, 12),
                      control(L"", 3, L"COMBOBOX", CBS_DROPDOWNLIST, 0, 40, 40, 60),
                      control(L"", 4, L"LISTBOX", 0, 0, 60, 40, 40),
                      control(L"", 5, L"SysListView32", LVS_REPORT, 0, 110, 40, 40),
                      control(L"", 6, L"SysTabControl32", 0, 50, 0, 40, 14),
                      control(L"", 7, L"Custom", 0, 50, 20, 40, 14)};
    QWidget dialog;
    ASSERT_TRUE(DialogBuilder::build(&dialog, DialogTemplate(table)));
    ControlNotifier notifier(&dialog);
    std::vector<std::pair<int, Notification>> seen;
    notifier.onAny([&](int id, Notification n) { seen.emplace_back(id, n); });
    int clicks = 0;
    notifier.on(1, Notification::Clicked, [&] { ++clicks; });

    qobject_cast<QPushButton*>(getDlgItem(&dialog, 1))->click();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(seen.empty());

    struct Step {
        int id;
        std::function<void()> action;
        Notification expected;
    };
    auto* combo = qobject_cast<QComboBox*>(getDlgItem(&dialog, 3));
    combo->addItems({"a", "b"});
    auto* list = qobject_cast<QListWidget*>(getDlgItem(&dialog, 4));
    list->addItems({"a", "b"});
    auto* view = qobject_cast<QTreeWidget*>(getDlgItem(&dialog, 5));
    auto* item = new QTreeWidgetItem(view, QStringList{"row"});
    auto* tabs = qobject_cast<QTabBar*>(getDlgItem(&dialog, 6));
    tabs->addTab("one");
    tabs->addTab("two");
    const Step steps[] = {
        {2, [&] { qobject_cast<QLineEdit*>(getDlgItem(&dialog, 2))->setText("x"); }, Notification::EditChanged},
        {3, [&] { emit combo->activated(1); }, Notification::SelectionChanged},
        {4, [&] { list->setCurrentRow(1); }, Notification::SelectionChanged},
        {5, [&] { view->setCurrentItem(item); }, Notification::ListItemChanged},
        {6, [&] { tabs->setCurrentIndex(1); }, Notification::SelectionChanged},
        {2, [&] {
             QFocusEvent out(QEvent::FocusOut);
             QApplication::sendEvent(getDlgItem(&dialog, 2), &out);
         }, Notification::FocusLost},
        {1, [&] {
             QMouseEvent press(QEvent::MouseButtonDblClick, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                               Qt::NoModifier);
             QApplication::sendEvent(getDlgItem(&dialog, 1), &press);
         }, Notification::DoubleClicked},
        {7, [&] { EXPECT_TRUE(ControlNotifier::send(getDlgItem(&dialog, 7), Notification::ListItemChanged)); },
         Notification::ListItemChanged},
    };
    for (const auto& step : steps) {
        seen.clear();
        step.action();
        EXPECT_TRUE(std::find(seen.begin(), seen.end(), std::make_pair(step.id, step.expected)) != seen.end())
            << "control " << step.id << " notification " << static_cast<int>(step.expected);
    }
    // Setting a combo box's selection in code is not the user's choice.
    seen.clear();
    combo->setCurrentIndex(0);
    EXPECT_TRUE(seen.empty());
}

TEST_F(DialogBuilderTest, templateDialogsRunTheirButtonsAndKeepTheirFrame)
{
    DialogTable table;
    table.caption = L"Fixed";
    table.cx = 120;
    table.cy = 60;
    table.controls = {control(L"Instructor", 5, L"BUTTON", BS_AUTOCHECKBOX, 7, 7, 60, 10),
                      editText(6, 7, 20, 60, 12),
                      defPushButton(L"OK", IDOK, 7, 40, 50, 14),
                      pushButton(L"Cancel", IDCANCEL, 63, 40, 50, 14)};
    TemplateDialog dialog{DialogTemplate(table)};
    ASSERT_TRUE(dialog.create());
    EXPECT_TRUE(dialog.create());
    // Without WS_THICKFRAME the user cannot resize it.
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());

    dialog.setDlgItemText(6, "Ane");
    EXPECT_EQ(dialog.getDlgItemText(6), "Ane");
    EXPECT_EQ(dialog.getDlgItemText(99), "");
    dialog.checkDlgButton(5, true);
    EXPECT_TRUE(dialog.isDlgButtonChecked(5));
    EXPECT_FALSE(dialog.isDlgButtonChecked(6));

    dialog.show();
    qobject_cast<QPushButton*>(dialog.getDlgItem(IDCANCEL))->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());

    // A child template becomes a page inside its parent, and the parent's own
    // controls are found before the page's controls of the same id.
    DialogTable page = table;
    page.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
    QWidget parent;
    auto* ownOk = new QPushButton(&parent);
    TemplateDialog pageDialog(DialogTemplate(page), &parent);
    ASSERT_TRUE(pageDialog.create());
    EXPECT_FALSE(pageDialog.isWindow());
    setControlId(ownOk, IDOK);
    EXPECT_EQ(getDlgItem(&parent, IDOK), ownOk);

    EXPECT_EQ(TemplateDialog(DialogTemplate()).doModal(), -1);
}

TEST_F(DialogBuilderTest, aDialogDestroyedWhileItShowsRunsNoHandlerOnTheWay)
{
    DialogTable table;
    table.cx = 120;
    table.cy = 60;
    table.controls = {editText(6, 7, 7, 60, 12), editText(7, 7, 24, 60, 12)};
    // A handler of the derived dialog is only safe while that dialog lives.
    struct Derived : TemplateDialog {
        Derived(const DialogTemplate& dialogTemplate, bool& ended) : TemplateDialog(dialogTemplate), ended_(ended) {}
        ~Derived() override { ended_ = true; }
        bool& ended_;
    };
    bool ended = false;
    int lateCalls = 0;
    int calls = 0;
    {
        Derived dialog(DialogTemplate(table), ended);
        ASSERT_TRUE(dialog.create());
        dialog.notifier().on(6, Notification::FocusLost, [&] { ++(ended ? lateCalls : calls); });
        dialog.show();
        dialog.activateWindow();
        QApplication::setActiveWindow(&dialog);
        dialog.getDlgItem(6)->setFocus();
        QApplication::processEvents();
        dialog.getDlgItem(7)->setFocus();
        dialog.getDlgItem(6)->setFocus();
    }
    EXPECT_EQ(calls, 1) << "the handler runs while the dialog lives";
    EXPECT_EQ(lateCalls, 0);
}

// The dialog manager's box: what the user types after a pick, or into a box
// whose item is still current, is what the box holds; nothing but the edit is
// reported, and text set by the code keeps the selection.
TEST_F(DialogBuilderTest, anEditableBoxDropsItsSelectionAsSoonAsTheUserTypes)
{
    DialogTable table;
    table.cx = table.cy = 200;
    table.controls = {control(L"", 1, L"COMBOBOX", CBS_DROPDOWN | WS_TABSTOP, 0, 0, 60, 80),
                      control(L"", 2, L"COMBOBOX", CBS_DROPDOWNLIST | WS_TABSTOP, 0, 20, 60, 80)};
    TemplateDialog dialog{DialogTemplate(table)};
    ASSERT_TRUE(dialog.create());
    std::vector<std::pair<int, Notification>> seen;
    dialog.notifier().onAny([&](int id, Notification n) { seen.emplace_back(id, n); });
    auto* box = qobject_cast<QComboBox*>(dialog.getDlgItem(1));
    box->addItems({"00:30", "01:00", "No limit"});
    QSignalSpy moves(box, &QComboBox::currentIndexChanged);
    QLineEdit* edit = box->lineEdit();

    struct Case {
        const char* what;
        int picked;
        std::function<void()> typing;
        QString shown;
    };
    const Case cases[] = {
        {"a new text over the picked one", 1, [&] {
             edit->selectAll();
             QTest::keyClicks(edit, "00:45");
         }, "00:45"},
        {"the text of another item", 2, [&] {
             edit->selectAll();
             QTest::keyClicks(edit, "01:00");
         }, "01:00"},
        // The typing goes on where the user put the cursor.
        {"a change in the middle", 1, [&] {
             edit->setCursorPosition(2);
             QTest::keyClick(edit, Qt::Key_Backspace);
             QTest::keyClicks(edit, "3");
         }, "03:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        box->setCurrentIndex(c.picked);
        moves.clear();
        seen.clear();
        c.typing();
        EXPECT_EQ(box->currentIndex(), -1);
        EXPECT_EQ(box->currentText(), c.shown);
        EXPECT_EQ(ComboUtil::getText(box, false), c.shown);
        EXPECT_TRUE(moves.isEmpty()) << "dropping the selection is not reported";
        EXPECT_FALSE(seen.empty());
        for (const auto& [id, notification] : seen)
            EXPECT_EQ(notification, Notification::EditChanged) << id;
    }

    // Text set by the code, as a window text, leaves the selection alone.
    box->setCurrentIndex(2);
    dialog.setDlgItemText(1, "02:00");
    EXPECT_EQ(box->currentIndex(), 2);
    EXPECT_EQ(ComboUtil::getText(box, false), "No limit");

    auto* list = qobject_cast<QComboBox*>(dialog.getDlgItem(2));
    EXPECT_EQ(list->lineEdit(), nullptr);
}

TEST_F(DialogBuilderTest, tabMovesOnFromAMultiLineEditWhereCtrlTabTypesATab)
{
    DialogTable table;
    table.caption = L"Person";
    table.cx = table.cy = 200;
    table.controls = {editText(1, 0, 0, 60, 12, WS_TABSTOP | WS_BORDER),
                      editText(2, 0, 20, 60, 36, ES_MULTILINE | 0x1000 /* ES_WANTRETURN */ | WS_TABSTOP | WS_BORDER),
                      editText(3, 0, 60, 60, 12, WS_TABSTOP | WS_BORDER),
                      editText(4, 0, 80, 60, 36, ES_MULTILINE | ES_READONLY | WS_TABSTOP | WS_BORDER)};
    TemplateDialog dialog{DialogTemplate(table)};
    ASSERT_TRUE(dialog.create());
    dialog.show();
    dialog.activateWindow();
    QApplication::setActiveWindow(&dialog);
    auto* address = qobject_cast<QPlainTextEdit*>(dialog.getDlgItem(2));
    ASSERT_NE(address, nullptr);
    const auto typeAt = [](QWidget* field, const QString& typed) {
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key_Tab);
    };

    dialog.getDlgItem(1)->setFocus();
    typeAt(dialog.getDlgItem(1), "Ann");
    ASSERT_EQ(QApplication::focusWidget(), address);
    typeAt(address, "Main St 1");
    EXPECT_EQ(QApplication::focusWidget(), dialog.getDlgItem(3));
    EXPECT_EQ(address->toPlainText(), "Main St 1");

    QTest::keyClick(dialog.getDlgItem(3), Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), address) << "Shift+Tab comes back";
    address->moveCursor(QTextCursor::End);
    QTest::keyClick(address, Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClicks(address, "x");
    EXPECT_EQ(address->toPlainText(), "Main St 1\tx");
    EXPECT_EQ(QApplication::focusWidget(), address) << "Ctrl+Tab stays";
    QTest::keyClick(address, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), dialog.getDlgItem(1));

    // A read-only one moves on too, and takes no tab.
    auto* shown = qobject_cast<QPlainTextEdit*>(dialog.getDlgItem(4));
    shown->setFocus();
    QTest::keyClick(shown, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(shown->toPlainText(), "");
    QTest::keyClick(shown, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dialog.getDlgItem(1));
}

} // namespace

