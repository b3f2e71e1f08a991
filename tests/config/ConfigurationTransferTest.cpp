// The configuration dialog's transfer buttons over a folder controller: the
// displayed page goes into the edited record before it is sent, a fetched
// set-up becomes the edited record and the page shows it, and without a
// controller transfer both only leave a line in the error log.

#include "config/CPBTransfer.h"
#include "config/ConfigurationTransfer.h"
#include "config/PropertyFolderController.h"

#include "FolderDoubles.h"
#include "Rodezir/LogStream.h"
#include "SettingsTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using settingstest::FakeView;
using settingstest::RatePage;

// Records what it was sent and answers a fetch with a set-up of its own.
class FakeTransfer : public CPBTransfer {
public:
    explicit FakeTransfer(std::vector<double>& sent) : sent_(sent) {}
    void sendSetup(const PropertyModel& setup, QWidget*) override { sent_.push_back(setup.metronomeRate); }
    void getSetup(PropertyModel& setup, QWidget*) override { setup.setAlgorithm1("From the controller"); }

private:
    std::vector<double>& sent_;
};

class ConfigurationTransferTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        controller.addPage(&page);
        controller.display(&view);
        view.current = 0;
        controller.loadPage(0);
    }
    void TearDown() override
    {
        CPBTransfer::install(nullptr);
        LogStream::destroy();
    }

    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd{dir.path()};
    PropertyFolderController controller;
    RatePage page{252, 253};
    FakeView view;
};

TEST_F(ConfigurationTransferTest, worksOnTheEditedRecordWithThePageTakenIn)
{
    std::vector<double> sent;
    CPBTransfer::install(std::make_unique<FakeTransfer>(sent));
    page.rate = 70.0; // not stored yet: the transfer takes the page in first
    ConfigurationTransfer::sendToController(controller, nullptr);
    EXPECT_EQ(sent, std::vector<double>{70.0});

    const int loadsBefore = page.loads;
    ConfigurationTransfer::getFromController(controller, nullptr);
    EXPECT_EQ(controller.getEditedModel().getAlgorithm1(), "From the controller");
    EXPECT_EQ(controller.getEditedModel().metronomeRate, 70.0);
    EXPECT_EQ(page.loads, loadsBefore + 1) << "the current page shows the fetched set-up";
    EXPECT_EQ(controller.getPropertyModel().getAlgorithm1(), PropertyModel().getAlgorithm1()) << "live waits for OK";
    controller.hide(false);
    EXPECT_EQ(controller.getPropertyModel().getAlgorithm1(), "From the controller");
}

TEST_F(ConfigurationTransferTest, aRejectedPageStillTransfers)
{
    std::vector<double> sent;
    CPBTransfer::install(std::make_unique<FakeTransfer>(sent));
    page.rate = -1.0;
    ConfigurationTransfer::sendToController(controller, nullptr);
    EXPECT_EQ(sent, std::vector<double>{100.0});
    controller.hide(true);
}

TEST_F(ConfigurationTransferTest, withoutATransferNothingIsSentAndTheRecordStays)
{
    ConfigurationTransfer::sendToController(controller, nullptr);
    ConfigurationTransfer::getFromController(controller, nullptr);
    EXPECT_FALSE(controller.isModified());
    controller.hide(false);
    EXPECT_EQ(settingstest::logReports(dir.path()),
              (std::vector<std::string>{"No controller transfer is available: the set-up was not sent.",
                                        "No controller transfer is available: no set-up was fetched."}));
}

} // namespace
