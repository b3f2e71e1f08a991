#include "config/Configuration.h"
#include "config/ConfigurationDialogRunner.h"
#include "config/SettingsFile.h"

#include "FolderDoubles.h"
#include "Rodezir/LogStream.h"
#include "SettingsTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Lines = std::vector<std::string>;
using settingstest::FakeView;
using settingstest::RatePage;

// Opens the dialog as the folder dialog does, lets the test act on the open
// dialog, then closes it with OK (when the current page stores) or Cancel.
class ScriptedDialog : public ConfigurationDialogRunner {
public:
    void addPages(PropertyFolderController& controller) override
    {
        for (auto& page : pages)
            controller.addPage(&page);
    }
    void run(PropertyFolderController& controller, int page) override
    {
        openedAt = page;
        controller.display(&view);
        view.current = page;
        controller.loadPage(page);
        bool accept = whileOpen ? whileOpen(controller, pages[static_cast<std::size_t>(page)]) : false;
        if (accept && !controller.storeCurrentPage())
            accept = false;
        controller.hide(!accept);
        view.current = -1;
    }

    std::vector<RatePage> pages{RatePage(246, 253), RatePage(245), RatePage(250), RatePage(251), RatePage(252, 253)};
    FakeView view;
    int openedAt = -1;
    // Returns true to press OK.
    std::function<bool(PropertyFolderController&, RatePage&)> whileOpen;
};

class Listener : public SlotHolder {
public:
    void onChanged() { ++calls; }
    int calls = 0;
};

class ConfigurationTest : public ::testing::Test {
protected:
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd{dir.path()};

    void TearDown() override
    {
        Configuration::destroy();
        LogStream::destroy();
    }
    Lines reports() { return settingstest::logReports(dir.path()); }
    std::string settingsFile() const { return kovatest::readFile(dir.path() / SettingsFile::NAME); }

    // Installs a scripted dialog and returns it (owned by the configuration).
    ScriptedDialog& scriptedDialog()
    {
        auto dialog = std::make_unique<ScriptedDialog>();
        ScriptedDialog& view = *dialog;
        Configuration::instance().setDialogRunner(std::move(dialog));
        return view;
    }
};

TEST_F(ConfigurationTest, startsWithTheDefaultsWhenNoFileExists)
{
    EXPECT_TRUE(Configuration::instance().getPropertyModel() == PropertyModel());
    EXPECT_EQ(reports(), Lines{"Could not open configuration file 'configuration.cprcfg' for loading."});
}

TEST_F(ConfigurationTest, loadsTheFileAtStartAndSavesWhenAsked)
{
    PropertyModel stored;
    stored.metronomeRate = 88.0;
    ASSERT_TRUE(SettingsFile::save(SettingsFile::NAME, stored));
    EXPECT_EQ(Configuration::instance().getPropertyModel().metronomeRate, 88.0);

    Configuration::instance().getPropertyModel().playEndSound = false;
    ASSERT_TRUE(Configuration::instance().save());
    Configuration::destroy();
    EXPECT_FALSE(Configuration::instance().getPropertyModel().playEndSound);
    EXPECT_EQ(Configuration::instance().getPropertyModel().metronomeRate, 88.0);
    EXPECT_TRUE(reports().empty());
}

TEST_F(ConfigurationTest, damagedFileLeavesTheDefaults)
{
    std::string bytes = settingstest::FileBytes::defaultFile().bytes;
    bytes[5] = 0x11; // metronome rate changed, end marker damaged
    bytes[215] = 0x00;
    kovatest::writeFile(dir.path() / SettingsFile::NAME, bytes);
    EXPECT_TRUE(Configuration::instance().getPropertyModel() == PropertyModel());
    EXPECT_EQ(reports(),
              Lines{"Could not read all of the configuration in file 'configuration.cprcfg'. Ignoring file."});
}

TEST_F(ConfigurationTest, okMakesTheEditsLiveAtOnceButTheFileWaitsForSave)
{
    PropertyModel stored;
    ASSERT_TRUE(SettingsFile::save(SettingsFile::NAME, stored));
    const std::string before = settingsFile();
    ScriptedDialog& dialog = scriptedDialog();
    Listener listener;
    connect(Configuration::instance().changed, listener, &Listener::onChanged);
    dialog.whileOpen = [](PropertyFolderController& controller, RatePage& page) {
        EXPECT_FALSE(controller.isModified());
        EXPECT_EQ(page.rate, 100.0);
        page.rate = 120.0;
        EXPECT_TRUE(controller.storeCurrentPage());
        EXPECT_TRUE(controller.isModified());
        return true;
    };
    Configuration::instance().showDialog(0);
    EXPECT_EQ(Configuration::instance().getPropertyModel().metronomeRate, 120.0);
    EXPECT_EQ(listener.calls, 1);
    EXPECT_EQ(settingsFile(), before);
    EXPECT_FALSE(Configuration::instance().getController().isModified()) << "not displaying";
    ASSERT_TRUE(Configuration::instance().save());
    PropertyModel reread;
    ASSERT_TRUE(SettingsFile::load(SettingsFile::NAME, reread));
    EXPECT_EQ(reread.metronomeRate, 120.0);
}

