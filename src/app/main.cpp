// KOVA_CPR: the CPR training station.

#include "CPB/CPBTransferFrontEnd.h"
#include "Database/BrowseSessionsDialog.h"
#include "Database/RecordDialogTables.h"
#include "Rodezir/LogStream.h"
#include "app/CalibrateView.h"
#include "app/CoursePlannerWindow.h"
#include "app/CprTrainingApp.h"
#include "app/DialogFrame.h"
#include "app/EditorSeams.h"
#include "app/MainCommands.h"
#include "app/NewSessionDialog.h"
#include "app/RecordDetailsEditors.h"
#include "app/Print.h"
#include "app/SessionDebriefView.h"
#include "app/SessionDetailsDialog.h"
#include "app/SessionGraphView.h"
#include "app/SessionManagerTabView.h"
#include "app/SessionWindowSet.h"
#include "app/WindowedSessionManager.h"
#include "comm/CalibrateManager.h"
#include "config/Configuration.h"
#include "platform/MessageBox.h"
#include "platform/PrintDialog.h"
#include "platform/QtFileDialogAsker.h"
#include "platform/QtMessageAsker.h"
#include "platform/QtPrintDialogAsker.h"
#include "propertyPage/AlgorithmDetailsEditor.h"
#include "propertyPage/ConfigurationDialogs.h"

#include <QApplication>

#include <clocale>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // Qt takes the user's locale; numbers in files and logs stay in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    platform::QtMessageAsker asker;
    platform::ScopedMessageAsker askerInForce(asker);
    platform::QtPrintDialogAsker printDialog;
    platform::ScopedPrintDialogAsker printDialogInForce(printDialog);
    platform::QtFileDialogAsker fileDialog;
    platform::ScopedFileDialogAsker fileDialogInForce(fileDialog);

    CprTrainingApp::Services services = CprTrainingApp::Services::standard();
    // The sessions' manager with the session window.
    services.makeSessionManager = []() -> std::unique_ptr<SessionManager> {
        return std::make_unique<WindowedSessionManager>(Configuration::instance().getPropertyModel().showCardiacOutput);
    };
    // The windows of the rest of the station, once the main window, the
    // records and the settings are there.
    services.installWindows = [&asker, &fileDialog](CMainFrame& frame) {
        asker.setParent(&frame);
        fileDialog.setParent(&frame);
        installConfigurationDialog(&frame);
        // The record editors; the configuration pages' "Details..." open the algorithm editor.
        registerRecordDialogTables();
        installAlgorithmEditor();
        // The New-session window's "Details..." open the person and scenario editors.
        installRecordDetailsEditors();
        // Its "Course planner..." opens the planner.
        installCoursePlanner();
        // The configuration page that looks for controllers opens the search window modally.
        CalibrateView::installAsCalibrationWindow();
        // The session window opens in the main window; after its last tab the
        // station goes back to Run course, or on to a new session.
        if (auto* manager = dynamic_cast<WindowedSessionManager*>(SessionManager::instance()))
            manager->setMdiClient(frame.mdiClient());
        SessionManagerTabView::setAfterLastTab([] {
            CprTrainingApp* app = CprTrainingApp::instance();
            if (!app)
                return;
            if (DialogFrame* runCourse = app->runCourseFrame())
                runCourse->showFrame();
            else
                app->onNewSession();
        });
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
        SessionDetailsDialog::install();
        CPBTransferFrontEnd::install();
    };
    services.makeNewSessionDialog = [] { return std::make_unique<NewSessionDialog>(); };

    int result = 0;
    {
        CprTrainingApp app(CprTrainingAppState::joinCommandLine(argc, argv), std::move(services));
        // "New course..." runs the planner, which may open the Run-course window.
        app.setCoursePlanner([] {
            if (auto planner = editorseams::makeCoursePlanner())
                planner->doModal();
        });
        if (app.initInstance())
            result = application.exec();
        app.exitInstance(result);
    }
    Configuration::destroy();
    CalibrateManager::destroy();
    LogStream::destroy();
    return result;
}
