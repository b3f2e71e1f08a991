#include "app/shell/ChildDialog.h"
#include "app/shell/DialogFrame.h"
#include "app/shell/SessionFrame.h"

#include "Rodezir/dialogs/DialogRegistry.h"
#include "TempDir.h"
#include "TestMainWindow.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace kova;
using kovatest::TestMainWindow;

namespace {

constexpr int PRACTICE_DIALOG = 9101;
constexpr int IDC_NAME = 1001;
constexpr int IDC_NOTE = 1002;

void registerPracticeDialog()
{
    DialogTable table;
    table.id = PRACTICE_DIALOG;
    table.caption = L"\u00A4Practice";
    table.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
    table.cx = 186;
    table.cy = 68;
    table.controls = {
        label(L"\u00A4Name:", IDC_STATIC, 7, 9, 40, 8),
        editText(IDC_NAME, 50, 7, 129, 12),
        label(L"\u00A4Note:", IDC_STATIC, 7, 27, 40, 8),
        editText(IDC_NOTE, 50, 25, 129, 12),
        defPushButton(L"\u00A4OK", IDOK, 19, 47, 50, 14),
        pushButton(L"\u00A4Cancel", IDCANCEL, 74, 47, 50, 14),
        pushButton(L"\u00A4Help", ChildDialog::ID_HELP, 129, 47, 50, 14),
    };
    DialogRegistry::add(table);
}

class PracticeDialog : public ChildDialog {
public:
    PracticeDialog() : ChildDialog(PRACTICE_DIALOG) {}

    bool canClose() override { return closeAllowed; }
    void onFrameShow(bool show, int) override { frameShows.push_back(show); }
    void help() override { ++helpCalls; }

    QLineEdit* name() const { return qobject_cast<QLineEdit*>(getDlgItem(IDC_NAME)); }

    bool closeAllowed = true;
    std::vector<bool> frameShows;
    int helpCalls = 0;
};

// Keeps what a frame's owner hears of it.
struct FrameOwner : SlotHolder {
    void onFrameDestroyed(ChildFrame* frame) { forgotten.push_back(frame); }
    std::vector<ChildFrame*> forgotten;
};

class ChildFrames : public ::testing::Test {
protected:
    ChildFrames()
    {
        registerPracticeDialog();
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // A frame around a new practice dialog, created with the options given.
    DialogFrame* openDialogFrame(bool fixedSize, bool hideOnClose = false)
    {
        auto dialog = std::make_unique<PracticeDialog>();
        auto* frame = new DialogFrame(&window.client(), std::move(dialog));
        frame->fitToDialog = fixedSize;
        frame->resizable = !fixedSize;
        frame->hideOnClose = hideOnClose;
        connect(frame->frameDestroyed, owner, &FrameOwner::onFrameDestroyed);
        EXPECT_TRUE(frame->createFrame("Practice"));
        return frame;
    }

    static PracticeDialog* dialogOf(DialogFrame* frame) { return static_cast<PracticeDialog*>(frame->getHostedWindow()); }

    QSize clientSize() { return window.client().viewport()->size(); }

    static void deleteLaterNow() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    TestMainWindow window;
    FrameOwner owner;
};

} // namespace

TEST_F(ChildFrames, fixedSizeFramesOpenAtTheCornerOnceThenCentred)
{
    DialogFrame* first = openDialogFrame(true);
    EXPECT_EQ(first->pos(), QPoint(5, 5));
    // The frame fits its dialog and keeps that size.
    const DialogTemplate& shape = dialogOf(first)->dialogTemplate();
    const SIZE pixels = shape.toPixels(shape.getSize());
    EXPECT_EQ(first->widget()->size(), QSize(pixels.cx, pixels.cy));
    EXPECT_EQ(first->minimumSize(), first->maximumSize());
    EXPECT_FALSE(first->windowFlags() & Qt::WindowMaximizeButtonHint);

    DialogFrame* second = openDialogFrame(true);
    const QSize area = clientSize();
    EXPECT_EQ(second->pos(), QPoint((area.width() - second->width()) / 2, (area.height() - second->height()) / 2));

    // The first tab stop of the dialog has the focus.
    EXPECT_EQ(QApplication::focusWidget(), dialogOf(second)->name());
    EXPECT_EQ(window.client().activeSubWindow(), second);
}

TEST_F(ChildFrames, aResizableFrameFillsTheClientAreaLessItsMargin)
{
    DialogFrame* frame = openDialogFrame(false);
    EXPECT_EQ(frame->geometry(), QRect(QPoint(0, 0), clientSize()).adjusted(5, 5, -5, -5));
    // Its dialog follows the frame's size.
    frame->resize(frame->width() - 100, frame->height() - 50);
    QTest::qWait(1);
    EXPECT_EQ(frame->frameSizeFor(frame->widget()->size()), frame->size());
}

TEST_F(ChildFrames, aFrameOpensMaximisedWhileTheActiveOneIsUnlessItFitsItsDialog)
{
    auto* maximized = new DialogFrame(&window.client(), std::make_unique<PracticeDialog>());
    maximized->maximized = true;
    ASSERT_TRUE(maximized->createFrame("Maximised"));
    EXPECT_TRUE(maximized->isMaximized());

    DialogFrame* follows = openDialogFrame(false);
    EXPECT_TRUE(follows->isMaximized());

    DialogFrame* fixed = openDialogFrame(true);
    EXPECT_FALSE(fixed->isMaximized());
    EXPECT_EQ(window.client().activeSubWindow(), fixed);
}

TEST_F(ChildFrames, closingAHidingFrameKeepsItsDialogAndState)
{
    int windowMenuRefreshes = 0;
    ChildFrame::setWindowMenuRefresher([&] { ++windowMenuRefreshes; });
    DialogFrame* frame = openDialogFrame(true, true);
    PracticeDialog* dialog = dialogOf(frame);
    QTest::keyClicks(dialog->name(), "Anna");
    openDialogFrame(true);
    const int refreshesBefore = windowMenuRefreshes;

    frame->close();
    deleteLaterNow();
    ASSERT_TRUE(owner.forgotten.empty());
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(dialog->frameShows, (std::vector<bool>{true, false}));

    frame->showFrame();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(window.client().activeSubWindow(), frame);
    EXPECT_EQ(dialog->name()->text(), "Anna");
    EXPECT_EQ(dialog->frameShows.back(), true);
    EXPECT_EQ(windowMenuRefreshes, refreshesBefore + 2);

    // The frame hands the focus on to the control of its dialog that had it.
    dialog->getDlgItem(IDC_NOTE)->setFocus();
    frame->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), dialog->getDlgItem(IDC_NOTE));
    ChildFrame::setWindowMenuRefresher({});
}

