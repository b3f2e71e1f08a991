// The "Search for Manikins" window in its frame, against simulated manikins
// on pseudo-terminals and loopback: the port list, calibration, the answers
// when nothing is found, the start-up search, the compact and expanded
// forms, the wireless list and the modal "Communication" window.

#include "app/search/AppCommands.h"
#include "app/search/CalibrateView.h"
#include "app/shell/DialogFrame.h"

#include "LinkTestSupport.h"
#include "Rodezir/LogStream.h"
#include "TempDir.h"
#include "TestMainWindow.h"
#include "comm/ports/CalibrateManager.h"
#include "comm/link/SerialPort.h"
#include "comm/ports/WirelessDiscovery.h"
#include "controls/AnimateCtrl.h"
#include "controls/RoundButton.h"
#include "platform/MessageBox.h"
#include "propertyPage/ConfigSeams.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <map>

using manikinsim::Handshake;
using manikinsim::ManikinSimulator;
using manikinsim::Misbehaviour;
using manikinsim::SimulatorOptions;
using namespace linktest;

namespace {

constexpr const wchar_t* CALIBRATION_ERROR = L"Calibration Error";
constexpr const wchar_t* NO_COM_PORTS =
    L"No COM ports are available! If a port is used by another application, close the application and select "
    L"'Retry'.";

SimulatorOptions framed(std::uint8_t kind)
{
    SimulatorOptions options;
    options.handshake = Handshake::Framed;
    options.kind = kind;
    return options;
}

SimulatorOptions ascii(const std::string& identity)
{
    SimulatorOptions options;
    options.handshake = Handshake::Ascii;
    options.asciiIdentity = identity;
    return options;
}

SimulatorOptions misbehaving(SimulatorOptions options, Misbehaviour misbehaviour)
{
    options.misbehaviour = misbehaviour;
    return options;
}

// An older manikin that needs calibrating: at rest, or pressed during the measurement.
SimulatorOptions olderManikin(double compressionDepthMm)
{
    SimulatorOptions options = framed(1);
    options.adjustPerformance = false;
    options.performance.sampleRate = 50;
    options.performance.scale = manikinsim::CountScale::framedKind1();
    options.performance.restCompression = 6;
    options.performance.restVentilation = 4;
    options.performance.leadInSeconds = compressionDepthMm > 0 ? 0.0 : 30.0;
    options.performance.compressionDepthMm = compressionDepthMm;
    options.performance.ventilationVolumeLitres = 0.0;
    options.performance.compressionsPerCycle = 30;
    options.performance.pauseSeconds = 0.1;
    options.performance.jitter = 0.0;
    return options;
}

// A search that answers with a fixed list instead of broadcasting.
class ScriptedDiscovery final : public WirelessDiscovery {
public:
    explicit ScriptedDiscovery(std::vector<WirelessReply> replies) : WirelessDiscovery(nullptr), replies_(std::move(replies)) {}
    std::vector<WirelessReply> searchWireless() override { return replies_; }

private:
    std::vector<WirelessReply> replies_;
};

// Answers every box through a function of the test.
class ScriptedAsker final : public platform::MessageAsker {
public:
    std::function<int(const std::wstring&)> answer;
    int ask(const std::wstring& text, const std::wstring& caption, unsigned style) override
    {
        asked.push_back({text, caption, style});
        return answer(text);
    }
    std::vector<platform::RecordingMessageAsker::Asked> asked;
};

// Counts the port registry's change signals.
struct ChangeCounter : SlotHolder {
    void onChanged() { ++count; }
    int count = 0;
};

// A line of the port list as the instructor sees it.
struct Line {
    QString text;
    bool checked;
    bool enabled;
    bool operator==(const Line&) const = default;
};

void PrintTo(const Line& line, std::ostream* out)
{
    *out << line.text.toStdString() << (line.checked ? " [x]" : " [ ]") << (line.enabled ? "" : " greyed");
}

class SearchWindow : public ::testing::Test {
protected:
    SearchWindow()
    {
        LogStream::destroy();
        CalibrateManager::destroy();
        // Only the pseudo-terminals of the test are COM ports.
        ::setenv("KOVA_PORT_MAP", "", 1);
        AppCommands::setNewSession([this] { ++newSessionCommands; });
        // Retry/Cancel boxes are cancelled, so no search asks for ever.
        asker.fallback = platform::IDCANCEL;
        window.show();
    }
    ~SearchWindow() override
    {
        AppCommands::setNewSession({});
        for (QMdiSubWindow* frame : window.client().subWindowList())
            delete frame;
        CalibrateManager::destroy();
        ::setenv("KOVA_PORT_MAP", "", 1);
        LogStream::destroy();
    }

