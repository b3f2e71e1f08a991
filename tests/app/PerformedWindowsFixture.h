#pragma once
// Sessions run to their end in their real windows (the debriefing panel
// installed) inside a host window on Qt's offscreen platform, with the
// station's registry and data folder in the test's folder; the save
// question is answered Cancel and the end sound is silent.

#include "SessionTestKit.h"
#include "SessionWindowsReset.h"

#include "TempDir.h"
#include "app/debriefing/SessionDebriefView.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionView.h"
#include "app/sessions/SessionWindowSet.h"
#include "config/Configuration.h"
#include "platform/RegistryStore.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

class PerformedWindowsFixture : public testing::Test {
protected:
    void SetUp() override
    {
        setenv("KOVA_REGISTRY_DIR", folder.file("registry").c_str(), 1);
        std::filesystem::create_directory(folder.path() / "data");
        platform::RegistryStore::setMachineWritable(true);
        platform::RegistryStore::instance().setString(platform::RegistryRoot::Machine, "SOFTWARE\\Kova\\Kova CPR\\3.1.3",
                                                      "Data Folder", (folder.path() / "data").string());
        platform::RegistryStore::setMachineWritable(false);
        SessionWindowSet::install();
        SessionDebriefView::install();
        SessionWindowSet::setEndSound([] {});
        SessionWindowSet::setSaveQuestion(
            [](QWidget*, const std::wstring&, bool) { return SessionWindows::SaveAnswer::Cancel; });
        host.resize(980, 620);
    }
    void TearDown() override
    {
        sessions.clear();
        SessionDebriefView::setPrintFunction({});
        sessiontest::uninstallSessionWindows();
        Configuration::destroy();
        unsetenv("KOVA_REGISTRY_DIR");
    }

    static PropertyModel& settings() { return Configuration::instance().getPropertyModel(); }

    // Shows the session in the host and runs it until it ends, for at most
    // `seconds` and five more at `rate` steps a second; `beforeStep` hears
    // the number of each step before it is taken.
    void runShown(Session& session, long seconds, int rate, const std::function<void(int)>& beforeStep = {})
    {
        session.createSessionView()->create(&host);
        session.getSessionView()->setGeometry(host.rect());
        host.show();
        session.start();
        for (int step = 0; !session.getEnded() && step < (seconds + 5) * rate; ++step) {
            if (beforeStep)
                beforeStep(step);
            session.onTimer();
        }
    }

    kovatest::TempDir folder;
    sessiontest::LinkLog link;
    QWidget host;
    std::vector<std::unique_ptr<Session>> sessions;
};
