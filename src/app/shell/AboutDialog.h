#pragma once
// The About box (template 100): the program's name, its version and the
// date and time it was built, closed with its one round OK button.

#include "Rodezir/dialogs/TemplateDialog.h"

class AboutDialog : public kova::TemplateDialog {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 100;
    static constexpr int IDC_BUILD = 1106;
    static constexpr int IDC_VERSION = 1316;
    static constexpr const char* VERSION = "3.1.3";

    explicit AboutDialog(QWidget* parent = nullptr);

    // Puts template 100 into the dialog registry (done by the constructor when missing).
    static void registerTemplate();

protected:
    bool onInitDialog() override;
};
