// The controller transfer as the instructor meets it: the configuration
// dialog's buttons, the selectors and the progress windows, against three
// simulated controllers on pseudo-terminals that the port registry's scan
// finds, with the records on a SQLite data source.

#include "RecordsFixture.h"
#include "TransferTestSupport.h"

#include "CPB/CPBSend.h"
#include "CPB/CPBSendSelector.h"
#include "CPB/CPBTransferFrontEnd.h"
#include "CPB/CPGGetSelector.h"
#include "CPB/ProgressDialog.h"
#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "comm/ports/CalibrateManager.h"
#include "config/CPBTransfer.h"
#include "config/PropertyFolderController.h"
#include "platform/ScopedClock.h"
#include "propertyPage/ConfigDialogTables.h"
#include "propertyPage/ConfigPage.h"
#include "propertyPage/ConfigurationDialogs.h"
#include "propertyPage/PropertyFolderView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <set>

using namespace transfertest;

namespace {

constexpr int CONTROLLER_PAGE = 4;
const QString FAILED = QStringLiteral("An error occured, please try again.");

std::vector<ProgressDialog*> progressWindows()
{
    std::vector<ProgressDialog*> windows;
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* window = qobject_cast<ProgressDialog*>(widget); window && window->isVisible())
            windows.push_back(window);
    return windows;
}

// Runs `answer` on the next modal dialog as soon as it is shown.
void answerModal(std::function<void(QDialog&)> answer)
{
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
    });
}

void click(QWidget& dialog, int id)
{
    auto* button = qobject_cast<QAbstractButton*>(kova::getDlgItem(&dialog, id));
    ASSERT_NE(button, nullptr) << id;
    button->click();
}

QString itemText(QWidget& dialog, int id) { return kova::getDlgItem(&dialog, id)->property("text").toString(); }

void saveScreenshot(QWidget& window, const std::string& name)
{
    const auto path = kovatest::binaryDir() / (name + ".png");
    EXPECT_TRUE(window.grab().save(QString::fromStdString(path.string())));
}

} // namespace

class TransferWindows : public RecordsFixture {
protected:
    static constexpr int PORTS[] = {5, 6, 7};

    void SetUp() override
    {
        LogStream::destroy();
        RecordsFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        registerConfigDialogTables();
        openRecords();
        // The guidelines the default set-up names, so the page's lists hold them.
        AlgorithmTable table(theDatabase);
        table.open("");
        for (const char* name : {"AHA 2010", "ERC 2010"}) {
            AlgorithmRecord record;
            record.Name = name;
            table.addNew();
            table.setRecord(record);
            ASSERT_TRUE(table.update()) << table.lastError();
        }
        CPBTransferFrontEnd::install();
        dialogs.addPages(controller);

        std::string map;
        for (const int port : PORTS) {
            auto simulator = std::make_unique<controllersim::ControllerSimulator>();
            ASSERT_TRUE(simulator->open());
            clock.controllers.push_back(simulator.get());
            map += (map.empty() ? "" : ",") + std::to_string(port) + "=" + simulator->devicePath();
            controllers[port] = std::move(simulator);
        }
        ::setenv("KOVA_PORT_MAP", map.c_str(), 1);
        CalibrateManager::get().scanComPorts();
        ASSERT_EQ(CalibrateManager::get().getCPBList(), std::vector<int>(std::begin(PORTS), std::end(PORTS)));
    }

    void TearDown() override
    {
        view.reset();
        QApplication::processEvents();
        controller.removeAllPages();
        CalibrateManager::destroy();
        CPBTransfer::install(nullptr);
        ::setenv("KOVA_PORT_MAP", "", 1);
        RecordsFixture::TearDown();
        LogStream::destroy();
    }

    PropertyFolderView& open()
    {
        view = std::make_unique<PropertyFolderView>(controller, CONTROLLER_PAGE);
        EXPECT_TRUE(view->run(false));
        return *view;
    }

