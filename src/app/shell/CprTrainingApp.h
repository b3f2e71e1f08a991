#pragma once
// The station's application object: initInstance brings the station up in
// its fixed order (log, language, demonstration data, sessions, main
// window, the splash's close message, records, settings, the manikin
// search, the New-session window, the built-in records), exitInstance takes
// it down. It runs the commands that belong to no one window, owns the
// single-instance windows (New session, Search for Manikins, Run course,
// help) and the one printer set-up of the program.
//
// What start-up reaches outside the program (the screen, the records, the
// settings, the splash launcher, the manikins) goes through Services, so a
// test can watch the order and answer for the world.

#include "app/shell/CMainFrame.h"
#include "app/shell/CprTrainingAppState.h"
#include "app/shell/DialogFrame.h"
#include "app/shell/MainWindowLock.h"

#include <QPointer>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class ChildDialog;
class HelpWindow;
class QPrinter;
class Session;
class SessionManager;

class CprTrainingApp final : public CMainFrame::Owner {
public:
    // Below this screen height the main window opens maximised.
    static constexpr int MAXIMIZE_BELOW_HEIGHT = 650;

    struct Services {
        // The screen's height, and its height less the task bar's.
        std::function<int()> screenHeight;
        std::function<int()> fullScreenHeight;
        std::function<std::unique_ptr<SessionManager>()> makeSessionManager;
        std::function<void()> openDatabase;
        std::function<void()> loadConfiguration;
        // The windows of the rest of the station that need the main window
        // (the configuration dialog, the record editors, the session panels);
        // run once the records and settings are there.
        std::function<void(CMainFrame&)> installWindows;
        // The splash launcher's close message; whether a launcher took it.
        std::function<bool()> sendReadyMessage;
        std::function<int()> countReadyManikins;
        // The dialog of the New-session window; null while none is installed.
        std::function<std::unique_ptr<ChildDialog>()> makeNewSessionDialog;
        // The built-in records, added where missing.
        std::function<void()> upgradeDatabase;
        // One metronome beat (empty: the metronome click).
        std::function<void()> beatSound;
        // The printer set-up dialog over the main window.
        std::function<void(QPrinter&, QWidget*)> pageSetup;
        // The station directory, where the help and the WinHelp file are looked for.
        std::filesystem::path stationDir = ".";

        // What the program itself uses.
        static Services standard();
    };

    explicit CprTrainingApp(std::string commandLine, Services services = Services::standard());
    // Whatever exitInstance has not taken down goes now.
    ~CprTrainingApp() override;
    CprTrainingApp(const CprTrainingApp&) = delete;
    CprTrainingApp& operator=(const CprTrainingApp&) = delete;

    // The running application, or null.
    static CprTrainingApp* instance();

    // Start-up; false when the main window could not be made.
    bool initInstance();
    // Saves the settings, drops the demonstration data, ends every session
    // and closes the windows; answers `result`.
    int exitInstance(int result = 0);

    // The New-session window, created on first use and shown again later.
    void onNewSession();
    // Opens the Run-course window around the dialog, or brings the open one
    // forward (the dialog is then dropped).
    void openRunCourse(std::unique_ptr<ChildDialog> runCourseDialog);
    // The Run-course window went away.
    void runCourseClosed();
    // The main window agreed to close, or the station is being taken down:
    // no window is brought up any more.
    bool isEnding() const;
    // Opens the "Search for Manikins" window and runs its start-up search;
    // answers whether its calibration failed. An open window is only shown
    // again (false).
    bool showSearchForManikins();
    // Disables the main window around the search window's long operations,
    // all of it but the search window itself.
    void enableMainWindow(bool enable);
    void refreshWindowMenu();
    // Opens the help of a topic in the help window.
    static void showHelpTopic(int topic);
    // The About box, modally.
    void showAbout();
    // Prints the session in front, or beeps when it cannot be printed now.
    void printCurrentSession();
    // Runs the course planner behind "New course..."; empty while none is installed.
    void setCoursePlanner(std::function<void()> planner);
    // Prints a session's graph page (debriefing false) or debriefing report;
    // the printed session results unless replaced.
    void setSessionPrinter(std::function<void(Session&, bool debriefing)> printer);

    CMainFrame* mainFrame() const { return mainFrame_.get(); }
    SessionManager* sessionManager() const { return sessionManager_.get(); }
    CprTrainingAppState& state() { return *state_; }
    DialogFrame* newSessionFrame() const { return newSessionFrame_; }
    DialogFrame* searchFrame() const { return searchFrame_; }
    DialogFrame* runCourseFrame() const { return runCourseFrame_; }
    HelpWindow* helpWindow() const;
    // The WinHelp file start-up settled on.
    const std::string& helpFilePath() const { return helpFilePath_; }
    // The printer set-up every printout of the program starts from.
    QPrinter& printer();

    // The main window's commands that are the application's.
    bool onCommand(int command) override;
    std::optional<bool> isCommandEnabled(int command) override;
    bool runCourseMayClose() override;

private:
    bool createMainFrame();
    void installCommands();
    void removeCommands();
    void openHelp(int topic);
    DialogFrame* hostDialog(std::unique_ptr<ChildDialog> dialog, bool hideOnClose, bool minimizeBox,
                            const char* title);

    Services services_;
    std::string commandLine_;
    std::unique_ptr<CprTrainingAppState> state_;
    std::unique_ptr<SessionManager> sessionManager_;
    std::unique_ptr<CMainFrame> mainFrame_;
    // Shown over the main window or the modal dialog it was asked from, which
    // is its parent meanwhile; made on first use, deleted at exit.
    QPointer<HelpWindow> helpWindow_;
    MainWindowLock mainWindowLock_;
    QPointer<DialogFrame> newSessionFrame_;
    QPointer<DialogFrame> searchFrame_;
    QPointer<DialogFrame> runCourseFrame_;
    std::function<void(Session&, bool)> sessionPrinter_;
    std::function<void()> coursePlanner_;
    std::string helpFilePath_;
    bool exited_ = false;
};
