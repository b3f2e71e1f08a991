// The report control: its data model, sorting, keys, the wheel, clicks,
// editing, owner data, tips, the notifications its parent gets, and a picture
// of a debriefing-like list with a bar cell and colours.

#include "controls/BarGaugeWnd.h"
#include "controls/reportctrl/CFlatHeaderCtrl.h"
#include "controls/reportctrl/CReportCtrl.h"
#include "controls/reportctrl/CReportTipCtrl.h"
#include "controls/reportctrl/CReportView.h"
#include "Rodezir/RegistryKey.h"
#include "Rodezir/dialogs/ControlNotifier.h"
#include "Rodezir/dialogs/DialogBuilder.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/DialogTable.h"
#include "Rodezir/dialogs/DialogTemplate.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include <cstdlib>
#include <map>
#include <vector>

namespace {

using namespace kova;

constexpr COLORREF BAR_COLOUR = 0xFFD0A0; // light blue
constexpr std::uint32_t DEBRIEFING_STYLE = RVS_SHOWEVENBKCOLOR | RVS_SHOWVGRID | WS_BORDER;

// A parent that records every notification and answers the codes it is told to.
struct Parent {
    QWidget window;
    CReportCtrl* list = nullptr;
    std::vector<ReportNotify> seen;
    std::map<int, long> answers;
    std::function<void(ReportNotify&)> onNotify;

    explicit Parent(std::uint32_t style, int columns = 3, int width = 600, int height = 300)
    {
        window.resize(width, height);
        list = new CReportCtrl(&window, style, 1001);
        list->setGeometry(0, 0, width, height);
        QObject::connect(list, &CReportCtrl::reportNotify, &window, [this](ReportNotify* record) {
            if (onNotify)
                onNotify(*record);
            seen.push_back(*record);
            const auto answer = answers.find(record->code);
            if (answer != answers.end())
                record->result = answer->second;
        });
        for (int i = 0; i < columns; ++i) {
            ReportSubItem column;
            column.caption = "Column " + std::to_string(i);
            column.width = 150;
            list->defineSubItem(i, column);
            list->activateSubItem(i);
        }
    }

    void addRows(const std::vector<std::string>& texts)
    {
        for (const std::string& text : texts) {
            ReportItem item;
            item.mask = RVIM_TEXT | RVIM_LPARAM;
            item.item = list->getItemCount();
            item.text = text;
            item.data = 100 + list->getItemCount();
            list->insertItem(item);
        }
    }

    std::vector<int> codes() const
    {
        std::vector<int> result;
        for (const ReportNotify& record : seen)
            result.push_back(record.code);
        return result;
    }

    std::vector<std::string> column(int subItem) const
    {
        std::vector<std::string> texts;
        for (int position = 0; position < list->getItemCount(); ++position)
            texts.push_back(list->getItemText(list->getItemAtPosition(position), subItem));
        return texts;
    }

