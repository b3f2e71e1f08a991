// One station of a training centre whose stations share their records, for
// the shared-records tests: on the "kovacpr" data source and the data folder
// its environment names (ODBCINI, KOVA_REGISTRY_DIR), it seeds the identifier
// generator as told, waits for the agreed start, and stores finished sessions
// one after another as a station stores them when its review has no window
// (a live session on a manikin of its own, evaluated, its row and data file).
// Each session's note and recommendations are "<station> <number>", so that a
// checker can match every row with its data file.
//
//   shared-records-station SEED COUNT STATION START_AT_MS REGISTRY_DIR
//
// START_AT_MS is a time in milliseconds since 1970 (0: at once); REGISTRY_DIR
// is the station's registry, which names its data folder.
// Prints the identifier of every stored session, one a line. Exit status 0
// when every session was stored, 1 when one was not or the station said
// anything (a message box is printed on standard error), 2 on wrong use.

#include "SessionTestKit.h"

#include "Database/Database.h"
#include "Database/RuntimeRandom.h"
#include "Rodezir/gstringUtil.h"
#include "app/sessions/SessionRowStore.h"
#include "platform/MessageBox.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <thread>

using namespace sessiontest;

int main(int argc, char** argv)
{
    if (argc != 6)
        return 2;
    const auto seed = static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10));
    const int count = std::atoi(argv[2]);
    const std::string station = argv[3];
    const auto startAt = std::chrono::system_clock::time_point(std::chrono::milliseconds(std::atoll(argv[4])));
    setenv("KOVA_REGISTRY_DIR", argv[5], 1);

    platform::RecordingMessageAsker asker;
    platform::ScopedMessageAsker askerScope(asker);
    ScopedFakeWindows windows;
    openDatabase();
    if (!databaseOpen) {
        std::fprintf(stderr, "%s: the records did not open: %s", station.c_str(), theDatabase.lastError().c_str());
        return 1;
    }
    RuntimeRandom::seed(seed);
    std::this_thread::sleep_until(startAt);

    int failures = 0;
    std::deque<LinkLog> links;
    for (int i = 0; i < count; ++i) {
        auto session = finishedSession(links.emplace_back(), windows, station + " " + std::to_string(i));
        if (SessionRowStore::store(*session, session->getRecord()))
            std::printf("%s\n", session->getRecord().Serialidentifier.c_str());
        else
            ++failures;
    }
    for (const auto& asked : asker.asked)
        std::fprintf(stderr, "%s: %s\n", station.c_str(), toNarrow(asked.text).c_str());
    theDatabase.close();
    return failures == 0 && asker.asked.empty() ? 0 : 1;
}
