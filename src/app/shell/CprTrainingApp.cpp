#include "app/shell/CprTrainingApp.h"

#include "Database/Database.h"
#include "Database/DatabasePatch.h"
#include "Database/RuntimeRandom.h"
#include "Database/TablePool.h"
#include "Database/stored-sessions/DataFolderRecovery.h"
#include "Rodezir/InitLanguage.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "app/printing/Print.h"
#include "app/search/AppCommands.h"
#include "app/search/CalibrateView.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionManager.h"
#include "app/shell/AboutDialog.h"
#include "app/shell/BuildDate.h"
#include "app/shell/ChildDialog.h"
#include "app/shell/DialogFrame.h"
#include "app/shell/HelpTopics.h"
#include "app/shell/HelpWindow.h"
#include "app/shell/MainCommands.h"
#include "app/shell/ToolTipAnswer.h"
#include "app/shell/idMap.h"
#include "comm/ports/CalibrateManager.h"
#include "config/Configuration.h"
#include "config/SettingsFile.h"
#include "controls/MdiClientWnd.h"
#include "gettext/Gettext.h"
#include "platform/Beep.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"
#include "platform/PrintDialog.h"
#include "platform/RegistryStore.h"
#include "platform/ReplacingFile.h"
#include "platform/SplashMessage.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScreen>


using namespace MainCommands;

namespace {

CprTrainingApp* theApp = nullptr;

QString translated(const char* text) { return QString::fromStdWString(Gettext::translate(text)); }

QScreen* screen() { return QGuiApplication::primaryScreen(); }

} // namespace

CprTrainingApp::Services CprTrainingApp::Services::standard()
{
    Services services;
    services.screenHeight = [] { return screen() ? screen()->geometry().height() : 768; };
    services.fullScreenHeight = [] { return screen() ? screen()->availableGeometry().height() : 738; };
    services.makeSessionManager = [] {
        return std::make_unique<SessionManager>(Configuration::instance().getPropertyModel().showCardiacOutput);
    };
    // Without records the station still trains: openDatabase tells the user
    // once. What a kill left in the data folder is set right before anything
    // reads or writes a stored session.
    services.openDatabase = [] {
        ::openDatabase();
        DataFolderRecovery::run(std::time(nullptr));
    };
    // Loads "configuration.cprcfg"; the defaults stay in force when it is missing or damaged.
    services.loadConfiguration = [] { Configuration::instance(); };
    services.sendReadyMessage = [] {
        return platform::SplashMessage::send(platform::SplashMessage::CLOSE, 0);
    };
    services.countReadyManikins = [] { return CalibrateManager::get().countReadyManikins(); };
    services.upgradeDatabase = [] {
        DatabasePatch::runIfNeeded();
        // Lists opened before the upgrade show its rows too.
        TablePool::refresh(TableKind::Scenario);
        TablePool::refresh(TableKind::Algorithm);
    };
    services.pageSetup = [](QPrinter& printer, QWidget* parent) {
        QPageSetupDialog dialog(&printer, parent);
        dialog.exec();
    };
    return services;
}

CprTrainingApp::CprTrainingApp(std::string commandLine, Services services)
    : services_(std::move(services)), commandLine_(std::move(commandLine)), sessionPrinter_(&Print::printSession)
{
    theApp = this;
}

CprTrainingApp::~CprTrainingApp()
{
    exitInstance();
    if (theApp == this)
        theApp = nullptr;
}

CprTrainingApp* CprTrainingApp::instance() { return theApp; }

bool CprTrainingApp::initInstance()
{
    // The error log's first line names the build; the log stays out of
    // sight at exit (the instructor has no use for it).
    LogStream::headerText = getVersionText();
    LogStream::setShowOnExit(false);
    // Each start begins its own log, header first: a run without failures
    // must not leave an earlier run's lines to be taken for its own.
    LogStream::instance();
    // Temporaries that writers killed while saving left beside the station's
    // own files: the registry hives and the settings file.
    platform::RegistryStore::instance().removeStaleTemporaries();
    platform::ReplacingFile::removeStale(SettingsFile::NAME);

    kova::initLanguage(commandLine_, "en.mo");
    // Serial identifiers are drawn from this seed: stations that share one
    // records database and start in the same second must not draw alike.
    RuntimeRandom::seed(RuntimeRandom::systemSeed());
    // "demo", "commdelay:" and the recorded demonstration data.
    state_ = std::make_unique<CprTrainingAppState>(commandLine_);
    CprTrainingAppState::setInstance(state_.get());
    state_->loadRecordedData();

    sessionManager_ = services_.makeSessionManager();
    // The registry of every manikin port; scans happen in the search window.
    CalibrateManager::get();
    // Tooltip texts are translated once, in the language just chosen.
    idMap::fill();
    ToolTipAnswer::install(*qApp);

    if (!createMainFrame())
        return false;
    helpFilePath_ = HelpTopics::helpFileName(services_.stationDir, Gettext::instance().languageCode());
    // A low screen gets the whole of it.
    if (services_.screenHeight() < MAXIMIZE_BELOW_HEIGHT)
        mainFrame_->showMaximized();
    else
        mainFrame_->show();
    mainFrame_->repaint();
    // The window is up: the splash launcher closes its picture now (without
    // one nobody listens). It goes before the records, whose message boxes
    // the picture, always on top, would hide.
    services_.sendReadyMessage();

    services_.openDatabase();
    services_.loadConfiguration();
    if (services_.installWindows)
        services_.installWindows(*mainFrame_);

    const bool calibrationFailed = showSearchForManikins();
    if (services_.countReadyManikins() > 0 && !calibrationFailed)
        onNewSession();

    services_.upgradeDatabase();
    return true;
}

