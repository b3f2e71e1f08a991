#pragma once
// Base of the configuration pages: the page object lives with the folder
// controller, while its window exists only while it is the folder's current
// page. The folder dialog creates the window from the page's template and
// destroys it when another page is chosen.

#include "Rodezir/TemplateDialog.h"
#include "config/FolderPage.h"

#include <QPointer>
#include <QWidget>

class PageExchange;

class ConfigPage : public QWidget, public FolderPage {
    Q_OBJECT
public:
    static constexpr int HELP_TOPIC = 10018;

    ConfigPage();
    ~ConfigPage() override;

    // Builds the page window from `pageTemplate` as a child of `host` and
    // runs its initialisation; false when the template cannot be built.
    bool createWindow(const kova::DialogTemplate& pageTemplate, QWidget* host);
    void destroyWindow();
    // The page window, or null while the page is not shown.
    kova::TemplateDialog* window() const { return window_.data(); }

    void showHelp() override;

protected:
    // Fills the controls of a new window and hooks their notifications.
    virtual void onInitPage() {}
    // Runs the page's field exchange towards (load) or from (store) the controls.
    virtual void exchange(PageExchange& exchange) = 0;
    // Runs the exchange; false when a field failed validation.
    bool runExchange(bool saving);
    QWidget* item(int id) const;
    bool isChecked(int id) const;
    void setChecked(int id, bool checked);
    void enableItem(int id, bool enabled);

private:
    QPointer<kova::TemplateDialog> window_;
};
