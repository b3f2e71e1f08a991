#pragma once
// The launcher's course from its start to its end: it reads its arguments and
// its pictures, runs the pending updates on the first tick, starts the main
// program, and ends at the first of the close message, the main program's
// end or a failure to start it. The window drives it; every step is written
// to the debug output.

#include "Rodezir/DibImage.h"
#include "splash/SplashCommandLine.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace platform {
struct SplashMessage;
}

namespace splash {

class ProcessStarter;
class SplashLog;
class SplashView;
class UpdateInstaller;

class SplashLauncher {
public:
    enum class Tick { Continue, End };

    static constexpr const char* PROGRAM_NAME = "KOVA_CPR";
    static constexpr int TIMER_MILLISECONDS = 20;
    static constexpr int BITMAP_ID = 129;
    static constexpr const char* DEFAULT_LOGO = "./customization/logo_template.bmp";
    // Bitmap files larger than this are not splash pictures.
    static constexpr std::uintmax_t MAX_BITMAP_FILE = 64 * 1024 * 1024;
    // How long a launcher that cannot hear the close message shows its
    // picture after starting the main program, in milliseconds: by then the
    // station's window is up, and the picture must not stay over it.
    static constexpr std::uint32_t DEAF_BOUND = 5000;

    // `launcherFolder` is the folder of the launcher's executable (empty when
    // it is unknown): it holds the ini file, the main program and the decryptor.
    SplashLauncher(std::vector<std::string> arguments, std::filesystem::path launcherFolder, ProcessStarter& starter,
                   SplashLog& log, UpdateInstaller& installer);

    // Logs "Start", takes the arguments apart and logs the child's command line.
    void begin();
    // Whether the close message can reach the launcher (it listens for it);
    // without it the launcher ends DEAF_BOUND after the main program's start.
    void setHearsCloseMessage(bool hears) { hearsCloseMessage_ = hears; }
    const SplashCommandLine& commandLine() const { return commandLine_; }

    struct Pictures {
        // The custom picture, else bitmap 129; nothing when neither loads.
        std::optional<kova::DibImage> picture;
        // The custom logo, else the default logo file; nothing when neither loads.
        std::optional<kova::DibImage> logo;
    };
    // The window's initialisation: logs it and reads the logo and the picture.
    Pictures initDialog();

    // One tick of the 20 ms timer.
    Tick onTimer(SplashView& view);
    // The close message; any other wParam is ignored.
    Tick onCloseMessage(const platform::SplashMessage& message);
    // A click on the splash: it hides, the launcher goes on.
    void onClick();
    // Logs "Exit" once the window has ended.
    void finish();

    bool ended() const { return ended_; }
    // The main program's process id once it has been started.
    std::optional<pid_t> child() const { return child_; }

    // The ini file's path in the launcher's folder; nothing (with the reason
    // logged) when it cannot be built.
    std::optional<std::filesystem::path> iniPath() const;
    // A bitmap file decoded; nothing when it is missing, too large or damaged.
    static std::optional<kova::DibImage> loadBitmapFile(const std::filesystem::path& file);

private:
    std::optional<kova::DibImage> loadCustomBitmap(const char* key, const char* what) const;
    bool startMainProgram();
    Tick end();

    std::vector<std::string> arguments_;
    std::filesystem::path launcherFolder_;
    ProcessStarter& starter_;
    SplashLog& log_;
    UpdateInstaller& installer_;
    SplashCommandLine commandLine_;
    std::optional<pid_t> child_;
    std::uint32_t childStartedAt_ = 0;
    bool hearsCloseMessage_ = true;
    bool firstTick_ = true;
    bool inTick_ = false;
    bool endRequested_ = false;
    bool ended_ = false;
};

} // namespace splash
