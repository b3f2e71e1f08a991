#pragma once
// A small main window for the frame tests: an MDI client area, the menu built
// in code, and shortcuts installed from an accelerator table, with every
// command it receives written down.

#include "controls/MdiClientWnd.h"

#include <QMainWindow>

#include <vector>

namespace kovatest {

class TestMainWindow : public QMainWindow {
public:
    static constexpr int ID_NEW_SESSION = 32779; // Ctrl+N
    static constexpr int ID_CALIBRATE = 32780;   // F5

    TestMainWindow();

    kova::MdiClientWnd& client() { return *client_; }
    const std::vector<int>& commands() const { return commands_; }

private:
    kova::MdiClientWnd* client_;
    std::vector<int> commands_;
};

} // namespace kovatest
