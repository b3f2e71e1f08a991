// The online help window on the pages installed with the program, and the
// About box's build and version texts. It saves
// <build>/help-window.png and <build>/about.png for a person to look at.

#include "StationTestKit.h"

#include "app/AboutDialog.h"
#include "app/BuildDate.h"
#include "app/HelpWindow.h"
#include "controls/RoundButton.h"
#include "platform/Help.h"

#include <gtest/gtest.h>

#include <QTextBrowser>

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
