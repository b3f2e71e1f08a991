#pragma once
// The main window's toolbar pictures (bitmap 128): one 24 x 24 picture per
// button, left to right as the toolbar shows them (new session, search for
// manikins, controller set-up, session view, surveillance, start all, pause
// all, print, metronome, about), on the mask colour the toolbar leaves out.

#include <QImage>
#include <QRgb>

namespace images {

constexpr int TOOLBAR_IMAGE_SIZE = 24;
constexpr int TOOLBAR_IMAGE_COUNT = 10;

QImage toolbarStrip(QRgb maskColour);

} // namespace images