    std::vector<int> selectedHandles() const
    {
        std::vector<int> handles;
        for (int h = list->getFirstSelectedItem(); h >= 0; h = list->getNextSelectedItem(h))
            handles.push_back(h);
        return handles;
    }
};

std::vector<std::string> numbered(int count)
{
    std::vector<std::string> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back("row " + std::to_string(i));
    return rows;
}

void sendMouse(QWidget* widget, QEvent::Type type, QPoint point, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, point, widget->mapToGlobal(point), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// ---- data model ----------------------------------------------------------------

TEST(ReportCtrlModel, insertingAtTheTopRenumbersTheHandles)
{
    Parent parent(0);
    parent.addRows({"a", "b", "c"});
    ReportItem item;
    item.mask = RVIM_TEXT;
    item.item = 0;
    item.text = "new";
    EXPECT_EQ(parent.list->insertItem(item), 0);

    EXPECT_EQ(parent.list->getItemText(0, 0), "new");
    EXPECT_EQ(parent.list->getPositionOfItem(0), 0);
    for (int old = 0; old < 3; ++old) {
        EXPECT_EQ(parent.list->getItemData(old + 1), 100 + old);
        EXPECT_EQ(parent.list->getPositionOfItem(old + 1), old + 1);
    }
    EXPECT_EQ(parent.list->getPositionOfItem(9), -2);
    EXPECT_EQ(parent.list->getPositionOfItem(-1), -1);
}

TEST(ReportCtrlModel, cellsAndItemFieldsReadBackWithTheirValidFlags)
{
    Parent parent(0);
    parent.addRows({"a|b"});
    ReportItem set;
    set.mask = RVIM_TEXTCOLOR | RVIM_CHECK | RVIM_BKCOLOR | RVIM_ROWHEIGHT | RVIM_STATE;
    set.item = 0;
    set.subItem = 1;
    set.textColor = 2;
    set.check = 1;
    set.bkColor = 3;
    set.rowHeight = 12;
    set.state = RVIS_BOLD | RVIS_SELECTED;
    ASSERT_TRUE(parent.list->setItem(set));

    ReportItem get;
    get.item = 0;
    get.subItem = 1;
    ASSERT_TRUE(parent.list->getItem(get));
    EXPECT_EQ(get.mask, unsigned(RVIM_TEXTCOLOR | RVIM_CHECK | RVIM_BKCOLOR | RVIM_ROWHEIGHT | RVIM_STATE | RVIM_LPARAM));
    EXPECT_EQ(get.textColor, 2);
    EXPECT_EQ(get.check, 1);
    EXPECT_EQ(get.rowHeight, 12);
    // Only selection operations select.
    EXPECT_EQ(get.state, unsigned(RVIS_BOLD));
    EXPECT_EQ(parent.list->getItemText(0, 0), "a|b");
    EXPECT_EQ(parent.list->getItemText(0, 2), "");
    EXPECT_FALSE(parent.list->setItemText(5, 0, "x"));
    EXPECT_FALSE(parent.list->setItemText(0, 7, "x"));
}

TEST(ReportCtrlModel, optionsOutsideTheirRangeAreRefused)
{
    Parent parent(0);
    struct Case {
        int option;
        QVariant value;
        bool accepted;
    };
    const Case cases[] = {
        {9, 1, false}, {0, 1, false}, {4, 3, false}, {4, -1, false}, {4, 0, true},
        {1, 4, true},  {6, 0, true},  {8, "0", false}, {8, "(", false}, {3, "Nothing here", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parent.list->setOption(c.option, c.value), c.accepted) << c.option << " " << c.value.toString().toStdString();
}

TEST(ReportCtrlModel, subItemsTakeTheDefaultWidthAndActivateOnce)
{
    Parent parent(0, 0);
    ReportSubItem column;
    column.width = -5;
    column.caption = "Event";
    column.format |= RVCF_EX_TOOLTIP;
    EXPECT_EQ(parent.list->defineSubItem(0, column), 0);
    EXPECT_EQ(parent.list->getSubItemWidth(0), 200);
    EXPECT_EQ(parent.list->activateSubItem(0), 0);
    EXPECT_EQ(parent.list->activateSubItem(0), -1);
    FlatHeaderItemInfo info;
    ASSERT_TRUE(parent.list->getHeaderCtrl().getItemInfo(0, info));
    EXPECT_EQ(info.tooltip, "Sort by: Event");
    EXPECT_EQ(info.flags, unsigned(FH_TOOLTIP));
    EXPECT_EQ(parent.list->getActiveSubItemCount(), 1);
    EXPECT_EQ(parent.list->getTotalWidth(), 200);

    // A subitem defined before an active one shifts its number and every row's cells.
    parent.addRows({"kept"});
    column.caption = "Front";
    column.format &= ~RVCF_EX_TOOLTIP;
    parent.list->defineSubItem(0, column);
    EXPECT_EQ(parent.list->getSubItemFromColumn(0), 1);
    EXPECT_EQ(parent.list->getItemText(0, 1), "kept");
    EXPECT_EQ(parent.list->getItemText(0, 0), "");
    EXPECT_EQ(parent.list->profileText(), "(2,1) 200 200 1");
}

TEST(ReportCtrlModel, barCellsAreHeldByTheControlAndFollowTheirSubItem)
{
    Parent parent(0);
    parent.addRows({"x"});
    auto gauge = std::make_shared<BarGaugeWnd>();
    ASSERT_TRUE(parent.list->setItemBar(0, 1, gauge));
    ReportSubItem column;
    parent.list->defineSubItem(0, column);
    EXPECT_EQ(parent.list->getItemBar(0, 1), nullptr);
    EXPECT_EQ(parent.list->getItemBar(0, 2), gauge);
    // The cell text is untouched by the bar.
    EXPECT_EQ(parent.list->getItemText(0, 2), "");
}

// ---- sorting -----------------------------------------------------------------------

TEST(ReportCtrlSort, comparesTextsAndCellsWithoutTextByTheirImages)
{
    Parent parent(0);
    parent.addRows({"b", "a", "", ""});
    parent.list->setItemImage(2, 0, 3);
    parent.list->setItemImage(3, 0, 5);
    EXPECT_GT(parent.list->compareItems(0, 0, 1), 0);
    EXPECT_EQ(parent.list->compareItems(0, 2, 3), -1);
    EXPECT_EQ(parent.list->compareItems(0, 3, 2), 1);
    EXPECT_EQ(parent.list->compareItems(0, 1, 1), 0);

    parent.list->setCompareFunction([](int, int a, int b) { return b - a; });
    EXPECT_LT(parent.list->compareItems(0, 3, 1), 0);
}

TEST(ReportCtrlSort, sortingMovesRowsAndKeepsTheFocusedItem)
{
    Parent parent(0);
    parent.addRows({"delta", "alpha", "charlie", "bravo", "echo"});
    parent.list->selectRange(2, 2, true, false, false); // "charlie"
    ASSERT_TRUE(parent.list->sortByColumn(0, true));
    EXPECT_EQ(parent.column(0), (std::vector<std::string>{"alpha", "bravo", "charlie", "delta", "echo"}));
    EXPECT_EQ(parent.list->getFocusedRow(), 2);
    bool ascending = true;
    EXPECT_EQ(parent.list->getHeaderCtrl().getSortColumn(&ascending), 0);

    ASSERT_TRUE(parent.list->sortByColumn(0, false));
    EXPECT_EQ(parent.column(0), (std::vector<std::string>{"echo", "delta", "charlie", "bravo", "alpha"}));
    EXPECT_EQ(parent.list->getItemText(parent.list->getItemAtPosition(parent.list->getFocusedRow()), 0), "charlie");

    ASSERT_TRUE(parent.list->sortItems(true));
    EXPECT_EQ(parent.column(0), (std::vector<std::string>{"alpha", "bravo", "charlie", "delta", "echo"}));

    // The multi-column sort follows the columns' display order.
    for (int position = 0; position < 5; ++position)
        parent.list->setItemText(parent.list->getItemAtPosition(position), 1, position % 2 ? "x" : "y");
    ASSERT_TRUE(parent.list->getHeaderCtrl().moveItem(1, 0));
    EXPECT_EQ(parent.list->getCellRect(0, 1).left(), parent.list->itemArea().left());
    ASSERT_TRUE(parent.list->sortItems(true));
    EXPECT_EQ(parent.column(0), (std::vector<std::string>{"bravo", "delta", "alpha", "charlie", "echo"}));
}

TEST(ReportCtrlSort, aCompareFunctionThatContradictsItselfCannotRunOffTheRows)
{
    Parent parent(0);
    parent.addRows(numbered(40));
    parent.list->setCompareFunction([](int, int, int) { return std::rand() % 3 - 1; });
    EXPECT_TRUE(parent.list->sortByColumn(0, true));
    std::vector<int> handles;
    for (int p = 0; p < 40; ++p)
        handles.push_back(parent.list->getItemAtPosition(p));
    std::sort(handles.begin(), handles.end());
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(handles[static_cast<std::size_t>(i)], i);
}

// ---- wheel, scrolling and clicks -------------------------------------------------

class ReportCtrlWheel : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("KOVA_REGISTRY_DIR", dir.file("registry").c_str(), 1); }
    void TearDown() override { ::unsetenv("KOVA_REGISTRY_DIR"); }
    void setLines(const std::string& lines)
    {
        RegistryKey key;
        ASSERT_TRUE(key.create(HKEY_CURRENT_USER, "Control Panel\\Desktop"));
        ASSERT_TRUE(key.setString("WheelScrollLines", lines));
    }
    kovatest::TempDir dir;
};

TEST_F(ReportCtrlWheel, linesAndPagesArePostedAndRunAfterTheWheel)
{
    Parent parent(0, 3, 600, 200);
    parent.addRows(numbered(100));
    EXPECT_EQ(parent.list->getWheelScrollLines(), 3); // no setting yet

    setLines("3");
    parent.list->onSettingChange();
    parent.list->onVScroll(SB_THUMBPOSITION, 10);
    ASSERT_EQ(parent.list->getFirstVisibleRow(), 10);
    parent.list->onMouseWheel(120);
    EXPECT_EQ(parent.list->getFirstVisibleRow(), 10);
    QApplication::processEvents();
    EXPECT_EQ(parent.list->getFirstVisibleRow(), 7);
    parent.list->onMouseWheel(-40); // 40 x 3 / 120 = one line
    QApplication::processEvents();
    EXPECT_EQ(parent.list->getFirstVisibleRow(), 8);

    setLines("-1");
    parent.list->onSettingChange();
    const int page = parent.list->getFirstVisibleRow();
    parent.list->onVScroll(SB_PAGEDOWN);
    const int pageRows = parent.list->getFirstVisibleRow() - page;
    ASSERT_GT(pageRows, 1);
    parent.list->onVScroll(SB_THUMBPOSITION, 0);
    parent.list->onMouseWheel(-240);
    QApplication::processEvents();
    EXPECT_EQ(parent.list->getFirstVisibleRow(), 2 * pageRows);

    parent.list->onVScroll(SB_BOTTOM);
    const int last = parent.list->getFirstVisibleRow();
    parent.list->onVScroll(SB_LINEDOWN);
    EXPECT_EQ(parent.list->getFirstVisibleRow(), last);
    parent.list->onVScroll(SB_TOP);
    parent.list->onVScroll(SB_LINEUP);
    EXPECT_EQ(parent.list->getFirstVisibleRow(), 0);
}

TEST(ReportCtrlScroll, horizontalScrollingStaysWithinTheColumns)
{
    Parent parent(0, 3, 300, 200); // 450 pixels of columns
    parent.addRows({"a"});
    parent.list->onHScroll(SB_RIGHT);
    const int maximum = parent.list->getHorizontalScroll();
    EXPECT_EQ(maximum, 450 - parent.list->itemArea().width());
    EXPECT_EQ(parent.list->getHeaderCtrl().offset(), maximum);
    parent.list->onHScroll(SB_LINERIGHT);
    EXPECT_EQ(parent.list->getHorizontalScroll(), maximum);
    parent.list->onHScroll(SB_LEFT);
    parent.list->onHScroll(SB_LINERIGHT);
    EXPECT_EQ(parent.list->getHorizontalScroll(), parent.list->itemArea().width() / 8);
}

TEST(ReportCtrlMouse, clicksInTheItemAreaSelectNothing)
{
    Parent parent(0);
    parent.addRows(numbered(5));
    const QPoint onRow = parent.list->getCellRect(2, 0).center();
    QTest::mouseClick(parent.list, Qt::LeftButton, {}, onRow);
    QTest::mouseDClick(parent.list, Qt::LeftButton, {}, onRow);
    EXPECT_TRUE(parent.selectedHandles().empty());
    EXPECT_EQ(parent.list->getFocusedRow(), -1);
    EXPECT_TRUE(parent.seen.empty());
}

// ---- keys, selection and notifications -------------------------------------------

TEST(ReportCtrlKeys, arrowsHomeEndAndShiftMoveTheFocusAndTheSelection)
{
    Parent parent(0);
    parent.addRows(numbered(30));
    auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(parent.list, key, modifiers); };