    void startManikins(const std::map<int, SimulatorOptions>& manikins)
    {
        std::string map;
        for (const auto& [port, options] : manikins) {
            auto simulator = startOnPseudoTerminal(options);
            ASSERT_NE(simulator, nullptr);
            map += (map.empty() ? "" : ",") + std::to_string(port) + "=" + simulator->devicePath();
            simulators[port] = std::move(simulator);
        }
        ::setenv("KOVA_PORT_MAP", map.c_str(), 1);
    }

    // The application's search frame around a new view, compact unless asked.
    CalibrateView* openSearchWindow(bool expanded = false)
    {
        auto owned = std::make_unique<CalibrateView>();
        CalibrateView* view = owned.get();
        view->setExpanded(expanded);
        frame = new DialogFrame(&window.client(), std::move(owned));
        frame->fitToDialog = true;
        frame->resizable = false;
        frame->hideOnClose = true;
        EXPECT_TRUE(frame->createFrame("Search for Manikins"));
        return view;
    }

    static QListWidget* list(const CalibrateView& view)
    {
        return qobject_cast<QListWidget*>(view.getDlgItem(CalibrateView::IDC_PORT_LIST));
    }

    static std::vector<Line> lines(const CalibrateView& view)
    {
        std::vector<Line> result;
        for (int row = 0; row < list(view)->count(); ++row) {
            const QListWidgetItem* item = list(view)->item(row);
            result.push_back(
                {item->text(), item->checkState() == Qt::Checked, (item->flags() & Qt::ItemIsEnabled) != 0});
        }
        return result;
    }
    static QString status(const CalibrateView& view) { return view.getDlgItemText(CalibrateView::IDC_STATUS); }
    static bool calibrateEnabled(const CalibrateView& view)
    {
        return view.getDlgItem(CalibrateView::IDC_CALIBRATE)->isEnabled();
    }

    kovatest::TempDir folder;
    kovatest::ScopedCwd inFolder{folder.path()};
    platform::RecordingMessageAsker asker;
    platform::ScopedMessageAsker askerInForce{asker};
    kovatest::TestMainWindow window;
    DialogFrame* frame = nullptr;
    std::map<int, std::unique_ptr<ManikinSimulator>> simulators;
    int newSessionCommands = 0;
};

} // namespace

