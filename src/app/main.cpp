// KOVA_CPR: the CPR training station.

#include "Rodezir/LogStream.h"

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

    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Kova CPR Software"));
    frame.resize(1024, 700);
    frame.show();
    const int result = application.exec();
    LogStream::destroy();
    return result;
}