    press(Qt::Key_Down);
    EXPECT_EQ(parent.list->getFocusedRow(), 0);
    press(Qt::Key_Down);
    press(Qt::Key_Down, Qt::ShiftModifier);
    press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(parent.list->getFocusedRow(), 3);
    EXPECT_EQ(parent.selectedHandles(), (std::vector<int>{1, 2, 3}));
    press(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(parent.list->getFocusedRow(), 2);
    press(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(parent.selectedHandles(), (std::vector<int>{1, 3}));
    press(Qt::Key_End);
    EXPECT_EQ(parent.list->getFocusedRow(), 29);
    EXPECT_EQ(parent.selectedHandles(), (std::vector<int>{29}));
    EXPECT_GT(parent.list->getFirstVisibleRow(), 0);
    press(Qt::Key_Down);
    EXPECT_EQ(parent.list->getFocusedRow(), 29);
    press(Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(parent.list->getFocusedRow(), 0);
    EXPECT_EQ(parent.selectedHandles().size(), 30u);
    EXPECT_EQ(parent.list->getFirstVisibleRow(), 0);
    press(Qt::Key_Up); // stops at the first row
    EXPECT_EQ(parent.list->getFocusedRow(), 0);
    press(Qt::Key_Down);
    EXPECT_EQ(parent.list->getFocusedRow(), 1);
    EXPECT_EQ(parent.selectedHandles(), (std::vector<int>{1}));
}

TEST(ReportCtrlKeys, leftAndRightSkipColumnsThatTakeNoFocus)
{
    Parent parent(RVS_FOCUSSUBITEMS, 0);
    for (int i = 0; i < 4; ++i) {
        ReportSubItem column;
        column.width = 100;
        if (i == 1)
            column.format |= RVCF_SUBITEM_NOFOCUS;
        parent.list->defineSubItem(i, column);
        parent.list->activateSubItem(i);
    }
    parent.addRows({"a"});
    EXPECT_FALSE(parent.list->setFocusCell(0, 1));
    EXPECT_FALSE(parent.list->setFocusCell(1, 0));
    EXPECT_FALSE(parent.list->setFocusCell(0, 4));
    const std::pair<Qt::Key, int> steps[] = {
        {Qt::Key_Right, 0}, {Qt::Key_Right, 2}, {Qt::Key_Right, 3}, {Qt::Key_Right, 3},
        {Qt::Key_Left, 2},  {Qt::Key_Left, 0},  {Qt::Key_Left, -1},
    };
    for (const auto& [key, column] : steps) {
        QTest::keyClick(parent.list, key);
        EXPECT_EQ(parent.list->getFocusedColumn(), column);
    }
}

TEST(ReportCtrlNotify, codesReachTheParentAndItsAnswersCount)
{
    Parent parent(0);
    parent.addRows({"a", "b", "c"});

    QTest::keyClick(parent.list, Qt::Key_Down);
    EXPECT_EQ(parent.codes(), (std::vector<int>{RVN_KEYDOWN, RVN_SELECTIONCHANGING, RVN_SELECTIONCHANGED}));
    EXPECT_EQ(parent.seen[0].value, int(VK_DOWN));
    EXPECT_EQ(parent.seen[0].idFrom, 1001);
    EXPECT_EQ(parent.seen[2].item, 0);
    EXPECT_EQ(parent.seen[2].newState & RVIS_SELECTED, unsigned(RVIS_SELECTED));
    EXPECT_EQ(parent.seen[2].data, 100);

    // A refused selection change leaves the row as it was.
    parent.seen.clear();
    parent.answers[RVN_SELECTIONCHANGING] = 1;
    QTest::keyClick(parent.list, Qt::Key_Down);
    EXPECT_EQ(parent.selectedHandles(), (std::vector<int>{0}));
    EXPECT_EQ(parent.list->getFocusedRow(), 1);

    // An answered key is not processed further.
    parent.answers[RVN_KEYDOWN] = 1;
    QTest::keyClick(parent.list, Qt::Key_Down);
    EXPECT_EQ(parent.list->getFocusedRow(), 1);

    // Without bit 11 the parent is not asked, and the key is handled.
    parent.list->setOption(RVOP_ENABLEMASK, 0xFFFFFFFFu & ~(1u << 11));
    parent.seen.clear();
    QTest::keyClick(parent.list, Qt::Key_Down);
    EXPECT_EQ(parent.list->getFocusedRow(), 2);
    for (int code : parent.codes())
        EXPECT_NE(code, RVN_KEYDOWN);

    parent.seen.clear();
    ASSERT_TRUE(parent.list->deleteItem(1));
    ASSERT_EQ(parent.codes(), (std::vector<int>{RVN_ITEMDELETED}));
    EXPECT_EQ(parent.seen[0].data, 101);
    EXPECT_EQ(parent.list->getItemText(1, 0), "c");
    EXPECT_EQ(parent.list->getFocusedRow(), 1);

    // The header's width change reaches the parent as a layout change.
    parent.seen.clear();
    parent.list->setSubItemWidth(2, 90);
    ASSERT_EQ(parent.codes(), (std::vector<int>{RVN_LAYOUTCHANGED}));
    EXPECT_EQ(parent.seen[0].subItem, 2);
    EXPECT_EQ(parent.list->getSubItemWidth(2), 90);
}

TEST(ReportCtrlNotify, selectionChangesReachATemplateDialogsNotifier)
{
    QWidget dialog;
    ControlNotifier notifier(&dialog);
    auto* list = new CReportCtrl(&dialog, 0, 77);
    ReportSubItem column;
    list->defineSubItem(0, column);
    list->activateSubItem(0);
    ReportItem item;
    item.mask = RVIM_TEXT;
    item.text = "a";
    list->insertItem(item);
    int changes = 0;
    notifier.on(77, Notification::ListItemChanged, [&] { ++changes; });
    list->selectRange(0, 0, true, false, false);
    EXPECT_EQ(changes, 1);
}

TEST(ReportCtrlNotify, aControlWithoutParentSendsNothing)
{
    CReportCtrl list(nullptr, 0);
    int sent = 0;
    QObject::connect(&list, &CReportCtrl::reportNotify, [&](ReportNotify*) { ++sent; });
    ReportSubItem column;
    list.defineSubItem(0, column);
    list.activateSubItem(0);
    ReportItem item;
    list.insertItem(item);
    list.selectRange(0, 0, true, false, false);
    EXPECT_EQ(sent, 0);
    EXPECT_EQ(list.getFirstSelectedItem(), 0);
}

TEST(ReportCtrlNotify, dividerDoubleClickAutoSizesUnlessAnswered)
{
    Parent parent(0);
    parent.addRows({"a rather long text that needs a wide column to be seen whole"});
    parent.answers[RVN_DIVIDERDBLCLICK] = 1;
    CFlatHeaderCtrl& header = parent.list->getHeaderCtrl();
    const QPoint divider(header.getItemRect(0).right() + 1, 5);
    QTest::mouseDClick(&header, Qt::LeftButton, {}, divider);
    ASSERT_EQ(parent.codes(), (std::vector<int>{RVN_DIVIDERDBLCLICK}));
    EXPECT_EQ(parent.list->getSubItemWidth(0), 150);

    parent.answers.clear();
    QTest::mouseDClick(&header, Qt::LeftButton, {}, divider);
    EXPECT_GT(parent.list->getSubItemWidth(0), 150);
}

// ---- editing ---------------------------------------------------------------------

TEST(ReportCtrlEdit, escapeKeepsTheCellWhileEnterAndTabStoreTheText)
{
    struct Case {
        Qt::Key key;
        std::string expected;
    };
    const Case cases[] = {{Qt::Key_Escape, "old"}, {Qt::Key_Return, "oldnew"}, {Qt::Key_Tab, "oldnew"}};
    for (const Case& c : cases) {
        Parent parent(RVS_ALLOWEDIT);
        parent.addRows({"old"});
        ASSERT_TRUE(parent.list->beginEdit(0, 0, VK_RETURN));
        ASSERT_NE(parent.list->editor(), nullptr);
        ASSERT_EQ(parent.seen.back().code, RVN_BEGINITEMEDIT);
        QTest::keyClicks(parent.list->editor(), "new");
        QTest::keyClick(parent.list->editor(), c.key);
        EXPECT_EQ(parent.list->editor(), nullptr);
        EXPECT_EQ(parent.list->getItemText(0, 0), c.expected) << c.key;
        EXPECT_EQ(parent.seen.back().code, RVN_ENDITEMEDIT);
        EXPECT_EQ(parent.seen.back().text, "oldnew");
    }
}

TEST(ReportCtrlEdit, typingStartsAnEditThatReplacesTheText)
{
    Parent parent(RVS_ALLOWEDIT | RVS_FOCUSSUBITEMS);
    parent.addRows({"old", "locked"});
    ReportItem locked;
    locked.mask = RVIM_STATE;
    locked.item = 1;
    locked.state = RVIS_READONLY;
    parent.list->setItem(locked);
    EXPECT_FALSE(parent.list->beginEdit(1, 0, 'x'));

    ASSERT_TRUE(parent.list->setFocusCell(0, 0));
    QTest::keyClick(parent.list, Qt::Key_Z);
    auto* editor = qobject_cast<QLineEdit*>(parent.list->editor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "z");
    // Scrolling closes the editor and keeps what was typed.
    parent.list->onVScroll(SB_LINEDOWN);
    EXPECT_EQ(parent.list->editor(), nullptr);
    EXPECT_EQ(parent.list->getItemText(0, 0), "z");
}

TEST(ReportCtrlEdit, aParentThatAnswersTheEndKeepsTheCell)
{
    Parent parent(RVS_ALLOWEDIT);
    parent.addRows({"old"});
    parent.answers[RVN_ENDITEMEDIT] = 1;
    ASSERT_TRUE(parent.list->beginEdit(0, 0, VK_BACK));
    EXPECT_EQ(windowText(parent.list->editor()), "ol");
    QTest::keyClick(parent.list->editor(), Qt::Key_Return);
    EXPECT_EQ(parent.list->getItemText(0, 0), "old");
}

TEST(ReportCtrlEdit, escapeClosesTheDialogOnlyWhenNoEditIsOpen)
{
    QDialog dialog;
    auto* list = new CReportCtrl(&dialog, RVS_ALLOWEDIT);
    ReportSubItem column;
    list->defineSubItem(0, column);
    list->activateSubItem(0);
    ReportItem item;
    item.mask = RVIM_TEXT;
    item.text = "old";
    list->insertItem(item);
    dialog.show();
    ASSERT_TRUE(list->beginEdit(0, 0, VK_RETURN));
    QTest::keyClick(list->editor(), Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), int(QDialog::Rejected));
}

// ---- owner data ----------------------------------------------------------------------

TEST(ReportCtrlOwnerData, rowsComeFromTheParentAndTheStoreIsRefused)
{
    Parent parent(RVS_OWNERDATA);
    int asked = 0;
    parent.onNotify = [&](ReportNotify& record) {
        if (record.code != RVN_ITEMCALLBACK)
            return;
        ++asked;
        ReportItem& info = record.displayInfo;
        info.text = "row " + std::to_string(info.item) + " cell " + std::to_string(info.subItem);
        info.mask |= RVIM_TEXT | RVIM_STATE;
        info.state = RVIS_BOLD;
    };
    ASSERT_TRUE(parent.list->setItemCount(500));
    EXPECT_EQ(parent.list->getItemCount(), 500);
    EXPECT_EQ(parent.list->getItemText(321, 2), "row 321 cell 2");
    const int afterFirst = asked;
    EXPECT_EQ(parent.list->getItemText(321, 2), "row 321 cell 2");
    EXPECT_EQ(asked, afterFirst); // cached

    ReportItem item;
    EXPECT_EQ(parent.list->insertItem(item), -2);
    EXPECT_FALSE(parent.list->setItem(item));
    EXPECT_FALSE(parent.list->deleteItem(0));
    EXPECT_FALSE(parent.list->deleteAllItems());
    EXPECT_FALSE(parent.list->sortByColumn(0, true));
    EXPECT_FALSE(parent.list->moveRowUp(3));

    parent.list->selectRange(4, 6, true, false, false, false);
    EXPECT_EQ(parent.selectedHandles(), (std::vector<int>{4, 5, 6}));
}

// ---- rows order, finding --------------------------------------------------------------

TEST(ReportCtrlModel, rowsMoveAndAreFoundByTheirCells)
{
    Parent parent(0);
    parent.addRows({"apple", "banana", "cherry", "apricot"});
    ASSERT_TRUE(parent.list->moveRowDown(0));
    EXPECT_EQ(parent.column(0), (std::vector<std::string>{"banana", "apple", "cherry", "apricot"}));
    EXPECT_FALSE(parent.list->setRowOrder({0, 1, 1, 2}));
    ASSERT_TRUE(parent.list->setRowOrder({3, 2, 1, 0}));
    EXPECT_EQ(parent.column(0), (std::vector<std::string>{"apricot", "cherry", "banana", "apple"}));

    ReportItem criteria;
    criteria.subItem = 0;
    criteria.text = "ap";
    EXPECT_EQ(parent.list->findItem(criteria, RVFI_TEXT | RVFI_PARTIAL, -1), 0);
    EXPECT_EQ(parent.list->findItem(criteria, RVFI_TEXT | RVFI_PARTIAL, 0), 3);
    EXPECT_EQ(parent.list->findItem(criteria, RVFI_TEXT | RVFI_PARTIAL, 3), -2);
    EXPECT_EQ(parent.list->findItem(criteria, RVFI_TEXT | RVFI_PARTIAL | RVFI_WRAP, 3), 0);
    EXPECT_EQ(parent.list->findItem(criteria, RVFI_TEXT, -1), -2);
    criteria.text = "banana";
    EXPECT_EQ(parent.list->findItem(criteria, RVFI_TEXT | RVFI_UP | RVFI_WRAP, 0), 2);
}

// ---- tips ------------------------------------------------------------------------------

TEST(ReportCtrlTip, onlyACutTextShowsItsTip)
{
    Parent parent(RVS_SHOWTIPS, 2, 400, 200);
    parent.list->setSubItemWidth(0, 60);
    parent.addRows({"ok", "a text far too long for sixty pixels"});
    parent.window.show();
    parent.list->setFocus();
    QApplication::setActiveWindow(&parent.window);
    QApplication::processEvents();
    ASSERT_NE(QApplication::focusWidget(), nullptr);

    sendMouse(parent.list, QEvent::MouseMove, parent.list->getCellRect(0, 0).center(), Qt::NoButton, Qt::NoButton);
    EXPECT_FALSE(parent.list->getTipCtrl().isVisible());
    sendMouse(parent.list, QEvent::MouseMove, parent.list->getCellRect(1, 0).center(), Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(parent.list->getTipCtrl().isVisible());
    EXPECT_EQ(parent.list->getTipCtrl().text(), "a text far too long for sixty pixels");
    parent.list->onVScroll(SB_LINEDOWN);
    EXPECT_FALSE(parent.list->getTipCtrl().isVisible());
}

// ---- painting ------------------------------------------------------------------------------

int countColour(const QImage& image, const QRect& area, const QColor& colour, int tolerance = 0)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= tolerance && std::abs(c.green() - colour.green()) <= tolerance &&
                std::abs(c.blue() - colour.blue()) <= tolerance)
                ++count;
        }
    return count;
}

