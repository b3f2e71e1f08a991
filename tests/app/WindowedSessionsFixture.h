#pragma once
// The windowed session manager beside a main window of the tests' own, over
// live sessions on links of the tests' own with the real live panel: message
// boxes answered, beeps counted, and the ECG boxes' log outliving the sessions.

#include "LivePanelTestKit.h"
#include "TestMainWindow.h"

#include "app/livepanel/WindowedSessionManager.h"
#include "platform/Beep.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace livepaneltest {

class WindowedSessionsFixture : public testing::Test {
protected:
    void SetUp() override
    {
        mainWindow.resize(1200, 800);
        mainWindow.show();
        previousBeep = platform::setBeepFunction([this] { ++beeps; });
    }
    void TearDown() override { platform::setBeepFunction(previousBeep); }

    // A live session on a link of its own named `title`, added to the
    // manager; `ecg`: its manikin sends ECG; `recording`: what the link
    // replays (its own strokes when empty).
    Session* add(const std::string& title, bool ecg, std::vector<ManikinSample> recording = {})
    {
        links.push_back(std::make_unique<sessiontest::LinkLog>());
        links.back()->sendsEcg = ecg;
        links.back()->name = title;
        links.back()->port.recording = std::move(recording);
        auto made = sessiontest::liveSession(*links.back(),
                                             sessiontest::liveRecord(600, 4, 257 + static_cast<long>(links.size())), 1);
        Session* session = made.release();
        manager.addSession(session);
        return session;
    }
    // Windows that went are deleted; a window whose end takes others with it
    // (the last session's) has their deletion posted meanwhile.
    static void settle()
    {
        for (int round = 0; round < 2; ++round)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ScopedLivePanel installed;
    platform::RecordingMessageAsker asker;
    platform::ScopedMessageAsker askerScope{asker};
    kovatest::TestMainWindow mainWindow;
    std::vector<std::unique_ptr<sessiontest::LinkLog>> links;
    // Outlives the sessions, whose ECG boxes write into it until they go.
    EcgBoxLog boxes;
    WindowedSessionManager manager{false};
    platform::BeepFunction previousBeep;
    int beeps = 0;
};

} // namespace livepaneltest