    void pressSend() { click(*view, PropertyFolderView::SEND_TO_CONTROLLER); }
    void pressGet() { click(*view, PropertyFolderView::GET_FROM_CONTROLLER); }

    QComboBox* pageCombo(int id) const
    {
        return qobject_cast<QComboBox*>(kova::getDlgItem(view->currentPageWindow(), id));
    }

    controllersim::ControllerDevice device(int port) const { return controllers.at(port)->device(); }

    // Lets the windows that closed themselves go.
    static void settle()
    {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    kovatest::ScopedCwd inStation{folder.path()};
    ControllersClock clock;
    platform::ScopedClock clockInUse{clock};
    std::map<int, std::unique_ptr<controllersim::ControllerSimulator>> controllers;
    PropertyFolderController controller;
    ConfigurationDialogs dialogs;
    std::unique_ptr<PropertyFolderView> view;
};

TEST_F(TransferWindows, sendingToThreeControllersShowsAWindowForEachAndKeepsTheLast)
{
    open();
    answerModal([](QDialog& selector) {
        EXPECT_NE(qobject_cast<CPBSendSelector*>(&selector), nullptr);
        EXPECT_EQ(selector.windowTitle(), "Send setup to REV Evezodidaz");
        EXPECT_EQ(itemText(selector, CPBSelector::IDC_PROMPT), "Select REV Evezodidaz(s) to update:");
        auto* list = qobject_cast<QListWidget*>(kova::getDlgItem(&selector, CPBSendSelector::IDC_LIST));
        ASSERT_EQ(list->count(), 3);
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(list->item(row)->text(), QStringLiteral("Com %1").arg(PORTS[row]));
            EXPECT_EQ(list->item(row)->checkState(), Qt::Checked);
        }
        EXPECT_EQ(list->currentRow(), 0);
        saveScreenshot(selector, "transfer-send-select");
        click(selector, kova::IDOK);
    });

    // Watches the windows while the transfers run, as the link lets the station repaint.
    std::set<QString> titlesSeen;
    bool escapeTried = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        for (ProgressDialog* window : progressWindows()) {
            titlesSeen.insert(window->windowTitle());
            if (escapeTried || !window->windowTitle().endsWith("7") || window->getPos() < 500)
                continue;
            escapeTried = true;
            EXPECT_EQ(window->cursor().shape(), Qt::WaitCursor);
            saveScreenshot(*window, "transfer-progress-running");
            QTest::keyClick(window, Qt::Key_Escape);
            window->close();
            EXPECT_TRUE(window->isVisible()) << "the window stays while its transfer runs";
        }
    });
    watcher.start(0);
    pressSend();
    watcher.stop();
    settle();

    EXPECT_TRUE(escapeTried);
    EXPECT_EQ(titlesSeen, (std::set<QString>{"Kova REV Evezodidaz on COM5", "Kova REV Evezodidaz on COM6",
                                             "Kova REV Evezodidaz on COM7"}));
    for (const int port : PORTS)
        EXPECT_EQ(area(device(port), Pointer::CONFIGURATION), (Bytes{0xFF, 0xBF, 0xE0})) << port;

    const auto remaining = progressWindows();
    ASSERT_EQ(remaining.size(), 1u);
    QPointer<ProgressDialog> last = remaining.front();
    EXPECT_EQ(last->windowTitle(), "Kova REV Evezodidaz on COM7");
    EXPECT_EQ(itemText(*last, ProgressDialog::IDC_STEP), "Transfer done.");
    EXPECT_EQ(itemText(*last, kova::IDCANCEL), "Close");
    EXPECT_EQ(itemText(*last, ProgressDialog::IDC_PERCENT), "100%");
    EXPECT_TRUE(last->isButtonEnabled());
    EXPECT_EQ(last->windowModality(), Qt::WindowModal);
    EXPECT_EQ(last->parentWidget(), view.get());
    EXPECT_TRUE(view->isEnabled()) << "the dialog is held by the window's modality, not disabled";
    saveScreenshot(*last, "transfer-progress-done");

    QTest::keyClick(last, Qt::Key_Escape);
    settle();
    EXPECT_TRUE(last.isNull());
}