TEST(ReportCtrlPaint, anEmptyListShowsItsNoItemsText)
{
    Parent parent(0);
    const QImage image = parent.list->grab().toImage();
    const QRect band(0, parent.list->itemArea().top() + 2, 600, parent.list->getRowHeight());
    const QColor text = QApplication::palette().color(QPalette::Text);
    EXPECT_GT(countColour(image, band, text, 40), 10);
    const QRect below(0, band.bottom() + 2, 600, 100);
    EXPECT_EQ(countColour(image, below, QApplication::palette().color(QPalette::Base)), 0);
}

// The debriefing's list: five subitems, four colours, a bar cell, extra row height.
TEST(ReportCtrlPaint, debriefingListWithABarCellAndColours)
{
    Parent parent(DEBRIEFING_STYLE, 0, 640, 260);
    const char* captions[] = {"Event", "Result", "Value", "Limit", "Rating"};
    const int widths[] = {170, 150, 90, 100, 100};
    for (int i = 0; i < 5; ++i) {
        ReportSubItem column;
        column.caption = captions[i];
        column.width = widths[i];
        column.format = RVCF_TEXT | RVCF_SUBITEM_NOFOCUS | (i == 0 ? 0x180000u : 0x080000u) | (i >= 2 ? RVCF_RIGHT : 0u);
        parent.list->defineSubItem(i, column);
        parent.list->activateSubItem(i);
    }
    const COLORREF colours[] = {0xE6E6E6, 0x0000FF, 0x008C00, 0xC00000};
    for (int i = 0; i < 4; ++i)
        parent.list->insertColor(i, colours[i]);

    const char* events[] = {"Compression depth", "Compression rate", "Hands-off time", "Ventilation volume",
                            "MARVIK_BAR^1234abcd"};
    const int ratings[] = {2, 1, 2, 3, 1};
    for (int row = 0; row < 5; ++row) {
        ReportItem item;
        item.mask = RVIM_TEXT;
        item.item = row;
        item.text = events[row];
        parent.list->insertItem(item);
        parent.list->setItemText(row, 2, std::to_string(40 + row * 7));
        parent.list->setItemText(row, 3, "50 - 60");
        ReportItem rating;
        rating.mask = RVIM_TEXT | RVIM_TEXTCOLOR;
        rating.item = row;
        rating.subItem = 4;
        rating.text = ratings[row] == 2 ? "Good" : ratings[row] == 1 ? "Too low" : "Too high";
        rating.textColor = ratings[row];
        parent.list->setItem(rating);
    }
    ReportItem tall;
    tall.mask = RVIM_ROWHEIGHT;
    tall.item = 2;
    tall.rowHeight = 14;
    parent.list->setItem(tall);
    int extraAreas = 0;
    parent.onNotify = [&](ReportNotify& record) {
        if (record.code == RVN_ITEMDRAWPREVIEW) {
            ++extraAreas;
            record.painter->fillRect(record.rect.adjusted(20, 3, -20, -3), QColor(255, 200, 0));
        }
    };
    auto gauge = std::make_shared<BarGaugeWnd>();
    gauge->setArea(-1.3333, 1.6667, BAR_COLOUR);
    gauge->setScale(true, true, 10, 10);
    gauge->setColor(0xC00000);
    gauge->addRange(-0.2, 0.8, 0x00C000, false, false);
    gauge->setOffset(0.3);
    ASSERT_TRUE(parent.list->setItemBar(0, 1, gauge));
    parent.list->sortByColumn(0, true);
    parent.list->selectRange(1, 1, true, false, false);

    const QImage image = parent.list->grab().toImage();
    const QString path = QString::fromStdString((kovatest::binaryDir() / "tests" / "controls" / "report-debriefing.png").string());
    ASSERT_TRUE(image.save(path));
    EXPECT_EQ(extraAreas, 1);

    // The bar cell is painted by its gauge; the text with the old bar token is text.
    const int barPosition = parent.list->getPositionOfItem(0);
    const QRect barCell = parent.list->getCellRect(barPosition, 1);
    EXPECT_GT(countColour(image, barCell, colorFromRef(BAR_COLOUR)), 50);
    EXPECT_GT(countColour(image, barCell, colorFromRef(0x00C000)), 20);
    const int tokenPosition = parent.list->getPositionOfItem(4);
    const QRect tokenCell = parent.list->getCellRect(tokenPosition, 1);
    EXPECT_EQ(countColour(image, tokenCell, colorFromRef(BAR_COLOUR)), 0);
    EXPECT_EQ(parent.list->getItemText(4, 0), "MARVIK_BAR^1234abcd");
    // Coloured texts: green "Good" and blue "Too high".
    const QRect ratingGood = parent.list->getCellRect(parent.list->getPositionOfItem(0), 4);
    EXPECT_GT(countColour(image, ratingGood, colorFromRef(0x008C00), 60), 3);
    const QRect ratingHigh = parent.list->getCellRect(parent.list->getPositionOfItem(3), 4);
    EXPECT_GT(countColour(image, ratingHigh, colorFromRef(0xC00000), 60), 3);
    // Odd rows take colour 0 as their background.
    const QRect oddRow = parent.list->getCellRect(3, 3).adjusted(2, 2, -2, -2);
    EXPECT_GT(countColour(image, oddRow, colorFromRef(0xE6E6E6)), oddRow.width() * oddRow.height() / 2);
}

