#pragma once
// The online help window: one window beside the main window that shows the
// help page of a topic, with Back, Forward and Contents. Every dialog's
// Help button and the Help menu open their topics in it. It opens over the
// window it was asked from: over a modal dialog (Configuration, a record
// editor) it belongs to that dialog for as long as the dialog is open, so it
// stays on top of it and takes clicks, scrolling and keys meanwhile; once
// the dialog closes it stays open over the main window.

#include <QPointer>
#include <QWidget>

#include <filesystem>
#include <string>

class QTextBrowser;
class QToolBar;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // Reads the help folders of `stationDir`; `home` is the window the help
    // belongs to while no modal dialog is open (the main window, or none).
    explicit HelpWindow(std::filesystem::path stationDir, QWidget* home = nullptr);
    ~HelpWindow() override;

    // Shows the topic's page in `languageCode`'s help (the English help
    // when that language has none) and brings the window forward, wholly on
    // the screen, over the active modal dialog if there is one; false, with
    // nothing shown, when no help is installed.
    bool showTopic(const std::string& languageCode, int topic);

    // The page shown, as a local file path; empty before the first topic.
    std::filesystem::path currentPage() const;
    QTextBrowser* browser() const { return browser_; }
    // The window the help belongs to now: the modal dialog it was opened
    // over while that is open, else its home.
    QWidget* owner() const { return parentWidget(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showContents();
    void belongTo(QWidget* owner);
    void placeOnScreen();
    void followActiveModal();

    std::filesystem::path stationDir_;
    std::filesystem::path startPage_;
    QPointer<QWidget> home_;
    QPointer<QWidget> modalOwner_;
    QTextBrowser* browser_;
    QToolBar* toolBar_;
    bool placed_ = false;
};
