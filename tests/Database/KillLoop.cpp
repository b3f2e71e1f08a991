#include "KillLoop.h"

#include "Database/Database.h"
#include "Database/SqlIdentifier.h"
#include "Database/stored-sessions/DataFolderMark.h"
#include "TempDir.h"

#include <map>

#include <csignal>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace killtest {

int runsPerPath(int usual)
{
    const char* runs = std::getenv("KOVA_KILL_RUNS");
    const int wanted = runs ? std::atoi(runs) : 0;
    return wanted > 0 ? wanted : usual;
}

std::mt19937& randomSource()
{
    static std::mt19937 source = [] {
        const char* given = std::getenv("KOVA_KILL_SEED");
        const auto seed = given ? static_cast<std::mt19937::result_type>(std::strtoul(given, nullptr, 10))
                                : static_cast<std::mt19937::result_type>(
                                      std::chrono::steady_clock::now().time_since_epoch().count());
        std::cout << "Kill moments from KOVA_KILL_SEED=" << seed << std::endl;
        return std::mt19937(seed);
    }();
    return source;
}

std::string runUntilKilled(const std::function<void()>& prepare, const std::function<bool(int)>& step,
                           std::chrono::microseconds window)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return "no pipe";
    std::cout.flush();
    const pid_t child = ::fork();
    if (child < 0)
        return "no child";
    if (child == 0) {
        ::close(ready[0]);
        int code = 0;
        try {
            prepare();
            const char go = 'g';
            (void)!::write(ready[1], &go, 1);
            for (int i = 0;; ++i) {
                if (!step(i)) {
                    code = 4;
                    break;
                }
            }
        } catch (const std::exception& error) {
            std::cerr << "The child stopped: " << error.what() << std::endl;
            code = 3;
        } catch (...) {
            code = 3;
        }
        ::_exit(code);
    }
    ::close(ready[1]);
    char go = 0;
    const bool started = ::read(ready[0], &go, 1) == 1;
    ::close(ready[0]);
    if (started) {
        std::uniform_int_distribution<long long> moment(0, window.count());
        std::this_thread::sleep_for(std::chrono::microseconds(moment(randomSource())));
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        return {};
    if (WIFEXITED(status))
        return "the child ended on its own with " + std::to_string(WEXITSTATUS(status))
               + (WEXITSTATUS(status) == 4 ? " (a step failed)" : "");
    return "the child died of signal " + std::to_string(WTERMSIG(status));
}

std::string dataFileText(const std::string& note)
{
    return "0\r\n0\r\n1\r\n1 2 3 4 5 6 7 8\r\nrecommendations:\n" + note + "\n";
}

std::vector<std::string> faultsInDataFolder(const std::filesystem::path& folder)
{
    std::vector<std::string> faults;
    std::map<std::string, std::pair<std::string, bool>> rows;
    for (const auto& row : theDatabase.query("SELECT " + quoteIdentifier("Serialidentifier") + ", "
                                                 + quoteIdentifier("Note") + ", " + quoteIdentifier("Done")
                                                 + " FROM " + quoteIdentifier("Session"),
                                             {}, {SqlType::Text, SqlType::Text, SqlType::Integer})) {
        const auto* serial = std::get_if<std::string>(&row[0]);
        const auto* note = std::get_if<std::string>(&row[1]);
        const auto* done = std::get_if<long long>(&row[2]);
        if (serial)
            rows[*serial] = {note ? *note : std::string(), done && *done != 0};
    }
    for (const auto& [serial, row] : rows) {
        const std::filesystem::path file = folder / (serial + ".dat");
        if (!row.second)
            continue;
        if (!std::filesystem::exists(file)) {
            faults.push_back("the finished row " + serial + " has no data file");
            continue;
        }
        std::string text = kovatest::readFile(file);
        std::string lines;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
                lines += text[i];
        const std::string ending = "recommendations:\n" + row.first + "\n";
        if (lines.size() < ending.size() || lines.compare(lines.size() - ending.size(), ending.size(), ending) != 0)
            faults.push_back("the data file of " + serial + " is not that of its row's note '" + row.first + "'");
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        const std::string name = entry.path().filename().string();
        if (name == DataFolderMark::FILE_NAME)
            continue;
        if (name.size() > 4 && name.ends_with(".dat")) {
            if (rows.count(name.substr(0, name.size() - 4)) == 0)
                faults.push_back("the data file " + name + " has no row");
        } else {
            faults.push_back("left behind: " + name);
        }
    }
    return faults;
}

} // namespace killtest