TEST(ReportCtrlPaint, theLastRowFlagKeepsTheColumnLinesOutOfTheLastRowAndItsExtraArea)
{
    Parent parent(RVS_SHOWVGRID, 3, 450, 200);
    parent.addRows({"one", "two", "comments"});
    ReportItem tall;
    tall.mask = RVIM_ROWHEIGHT;
    tall.item = 2;
    tall.rowHeight = 40;
    parent.list->setItem(tall);

    // The pixels of the first column's right edge within a row and its extra area.
    const auto divider = [&](int position) {
        const QRect cell = parent.list->getCellRect(position, 0);
        const int extra = position == 2 ? 40 : 0;
        return QRect(cell.right(), cell.top() + 1, 1, cell.height() + extra - 2);
    };
    const auto gridColour = [&](const QImage& image) { return image.pixelColor(divider(0).center()); };

    QImage image = parent.list->grab().toImage();
    ASSERT_NE(gridColour(image), image.pixelColor(divider(0).center() - QPoint(3, 0))) << "no column line drawn";
    EXPECT_EQ(countColour(image, divider(2), gridColour(image)), divider(2).height());

    EXPECT_FALSE(parent.list->getLastRowFlag());
    parent.list->setLastRowFlag(true);
    image = parent.list->grab().toImage();
    EXPECT_EQ(countColour(image, divider(1), gridColour(image)), divider(1).height());
    EXPECT_EQ(countColour(image, divider(2).adjusted(0, -1, 0, 1), gridColour(image)), 0);
}

