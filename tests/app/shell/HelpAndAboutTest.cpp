// The online help window on the pages installed with the program, and the
// About box's build and version texts. It saves
// <build>/help-window.png and <build>/about.png for a person to look at.

#include "StationTestKit.h"

#include "app/shell/AboutDialog.h"
#include "app/shell/BuildDate.h"
#include "app/shell/HelpWindow.h"
#include "controls/RoundButton.h"
#include "platform/Help.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>

#include <filesystem>

namespace fs = std::filesystem;
using stationtest::StationTest;

namespace {

// The help installed with the program.
fs::path installedHelp() { return kovatest::sourceDir() / "resources" / "help"; }

} // namespace

class HelpAndAbout : public StationTest {};

TEST_F(HelpAndAbout, everyDialogsHelpButtonOpensItsTopicInTheHelpWindow)
{
    ASSERT_TRUE(start());
    // Nothing installed in the station folder: the user is told, nothing opens.
    EXPECT_TRUE(platform::showHelpTopic(10001));
    ASSERT_FALSE(asker.asked.empty());
    EXPECT_EQ(asker.asked.back().text, L"The help of Kova CPR Software is not installed.");
    EXPECT_FALSE(app->helpWindow() && app->helpWindow()->isVisible());
    app.reset();
    CalibrateManager::destroy();

    CprTrainingApp::Services s = services();
    s.stationDir = installedHelp();
    app = std::make_unique<CprTrainingApp>("", std::move(s));
    ASSERT_TRUE(app->initInstance());
    EXPECT_TRUE(platform::showHelpTopic(10001));
    HelpWindow* help = app->helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->currentPage(), installedHelp() / "kovacpr-en" / "kovacpr_en" / "IDH_HELP_START_SESSION.htm");
    EXPECT_TRUE(help->browser()->toPlainText().contains("Starting a session"));

    // Help > Contents is the technical support page; the same window shows it.
    app->mainFrame()->onCommand(32781);
    EXPECT_EQ(app->helpWindow(), help);
    EXPECT_EQ(help->currentPage().filename(), "Technical_Support.htm");
    // Its Contents link leads to the start page, which lists every topic.
    help->browser()->setSource(help->browser()->source().resolved(QUrl("../index.htm")));
    EXPECT_EQ(help->currentPage().filename(), "index.htm");
    EXPECT_TRUE(help->browser()->toPlainText().contains("Shortcut keys"));

    platform::showHelpTopic(10019);
    help->resize(640, 420);
    const auto path = kovatest::binaryDir() / "help-window.png";
    EXPECT_TRUE(help->grab().save(QString::fromStdString(path.string())));
}

// What the help window showed and took while a modal dialog was open over the main window.
struct HelpOverDialog {
    bool shown = false;
    bool belongsToTheDialog = false;
    bool onTheScreen = false;
    std::string pageAfterClick;
    int scrolledBy = 0;
    bool backToTheDialogAfterAnInnerOne = false;
};

TEST_F(HelpAndAbout, helpAskedFromAModalDialogOpensOverItWhollyOnTheScreenAndTakesInput)
{
    CprTrainingApp::Services s = services();
    s.stationDir = installedHelp();
    app = std::make_unique<CprTrainingApp>("", std::move(s));
    ASSERT_TRUE(app->initInstance());
    // The configuration dialog stands for any modal dialog of the station.
    QDialog dialog(app->mainFrame());
    dialog.setWindowTitle("Configuration");
    dialog.resize(600, 420);
    HelpOverDialog seen;
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
        // Its Help button.
        platform::showHelpTopic(10018);
        HelpWindow* help = app->helpWindow();
        if (!help) {
            dialog.reject();
            return;
        }
        seen.shown = help->isVisible();
        seen.belongsToTheDialog = help->owner() == &dialog;
        const QRect screen = help->screen()->availableGeometry();
        seen.onTheScreen = screen.contains(help->geometry());
        // Clicks and keys through the window system, where a modal dialog
        // stops whatever is meant for a window it blocks.
        QTextBrowser* browser = help->browser();
        QTextCursor link = browser->document()->find("Contents");
        const QPoint onLink = browser->viewport()->mapTo(help, browser->cursorRect(link).center());
        QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, onLink);
        seen.pageAfterClick = help->currentPage().filename().string();
        help->resize(320, 160);
        QApplication::processEvents();
        browser->setFocus();
        const int top = browser->verticalScrollBar()->value();
        QTest::keyClick(help->windowHandle(), Qt::Key_PageDown);
        seen.scrolledBy = browser->verticalScrollBar()->value() - top;

        // A dialog opened from this one (the controller page's search window)
        // takes the help while it is open and gives it back when it closes.
        QDialog inner(&dialog);
        QTimer::singleShot(0, [&] {
            platform::showHelpTopic(10000);
            EXPECT_EQ(help->owner(), &inner);
            inner.reject();
        });
        inner.exec();
        QApplication::processEvents();
        seen.backToTheDialogAfterAnInnerOne = help->owner() == &dialog && help->isVisible();
        dialog.reject();
    });
    dialog.exec();

    EXPECT_TRUE(seen.shown);
    EXPECT_TRUE(seen.belongsToTheDialog) << "a window the dialog does not own takes no input while it is open";
    EXPECT_TRUE(seen.onTheScreen);
    EXPECT_EQ(seen.pageAfterClick, "index.htm") << "the click on the link was taken";
    EXPECT_GT(seen.scrolledBy, 0) << "Page Down was taken";
    EXPECT_TRUE(seen.backToTheDialogAfterAnInnerOne);
    // The dialog is gone; the help stays open over the main window.
    HelpWindow* help = app->helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->owner(), app->mainFrame());
}

TEST_F(HelpAndAbout, theAboutBoxNamesTheVersionAndTheBuild)
{
    AboutDialog about;
    ASSERT_TRUE(about.create());
    EXPECT_EQ(about.getDlgItemText(AboutDialog::IDC_BUILD), QString::fromStdString("Build: " + getBuildDate()));
    EXPECT_EQ(about.getDlgItemText(AboutDialog::IDC_VERSION), "Version 3.1.3");
    EXPECT_NE(dynamic_cast<kova::RoundButton*>(about.getDlgItem(1)), nullptr);
    about.show();
    const auto path = kovatest::binaryDir() / "about.png";
    EXPECT_TRUE(about.grab().save(QString::fromStdString(path.string())));
}