TEST_F(ConfigurationTest, cancelKeepsTheLiveRecordAndStillSignals)
{
    ScriptedDialog& dialog = scriptedDialog();
    Listener listener;
    connect(Configuration::instance().changed, listener, &Listener::onChanged);
    dialog.whileOpen = [](PropertyFolderController& controller, RatePage& page) {
        page.rate = 60.0;
        EXPECT_TRUE(controller.storePage(4));
        return false;
    };
    Configuration::instance().showDialog(4);
    EXPECT_EQ(dialog.openedAt, 4);
    EXPECT_EQ(dialog.pages[4].loads, 1);
    EXPECT_EQ(dialog.pages[0].loads, 0) << "only the page opened at is shown";
    EXPECT_TRUE(Configuration::instance().getPropertyModel() == PropertyModel());
    EXPECT_EQ(listener.calls, 1);
}

TEST_F(ConfigurationTest, rejectedPageKeepsTheDialogFromApplying)
{
    ScriptedDialog& dialog = scriptedDialog();
    dialog.whileOpen = [](PropertyFolderController& controller, RatePage& page) {
        page.rate = -1.0;
        EXPECT_FALSE(controller.storeCurrentPage());
        EXPECT_FALSE(controller.apply());
        page.rate = 99.0;
        EXPECT_TRUE(controller.apply());
        return false;
    };
    Configuration::instance().showDialog(2);
    // apply made the edit live even though the dialog was then cancelled.
    EXPECT_EQ(Configuration::instance().getPropertyModel().metronomeRate, 99.0);
}

TEST_F(ConfigurationTest, showingTheDialogWithoutOneIsReported)
{
    Listener listener;
    connect(Configuration::instance().changed, listener, &Listener::onChanged);
    Configuration::instance().showDialog(0);
    EXPECT_EQ(listener.calls, 0);
    const Lines lines = reports();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "The configuration dialog is not available.");
}

class ControllerTest : public ::testing::Test {
protected:
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd{dir.path()};
    PropertyFolderController controller;
    RatePage general{246, 253};
    RatePage print{251};
    FakeView view;

    void SetUp() override
    {
        controller.addPage(&general);
        controller.addPage(&print);
    }
    void TearDown() override { LogStream::destroy(); }
};

TEST_F(ControllerTest, forwardsToThePagesInTheirOrder)
{
    EXPECT_EQ(controller.getSize(), 2);
    EXPECT_EQ(controller.getTemplateId(0), 246);
    EXPECT_EQ(controller.getHeaderBitmapId(0), 253);
    EXPECT_EQ(controller.getHeaderBitmapId(1), -1);
    EXPECT_EQ(controller.getTitle(1), L"Page 251");
    controller.showHelp(1);
    EXPECT_EQ(print.helps, 1);
    EXPECT_TRUE(controller.storeCurrentPage()) << "nothing is displayed";
    EXPECT_TRUE(controller.apply());
}

TEST_F(ControllerTest, pageDefaultsLoadWithoutTouchingTheEditedRecord)
{
    PropertyModel live;
    live.metronomeRate = 42.0;
    controller.setPropertyModel(live);
    controller.display(&view);
    view.current = 0;
    controller.loadPageDefaults(0);
    EXPECT_EQ(general.rate, 100.0);
    EXPECT_EQ(controller.getEditedModel().metronomeRate, 42.0);
    EXPECT_TRUE(controller.storeCurrentPage());
    EXPECT_EQ(controller.getEditedModel().metronomeRate, 100.0);
    controller.hide(true);
    EXPECT_EQ(controller.getPropertyModel().metronomeRate, 42.0);
}

TEST_F(ControllerTest, newLiveRecordWhileDisplayingReachesTheCurrentPage)
{
    controller.display(&view);
    view.current = 1;
    PropertyModel loaded;
    loaded.metronomeRate = 55.0;
    controller.setPropertyModel(loaded);
    EXPECT_EQ(print.rate, 55.0);
    EXPECT_EQ(general.loads, 0);
    EXPECT_FALSE(controller.isModified());
    controller.hide(false);
    EXPECT_EQ(controller.getPropertyModel().metronomeRate, 55.0);
}

TEST_F(ControllerTest, misuseIsReportedAndHarmless)
{
    EXPECT_FALSE(controller.storePage(2));
    EXPECT_EQ(controller.getTemplateId(7), -1);
    EXPECT_EQ(controller.getKey(-1), nullptr);
    controller.display(&view);
    controller.display(&view);
    controller.addPage(&general);
    controller.hide(true);
    controller.hide(true);
    EXPECT_EQ(controller.getSize(), 3) << "the check reports; the page is still added";
    controller.setEditedModel(PropertyModel());

    const Lines lines = settingstest::logReports(dir.path());
    const char* expected[] = {"page < getSize()", "page < getSize()", "isDisplaying == false", "! isDisplaying",
                              "isDisplaying == true"};
    ASSERT_EQ(lines.size(), std::size(expected));
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_NE(lines[i].find(std::string(") : ") + expected[i]), std::string::npos) << lines[i];
}

} // namespace