bool CprTrainingApp::createMainFrame()
{
    mainFrame_ = std::make_unique<CMainFrame>(*this, services_.fullScreenHeight(), services_.beatSound);
    if (!mainFrame_->create()) {
        LogStream::instance() << "The main window could not be made.\n";
        mainFrame_.reset();
        return false;
    }
    mainFrame_->setWindowTitle(QStringLiteral("Kova CPR Software"));
    if (QScreen* shown = screen()) {
        const QSize room = shown->availableGeometry().size();
        mainFrame_->resize(std::min(1100, room.width()), std::min(780, room.height()));
    }
    installCommands();
    return true;
}

void CprTrainingApp::installCommands()
{
    AppCommands::setNewSession([this] { onNewSession(); });
    AppCommands::setShowSearchForManikins([this] { showSearchForManikins(); });
    AppCommands::setEnableMainWindow([this](bool enable) { enableMainWindow(enable); });
    ChildFrame::setWindowMenuRefresher([this] { refreshWindowMenu(); });
    // Every dialog's Help button, the configuration pages' among them.
    platform::setHelpFunction(&CprTrainingApp::showHelpTopic);
}

void CprTrainingApp::removeCommands()
{
    AppCommands::setNewSession({});
    AppCommands::setShowSearchForManikins({});
    AppCommands::setEnableMainWindow({});
    ChildFrame::setWindowMenuRefresher({});
    platform::setHelpFunction({});
}

int CprTrainingApp::exitInstance(int result)
{
    if (exited_ || !state_)
        return result;
    exited_ = true;
    // The settings file is written once, at exit: one that could not be
    // written loses every change of this run, which the user must hear of.
    if (!Configuration::instance().save())
        platform::messageBox(formatWide(Gettext::translate("The settings could not be saved to the file %hs.\nThe "
                                                           "changes made to them since the program started are lost.")
                                            .c_str(),
                                        SettingsFile::NAME),
                             Gettext::translate("Kova CPR Software"), platform::MB_OK | platform::MB_ICONERROR);
    removeCommands();
    // The sessions go first: their windows live in the main window, and
    // their links read the demonstration data.
    sessionManager_.reset();
    delete helpWindow_;
    mainFrame_.reset();
    CalibrateManager::destroy();
    CprTrainingAppState::setInstance(nullptr);
    state_.reset();
    idMap::clear();
    return result;
}

DialogFrame* CprTrainingApp::hostDialog(std::unique_ptr<ChildDialog> dialog, bool hideOnClose, bool minimizeBox,
                                        const char* title)
{
    if (!mainFrame_ || !dialog)
        return nullptr;
    auto* frame = new DialogFrame(mainFrame_->mdiClient(), std::move(dialog));
    frame->fitToDialog = true;
    frame->resizable = false;
    frame->hideOnClose = hideOnClose;
    frame->minimizeBox = minimizeBox;
    // A frame that could not be made deletes itself.
    if (!frame->createFrame(translated(title)))
        return nullptr;
    return frame;
}

void CprTrainingApp::onNewSession()
{
    if (newSessionFrame_) {
        newSessionFrame_->showFrame();
        refreshWindowMenu();
        return;
    }
    std::unique_ptr<ChildDialog> dialog = services_.makeNewSessionDialog ? services_.makeNewSessionDialog() : nullptr;
    if (!dialog) {
        LogStream::instance() << "The New session window is not available.\n";
        return;
    }
    newSessionFrame_ = hostDialog(std::move(dialog), true, false, "New session");
}

void CprTrainingApp::openRunCourse(std::unique_ptr<ChildDialog> runCourseDialog)
{
    if (runCourseFrame_) {
        runCourseFrame_->showFrame();
        return;
    }
    runCourseFrame_ = hostDialog(std::move(runCourseDialog), false, true, "Run course");
}

void CprTrainingApp::runCourseClosed() { runCourseFrame_ = nullptr; }

bool CprTrainingApp::isEnding() const { return exited_ || !mainFrame_ || mainFrame_->isEnding(); }

