#include "app/SessionDatabaseView.h"

#include "Database/Duration.h"
#include "Database/TrainingMode.h"
#include "Rodezir/DialogRegistry.h"
#include "Rodezir/LogStream.h"
#include "app/Session.h"
#include "app/SessionRowStore.h"
#include "controls/RoundButton.h"
#include "gettext/Gettext.h"

using namespace kova;

namespace {

constexpr std::uint32_t READ_ONLY = ES_READONLY | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;

struct Row {
    const wchar_t* label;
    int id;
};

constexpr Row ROWS[] = {
    {L"\u00A4Training mode", SessionDatabaseView::IDC_TRAINING_MODE},
    {L"\u00A4Ventilation", SessionDatabaseView::IDC_VENTILATION},
    {L"\u00A4Compression", SessionDatabaseView::IDC_COMPRESSION},
    {L"\u00A4Scenario", SessionDatabaseView::IDC_SCENARIO},
    {L"\u00A4Algorithm", SessionDatabaseView::IDC_ALGORITHM},
    {L"\u00A4Duration", SessionDatabaseView::IDC_DURATION},
    {L"\u00A4Manikin", SessionDatabaseView::IDC_MANIKIN},
    {L"\u00A4Date", SessionDatabaseView::IDC_DATE},
    {L"\u00A4Start time", SessionDatabaseView::IDC_START_TIME},
};

// One row per field, label on the left, the value read-only beside it; the
// metronome box and the two buttons below.
DialogTable reviewTable()
{
    DialogTable table;
    table.id = SessionDatabaseView::TEMPLATE_ID;
    table.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
    table.cx = 250;
    table.cy = 200;
    int y = 8;
    for (const Row& row : ROWS) {
        table.controls.push_back(label(row.label, IDC_STATIC, 8, y + 2, 76, 8));
        table.controls.push_back(editText(row.id, 88, y, 154, 12, READ_ONLY));
        y += 16;
    }
    table.controls.push_back(control(L"\u00A4Metronome used", SessionDatabaseView::IDC_METRONOME, L"BUTTON",
                                     BS_AUTOCHECKBOX | WS_TABSTOP, 88, y + 2, 154, 10));
    y += 22;
    table.controls.push_back(pushButton(L"\u00A4<< Debriefing", SessionDatabaseView::IDC_DEBRIEFING, 8, y, 76, 14));
    table.controls.push_back(pushButton(L"\u00A4Abort", SessionDatabaseView::IDC_ABORT, 166, y, 76, 14));
    return table;
}

int registeredTemplate()
{
    if (!DialogRegistry::find(SessionDatabaseView::TEMPLATE_ID))
        SessionDatabaseView::registerTemplate();
    return SessionDatabaseView::TEMPLATE_ID;
}

} // namespace

void SessionDatabaseView::registerTemplate() { DialogRegistry::add(reviewTable()); }

SessionDatabaseView::SessionDatabaseView(Session& session) : SessionPanel(session, registeredTemplate())
{
    KOVA_ASSERT(!session.getUsingFile());
}

bool SessionDatabaseView::onInitDialog()
{
    const bool result = SessionPanel::onInitDialog();
    for (const int id : {IDC_DEBRIEFING, IDC_ABORT})
        RoundButton::attach(this, id);
    if (getSession().getEnded())
        setDlgItemText(IDC_ABORT, QString::fromStdWString(Gettext::translate("Close")));
    notifier().on(IDC_DEBRIEFING, Notification::Clicked, [this] {
        SessionRecord record = getSession().getRecord();
        record.Metronome = isDlgButtonChecked(IDC_METRONOME);
        getSession().setRecord(record);
        getSession().setState(Session::DEBRIEF);
    });
    showRecord();
    return result;
}

void SessionDatabaseView::showRecord()
{
    const SessionRecord& record = getSession().getRecord();
    const auto text = [](const std::string& narrow) { return QString::fromStdString(narrow); };
    setDlgItemText(IDC_TRAINING_MODE, QString::fromStdWString(TrainingMode::getText(static_cast<int>(record.TrainingMode))));
    setDlgItemText(IDC_VENTILATION, text(record.PersonVentilation));
    setDlgItemText(IDC_COMPRESSION, text(record.PersonChestCompression));
    setDlgItemText(IDC_SCENARIO, text(record.Scenario));
    setDlgItemText(IDC_ALGORITHM, text(record.Algorithm));
    setDlgItemText(IDC_DURATION, QString::fromStdWString(Duration::format(record.Duration)));
    setDlgItemText(IDC_MANIKIN, QString::number(record.Manikin));
    setDlgItemText(IDC_DATE, text(record.CourseDate));
    setDlgItemText(IDC_START_TIME, text(record.StartTime));
    checkDlgButton(IDC_METRONOME, record.Metronome);
}

bool SessionDatabaseView::save()
{
    SessionRecord record = getSession().getRecord();
    if (isCreated())
        record.Metronome = isDlgButtonChecked(IDC_METRONOME);
    return SessionRowStore::store(getSession(), record);
}

void SessionDatabaseView::setMetronomeUsed(bool used)
{
    if (isCreated())
        checkDlgButton(IDC_METRONOME, used);
}