TEST_F(TransferWindows, onlyTheCheckedControllersGetTheSetUp)
{
    open();
    const struct {
        std::vector<int> unchecked;
        std::vector<int> reached;
    } cases[] = {
        {{5, 6, 7}, {}},
        {{6}, {5, 7}},
    };
    for (const auto& c : cases) {
        answerModal([&](QDialog& selector) {
            auto* list = qobject_cast<QListWidget*>(kova::getDlgItem(&selector, CPBSendSelector::IDC_LIST));
            for (int row = 0; row < list->count(); ++row)
                if (std::count(c.unchecked.begin(), c.unchecked.end(), PORTS[row]))
                    list->item(row)->setCheckState(Qt::Unchecked);
            click(selector, kova::IDOK);
        });
        pressSend();
        settle();
        for (const int port : PORTS) {
            const bool reached = std::count(c.reached.begin(), c.reached.end(), port) > 0;
            EXPECT_EQ(!device(port).requests().empty(), reached) << port;
        }
        const auto windows = progressWindows();
        EXPECT_EQ(windows.size(), c.reached.empty() ? 0u : 1u);
        for (ProgressDialog* window : windows)
            QTest::keyClick(window, Qt::Key_Escape);
        settle();
    }
}

TEST_F(TransferWindows, aControllerThatFailedKeepsItsWindowBesideTheLast)
{
    controllers.at(5)->change([](controllersim::ControllerDevice& d) { d.options().cutAfterRequests = 3; });
    open();
    answerModal([](QDialog& selector) { click(selector, kova::IDOK); });
    pressSend();
    settle();

    std::map<QString, ProgressDialog*> byTitle;
    for (ProgressDialog* window : progressWindows())
        byTitle[window->windowTitle()] = window;
    ASSERT_EQ(byTitle.size(), 2u);
    ProgressDialog* failed = byTitle["Kova REV Evezodidaz on COM5"];
    ProgressDialog* last = byTitle["Kova REV Evezodidaz on COM7"];
    ASSERT_TRUE(failed && last);
    EXPECT_EQ(itemText(*failed, ProgressDialog::IDC_STEP), FAILED);
    EXPECT_TRUE(failed->isButtonEnabled());
    EXPECT_EQ(itemText(*last, ProgressDialog::IDC_STEP), "Transfer done.");
    EXPECT_FALSE(device(6).requests().empty());
    saveScreenshot(*failed, "transfer-progress-failed");
}

TEST_F(TransferWindows, aSetUpRefusedBeforeTheLinkOpensSaysWhy)
{
    PropertyModel settings;
    settings.printHeading = std::wstring(1500, L'K');
    controller.setPropertyModel(settings);
    open();
    answerModal([](QDialog& selector) {
        auto* list = qobject_cast<QListWidget*>(kova::getDlgItem(&selector, CPBSendSelector::IDC_LIST));
        list->item(1)->setCheckState(Qt::Unchecked);
        list->item(2)->setCheckState(Qt::Unchecked);
        click(selector, kova::IDOK);
    });
    pressSend();
    settle();
    const auto windows = progressWindows();
    ASSERT_EQ(windows.size(), 1u);
    const QString text = itemText(*windows.front(), ProgressDialog::IDC_STEP);
    EXPECT_TRUE(text.startsWith(FAILED + "\nThe debriefing page of algorithm 1 in English takes ")) << text.toStdString();
    EXPECT_TRUE(device(5).requests().empty());
    saveScreenshot(*windows.front(), "transfer-progress-refused");
}

