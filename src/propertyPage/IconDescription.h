#pragma once
// The "Icon legends" dialog: the six icons chosen for the controller, each
// with an edit field for its legend.

#include "Rodezir/dialogs/TemplateDialog.h"

#include <string>
#include <vector>

class QWidget;

class IconDescription : public kova::TemplateDialog {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 286;
    static constexpr int PICTURES[6] = {1406, 1407, 1412, 1413, 1414, 1415};
    static constexpr int EDITS[6] = {1333, 1334, 1335, 1336, 1337, 1338};

    // Six picture indices into the station's icon list, and six legends.
    IconDescription(const std::vector<int>& pictures, const std::vector<std::string>& legends,
                    QWidget* parent = nullptr);

    // True when the dialog ended with OK.
    bool runModal(QWidget* parent);
    // The legend of slot pos (0 to 5) after the dialog has run.
    std::string getDescription(int pos) const;

protected:
    bool onInitDialog() override;
    void onOK() override;
    void onCancel() override;

private:
    void readLegends();

    std::vector<int> pictures_;
    std::vector<std::string> legends_;
};
