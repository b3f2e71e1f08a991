#pragma once
// Base of the configuration pages: the page object lives with the folder
// controller, while its window exists only while it is the folder's current
// page. The folder dialog creates the window from the page's template and
// destroys it when another page is chosen. Each page binds its controls to
// the settings record in one table, which loading and storing walk.

#include "Rodezir/dialogs/TemplateDialog.h"
#include "config/FolderPage.h"

#include "propertyPage/PageField.h"

#include <QPointer>
#include <QWidget>

#include <vector>

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

    // Sets the bound controls from the record, then what the page shows besides.
    void load(const PropertyModel& model) final;
    // Validates the bound controls in the table's order; when all pass, their
    // values and the page's own go into the record. A failure leaves the
    // record untouched.
    bool store(PropertyModel& model) final;
    void showHelp() override;

    // The page's controls with their fields and bounds, in validation order.
    virtual const std::vector<PageField>& fields() const = 0;

protected:
    // Fills the controls of a new window and hooks their notifications.
    virtual void onInitPage() {}
    // After the bound controls show the record.
    virtual void onLoaded(const PropertyModel& model) {}
    // After the bound controls were read into the record, before it is taken over.
    virtual void onStored(PropertyModel& model) {}
    QWidget* item(int id) const;
    bool isChecked(int id) const;
    void setChecked(int id, bool checked);
    void enableItem(int id, bool enabled);

private:
    QPointer<kova::TemplateDialog> window_;
};
