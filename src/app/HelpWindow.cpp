#include "app/HelpWindow.h"

#include "app/HelpTopics.h"
#include "gettext/Gettext.h"

#include <QAction>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString translated(const char* text) { return QString::fromStdWString(Gettext::translate(text)); }

QUrl fileUrl(const std::filesystem::path& path) { return QUrl::fromLocalFile(QString::fromStdString(path.string())); }

} // namespace

HelpWindow::HelpWindow(std::filesystem::path stationDir, QWidget* parent)
    : QWidget(parent, Qt::Window), stationDir_(std::move(stationDir)), browser_(new QTextBrowser(this)),
      toolBar_(new QToolBar(this))
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(translated("Kova CPR Software Help"));
    resize(720, 560);
    browser_->setOpenExternalLinks(true);

    QAction* back = toolBar_->addAction(translated("Back"), browser_, &QTextBrowser::backward);
    QAction* forward = toolBar_->addAction(translated("Forward"), browser_, &QTextBrowser::forward);
    toolBar_->addAction(translated("Contents"), this, &HelpWindow::showContents);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(browser_);
}

bool HelpWindow::showTopic(const std::string& languageCode, int topic)
{
    const std::filesystem::path page = HelpTopics::locate(stationDir_, languageCode, topic);
    if (page.empty())
        return false;
    // Contents leads to the start page of the help the topic came from.
    startPage_ = HelpTopics::page(topic) ? page.parent_path().parent_path() / HelpTopics::START_PAGE : page;
    browser_->setSource(fileUrl(page));
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    return true;
}

std::filesystem::path HelpWindow::currentPage() const
{
    const QUrl source = browser_->source();
    if (source.isEmpty())
        return {};
    return std::filesystem::path(source.toLocalFile().toStdString());
}

void HelpWindow::showContents()
{
    if (!startPage_.empty())
        browser_->setSource(fileUrl(startPage_));
}
