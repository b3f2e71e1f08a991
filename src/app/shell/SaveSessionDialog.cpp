#include "app/shell/SaveSessionDialog.h"

#include "Rodezir/dialogs/DialogRegistry.h"
#include "Rodezir/dialogs/DialogTranslation.h"
#include "controls/RoundButton.h"
#include "gettext/Gettext.h"

using namespace kova;

namespace {

constexpr const char* QUESTION =
    "Do you want to save the session '%s' in the database?\n\n"
    "If you choose 'Yes', you can find the session later with the 'Session manager' command in the Database "
    "menu.\n"
    "If you choose 'No', the session will be discarded.\n\n"
    "Press 'Review' to review the session information before you decide.";

// The question above the four buttons in one row.
DialogTable saveSessionTable()
{
    DialogTable table;
    table.id = SaveSessionDialog::TEMPLATE_ID;
    table.caption = L"\u00A4Save session?";
    table.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT;
    table.cx = 262;
    table.cy = 124;
    table.controls = {
        label(L"", SaveSessionDialog::IDC_QUESTION, 10, 9, 242, 86),
        defPushButton(L"\u00A4&Yes", SaveSessionDialog::IDC_YES, 10, 102, 56, 14),
        pushButton(L"\u00A4&No", SaveSessionDialog::IDC_NO, 72, 102, 56, 14),
        pushButton(L"\u00A4&Review", SaveSessionDialog::IDC_REVIEW, 134, 102, 56, 14),
        pushButton(L"\u00A4&Cancel", SaveSessionDialog::IDC_CANCEL, 196, 102, 56, 14),
    };
    return table;
}

int registeredTemplate()
{
    if (!DialogRegistry::find(SaveSessionDialog::TEMPLATE_ID))
        SaveSessionDialog::registerTemplate();
    return SaveSessionDialog::TEMPLATE_ID;
}

} // namespace

void SaveSessionDialog::registerTemplate() { DialogRegistry::add(saveSessionTable()); }

SaveSessionDialog::SaveSessionDialog(const std::wstring& sessionName, bool reviewAllowed, QWidget* parent)
    : TemplateDialog(registeredTemplate(), parent), sessionName_(sessionName), reviewAllowed_(reviewAllowed)
{
}

QString SaveSessionDialog::questionText(const std::wstring& sessionName)
{
    // The name is put in by hand, not through printf: a translation stays
    // a plain text, and a "%" in the name is just a character.
    std::wstring text = Gettext::translate(QUESTION);
    if (const auto at = text.find(L"%s"); at != std::wstring::npos)
        text.replace(at, 2, sessionName);
    return QString::fromStdWString(text);
}

bool SaveSessionDialog::onInitDialog()
{
    for (const int id : {IDC_YES, IDC_NO, IDC_REVIEW, IDC_CANCEL})
        RoundButton::attach(this, id);
    if (auto* yes = qobject_cast<QPushButton*>(getDlgItem(IDC_YES)))
        yes->setDefault(true);
    translateDialog(this);
    setDlgItemText(IDC_QUESTION, questionText(sessionName_));
    if (QWidget* review = getDlgItem(IDC_REVIEW))
        review->setEnabled(reviewAllowed_);
    notifier().on(IDC_NO, Notification::Clicked, [this] { finish({false, false, true}, Rejected); });
    notifier().on(IDC_REVIEW, Notification::Clicked, [this] { finish({true, false, false}, Rejected); });
    return TemplateDialog::onInitDialog();
}

void SaveSessionDialog::onOK() { finish({false, true, true}, Accepted); }

void SaveSessionDialog::onCancel() { finish({}, Rejected); }

void SaveSessionDialog::finish(const Answer& answer, int result)
{
    answer_ = answer;
    done(result);
}