TEST_F(TransferWindows, fetchingFillsTheDialogAndReachesTheSettingsOnlyWithOk)
{
    // Controller 6 holds a set-up made at another station.
    PropertyModel elsewhere;
    elsewhere.setAlgorithm1("Own guideline");
    elsewhere.setLanguage(0, "fr");
    elsewhere.setIcon(5, 42);
    // The station offers French: it has a catalog for it.
    kovatest::writeFile(folder.path() / "fr.mo", "");
    RecordingProgress quiet;
    ASSERT_TRUE(CPBSend(elsewhere, quiet).send(*CalibrateManager::get().getSerPort(6)));

    open();
    answerModal([](QDialog& selector) {
        EXPECT_NE(qobject_cast<CPGGetSelector*>(&selector), nullptr);
        EXPECT_EQ(selector.windowTitle(), "Get setup from REV Evezodidaz");
        auto* list = qobject_cast<QListWidget*>(kova::getDlgItem(&selector, CPGGetSelector::IDC_LIST));
        QWidget* ok = kova::getDlgItem(&selector, kova::IDOK);
        EXPECT_EQ(list->currentRow(), 0);
        EXPECT_TRUE(ok->isEnabled());
        saveScreenshot(selector, "transfer-get-select");
        // The list takes the growth; OK and Cancel stay centred below it.
        const QSize listBefore = list->size();
        selector.resize(selector.size() + QSize(60, 40));
        EXPECT_EQ(list->size(), listBefore + QSize(60, 40));
        const QRect buttons = ok->geometry().united(kova::getDlgItem(&selector, kova::IDCANCEL)->geometry());
        EXPECT_NEAR(buttons.center().x(), selector.width() / 2, 2);
        EXPECT_GT(buttons.top(), list->geometry().bottom());
        list->clearSelection();
        EXPECT_FALSE(ok->isEnabled());
        list->item(1)->setSelected(true);
        EXPECT_TRUE(ok->isEnabled());
        click(selector, kova::IDOK);
    });
    pressGet();
    settle();

    const auto windows = progressWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows.front()->windowTitle(), "Kova REV Evezodidaz on COM6");
    EXPECT_EQ(itemText(*windows.front(), ProgressDialog::IDC_STEP), "Transfer done.");
    QTest::keyClick(windows.front(), Qt::Key_Escape);
    settle();
    EXPECT_TRUE(progressWindows().empty());

    // The page shows the fetched guideline, new to the station, in its list.
    EXPECT_EQ(pageCombo(1080)->currentText(), "Own guideline");
    EXPECT_NE(pageCombo(1080)->findText("Own guideline"), -1);
    EXPECT_EQ(controller.getEditedModel().getIcon(5), 42);
    EXPECT_EQ(controller.getPropertyModel().getAlgorithm1(), "AHA 2010");

    // OK offers to send the new set-up at once; cancelled, the settings are taken over all the same.
    answerModal([](QDialog& selector) { click(selector, kova::IDCANCEL); });
    click(*view, kova::IDOK);
    EXPECT_TRUE(view->isAccepted());
    view.reset();
    EXPECT_EQ(controller.getPropertyModel().getAlgorithm1(), "Own guideline");
    EXPECT_EQ(controller.getPropertyModel().getLanguage(0), "fr");
    EXPECT_EQ(controller.getPropertyModel().getIcon(5), 42);
}

