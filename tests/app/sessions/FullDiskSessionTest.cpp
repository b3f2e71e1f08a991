// Storing finished sessions on a full disk (a small tmpfs in a mount
// namespace of the test's own holding the records and the data folder): the
// store is refused and told, the station goes on, the session stays open,
// and the session stored before keeps its row and its data file; with room
// again the same session is stored. Through the store a session without a
// review window uses and through the review panel.

#include "FullDiskFixture.h"
#include "SessionTestKit.h"
#include "SessionWindowsReset.h"
#include "TestSessionPanel.h"

#include "Database/SessionTable.h"
#include "Rodezir/LogStream.h"
#include "app/sessions/SessionDatabaseView.h"
#include "app/sessions/SessionManager.h"
#include "app/sessions/SessionView.h"
#include "app/sessions/SessionWindowSet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace sessiontest;
using Answer = SessionWindows::SaveAnswer;
using Panel = SessionWindows::Panel;

namespace {

namespace fs = std::filesystem;

class FullDiskSessions : public OnSmallDisk<> {
protected:
    std::map<std::string, std::string> dataFiles() const
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(dataFolder))
            files[entry.path().filename().string()] = kovatest::readFile(entry.path());
        return files;
    }
    std::string storedNote(const std::string& serial)
    {
        const auto rows = theDatabase.query("SELECT \"Note\" FROM \"Session\" WHERE \"Serialidentifier\" = ?",
                                            {serial}, {SqlType::Text});
        return rows.size() == 1 ? std::get<std::string>(rows[0][0]) : "<" + std::to_string(rows.size()) + " rows>";
    }
    // Told in a box with the store's caption and in the error log.
    bool toldTheStoreFailed() const
    {
        const std::string log = kovatest::readFile(LogStream::instance().path());
        for (const auto& asked : asker.asked)
            if (asked.caption == L"Problem saving session" || asked.text.find(L"disk is full") != std::wstring::npos)
                return !log.empty();
        return false;
    }
};

TEST_F(FullDiskSessions, aStoreRefusedByAFullDiskKeepsTheStoredSessionWhole)
{
    ScopedFakeWindows windows;
    LinkLog link;
    auto session = collectedSession(link, 400);
    const std::string serial = session->getRecord().Serialidentifier;
    const auto storeWith = [&](const std::string& note) { return storeWithNote(windows, *session, note); };
    ASSERT_TRUE(storeWith("first look"));
    const auto stored = dataFiles();

    disk->fill();
    EXPECT_FALSE(storeWith("second look"));
    EXPECT_TRUE(toldTheStoreFailed());
    EXPECT_EQ(storedNote(serial), "first look");
    EXPECT_EQ(dataFiles(), stored) << "the data file as it was, and nothing beside it";

    disk->makeRoom();
    asker.asked.clear();
    ASSERT_TRUE(storeWith("second look"));
    EXPECT_EQ(storedNote(serial), "second look");
    EXPECT_TRUE(kovatest::readFile(dataFolder / (serial + ".dat")).ends_with("recommendations:\nsecond look\n"));
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(FullDiskSessions, aReviewStoredOnAFullDiskKeepsTheSessionOpenAndStoresItLater)
{
    registerPanelTemplate();
    SessionWindowSet::install();
    for (const Panel kind : {Panel::Graph, Panel::Debrief})
        SessionWindowSet::setPanelFactory(kind, [](Session& session) -> std::unique_ptr<SessionPanel> {
            return std::make_unique<CountingPanel>(session, L"Count aloud");
        });
    SessionWindowSet::setSaveQuestion([](QWidget*, const std::wstring&, bool) { return Answer::Yes; });
    SessionWindowSet::setEndSound([] {});
    QWidget host;
    host.resize(700, 440);
    SessionManager manager{false};
    LinkLog link;
    Session* session = liveSession(link, liveRecord()).release();
    manager.addSession(session);
    session->createSessionView()->create(&host);
    session->getSessionView()->setGeometry(host.rect());
    host.show();
    session->start();
    for (int i = 0; i < 400; ++i)
        session->onTimer();

    disk->fill();
    EXPECT_FALSE(session->close());
    EXPECT_TRUE(toldTheStoreFailed());
    EXPECT_EQ(session->getState(), Session::REVIEW);
    EXPECT_EQ(count("Session"), 0);
    EXPECT_TRUE(dataFiles().empty());

    disk->makeRoom();
    ASSERT_TRUE(session->close());
    EXPECT_EQ(count("Session"), 1);
    EXPECT_TRUE(fs::exists(dataFolder / (session->getRecord().Serialidentifier + ".dat")));
    uninstallSessionWindows();
}

} // namespace
