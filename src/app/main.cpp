// KOVA_CPR: the CPR training station.

#include "CPB/CPBTransferFrontEnd.h"
#include "Database/Database.h"
#include "Database/DatabasePatch.h"
#include "Database/RecordDialogTables.h"
#include "Database/RuntimeRandom.h"
#include "Rodezir/InitLanguage.h"
#include "Rodezir/LogStream.h"
#include "app/BuildDate.h"
#include "app/CalibrateView.h"
#include "app/CoursePlannerWindow.h"
#include "app/RecordDetailsEditors.h"
#include "app/CprTrainingAppState.h"
#include "app/Print.h"
#include "app/SessionDebriefView.h"
#include "app/ToolTipAnswer.h"
#include "app/idMap.h"
#include "comm/CalibrateManager.h"
#include "config/Configuration.h"
#include "config/SettingsFile.h"
#include "platform/MessageBox.h"
#include "platform/PrintDialog.h"
#include "platform/QtMessageAsker.h"
#include "platform/QtPrintDialogAsker.h"
#include "platform/RegistryStore.h"
#include "platform/ReplacingFile.h"
#include "propertyPage/AlgorithmDetailsEditor.h"
#include "propertyPage/ConfigurationDialogs.h"

#include <QApplication>
#include <QMainWindow>

#include <clocale>
#include <ctime>

int main(int argc, char* argv[])
{
    LogStream::setShowOnExit(false);
    LogStream::headerText = getVersionText();
    LogStream::instance();

    QApplication application(argc, argv);
    // Qt takes the user's locale; numbers in files and logs stay in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    platform::QtMessageAsker asker;
    platform::ScopedMessageAsker askerInForce(asker);
    platform::QtPrintDialogAsker printDialog;
    platform::ScopedPrintDialogAsker printDialogInForce(printDialog);

    // Temporaries that writers killed while saving left beside the station's
    // own files: the registry hives and the settings file.
    platform::RegistryStore::instance().removeStaleTemporaries();
    platform::ReplacingFile::removeStale(SettingsFile::NAME);

    CprTrainingAppState state(CprTrainingAppState::joinCommandLine(argc, argv));
    kova::initLanguage(state.commandLine(), "en.mo");
    // Tooltip texts are translated once, in the language just chosen.
    idMap::fill();
    ToolTipAnswer::install(application);
    RuntimeRandom::seed(static_cast<std::uint32_t>(std::time(nullptr)));
    CprTrainingAppState::setInstance(&state);
    state.loadRecordedData();

    // The registry of every manikin port; scans happen in the search window.
    CalibrateManager::get();

    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Kova CPR Software"));
    frame.resize(1024, 700);
    asker.setParent(&frame);
    frame.show();

    // Without records the station still trains: openDatabase tells the user once.
    openDatabase();
    DatabasePatch::runIfNeeded();
    // Loads "configuration.cprcfg"; the defaults stay in force when it is missing or damaged.
    Configuration::instance();
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
    // Every session's debriefing panel.
    SessionDebriefView::install();
    // Their Print buttons print the session.
    Print::install();
    CPBTransferFrontEnd::install();

    const int result = application.exec();

    // The settings file is written once, at exit.
    Configuration::instance().save();
    Configuration::destroy();
    CalibrateManager::destroy();
    CprTrainingAppState::setInstance(nullptr);
    LogStream::destroy();
    return result;
}