TEST_F(ChildFrames, closingAnyOtherFrameDestroysItAndTellsItsOwner)
{
    DialogFrame* frame = openDialogFrame(false);
    QPointer<QWidget> dialog = dialogOf(frame);

    dialogOf(frame)->closeAllowed = false;
    frame->close();
    deleteLaterNow();
    ASSERT_TRUE(owner.forgotten.empty());
    EXPECT_TRUE(frame->isVisible());

    dialogOf(frame)->closeAllowed = true;
    frame->close();
    deleteLaterNow();
    EXPECT_EQ(owner.forgotten, std::vector<ChildFrame*>{frame});
    EXPECT_FALSE(dialog);
    EXPECT_TRUE(window.client().subWindowList().isEmpty());
}

// OK and Cancel end the dialog and its frame, even one that hides on close.
TEST_F(ChildFrames, okAndCancelOfTheDialogDestroyTheFrame)
{
    for (const int button : {IDOK, IDCANCEL}) {
        owner.forgotten.clear();
        DialogFrame* frame = openDialogFrame(true, true);
        qobject_cast<QPushButton*>(dialogOf(frame)->getDlgItem(button))->click();
        deleteLaterNow();
        EXPECT_EQ(owner.forgotten, std::vector<ChildFrame*>{frame}) << button;
    }
    // Escape is Cancel.
    owner.forgotten.clear();
    DialogFrame* frame = openDialogFrame(true, true);
    QTest::keyClick(dialogOf(frame)->name(), Qt::Key_Escape);
    deleteLaterNow();
    EXPECT_EQ(owner.forgotten, std::vector<ChildFrame*>{frame});
}