bool CprTrainingApp::showSearchForManikins()
{
    if (searchFrame_) {
        searchFrame_->showFrame();
        return false;
    }
    auto owned = std::make_unique<CalibrateView>();
    CalibrateView* view = owned.get();
    view->setExpanded(false);
    searchFrame_ = hostDialog(std::move(owned), true, false, "Search for Manikins");
    if (!searchFrame_)
        return false;
    view->repaint();
    mainFrame_->repaint();
    const bool calibrationFailed = view->startupSearch();
    // A window the search closed stays closed: expanding only resizes it.
    view->setExpanded(true);
    return calibrationFailed;
}

void CprTrainingApp::enableMainWindow(bool enable)
{
    if (enable) {
        mainWindowLock_.unlock();
        return;
    }
    // The search window is the one that works meanwhile: a disabled window
    // would grey out the status it goes on showing.
    if (mainFrame_)
        mainWindowLock_.lock(*mainFrame_, searchFrame_);
}

void CprTrainingApp::refreshWindowMenu()
{
    if (mainFrame_)
        mainFrame_->refreshWindowMenu();
}

void CprTrainingApp::showHelpTopic(int topic)
{
    if (theApp)
        theApp->openHelp(topic);
    else
        LogStream::instance() << "Online help is not available (topic " << topic << ").\n";
}

HelpWindow* CprTrainingApp::helpWindow() const { return helpWindow_; }

void CprTrainingApp::openHelp(int topic)
{
    if (!helpWindow_)
        helpWindow_ = new HelpWindow(services_.stationDir, mainFrame_.get());
    if (!helpWindow_->showTopic(Gettext::instance().languageCode(), topic))
        platform::messageBox(Gettext::translate("The help of Kova CPR Software is not installed."),
                             L"Kova CPR Software", platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

void CprTrainingApp::showAbout()
{
    AboutDialog about(mainFrame_.get());
    about.doModal();
}

void CprTrainingApp::setCoursePlanner(std::function<void()> planner) { coursePlanner_ = std::move(planner); }

void CprTrainingApp::setSessionPrinter(std::function<void(Session&, bool)> printer)
{
    sessionPrinter_ = std::move(printer);
}

void CprTrainingApp::printCurrentSession()
{
    Session* session = sessionManager_ ? sessionManager_->getCurrentSession() : nullptr;
    const PrintableSession printable{session != nullptr, session ? session->getState() : 0,
                                     session && session->isRunning()};
    const PrintChoice choice = printChoice(printable);
    if (choice == PrintChoice::Beep || !sessionPrinter_) {
        platform::messageBeep();
        return;
    }
    sessionPrinter_(*session, choice == PrintChoice::DebriefingReport);
}

QPrinter& CprTrainingApp::printer() { return platform::applicationPrinter(); }

bool CprTrainingApp::onCommand(int command)
{
    SessionManager* manager = sessionManager_.get();
    if (command >= FIRST_TAB && command <= LAST_TAB) {
        if (manager)
            manager->selectTab(command - FIRST_TAB + 1);
        return true;
    }
    switch (command) {
    case NEW_SESSION:
        onNewSession();
        return true;
    case NEW_COURSE:
        if (runCourseFrame_)
            runCourseFrame_->showFrame();
        else if (coursePlanner_)
            coursePlanner_();
        return true;
    case CALIBRATE:
        showSearchForManikins();
        return true;
    case SESSION_VIEW:
        if (manager)
            manager->showSessionWindow();
        return true;
    case SURVEILLANCE:
        if (manager)
            manager->showSurveillance();
        return true;
    case START_ALL:
        if (manager)
            manager->startAll();
        return true;
    case PAUSE_ALL:
        if (manager)
            manager->pauseAll();
        return true;
    case PRINT:
        printCurrentSession();
        return true;
    case PRINT_SETUP:
        if (services_.pageSetup)
            services_.pageSetup(printer(), mainFrame_.get());
        return true;
    case CONFIGURATION:
        Configuration::instance().showDialog(GENERAL_PAGE);
        return true;
    case CONTROLLER_CONFIGURATION:
        Configuration::instance().showDialog(CONTROLLER_PAGE);
        return true;
    case HELP_CONTENTS:
        showHelpTopic(CONTENTS_TOPIC);
        return true;
    case HELP_BUTTON:
        // Each dialog answers its own Help button.
        return true;
    case ABOUT:
        showAbout();
        return true;
    default:
        return false;
    }
}

std::optional<bool> CprTrainingApp::isCommandEnabled(int command)
{
    const SessionManager* manager = sessionManager_.get();
    if (command == PRINT) {
        Session* session = manager ? manager->getCurrentSession() : nullptr;
        const PrintableSession printable{session != nullptr, session ? session->getState() : 0,
                                         session && session->isRunning()};
        return sessionPrinter_ && printChoice(printable) != PrintChoice::Beep;
    }
    if (command == NEW_COURSE)
        return runCourseFrame_ || coursePlanner_;
    const SessionCounts counts{manager ? manager->getSessionCount() : 0, manager ? manager->getRunningCount() : 0};
    return enabledBySessions(command, counts);
}

bool CprTrainingApp::runCourseMayClose() { return !runCourseFrame_ || runCourseFrame_->canClose(); }
