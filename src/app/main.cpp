// KOVA_CPR: the CPR training station.

#include "Rodezir/LogStream.h"
#include "app/search/EditorSeams.h"
#include "app/shell/CprTrainingApp.h"
#include "app/shell/StationWindows.h"
#include "comm/ports/CalibrateManager.h"
#include "config/Configuration.h"
#include "platform/MessageBox.h"
#include "platform/PrintDialog.h"
#include "platform/QtFileDialogAsker.h"
#include "platform/QtMessageAsker.h"
#include "platform/QtPrintDialogAsker.h"
#include "platform/SystemColours.h"

#include <QApplication>

#include <clocale>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    platform::applySystemColours(application);
    // Qt takes the user's locale; numbers in files and logs stay in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    platform::QtMessageAsker asker;
    platform::ScopedMessageAsker askerInForce(asker);
    platform::QtPrintDialogAsker printDialog;
    platform::ScopedPrintDialogAsker printDialogInForce(printDialog);
    platform::QtFileDialogAsker fileDialog;
    platform::ScopedFileDialogAsker fileDialogInForce(fileDialog);

    // The station's windows, with the message and file dialogs over the main window.
    CprTrainingApp::Services services = StationWindows::services([&asker, &fileDialog](CMainFrame& frame) {
        asker.setParent(&frame);
        fileDialog.setParent(&frame);
    });

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