TEST_F(ChildFrames, theHelpButtonAsksTheDialogForItsHelp)
{
    DialogFrame* frame = openDialogFrame(true);
    qobject_cast<QPushButton*>(dialogOf(frame)->getDlgItem(ChildDialog::ID_HELP))->click();
    EXPECT_EQ(dialogOf(frame)->helpCalls, 1);
    // The dialog was translated when it was built: no marker is left.
    EXPECT_EQ(dialogOf(frame)->getDlgItemText(IDCANCEL), "Cancel");
}

TEST_F(ChildFrames, shortcutsOfTheMainWindowWorkFromInsideAHostedDialog)
{
    DialogFrame* first = openDialogFrame(true);
    DialogFrame* second = openDialogFrame(true);
    QLineEdit* edit = dialogOf(second)->name();
    ASSERT_EQ(QApplication::focusWidget(), edit);

    QTest::keyClick(edit, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_F5);
    EXPECT_EQ(window.commands(), (std::vector<int>{TestMainWindow::ID_NEW_SESSION, TestMainWindow::ID_CALIBRATE}));
    // Typing still reaches the edit.
    QTest::keyClicks(edit, "Bo");
    EXPECT_EQ(edit->text(), "Bo");

    QTest::keyClick(edit, Qt::Key_F6, Qt::ControlModifier);
    EXPECT_EQ(window.client().activeSubWindow(), first);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ControlModifier);
    EXPECT_EQ(window.client().activeSubWindow(), second);
}

TEST_F(ChildFrames, theSessionWindowKeepsItsMinimumAndAsksBeforeClosing)
{
    bool mayClose = false;
    auto* frame = new SessionFrame(
        &window.client(), [](SessionFrame& parent) { return new QTabWidget(&parent); }, [&] { return mayClose; });
    connect(frame->frameDestroyed, owner, &FrameOwner::onFrameDestroyed);
    ASSERT_TRUE(frame->createFrame("Session"));
    EXPECT_TRUE(qobject_cast<QTabWidget*>(frame->getHostedWindow()));

    frame->resize(200, 100);
    EXPECT_GE(frame->width(), SessionFrame::MINIMUM_WIDTH);
    EXPECT_GE(frame->height(), SessionFrame::MINIMUM_HEIGHT);

    frame->close();
    deleteLaterNow();
    EXPECT_TRUE(owner.forgotten.empty());
    mayClose = true;
    frame->close();
    deleteLaterNow();
    EXPECT_EQ(owner.forgotten, std::vector<ChildFrame*>{frame});
}

TEST_F(ChildFrames, aFrameWithoutItsWindowIsNotCreated)
{
    auto* frame = new SessionFrame(&window.client(), [](SessionFrame&) { return nullptr; });
    connect(frame->frameDestroyed, owner, &FrameOwner::onFrameDestroyed);
    EXPECT_FALSE(frame->createFrame("Session"));
    deleteLaterNow();
    EXPECT_EQ(owner.forgotten, std::vector<ChildFrame*>{frame});
    EXPECT_TRUE(window.client().subWindowList().isEmpty());
}

TEST_F(ChildFrames, showFrameBringsAFrameBackInsideTheClientArea)
{
    DialogFrame* frame = openDialogFrame(false);
    frame->resize(300, 200);
    frame->move(clientSize().width() - 50, clientSize().height() - 20);
    frame->hideFrame();
    frame->showFrame();
    EXPECT_EQ(frame->pos(), QPoint(clientSize().width() - 300, clientSize().height() - 200));

    // A frame larger than the area stops at its top-left corner.
    frame->resize(clientSize().width() + 40, 200);
    frame->move(30, 10);
    frame->showFrame();
    EXPECT_EQ(frame->pos(), QPoint(0, 10));
}

TEST_F(ChildFrames, pictureOfAFixedAndAResizableFrame)
{
    auto* session = new SessionFrame(&window.client(), [](SessionFrame& parent) {
        auto* tabs = new QTabWidget(&parent);
        tabs->addTab(new QWidget, "Anna - Two-person CPR");
        tabs->addTab(new QWidget, "Bernt - Ventilation only");
        return tabs;
    });
    ASSERT_TRUE(session->createFrame("Session"));
    session->setGeometry(40, 40, 600, 360);
    DialogFrame* frame = openDialogFrame(true);
    QTest::keyClicks(dialogOf(frame)->name(), "Anna Larsen");
    QTest::qWait(20);

    const auto path = kovatest::binaryDir() / "child-frames.png";
    ASSERT_TRUE(window.grab().save(QString::fromStdString(path.string())));
}
