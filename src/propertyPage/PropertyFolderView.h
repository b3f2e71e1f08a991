#pragma once
// The "Configuration" dialog: the folder dialog with the buttons that fetch
// the set-up from a REV Evezodidaz controller and send it to them, shown
// while at least one controller is known.

#include "Rodezir/SlotHolder.h"
#include "propertyPage/FolderDialog.h"

class PropertyFolderView : public FolderDialog, public virtual SlotHolder {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 255;
    static constexpr int GET_FROM_CONTROLLER = 3;
    static constexpr int SEND_TO_CONTROLLER = 4;

    PropertyFolderView(PropertyFolderController& controller, int initialPage, QWidget* parent = nullptr);
    ~PropertyFolderView() override;

    void updateControllerButtons();

protected:
    bool onInitDialog() override;
    void onOK() override;
    std::vector<int> leftButtonIds() const override { return {GET_FROM_CONTROLLER, SEND_TO_CONTROLLER}; }
};
