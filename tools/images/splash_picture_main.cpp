// splash-picture: draws the splash launcher's picture and writes it as a
// 24-bit BMP file. The same bytes come out on every run.

#include "SplashPicture.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: splash-picture <output file>\n");
        return 2;
    }
    // Text needs the font database, which needs an application object.
    QGuiApplication application(argc, argv);
    if (!images::drawSplashPicture().save(QString::fromLocal8Bit(argv[1]), "BMP")) {
        std::fprintf(stderr, "splash-picture: could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
