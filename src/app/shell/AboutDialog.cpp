#include "app/shell/AboutDialog.h"

#include "Rodezir/dialogs/DialogRegistry.h"
#include "Rodezir/dialogs/DialogTranslation.h"
#include "app/shell/BuildDate.h"
#include "controls/RoundButton.h"

using namespace kova;

namespace {

DialogTable aboutTable()
{
    DialogTable table;
    table.id = AboutDialog::TEMPLATE_ID;
    table.caption = L"\u00A4About Kova CPR Software";
    table.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT;
    table.cx = 236;
    table.cy = 98;
    table.controls = {
        label(L"\u00A4Kova CPR Software", IDC_STATIC, 12, 10, 212, 9),
        label(L"\u00A4Version %VER%", AboutDialog::IDC_VERSION, 12, 22, 212, 9),
        label(L"", AboutDialog::IDC_BUILD, 12, 34, 212, 9),
        label(L"\u00A4Training station for cardiopulmonary resuscitation courses", IDC_STATIC, 12, 48, 212, 9),
        label(L"", IDC_STATIC, 12, 63, 212, 1, SS_ETCHEDHORZ),
        defPushButton(L"\u00A4OK", IDOK, 176, 74, 48, 15),
    };
    return table;
}

int registeredTemplate()
{
    if (!DialogRegistry::find(AboutDialog::TEMPLATE_ID))
        AboutDialog::registerTemplate();
    return AboutDialog::TEMPLATE_ID;
}

} // namespace

void AboutDialog::registerTemplate() { DialogRegistry::add(aboutTable()); }

AboutDialog::AboutDialog(QWidget* parent) : TemplateDialog(registeredTemplate(), parent) {}

bool AboutDialog::onInitDialog()
{
    RoundButton::attach(this, IDOK);
    setDlgItemText(IDC_BUILD, QStringLiteral("Build: ") + QString::fromStdString(getBuildDate()));
    translateDialog(this);
    // The version goes in after the translation, which keeps the marker.
    setDlgItemText(IDC_VERSION, getDlgItemText(IDC_VERSION).replace(QStringLiteral("%VER%"), VERSION));
    return TemplateDialog::onInitDialog();
}