TEST(ReportCtrlPaint, editableListWithEntryRowChecksAndCellFocus)
{
    Parent parent(RVS_ALLOWEDIT | RVS_FOCUSSUBITEMS | RVS_SHOWHGRID | RVS_SHOWVGRID | RVS_EXPANDGRID | WS_BORDER, 3,
                  480, 220);
    parent.addRows({"Anna", "Bjorn", "Carl"});
    parent.list->setItemCheck(0, 1, 1);
    parent.list->setItemCheck(1, 1, 0);
    parent.list->setItemText(0, 2, "Instructor");
    parent.list->setItemText(-1, 0, "New person");
    parent.window.show();
    parent.list->setFocus();
    QApplication::setActiveWindow(&parent.window);
    QApplication::processEvents();
    ASSERT_TRUE(parent.list->setFocusCell(2, 2));

    const QImage image = parent.list->grab().toImage();
    const QString path = QString::fromStdString((kovatest::binaryDir() / "tests" / "controls" / "report-editable.png").string());
    ASSERT_TRUE(image.save(path));

    const QColor face = QApplication::palette().color(QPalette::Button);
    // The entry row's frame around the item with handle -1.
    const QRect entry(4, parent.list->getCellRect(-1, 0).top() - 2, 400, 2);
    EXPECT_GT(countColour(image, entry, face), 700);
    EXPECT_EQ(parent.list->getItemText(-1, 0), "New person");
    // The checked box has its mark, the unchecked one only its frame.
    const QColor text = QApplication::palette().color(QPalette::Text);
    const int checked = countColour(image, parent.list->getCellRect(0, 1), text, 60);
    const int unchecked = countColour(image, parent.list->getCellRect(1, 1), text, 60);
    EXPECT_GT(unchecked, 10);
    EXPECT_GT(checked, unchecked + 5);
}

