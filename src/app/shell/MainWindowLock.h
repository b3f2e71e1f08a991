#pragma once
// Keeps the instructor away from a main window while a long operation runs
// in one of its windows: the menus, the tool bars and every other window of
// its client area are disabled, the window that works stays as it is, so
// what it tells meanwhile ("Stay clear of the manikin(s).") stays readable.

#include <QPointer>

#include <vector>

class QMainWindow;
class QWidget;

class MainWindowLock {
public:
    MainWindowLock() = default;
    // Gives back whatever is still locked.
    ~MainWindowLock();
    MainWindowLock(const MainWindowLock&) = delete;
    MainWindowLock& operator=(const MainWindowLock&) = delete;

    // Disables all of `window` but `keep` (a window of its client area, or
    // null); a second lock adds to the first.
    void lock(QMainWindow& window, const QWidget* keep);
    // Enables again what lock disabled, and nothing else.
    void unlock();

private:
    void take(QWidget* widget);

    std::vector<QPointer<QWidget>> disabled_;
};
