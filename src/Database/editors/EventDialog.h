#pragma once
// The "Event" dialog (232): the name, tooltip and icon of one event of a
// scenario. It ends with OK only once an icon is chosen.

#include "Rodezir/dialogs/TemplateDialog.h"

#include <memory>
#include <string>

namespace kova {
class IconImageList;
}

class EventDialog : public kova::TemplateDialog {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 232;
    static constexpr int NAME = 1118;
    static constexpr int TOOLTIP = 1294;
    static constexpr int PICTURE = 1295;
    static constexpr int ICONS = 1278;

    EventDialog(const std::string& name, const std::string& tooltip, int icon, QWidget* parent = nullptr);
    ~EventDialog() override;

    // After OK: what the user chose.
    const std::string& name() const { return name_; }
    const std::string& tooltip() const { return tooltip_; }
    int icon() const { return icon_; }

protected:
    bool onInitDialog() override;
    void onOK() override;

private:
    int selectedIcon() const;
    void onIconSelected();

    std::string name_;
    std::string tooltip_;
    int icon_;
    std::unique_ptr<kova::IconImageList> icons_;
};