TEST_F(SearchWindow, listsEveryPortThatAnsweredWithItsState)
{
    startManikins({{3, framed(3)}, {5, ascii("1a")}, {7, ascii("2c")}, {8, misbehaving(framed(3), Misbehaviour::Silent)},
                   {9, framed(4)}});
    std::vector<int> helpTopics;
    configseams::setHelpFunction([&](int topic) { helpTopics.push_back(topic); });
    CalibrateView* view = openSearchWindow(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return status(*view) == "Ready to calibrate"; }, 20000));
    EXPECT_TRUE(view->isUsbInterface());
    EXPECT_EQ(view->getDlgItemText(CalibrateView::IDC_CLOSE), "Close");

    // A session takes COM 9: the list follows the registry at once.
    CalibrateManager::get().takePort(9);
    const std::vector<Line> expected = {
        {"COM 3: - Calibrated", false, true},   {"COM 5: - Need calibration", true, true},
        {"COM 7: - REV Evezodidaz", false, false}, {"COM 8: - No interface", false, true},
        {"COM 9: - Is in use", false, false},
    };
    EXPECT_EQ(lines(*view), expected);
    EXPECT_EQ(view->refreshPortList(), 4) << "a port in use does not count";
    EXPECT_EQ(view->portAt(1), 5);
    EXPECT_EQ(view->rowOf(8), 3);
    EXPECT_EQ(view->rowOf(4), -1);
    QTest::qWait(20);
    const auto path = kovatest::binaryDir() / "search-for-manikins.png";
    EXPECT_TRUE(frame->grab().save(QString::fromStdString(path.string())));

    // "Calibrate selected manikins" follows the check marks.
    EXPECT_TRUE(calibrateEnabled(*view));
    list(*view)->item(1)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(calibrateEnabled(*view));
    list(*view)->item(0)->setCheckState(Qt::Checked);
    EXPECT_TRUE(calibrateEnabled(*view));
    for (const int id : {CalibrateView::IDC_USB, CalibrateView::IDC_WLAN, CalibrateView::IDC_CALIBRATE,
                         CalibrateView::IDC_CLOSE, ChildDialog::ID_HELP})
        EXPECT_TRUE(qobject_cast<kova::RoundButton*>(view->getDlgItem(id))) << id;
    auto* animation = qobject_cast<kova::AnimateCtrl*>(view->getDlgItem(CalibrateView::IDC_ANIMATION));
    ASSERT_TRUE(animation);
    EXPECT_GT(animation->frameCount(), 1);
    EXPECT_FALSE(animation->isPlaying());

    QTest::mouseClick(view->getDlgItem(ChildDialog::ID_HELP), Qt::LeftButton);
    EXPECT_EQ(helpTopics, std::vector<int>{CalibrateView::HELP_TOPIC});
    configseams::setHelpFunction({});

    // Close with COM 3 ready: the window hides and New session comes.
    QTest::mouseClick(view->getDlgItem(CalibrateView::IDC_CLOSE), Qt::LeftButton);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(status(*view), "");
    EXPECT_EQ(newSessionCommands, 1);
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(SearchWindow, calibrationMarksThePortsThatSucceededAndReportsEveryFailureInOneBox)
{
    startManikins({{4, olderManikin(0.0)}, {5, misbehaving(olderManikin(0.0), Misbehaviour::Mute)},
                   {6, olderManikin(55.0)}});
    CalibrateView* view = openSearchWindow();
    view->search();
    ASSERT_EQ(lines(*view), (std::vector<Line>{{"COM 4: - Need calibration", true, true},
                                                {"COM 5: - Need calibration", true, true},
                                                {"COM 6: - Need calibration", true, true}}));

    view->calibrate();
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].caption, CALIBRATION_ERROR);
    EXPECT_EQ(asker.asked[0].style, platform::MB_OK | platform::MB_ICONERROR);
    EXPECT_EQ(asker.asked[0].text,
              L"An error occured during calibration.\n"
              L"Error calibrating COM5: Could not find manikin. Make sure the manikin is connected correctly.\n"
              L"Error calibrating COM6: The manikin was probably moved during calibration, or the cable is not "
              L"connected.\n");
    EXPECT_EQ(status(*view), "Calibration done");
    EXPECT_TRUE(view->calibrationError());
    EXPECT_TRUE(view->isExpanded()) << "a failure shows the whole window";
    EXPECT_EQ(lines(*view), (std::vector<Line>{{"COM 4: - Calibrated", false, true},
                                                {"COM 5: - Need calibration", true, true},
                                                {"COM 6: - Need calibration", true, true}}));
    for (const int port : {4, 5, 6})
        EXPECT_FALSE(CalibrateManager::get().getSerPort(port)->isConnected()) << port;
    EXPECT_EQ(CalibrateManager::get().countReadyManikins(), 1);
}

TEST_F(SearchWindow, aManikinThatStopsSendingIsAnInterfaceProblem)
{
    // Half a second of records, then the cable goes: far too few bytes for a measurement.
    SimulatorOptions options = misbehaving(ascii("1a"), Misbehaviour::DropLink);
    options.dropAfterSamples = 10;
    startManikins({{5, options}});
    CalibrateView* view = openSearchWindow();
    view->search();
    view->calibrate();
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"An error occured during calibration.\nError calibrating COM5: Interface problem. "
                                   L"Make sure the manikin is connected correctly.\n");
    EXPECT_EQ(status(*view), "Calibration Error");
}

TEST_F(SearchWindow, anEmptyListHasNothingToCalibrate)
{
    CalibrateView* view = openSearchWindow();
    QTest::mouseClick(view->getDlgItem(CalibrateView::IDC_CALIBRATE), Qt::LeftButton);
    EXPECT_TRUE(asker.asked.empty()) << "the button is disabled without a checked line";

    view->calibrate();
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"There are no com ports to calibrate! ");
    EXPECT_EQ(asker.asked[0].caption, CALIBRATION_ERROR);
    EXPECT_EQ(asker.asked[0].style, platform::MB_OK | platform::MB_ICONERROR);
    EXPECT_TRUE(view->isExpanded());
    EXPECT_EQ(status(*view), "Calibration Error");
}

