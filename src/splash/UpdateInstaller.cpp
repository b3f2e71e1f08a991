#include "splash/UpdateInstaller.h"

#include "platform/RegistryStore.h"
#include "splash/ProcessStarter.h"
#include "splash/ProgramSearch.h"
#include "splash/SplashLog.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace splash {

namespace {

const char* const DECRYPT_FAILED = "Decrypt (or) Copy failed.";
const char* const INSTALL_ERROR = "Error during update installation.";

bool endsWithExe(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string ending = name.substr(name.size() - 4);
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ending == ".exe";
}

// A fresh folder only this user may enter, where the decryptor leaves the
// installer; nothing another program put anywhere else is ever run.
std::optional<std::filesystem::path> makePrivateFolder()
{
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error)
        return std::nullopt;
    std::string pattern = (base / "kova-update-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return std::nullopt;
    return std::filesystem::path(pattern);
}

class PrivateFolder {
public:
    PrivateFolder() : path_(makePrivateFolder()) {}
    ~PrivateFolder()
    {
        if (path_) {
            std::error_code ignored;
            std::filesystem::remove_all(*path_, ignored);
        }
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    const std::optional<std::filesystem::path>& path() const { return path_; }

private:
    std::optional<std::filesystem::path> path_;
};

} // namespace

UpdateInstaller::UpdateInstaller(const platform::RegistryStore& registry, ProcessStarter& starter, SplashLog& log,
                                 std::filesystem::path launcherFolder, std::string productName)
    : registry_(registry),
      starter_(starter),
      log_(log),
      launcherFolder_(std::move(launcherFolder)),
      productName_(std::move(productName))
{
}

std::optional<std::string> UpdateInstaller::readUpdateFolder() const
{
    using platform::RegistryRoot;
    RegistryRoot root = RegistryRoot::Machine;
    if (registry_.openKey(root, AGENT_KEY) != platform::ERROR_SUCCESS) {
        root = RegistryRoot::User;
        if (registry_.openKey(root, AGENT_KEY) != platform::ERROR_SUCCESS)
            return std::nullopt;
    }
    platform::RegistryValue value;
    if (registry_.queryValue(root, AGENT_KEY, FOLDER_VALUE, value) != platform::ERROR_SUCCESS)
        return std::nullopt;
    // Whatever the value's type, its bytes up to the first zero are the folder.
    const auto zero = std::find(value.data.begin(), value.data.end(), 0);
    std::string folder(value.data.begin(), zero);
    if (folder.empty() || folder.size() >= FOLDER_BUFFER)
        return std::nullopt;
    return folder;
}

std::optional<std::string> UpdateInstaller::downloadFolder(const std::string& agentFolder,
                                                           const std::string& productName)
{
    if (agentFolder.empty() || productName.empty())
        return std::nullopt;
    std::string folder = agentFolder;
    if (folder.back() != '/')
        folder += '/';
    return folder + "Downloads/" + productName + "/";
}

std::vector<std::string> UpdateInstaller::findUpdates(const std::filesystem::path& downloadFolder)
{
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(downloadFolder, error);
    if (error)
        return names;
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        std::error_code typeError;
        if (endsWithExe(name) && entry.is_regular_file(typeError))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool UpdateInstaller::installPendingUpdates(const std::function<void()>& hideSplash)
{
    const auto agentFolder = readUpdateFolder();
    if (!agentFolder)
        return false;
    const auto folder = downloadFolder(*agentFolder, productName_);
    if (!folder)
        return false;
    // The decryptor works in a folder of its own, so it is told where the
    // download lies as an absolute path.
    std::error_code error;
    const std::filesystem::path downloads = std::filesystem::absolute(*folder, error);
    if (error)
        return false;
    const std::vector<std::string> updates = findUpdates(downloads);
    if (updates.empty())
        return false;

    if (hideSplash)
        hideSplash();
    bool restart = false;
    for (const std::string& name : updates)
        restart = installUpdate(downloads, name) || restart;
    return restart;
}

bool UpdateInstaller::installUpdate(const std::filesystem::path& downloadFolder, const std::string& name)
{
    PrivateFolder workFolder;
    const std::filesystem::path decryptor = launcherFolder_.empty() ? std::filesystem::path() : launcherFolder_ / DECRYPTOR;
    std::optional<int> decrypted;
    if (workFolder.path() && !decryptor.empty() && ProgramSearch::isExecutableFile(decryptor)) {
        ProcessLaunch launch;
        launch.program = decryptor;
        launch.arguments = {DECRYPTOR, (downloadFolder / name).string(), name};
        launch.workingDirectory = *workFolder.path();
        launch.newProcessGroup = true;
        if (const auto child = starter_.start(launch))
            decrypted = starter_.waitForExit(*child);
    }
    if (decrypted != DECRYPTED) {
        log_.line(DECRYPT_FAILED);
        return false;
    }

    // Exactly the file the decryptor left in its folder, and nothing a link
    // there points to.
    const std::filesystem::path installer = *workFolder.path() / name;
    std::error_code error;
    std::optional<pid_t> child;
    if (std::filesystem::symlink_status(installer, error).type() == std::filesystem::file_type::regular) {
        ProcessLaunch launch;
        launch.program = installer;
        launch.arguments = {name};
        launch.newProcessGroup = true;
        child = starter_.start(launch);
    }
    if (!child) {
        log_.line(DECRYPT_FAILED);
        return false;
    }
    const std::optional<int> code = starter_.waitForExit(*child);
    if (!code || *code == INSTALL_FAILED) {
        log_.line(INSTALL_ERROR);
        return false;
    }
    return *code == RESTART_NEEDED;
}

} // namespace splash
