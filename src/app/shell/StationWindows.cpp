#include "app/shell/StationWindows.h"

#include "CPB/CPBTransferFrontEnd.h"
#include "Database/editors/RecordDialogTables.h"
#include "Database/stored-sessions/BrowseSessionsDialog.h"
#include "app/courses/CoursePlannerWindow.h"
#include "app/debriefing/SessionDebriefView.h"
#include "app/livepanel/SessionGraphView.h"
#include "app/livepanel/WindowedSessionManager.h"
#include "app/printing/Print.h"
#include "app/search/CalibrateView.h"
#include "app/search/NewSessionDialog.h"
#include "app/search/RecordDetailsEditors.h"
#include "app/sessions/SessionDataFile.h"
#include "app/sessions/SessionWindowSet.h"
#include "app/shell/DialogFrame.h"
#include "app/shell/MainCommands.h"
#include "app/stored-sessions/SessionDetailsDialog.h"
#include "config/Configuration.h"
#include "propertyPage/AlgorithmDetailsEditor.h"
#include "propertyPage/ConfigurationDialogs.h"

#include <memory>

namespace StationWindows {

CprTrainingApp::Services services(std::function<void(CMainFrame&)> beforeInstall)
{
    CprTrainingApp::Services services = CprTrainingApp::Services::standard();
    // The sessions' manager with the session window.
    services.makeSessionManager = []() -> std::unique_ptr<SessionManager> {
        return std::make_unique<WindowedSessionManager>(Configuration::instance().getPropertyModel().showCardiacOutput);
    };
    services.installWindows = [beforeInstall = std::move(beforeInstall)](CMainFrame& frame) {
        if (beforeInstall)
            beforeInstall(frame);
        install(frame);
    };
    services.makeNewSessionDialog = [] { return std::make_unique<NewSessionDialog>(); };
    return services;
}

void install(CMainFrame& frame)
{
    installConfigurationDialog(&frame);
    // The record editors; the configuration pages' "Details..." open the algorithm editor.
    registerRecordDialogTables();
    installAlgorithmEditor();
    // The New-session window's "Details..." open the person and scenario editors.
    installRecordDetailsEditors();
    // Its "Course planner..." opens the planner, whose rows open the session dialog.
    installCoursePlanner();
    // The configuration page that looks for controllers opens the search window modally.
    CalibrateView::installAsCalibrationWindow();
    // The session window opens in the main window; after the last session
    // the station goes back to Run course, or on to a new session.
    if (auto* manager = dynamic_cast<WindowedSessionManager*>(SessionManager::instance())) {
        manager->setMdiClient(frame.mdiClient());
        manager->setAfterLastSession([] {
            CprTrainingApp* app = CprTrainingApp::instance();
            if (!app)
                return;
            if (DialogFrame* runCourse = app->runCourseFrame())
                runCourse->showFrame();
            else
                app->onNewSession();
        });
    }
    // Every session gets its windows; the debriefing panel among them.
    SessionWindowSet::install();
    SessionDebriefView::install();
    // The live graph panel, with its ECG box.
    SessionGraphView::install();
    // Their Print buttons print the session.
    Print::install();
    // The Database menu's session manager; the session dialog it opens
    // shows a stored session's graphs and debriefing.
    frame.setCommand(MainCommands::SESSION_MANAGER, [&frame] { BrowseSessionsDialog(&frame).run(); });
    // Its import stores only sessions that open.
    SessionDataFile::installImportCheck();
    SessionDetailsDialog::install();
    CPBTransferFrontEnd::install();
}

} // namespace StationWindows