TEST_F(SearchWindow, withoutComPortsTheSearchAsksAgainUntilCancelled)
{
    CalibrateView* view = openSearchWindow();
    asker.answers = {platform::IDRETRY, platform::IDRETRY};
    EXPECT_EQ(view->search(), 0);
    ASSERT_EQ(asker.asked.size(), 3u);
    for (const auto& asked : asker.asked) {
        EXPECT_EQ(asked.text, NO_COM_PORTS);
        EXPECT_EQ(asked.caption, CALIBRATION_ERROR);
        EXPECT_EQ(asked.style, platform::MB_RETRYCANCEL | platform::MB_ICONERROR);
    }
    EXPECT_EQ(status(*view), "Ready to calibrate");
    EXPECT_TRUE(view->isExpanded());
    EXPECT_EQ(frame->size(), frame->frameSizeFor(view->expandedSize()));
}

TEST_F(SearchWindow, retryFindsAManikinPluggedInMeanwhile)
{
    CalibrateView* view = openSearchWindow();
    auto* other = new DialogFrame(&window.client(), std::make_unique<CalibrateView>());
    ASSERT_TRUE(other->createFrame("Other"));
    ScriptedAsker plugging;
    plugging.answer = [&](const std::wstring&) {
        // The rest of the main window waits while the search asks; the search window does not.
        EXPECT_FALSE(window.menuWidget()->isEnabled());
        EXPECT_FALSE(other->isEnabled());
        EXPECT_TRUE(view->isEnabled());
        startManikins({{5, framed(3)}});
        return platform::IDRETRY;
    };
    platform::ScopedMessageAsker inForce(plugging);
    EXPECT_EQ(view->search(), 1);
    EXPECT_EQ(plugging.asked.size(), 1u);
    EXPECT_EQ(lines(*view), (std::vector<Line>{{"COM 5: - Calibrated", false, true}}));
    EXPECT_TRUE(window.menuWidget()->isEnabled());
    EXPECT_TRUE(other->isEnabled());

    // The application's own switch, once installed, does it instead.
    std::vector<bool> switched;
    AppCommands::setEnableMainWindow([&](bool enable) { switched.push_back(enable); });
    view->search();
    view->calibrate();
    AppCommands::setEnableMainWindow({});
    EXPECT_EQ(switched, (std::vector<bool>{false, true, false, true}));
}

TEST_F(SearchWindow, demonstrationStartUpCalibratesTheRecordedDataAndOpensNewSession)
{
    DemoState demo;
    // What the list shows after the search, before the calibration.
    std::vector<std::vector<Line>> listed;
    struct Recorder : SlotHolder {
        std::function<void()> record;
        void onChanged() { record(); }
    } recorder;
    CalibrateView* view = openSearchWindow();
    recorder.record = [&] { listed.push_back(lines(*view)); };
    // Connected after the view, so it is called first: the view has not refreshed yet.
    ::connect(CalibrateManager::get().changed, recorder, &Recorder::onChanged);
    EXPECT_FALSE(view->isExpanded());
    EXPECT_EQ(frame->size(), frame->frameSizeFor(view->compactSize()));

    EXPECT_FALSE(view->startupSearch());

    ASSERT_GE(listed.size(), 2u);
    std::vector<Line> needCalibration;
    std::vector<Line> calibrated;
    for (int port = 247; port <= 256; ++port) {
        const QString com = QString("COM %1:").arg(port);
        needCalibration.push_back({com + " - Need calibration", true, true});
        calibrated.push_back({com + " - Calibrated", false, true});
    }
    EXPECT_EQ(listed[1], needCalibration) << "the list after the scan";
    EXPECT_EQ(lines(*view), calibrated);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(newSessionCommands, 1);
    EXPECT_TRUE(asker.asked.empty());
    std::vector<PortChoice> choices;
    for (int port = 247; port <= 256; ++port)
        choices.push_back({port, "USB " + std::to_string(port)});
    EXPECT_EQ(CalibrateManager::get().usbChoices(), choices);
}

TEST_F(SearchWindow, withNoReadyManikinStartUpEndsWithTheWholeWindow)
{
    startManikins({{8, misbehaving(framed(3), Misbehaviour::Silent)}});
    CalibrateView* view = openSearchWindow();
    EXPECT_FALSE(view->startupSearch());
    EXPECT_EQ(status(*view), "No ports are calibrated");
    EXPECT_TRUE(view->isExpanded());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->size(), frame->frameSizeFor(view->expandedSize()));
    EXPECT_EQ(newSessionCommands, 0);
}

