// KOVA_CPR: the CPR training station.

#include "Rodezir/LogStream.h"
#include "app/CprTrainingAppState.h"
#include "comm/CalibrateManager.h"
#include "config/Configuration.h"

#include <QApplication>
#include <QMainWindow>

#include <clocale>

int main(int argc, char* argv[])
{
    LogStream::setShowOnExit(false);
    LogStream::instance();

    QApplication application(argc, argv);
    // Qt takes the user's locale; numbers in files and logs stay in the C locale.
    std::setlocale(LC_NUMERIC, "C");

    CprTrainingAppState state(CprTrainingAppState::joinCommandLine(argc, argv));
    CprTrainingAppState::setInstance(&state);
    state.loadRecordedData();

    // The registry of every manikin port; scans happen in the search window.
    CalibrateManager::get();
    // Loads "configuration.cprcfg"; the defaults stay in force when it is missing or damaged.
    Configuration::instance();

    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Kova CPR Software"));
    frame.resize(1024, 700);
    frame.show();
    const int result = application.exec();

    // The settings file is written once, at exit.
    Configuration::instance().save();
    Configuration::destroy();
    CalibrateManager::destroy();
    CprTrainingAppState::setInstance(nullptr);
    LogStream::destroy();
    return result;
}
