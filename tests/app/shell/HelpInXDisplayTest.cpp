// Help opened from the station's modal dialogs (Configuration, the algorithm
// editor) on a real X display with a window manager, driven by real clicks
// and wheel turns (xdotool): the help window opens on top of the dialog,
// wholly on the screen, and takes clicks and scrolling while the dialog stays
// open; closing the dialog leaves it open over the main window. Run through
// tests/support/in-x-display; it saves <build>/help-over-configuration-x.png
// and <build>/help-over-algorithm-editor-x.png, screenshots of the display.

#include "TablesFixture.h"

#include "Database/editors/RecordDialogTables.h"
#include "app/sessions/SessionManager.h"
#include "app/shell/CprTrainingApp.h"
#include "app/shell/HelpWindow.h"
#include "app/shell/MainCommands.h"
#include "comm/ports/CalibrateManager.h"
#include "config/Configuration.h"
#include "propertyPage/AlgorithmDetailsEditor.h"
#include "propertyPage/ConfigurationDialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <functional>

namespace {

// Runs xdotool on the test's display; whether it did its work.
bool xdotool(const QStringList& arguments) { return QProcess::execute("xdotool", arguments) == 0; }

// A real click of the left button at a point of the screen.
bool clickAt(const QPoint& global)
{
    return xdotool({"mousemove", "--sync", QString::number(global.x()), QString::number(global.y()), "click", "1"});
}

// The wheel turned towards the user, `notches` times, at a point of the screen.
bool wheelDownAt(const QPoint& global, int notches)
{
    return xdotool({"mousemove", "--sync", QString::number(global.x()), QString::number(global.y()), "click",
                    "--repeat", QString::number(notches), "--delay", "60", "5"});
}

// The top-level windows as the window manager stacks them, bottom first.
std::vector<WId> stackingOrder()
{
    QProcess xprop;
    xprop.start("xprop", {"-root", "-notype", "_NET_CLIENT_LIST_STACKING"});
    xprop.waitForFinished(5000);
    std::vector<WId> order;
    const QString text = QString::fromLatin1(xprop.readAllStandardOutput());
    auto matches = QRegularExpression("0x[0-9a-fA-F]+").globalMatch(text.section('#', 1));
    while (matches.hasNext())
        order.push_back(matches.next().captured(0).toULongLong(nullptr, 16));
    return order;
}

QAbstractButton* helpButtonOf(QWidget* dialog)
{
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        if (button->isVisible() && button->text().remove('&') == "Help")
            return button;
    return nullptr;
}

QPoint centreOnScreen(const QWidget* widget) { return widget->mapToGlobal(widget->rect().center()); }

// What the help window did while the modal dialog was open.
struct HelpSeen {
    bool opened = false;
    bool belongsToTheDialog = false;
    bool wholeOnTheScreen = false;
    bool aboveTheDialog = false;
    bool tookTheClick = false;
    bool tookTheWheel = false;
    bool dialogStayedOpen = false;
};

class HelpInXDisplay : public TablesFixture {
protected:
    void SetUp() override
    {
        TablesFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // No manikin: the start-up search's questions are cancelled.
        ::setenv("KOVA_PORT_MAP", "", 1);
        asker.fallback = platform::IDCANCEL;
        CalibrateManager::destroy();
        Configuration::destroy();
        CprTrainingApp::Services services = CprTrainingApp::Services::standard();
        services.makeSessionManager = [] { return std::make_unique<SessionManager>(true); };
        // The fixture's records are open already.
        services.openDatabase = [] {};
        services.installWindows = [](CMainFrame& frame) {
            installConfigurationDialog(&frame);
            registerRecordDialogTables();
            installAlgorithmEditor();
        };
        services.sendReadyMessage = [] { return false; };
        services.countReadyManikins = [] { return 0; };
        services.upgradeDatabase = [] {};
        services.beatSound = [] {};
        services.stationDir = kovatest::sourceDir() / "resources" / "help";
        app = std::make_unique<CprTrainingApp>("", std::move(services));
        ASSERT_TRUE(app->initInstance());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app->mainFrame()));
    }
    void TearDown() override
    {
        app.reset();
        Configuration::destroy();
        CalibrateManager::destroy();
        TablesFixture::TearDown();
    }

    // Opens a dialog modally through `open`, presses its Help button, and
    // clicks and scrolls in the help window while the dialog is open.
    HelpSeen useHelpFrom(const std::function<void()>& open, const char* screenshot)
    {
        HelpSeen seen;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = nullptr;
            const bool up = QTest::qWaitFor([&] {
                dialog = QApplication::activeModalWidget();
                return dialog && dialog->windowHandle() && dialog->windowHandle()->isExposed();
            }, 10000);
            if (!up) {
                ADD_FAILURE() << "the dialog did not open";
                return;
            }
            QTest::qWait(200);
            if (QAbstractButton* help = helpButtonOf(dialog))
                EXPECT_TRUE(clickAt(centreOnScreen(help)));
            else
                ADD_FAILURE() << "the dialog has no Help button";
            lookAtHelp(dialog, seen, screenshot);
            if (auto* modal = qobject_cast<QDialog*>(dialog))
                modal->reject();
        });
        open();
        return seen;
    }

    void lookAtHelp(QWidget* dialog, HelpSeen& seen, const char* screenshot)
    {
        HelpWindow* help = nullptr;
        seen.opened = QTest::qWaitFor([&] {
            help = app->helpWindow();
            return help && help->isVisible() && help->windowHandle() && help->windowHandle()->isExposed();
        }, 10000);
        if (!seen.opened)
            return;
        // The window manager has framed and stacked it.
        QTest::qWait(400);
        seen.belongsToTheDialog = help->owner() == dialog;
        seen.wholeOnTheScreen = help->screen()->availableGeometry().contains(help->frameGeometry());
        const std::vector<WId> order = stackingOrder();
        const auto helpAt = std::find(order.begin(), order.end(), help->winId());
        const auto dialogAt = std::find(order.begin(), order.end(), dialog->winId());
        seen.aboveTheDialog = helpAt != order.end() && dialogAt != order.end() && helpAt > dialogAt;
        const auto path = kovatest::binaryDir() / screenshot;
        EXPECT_TRUE(help->screen()->grabWindow(0).save(QString::fromStdString(path.string())));

        // A click on the page's link to the contents.
        QTextBrowser* browser = help->browser();
        const QTextCursor link = browser->document()->find("Contents");
        const QPoint onLink = browser->viewport()->mapToGlobal(browser->cursorRect(link).center());
        EXPECT_TRUE(clickAt(onLink));
        seen.tookTheClick = QTest::qWaitFor([&] { return help->currentPage().filename() == "index.htm"; }, 5000);

        // The contents are longer than a small window: the wheel scrolls them.
        help->resize(360, 200);
        QTest::qWait(300);
        EXPECT_TRUE(wheelDownAt(centreOnScreen(browser->viewport()), 3));
        seen.tookTheWheel = QTest::qWaitFor([&] { return browser->verticalScrollBar()->value() > 0; }, 5000);
        seen.dialogStayedOpen = dialog->isVisible() && QApplication::activeModalWidget() == dialog;
    }

    void expectUsable(const HelpSeen& seen)
    {
        EXPECT_TRUE(seen.opened);
        EXPECT_TRUE(seen.belongsToTheDialog);
        EXPECT_TRUE(seen.wholeOnTheScreen);
        EXPECT_TRUE(seen.aboveTheDialog);
        EXPECT_TRUE(seen.tookTheClick);
        EXPECT_TRUE(seen.tookTheWheel);
        EXPECT_TRUE(seen.dialogStayedOpen);
        // The dialog is gone; the help is still there, over the main window.
        HelpWindow* help = app->helpWindow();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->owner(), app->mainFrame());
    }

    std::unique_ptr<CprTrainingApp> app;
};

} // namespace

TEST_F(HelpInXDisplay, helpFromTheConfigurationDialogIsOnTopAndTakesClicksAndScrolling)
{
    const HelpSeen seen = useHelpFrom([this] { app->mainFrame()->onCommand(MainCommands::CONFIGURATION); },
                                      "help-over-configuration-x.png");
    expectUsable(seen);
}

TEST_F(HelpInXDisplay, helpFromTheAlgorithmEditorIsOnTopAndTakesClicksAndScrolling)
{
    const HelpSeen seen = useHelpFrom([this] { app->mainFrame()->onCommand(MainCommands::ALGORITHMS); },
                                      "help-over-algorithm-editor-x.png");
    expectUsable(seen);
}
