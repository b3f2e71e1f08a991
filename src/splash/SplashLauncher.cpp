#include "splash/SplashLauncher.h"

#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Resources.h"
#include "platform/SplashMessage.h"
#include "splash/PrivateProfile.h"
#include "splash/ProcessStarter.h"
#include "splash/ProgramSearch.h"
#include "splash/SplashLog.h"
#include "splash/SplashView.h"
#include "splash/UpdateInstaller.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace splash {

namespace {

const char* const SECTION = "splash";

// The formatted debug texts are cut to 255 characters.
std::string formatted(const std::string& text)
{
    return text.substr(0, 255);
}

std::wstring wide(const std::string& text)
{
    std::wstring result;
    for (unsigned char c : text)
        result += static_cast<wchar_t>(c);
    return result;
}

// Ends the tick's reentrancy guard on every way out of the tick.
class TickGuard {
public:
    explicit TickGuard(bool& inTick) : inTick_(inTick) { inTick_ = true; }
    ~TickGuard() { inTick_ = false; }
    TickGuard(const TickGuard&) = delete;
    TickGuard& operator=(const TickGuard&) = delete;

private:
    bool& inTick_;
};

} // namespace

SplashLauncher::SplashLauncher(std::vector<std::string> arguments, std::filesystem::path launcherFolder,
                               ProcessStarter& starter, SplashLog& log, UpdateInstaller& installer)
    : arguments_(std::move(arguments)),
      launcherFolder_(std::move(launcherFolder)),
      starter_(starter),
      log_(log),
      installer_(installer)
{
}

void SplashLauncher::begin()
{
    log_.line("Start");
    commandLine_ = SplashCommandLine::parse(PROGRAM_NAME, arguments_);
    log_.line(commandLine_.text);
}

std::optional<std::filesystem::path> SplashLauncher::iniPath() const
{
    if (launcherFolder_.empty()) {
        log_.line("GetModuleFileName failed");
        return std::nullopt;
    }
    const std::string folder = launcherFolder_.string();
    const std::string path = folder + (folder.back() == '/' ? "" : "/") + commandLine_.iniName;
    if (!launcherFolder_.is_absolute() || path.size() >= PATH_MAX) {
        log_.line("Can not find absolute path to splash.ini");
        return std::nullopt;
    }
    return std::filesystem::path(path);
}

std::optional<kova::DibImage> SplashLauncher::loadBitmapFile(const std::filesystem::path& file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > MAX_BITMAP_FILE)
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return kova::DibImage::decode(bytes.data(), bytes.size());
}

std::optional<kova::DibImage> SplashLauncher::loadCustomBitmap(const char* key, const char* what) const
{
    const auto ini = iniPath();
    if (!ini)
        return std::nullopt;
    log_.line("Open ini file:");
    log_.line(ini->string());
    const std::string value = PrivateProfile::getString(*ini, SECTION, key);
    if (value.empty())
        return std::nullopt;
    log_.line(std::string("Loading custom ") + what);
    log_.line(value);
    auto bitmap = loadBitmapFile(value);
    if (!bitmap)
        log_.line(std::string("Loading custom ") + what + " failed");
    return bitmap;
}

SplashLauncher::Pictures SplashLauncher::initDialog()
{
    log_.line("WM_INITDIALOG");
    Pictures pictures;
    pictures.logo = loadCustomBitmap("logo", "logo");
    if (!pictures.logo) {
        pictures.logo = loadBitmapFile(DEFAULT_LOGO);
        log_.line(pictures.logo ? "Loading custom logo succeded" : "Loading custom logo failed");
    }
    pictures.picture = loadCustomBitmap("picture", "picture");
    if (!pictures.picture) {
        if (const auto bytes = platform::loadResource(platform::ResourceType::Bitmap, BITMAP_ID))
            pictures.picture = kova::DibImage::decode(bytes->data(), bytes->size());
    }
    return pictures;
}

bool SplashLauncher::startMainProgram()
{
    std::error_code error;
    const std::filesystem::path workingDirectory = std::filesystem::current_path(error);
    const auto program = ProgramSearch::find(PROGRAM_NAME, {launcherFolder_, workingDirectory}, std::getenv("PATH"));
    if (!program)
        return false;
    ProcessLaunch launch;
    launch.program = *program;
    launch.arguments.push_back(PROGRAM_NAME);
    launch.arguments.insert(launch.arguments.end(), commandLine_.arguments.begin(), commandLine_.arguments.end());
    child_ = starter_.start(launch);
    return child_.has_value();
}

SplashLauncher::Tick SplashLauncher::onTimer(SplashView& view)
{
    if (ended_)
        return Tick::End;
    // A box of this tick keeps the timer running; its ticks wait.
    if (inTick_)
        return Tick::Continue;
    TickGuard guard(inTick_);
    log_.line("WM_TIMER");

    if (firstTick_) {
        firstTick_ = false;
        if (installer_.installPendingUpdates([&view] { view.hideSplash(); })) {
            platform::messageBox(L"Please close all applications and restart the computer.", L"Tessund Application",
                                 platform::MB_OK);
            return end();
        }
        const std::string name = PROGRAM_NAME;
        if (!startMainProgram()) {
            view.stopTimer();
            log_.line(formatted("CreateProcess failed: \"" + name + "\""));
            platform::messageBox(wide(formatted("Can not open: \"" + name + "\"")), L"failed", platform::MB_ICONERROR);
            return end();
        }
        log_.line(formatted("CreateProcess succes: \"" + name + "\""));
        childStartedAt_ = platform::Clock::instance().tickCount();
    }

    if (!child_ || starter_.hasEnded(*child_)) {
        log_.line("Child is dead");
        return end();
    }
    // Nothing tells here when a program waits for input: the main program's
    // close message, or its end, ends the splash; a launcher that cannot
    // hear the message goes after a while, as it would once the child idles.
    if (!hearsCloseMessage_ && platform::Clock::instance().tickCount() - childStartedAt_ >= DEAF_BOUND) {
        log_.line("End dialog, no close message can arrive");
        return end();
    }
    log_.line("WaitForInputIdle(..) == WAIT_TIMEOUT");
    return endRequested_ ? end() : Tick::Continue;
}

SplashLauncher::Tick SplashLauncher::onCloseMessage(const platform::SplashMessage& message)
{
    if (ended_)
        return Tick::End;
    if (message.wParam != platform::SplashMessage::CLOSE)
        return Tick::Continue;
    log_.line("SPLASH_MESSAGE_ID_CLOSE, EndDialog");
    // Inside a tick (its box is up) the tick ends the splash when it is done.
    if (inTick_) {
        endRequested_ = true;
        return Tick::Continue;
    }
    return end();
}

void SplashLauncher::onClick()
{
    if (!ended_)
        log_.line("Hide dialog, ( childProcessIsIdle == false )");
}

void SplashLauncher::finish()
{
    log_.line("Exit");
}

SplashLauncher::Tick SplashLauncher::end()
{
    ended_ = true;
    return Tick::End;
}

} // namespace splash