TEST(ReportCtrlTemplate, aDialogTemplatePlacesTheControlWithItsStyle)
{
    CReportCtrl::registerWindowClass();
    DialogTable table;
    table.cx = 200;
    table.cy = 120;
    table.controls.push_back(control(L"", 1010, L"MFCReportCtrl",
                                     WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | RVS_SHOWEVENBKCOLOR | RVS_SHOWVGRID,
                                     5, 5, 190, 110));
    QWidget dialog;
    ASSERT_TRUE(DialogBuilder::build(&dialog, DialogTemplate(table)));
    auto* list = qobject_cast<CReportCtrl*>(getDlgItem(&dialog, 1010));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->getStyle() & 0xFFFF, std::uint32_t(RVS_SHOWEVENBKCOLOR | RVS_SHOWVGRID));
    EXPECT_NE(list->frameStyle(), int(QFrame::NoFrame));
}

TEST(ReportView, theViewIsOneControlFillingItsClientArea)
{
    CReportView view;
    EXPECT_EQ(view.getReportCtrl(), nullptr);
    view.resize(300, 200);
    view.onInitialUpdate();
    CReportCtrl* control = view.getReportCtrl();
    ASSERT_NE(control, nullptr);
    view.onInitialUpdate();
    EXPECT_EQ(view.getReportCtrl(), control);
    view.show();
    view.resize(420, 310);
    QApplication::processEvents();
    EXPECT_EQ(control->geometry(), QRect(0, 0, 420, 310));
}

} // namespace
