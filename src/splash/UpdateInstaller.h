#pragma once
// Runs the updates an outside update agent downloaded, before the main
// program starts: each download is handed to the outside decryptor, and only
// an installer the decryptor vouched for (exit code 1) is run, one after the
// other, each to its end. An installer that exits with 2 asks for a restart
// of the computer.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {
class RegistryStore;
}

namespace splash {

class ProcessStarter;
class SplashLog;

class UpdateInstaller {
public:
    static constexpr const char* AGENT_KEY = "SOFTWARE\\Tessund Marvik\\Tessund Update Agent";
    static constexpr const char* FOLDER_VALUE = "Folder";
    // The agent's folder is read into a buffer of this many bytes, terminator included.
    static constexpr std::size_t FOLDER_BUFFER = 260;
    static constexpr const char* DECRYPTOR = "Decryptor.exe";
    static constexpr int DECRYPTED = 1;
    static constexpr int RESTART_NEEDED = 2;
    static constexpr int INSTALL_FAILED = 255; // the -1 of an exit code

    // `launcherFolder` is where the decryptor is looked for, and only there.
    UpdateInstaller(const platform::RegistryStore& registry, ProcessStarter& starter, SplashLog& log,
                    std::filesystem::path launcherFolder, std::string productName);

    // Runs every pending update; `hideSplash` is called once before the first
    // one. True when the computer must be restarted.
    bool installPendingUpdates(const std::function<void()>& hideSplash);

    // The agent's folder: the machine's key, the user's only when the machine
    // has no such key. Nothing when the value is missing, empty, or longer
    // than the buffer holds.
    std::optional<std::string> readUpdateFolder() const;
    // The agent's folder, "/" unless it ends with one, "Downloads/", the
    // product name and "/". Nothing without a folder or a product name: a
    // search must never fall back to the root or to all of "Downloads".
    static std::optional<std::string> downloadFolder(const std::string& agentFolder, const std::string& productName);
    // The regular files of the folder whose names end in ".exe" (in any
    // case), in byte order of their names.
    static std::vector<std::string> findUpdates(const std::filesystem::path& downloadFolder);

private:
    // One update: true when its installer asked for a restart.
    bool installUpdate(const std::filesystem::path& downloadFolder, const std::string& name);

    const platform::RegistryStore& registry_;
    ProcessStarter& starter_;
    SplashLog& log_;
    std::filesystem::path launcherFolder_;
    std::string productName_;
};

} // namespace splash