TEST_F(TransferWindows, aFetchCutShortLeavesWhatArrivedInTheDialog)
{
    // Icons, languages and configuration arrive; the line goes at the first algorithm's name.
    controllers.at(6)->change([](controllersim::ControllerDevice& d) {
        setArea(d, Pointer::ICON_SELECTION, 0, {10, 11, 12, 13, 14, 15});
        d.options().cutAfterRequests = 3;
    });
    open();
    answerModal([](QDialog& selector) {
        auto* list = qobject_cast<QListWidget*>(kova::getDlgItem(&selector, CPGGetSelector::IDC_LIST));
        list->setCurrentRow(1);
        click(selector, kova::IDOK);
    });
    pressGet();
    settle();

    const auto windows = progressWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(itemText(*windows.front(), ProgressDialog::IDC_STEP), FAILED);
    EXPECT_EQ(itemText(*windows.front(), kova::IDCANCEL), "Close");
    EXPECT_TRUE(windows.front()->isButtonEnabled());
    saveScreenshot(*windows.front(), "transfer-progress-fetch-failed");
    QTest::keyClick(windows.front(), Qt::Key_Escape);
    settle();
    EXPECT_TRUE(progressWindows().empty());

    EXPECT_EQ(controller.getEditedModel().getIcon(0), 10);
    EXPECT_EQ(controller.getEditedModel().getIcon(5), 15);
    EXPECT_EQ(pageCombo(1384)->currentIndex(), 10) << "the page shows what arrived";
    EXPECT_EQ(controller.getEditedModel().getAlgorithm1(), "AHA 2010");
    EXPECT_EQ(controller.getPropertyModel().getIcon(0), 0) << "the settings wait for OK";
    EXPECT_FALSE(CalibrateManager::get().getSerPort(6)->isConnected());
}

TEST_F(TransferWindows, aFetchedRowTheEditorWouldNotKeepIsRefusedAndTheWindowSaysWhy)
{
    controllers.at(6)->change([](controllersim::ControllerDevice& d) {
        putAlgorithm(d, 0, "Crossed rates", {2, 60, 6, 0.4f, 0.6f, 90, 110, 40, 50});
    });
    open();
    answerModal([](QDialog& selector) {
        auto* list = qobject_cast<QListWidget*>(kova::getDlgItem(&selector, CPGGetSelector::IDC_LIST));
        list->setCurrentRow(1);
        click(selector, kova::IDOK);
    });
    pressGet();
    settle();

    const auto windows = progressWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(itemText(*windows.front(), ProgressDialog::IDC_STEP),
              FAILED + "\nThe controller's algorithm \"Crossed rates\" holds Ventilation rate 60 - 6: its low limit is "
                       "above its high one.");
    saveScreenshot(*windows.front(), "transfer-progress-fetch-refused");
    QTest::keyClick(windows.front(), Qt::Key_Escape);
    settle();
    EXPECT_EQ(pageCombo(1080)->findText("Crossed rates"), -1);
    EXPECT_EQ(controller.getEditedModel().getAlgorithm1(), "AHA 2010");
    AlgorithmTable table(theDatabase);
    table.open("");
    EXPECT_EQ(table.countKey("Crossed rates"), 0);
}

TEST(ProgressWindow, showsWholePercentsAndStaysWhileItsButtonIsDisabled)
{
    QWidget owner;
    owner.show();
    QPointer<ProgressDialog> progress = new ProgressDialog(&owner);
    int closings = 0;
    struct Listener : SlotHolder {
        int* count;
        void closed() { ++*count; }
    } listener;
    listener.count = &closings;
    connect(progress->closed, listener, &Listener::closed);
    progress->enableButton(false);
    progress->show();

    const struct {
        int position;
        const char* percent;
    } positions[] = {{0, "0%"}, {9, "0%"}, {10, "1%"}, {999, "99%"}, {1000, "100%"}};
    for (const auto& p : positions) {
        progress->setPos(p.position);
        EXPECT_EQ(itemText(*progress, ProgressDialog::IDC_PERCENT), p.percent) << p.position;
        EXPECT_EQ(qobject_cast<QProgressBar*>(progress->getDlgItem(ProgressDialog::IDC_PROGRESS))->value(), p.position);
    }

    EXPECT_EQ(progress->cursor().shape(), Qt::WaitCursor);
    QTest::keyClick(progress, Qt::Key_Escape);
    progress->close();
    QTest::keyClick(progress, Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_FALSE(progress.isNull());
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(closings, 0);

    progress->enableButton(true);
    EXPECT_NE(progress->cursor().shape(), Qt::WaitCursor);
    QTest::keyClick(progress, Qt::Key_Escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(progress.isNull());
    EXPECT_EQ(closings, 1);
}
