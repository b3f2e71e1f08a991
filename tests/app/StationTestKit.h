#pragma once
// The application object for the tests: every service start-up reaches
// outside the program answered by the test and written down in order, a
// session manager whose session in front the test chooses, a dialog for the
// single-instance windows, and the station's singletons reset around each test.

#include "SessionTestKit.h"
#include "TempDir.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogRegistry.h"
#include "app/sessions/SessionManager.h"
#include "app/shell/ChildDialog.h"
#include "app/shell/CprTrainingApp.h"
#include "comm/ports/CalibrateManager.h"
#include "config/Configuration.h"
#include "platform/Beep.h"
#include "platform/ManualClock.h"
#include "platform/MessageBox.h"
#include "platform/ScopedClock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace stationtest {

// The session manager with the session in front set by the test. Showing a
// session gives it its view, as the session window does.
class FrontSessionManager final : public SessionManager {
public:
    FrontSessionManager() : SessionManager(true) {}
    Session* getCurrentSession() const override { return front; }
    void showSessionWindow() override
    {
        ++sessionWindowShows;
        for (Session* session : sessions())
            showSession(session);
    }
    void showSession(Session* session) override
    {
        if (session && !session->getSessionView())
            session->createSessionView();
    }
    void selectTab(int n) override { selectedTabs.push_back(n); }
    Session* front = nullptr;
    int sessionWindowShows = 0;
    std::vector<int> selectedTabs;
};

// A small dialog for the New-session and Run-course windows.
class HostedDialog final : public ChildDialog {
public:
    static constexpr int TEMPLATE = 9201;
    HostedDialog() : ChildDialog(registered()) {}
    bool canClose() override { return closeAllowed; }
    bool closeAllowed = true;

private:
    static int registered()
    {
        using namespace kova;
        if (!DialogRegistry::find(TEMPLATE)) {
            DialogTable table;
            table.id = TEMPLATE;
            table.caption = L"Hosted";
            table.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
            table.cx = 120;
            table.cy = 40;
            table.controls = {label(L"Hosted dialog", IDC_STATIC, 7, 7, 100, 8),
                              defPushButton(L"OK", IDOK, 7, 20, 50, 14)};
            DialogRegistry::add(table);
        }
        return TEMPLATE;
    }
};

class StationTest : public ::testing::Test {
protected:
    StationTest()
    {
        LogStream::destroy();
        CalibrateManager::destroy();
        Configuration::destroy();
        ::setenv("KOVA_REGISTRY_DIR", folder.file("registry").c_str(), 1);
        // No COM port but those a test names; the search's Retry box is cancelled.
        ::setenv("KOVA_PORT_MAP", "", 1);
        asker.fallback = platform::IDCANCEL;
        platform::setBeepFunction([this] { ++beeps; });
    }
    ~StationTest() override
    {
        app.reset();
        platform::setBeepFunction({});
        Configuration::destroy();
        CalibrateManager::destroy();
        LogStream::destroy();
        ::unsetenv("KOVA_REGISTRY_DIR");
    }

    CprTrainingApp::Services services()
    {
        CprTrainingApp::Services s;
        s.screenHeight = [this] { return screenHeight; };
        s.fullScreenHeight = [this] { return fullScreenHeight; };
        s.makeSessionManager = [this] {
            steps.push_back("session manager");
            auto made = std::make_unique<FrontSessionManager>();
            manager = made.get();
            return made;
        };
        s.openDatabase = [this] {
            const CMainFrame* frame = app->mainFrame();
            steps.push_back(frame && frame->isVisible() ? "database, window shown" : "database, no window");
        };
        s.loadConfiguration = [this] {
            Configuration::instance();
            steps.push_back("configuration");
        };
        s.installWindows = [this](CMainFrame&) { steps.push_back("windows"); };
        s.sendReadyMessage = [this] {
            steps.push_back("ready message");
            return false;
        };
        s.countReadyManikins = [this] {
            steps.push_back(app->searchFrame() ? "ready manikins, search window open" : "ready manikins, no search");
            return readyManikins;
        };
        s.makeNewSessionDialog = [this] {
            steps.push_back("new session");
            auto dialog = std::make_unique<HostedDialog>();
            return std::unique_ptr<ChildDialog>(std::move(dialog));
        };
        s.upgradeDatabase = [this] { steps.push_back("upgrade"); };
        s.beatSound = [this] { ++sounds; };
        s.pageSetup = [this](QPrinter&, QWidget*) { ++pageSetups; };
        s.stationDir = folder.path();
        return s;
    }

    bool start(const std::string& commandLine = {})
    {
        app = std::make_unique<CprTrainingApp>(commandLine, services());
        return app->initInstance();
    }

    // The log of a new session's link, kept until the fixture goes: the
    // sessions still listed at its end are deleted with the application.
    sessiontest::LinkLog& newLinkLog() { return linkLogs.emplace_back(); }

    // A live session on a link of the test, listed in the manager.
    Session* addSession(sessiontest::LinkLog& log, long duration = 600)
    {
        auto session = sessiontest::liveSession(log, sessiontest::liveRecord(duration));
        session->createSessionView();
        Session* listed = session.release();
        manager->addSession(listed);
        return listed;
    }

    kovatest::TempDir folder;
    std::deque<sessiontest::LinkLog> linkLogs;
    platform::ManualClock clock;
    platform::ScopedClock clockScope{clock};
    platform::RecordingMessageAsker asker;
    platform::ScopedMessageAsker askerScope{asker};
    sessiontest::ScopedFakeWindows windows;

    int screenHeight = 768;
    int fullScreenHeight = 738;
    int readyManikins = 0;
    std::vector<std::string> steps;
    int sounds = 0;
    int beeps = 0;
    int pageSetups = 0;
    FrontSessionManager* manager = nullptr;
    std::unique_ptr<CprTrainingApp> app;
};

} // namespace stationtest