// The application expands the view after its start-up search; when that
// search has closed the window already, the window must stay closed.
TEST_F(SearchWindow, expandingAClosedWindowOnlyResizesIt)
{
    DemoState demo;
    CalibrateView* view = openSearchWindow();
    const QSize compact = frame->size();
    view->startupSearch();
    ASSERT_FALSE(frame->isVisible());
    ChangeCounter scans;
    ::connect(CalibrateManager::get().changed, scans, &ChangeCounter::onChanged);

    view->setExpanded(true);
    QTest::qWait(20);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(scans.count, 0) << "no second search";
    EXPECT_EQ(frame->size(), frame->frameSizeFor(view->expandedSize()));
    EXPECT_GT(frame->height(), compact.height());
    EXPECT_EQ(view->compactSize().height(),
              view->getDlgItem(CalibrateView::IDC_ANIMATION)->geometry().top() + CalibrateView::COMPACT_MARGIN);

    // The Calibrate command shows it again, and the expanded window searches at once.
    frame->showFrame();
    ASSERT_TRUE(QTest::qWaitFor([&] { return scans.count > 0; }, 5000));
    EXPECT_EQ(status(*view), "Ready to calibrate");
    EXPECT_EQ(newSessionCommands, 1);
}

TEST_F(SearchWindow, wirelessManikinsAreListedByNameAndCannotBeChecked)
{
    std::uint32_t address = 0;
    auto manikin = startWireless(framed(3), address);
    ASSERT_NE(manikin, nullptr);
    WirelessReply reply;
    std::memcpy(reply.name.data(), "Resusci Anne", 12);
    reply.address = address;
    CalibrateManager::get().setWirelessDiscovery(std::make_unique<ScriptedDiscovery>(std::vector{reply}));

    CalibrateView* view = openSearchWindow(false);
    QTest::mouseClick(view->getDlgItem(CalibrateView::IDC_WLAN), Qt::LeftButton);
    EXPECT_FALSE(view->isUsbInterface());
    EXPECT_EQ(lines(*view), (std::vector<Line>{{"Resusci Anne : - Ready to use", false, false}}));
    EXPECT_FALSE(calibrateEnabled(*view));
    EXPECT_EQ(status(*view), "Search finished");
    EXPECT_FALSE(view->isExpanded()) << "a manikin was found";
    EXPECT_EQ(view->focusWidget(), view->getDlgItem(CalibrateView::IDC_WLAN));

    // Nothing answers any more: the whole window shows the empty list.
    CalibrateManager::get().setWirelessDiscovery(std::make_unique<ScriptedDiscovery>(std::vector<WirelessReply>{}));
    EXPECT_EQ(view->search(), 0);
    EXPECT_TRUE(lines(*view).empty());
    EXPECT_TRUE(view->isExpanded());
}

TEST_F(SearchWindow, theConfigurationPagesGetTheModalCommunicationWindow)
{
    startManikins({{7, ascii("2c")}});
    CalibrateView::installAsCalibrationWindow();
    auto calibration = configseams::makeCalibrationWindow();
    calibration->setExpanded(true);
    QString caption;
    std::vector<Line> shown;
    QTimer::singleShot(0, [&] {
        auto* view = qobject_cast<CalibrateView*>(QApplication::activeModalWidget());
        if (!view) {
            ADD_FAILURE() << "no modal search window";
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
            return;
        }
        // Opened expanded, it searches at once.
        EXPECT_TRUE(QTest::qWaitFor([&] { return status(*view) == "Ready to calibrate"; }, 10000));
        caption = view->windowTitle();
        shown = lines(*view);
        EXPECT_EQ(view->size(), view->expandedSize());
        QTest::keyClick(view, Qt::Key_Escape);
    });
    EXPECT_FALSE(calibration->runModal(&window));
    EXPECT_EQ(caption, "Communication");
    EXPECT_EQ(shown, (std::vector<Line>{{"COM 7: - REV Evezodidaz", false, false}}));
    EXPECT_EQ(newSessionCommands, 0) << "a controller is no manikin";
    configseams::setCalibrationWindowFactory({});
}
