#pragma once
// The online help window: one window beside the main window that shows the
// help page of a topic, with Back, Forward and Contents. Every dialog's
// Help button and the Help menu open their topics in it.

#include <QWidget>

#include <filesystem>
#include <string>

class QTextBrowser;
class QToolBar;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // Reads the help folders of `stationDir`.
    explicit HelpWindow(std::filesystem::path stationDir, QWidget* parent = nullptr);

    // Shows the topic's page in `languageCode`'s help (the English help
    // when that language has none) and brings the window forward; false,
    // with nothing shown, when no help is installed.
    bool showTopic(const std::string& languageCode, int topic);

    // The page shown, as a local file path; empty before the first topic.
    std::filesystem::path currentPage() const;
    QTextBrowser* browser() const { return browser_; }

private:
    void showContents();

    std::filesystem::path stationDir_;
    std::filesystem::path startPage_;
    QTextBrowser* browser_;
    QToolBar* toolBar_;
};
