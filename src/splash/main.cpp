// splash: the program the instructor starts. It installs the downloaded
// updates, starts KOVA_CPR from its own folder with its own arguments, and
// shows its picture until the station says it is up or ends.

#include "platform/MessageBox.h"
#include "platform/QtMessageAsker.h"
#include "platform/RegistryStore.h"
#include "platform/SplashMessage.h"
#include "platform/SplashMessageServer.h"
#include "splash/PosixProcessStarter.h"
#include "splash/SplashLauncher.h"
#include "splash/SplashLog.h"
#include "splash/SplashWindow.h"
#include "splash/UpdateInstaller.h"

#include <QApplication>

#include <string>
#include <vector>

namespace {

// The product whose downloads the launcher installs: the update agent keeps
// them in a folder of this name.
const char* const PRODUCT_NAME = "Pallovex Vantorelle";

} // namespace

int main(int argc, char* argv[])
{
    // Taken before Qt removes its own options: the main program gets them all.
    const std::vector<std::string> arguments(argv + 1, argv + argc);

    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    const std::string folder = QCoreApplication::applicationDirPath().toStdString();

    splash::SplashLog log;
    splash::PosixProcessStarter starter;
    splash::UpdateInstaller installer(platform::RegistryStore::instance(), starter, log, folder, PRODUCT_NAME);
    splash::SplashLauncher launcher(arguments, folder, starter, log, installer);
    launcher.begin();

    splash::SplashWindow* window = nullptr;
    platform::SplashMessageServer server([&window](const platform::SplashMessage& message) {
        if (window)
            window->closeMessage(message);
    });
    const bool listening = server.listenForUser();
    if (!listening)
        log.line("No close message: " + server.errorText());
    launcher.setHearsCloseMessage(listening);

    splash::SplashWindow splashWindow(launcher, [] { QCoreApplication::exit(0); });
    window = &splashWindow;
    // A picture that cannot learn when the station is up lets its window come over it.
    if (!listening)
        splashWindow.setWindowFlag(Qt::WindowStaysOnTopHint, false);
    platform::QtMessageAsker asker(&splashWindow);
    platform::ScopedMessageAsker askerInForce(asker);
    splashWindow.show();
    application.exec();

    window = nullptr;
    server.close();
    launcher.finish();
    return 0;
}
