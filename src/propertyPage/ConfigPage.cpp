#include "propertyPage/ConfigPage.h"

#include "Rodezir/LogStream.h"
#include "config/PropertyModel.h"
#include "propertyPage/ConfigSeams.h"
#include "propertyPage/PageExchange.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace {

// The page window: a child dialog that hands its initialisation back to the page.
class PageWindow final : public kova::TemplateDialog {
public:
    PageWindow(const kova::DialogTemplate& pageTemplate, QWidget* host, std::function<void()> init)
        : TemplateDialog(pageTemplate, host), init_(std::move(init))
    {
    }

protected:
    bool onInitDialog() override
    {
        init_();
        return true;
    }
    // A page is a control of the folder dialog, as a control-style child
    // dialog is to the dialog manager: Escape and Enter in any of its fields
    // are the folder's Cancel and OK. Taken here, Escape would close the page
    // alone and leave the folder open with an empty page area.
    void keyPressEvent(QKeyEvent* event) override { QWidget::keyPressEvent(event); }

private:
    std::function<void()> init_;
};

} // namespace

ConfigPage::ConfigPage() = default;

ConfigPage::~ConfigPage() { destroyWindow(); }

bool ConfigPage::createWindow(const kova::DialogTemplate& pageTemplate, QWidget* host)
{
    destroyWindow();
    window_ = new PageWindow(pageTemplate, host, [this] { onInitPage(); });
    if (!window_->create()) {
        destroyWindow();
        return false;
    }
    return true;
}

void ConfigPage::destroyWindow()
{
    delete window_.data();
    window_.clear();
}

void ConfigPage::showHelp() { configseams::showHelpTopic(HELP_TOPIC); }

void ConfigPage::load(const PropertyModel& model)
{
    KOVA_ASSERT(window_ != nullptr);
    if (!window_)
        return;
    PageExchange exchange(*window_);
    for (const PageField& field : fields())
        exchange.load(field, model);
    onLoaded(model);
}

bool ConfigPage::store(PropertyModel& model)
{
    KOVA_ASSERT(window_ != nullptr);
    if (!window_)
        return true;
    PropertyModel stored = model;
    PageExchange exchange(*window_);
    for (const PageField& field : fields())
        exchange.store(field, stored);
    if (!exchange.ok())
        return false;
    onStored(stored);
    model = stored;
    return true;
}

QWidget* ConfigPage::item(int id) const { return window_ ? window_->getDlgItem(id) : nullptr; }

bool ConfigPage::isChecked(int id) const
{
    auto* button = qobject_cast<QAbstractButton*>(item(id));
    return button && button->isChecked();
}

void ConfigPage::setChecked(int id, bool checked)
{
    if (auto* button = qobject_cast<QAbstractButton*>(item(id)))
        button->setChecked(checked);
}

void ConfigPage::enableItem(int id, bool enabled)
{
    if (QWidget* widget = item(id))
        widget->setEnabled(enabled);
}
