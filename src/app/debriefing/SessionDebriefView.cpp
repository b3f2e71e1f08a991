#include "app/debriefing/SessionDebriefView.h"

#include "Rodezir/DialogUtil.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/BoxLayout.h"
#include "Rodezir/dialogs/ControlGroup.h"
#include "Rodezir/dialogs/DialogRegistry.h"
#include "Rodezir/dialogs/LayoutSpacer.h"
#include "Rodezir/dialogs/WindowGeometry.h"
#include "app/debriefing/DebriefReport.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionWindowSet.h"
#include "config/Configuration.h"
#include "controls/RoundButton.h"
#include "controls/reportctrl/CReportCtrl.h"
#include "gettext/Gettext.h"
#include "platform/Help.h"

#include <QPlainTextEdit>
#include <QShowEvent>

using namespace kova;

namespace {

constexpr std::uint32_t REPORT_STYLE =
    WS_VISIBLE | WS_TABSTOP | WS_BORDER | RVS_SHOWEVENBKCOLOR | RVS_SHOWVGRID | RVS_SINGLESELECT;
constexpr std::uint32_t ES_AUTOVSCROLL = 0x40;
constexpr std::uint32_t BOX_STYLE = ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP;

// The list above; the recommendation line centred below it; "<< Graph" and
// "Review >>" at the left of the bottom line, "Abort", "Print..." and "Help"
// at its right.
DialogTable debriefTable()
{
    DialogTable table;
    table.id = SessionDebriefView::TEMPLATE_ID;
    table.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
    table.cx = 360;
    table.cy = 200;
    table.controls = {
        control(L"", SessionDebriefView::IDC_REPORT, L"MFCReportCtrl", REPORT_STYLE, 4, 4, 352, 146),
        label(L"\u00A4Please enter recommendation:", SessionDebriefView::IDC_RECOMMENDATION_LABEL, 40, 162, 100, 8),
        editText(SessionDebriefView::IDC_RECOMMENDATION, 142, 154, 178, 24, BOX_STYLE),
        pushButton(L"\u00A4<< Graph", SessionDebriefView::IDC_GRAPH, 4, 182, 50, 14),
        pushButton(L"\u00A4Review >>", SessionDebriefView::IDC_REVIEW, 58, 182, 50, 14),
        pushButton(L"\u00A4Abort", SessionDebriefView::IDC_ABORT, 198, 182, 50, 14),
        pushButton(L"\u00A4Print...", SessionDebriefView::IDC_PRINT, 252, 182, 50, 14),
        pushButton(L"\u00A4Help", ChildDialog::ID_HELP, 306, 182, 50, 14),
    };
    return table;
}

DialogTemplate fittingTemplate()
{
    if (!DialogRegistry::find(SessionDebriefView::TEMPLATE_ID))
        SessionDebriefView::registerTemplate();
    CReportCtrl::registerWindowClass();
    return templateFittingScreen(SessionDebriefView::TEMPLATE_ID, getMonitorWorkArea(), SmallFontFacts::ofSystem());
}

SessionDebriefView::PrintFunction& printFunction()
{
    static SessionDebriefView::PrintFunction print;
    return print;
}

} // namespace

void SessionDebriefView::registerTemplate() { DialogRegistry::add(debriefTable()); }

void SessionDebriefView::setPrintFunction(PrintFunction print) { printFunction() = std::move(print); }

void SessionDebriefView::install()
{
    SessionWindowSet::setPanelFactory(SessionWindows::Panel::Debrief,
                                      [](Session& session) { return std::make_unique<SessionDebriefView>(session); });
}

SessionDebriefView::SessionDebriefView(Session& session) : SessionPanel(session, fittingTemplate()) {}

SessionDebriefView::~SessionDebriefView() = default;

char SessionDebriefView::unitSeparator() { return DebriefEvaluation::unitSeparator(); }

const PropertyModel& SessionDebriefView::settings() { return Configuration::instance().getPropertyModel(); }

bool SessionDebriefView::onInitDialog()
{
    const bool result = SessionPanel::onInitDialog();
    for (const int id : {IDC_GRAPH, IDC_REVIEW, IDC_ABORT, IDC_PRINT, ID_HELP})
        RoundButton::attach(this, id);
    box_ = qobject_cast<QPlainTextEdit*>(getDlgItem(IDC_RECOMMENDATION));
    report_ = qobject_cast<CReportCtrl*>(getDlgItem(IDC_REPORT));
    if (!report_) {
        LogStream::instance() << "SessionDebriefView: no report control " << IDC_REPORT << LogStream::endl;
        return result;
    }
    buildLayout();

    Session& session = getSession();
    debrief_ = std::make_unique<DebriefReport>(*report_, session.getCommSession());
    debrief_->createBars(settings());
    if (session.getUsingFile())
        for (const int id : {IDC_REVIEW, IDC_RECOMMENDATION, IDC_RECOMMENDATION_LABEL})
            if (QWidget* control = getDlgItem(id))
                control->hide();
    debrief_->defineColumns();
    connect(report_, &CReportCtrl::reportNotify, this, &SessionDebriefView::onReportNotify);
    debrief_->fillRows(settings());
    refreshEvaluation();

    notifier().on(IDC_GRAPH, Notification::Clicked, [this] { getSession().setState(Session::COLLECT); });
    notifier().on(IDC_REVIEW, Notification::Clicked, [this] { getSession().setState(Session::REVIEW); });
    notifier().on(IDC_PRINT, Notification::Clicked, [this] {
        if (printFunction())
            printFunction()(getSession(), true);
    });
    if (!printFunction())
        if (QWidget* print = getDlgItem(IDC_PRINT))
            print->setEnabled(false);
    notifier().on(IDC_RECOMMENDATION, Notification::EditChanged, [this] { onRecommendationChanged(); });
    return result;
}

void SessionDebriefView::buildLayout()
{
    auto list = std::make_unique<ColumnLayout>();
    list->add(1, ControlGroup::create(this, IDC_REPORT));
    auto recommendation = std::make_unique<RowLayout>();
    recommendation->add(10, LayoutSpacer::create(0, 0));
    recommendation->add(2, ControlGroup::create(this, IDC_RECOMMENDATION_LABEL, IDC_RECOMMENDATION));
    recommendation->add(10, LayoutSpacer::create(0, 0));
    auto buttons = std::make_unique<RowLayout>();
    buttons->add(2, ControlGroup::create(this, IDC_GRAPH, IDC_REVIEW));
    buttons->add(10, LayoutSpacer::create(0, 0));
    buttons->add(3, ControlGroup::create(this, IDC_ABORT, IDC_PRINT, ID_HELP));
    auto panel = std::make_unique<ColumnLayout>();
    panel->add(1, LayoutItemPtr(list.release()));
    panel->add(0, LayoutItemPtr(recommendation.release()));
    panel->add(0, LayoutItemPtr(buttons.release()));
    // The panel fills the session's view, which may be smaller than the template.
    setLayout(LayoutItemPtr(panel.release()), true);
}

void SessionDebriefView::refreshEvaluation()
{
    if (!debrief_)
        return;
    debrief_->refresh(settings());
    update();
}

void SessionDebriefView::onRecommendationChanged()
{
    if (!box_)
        return;
    // Whatever goes beyond the limit is taken back from where the text was
    // put in (the cursor stands behind it), so the box keeps the text as
    // typed up to its limit.
    const int length = box_->document()->characterCount() - 1;
    const int excess = length - RECOMMENDATION_LIMIT;
    if (excess > 0) {
        QTextCursor cursor = box_->textCursor();
        int start = cursor.position() - excess;
        if (start < 0)
            start = length - excess;
        cursor.setPosition(start);
        cursor.setPosition(start + excess, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        box_->setTextCursor(cursor);
        return; // the removal tells again
    }
    // Typing changes nothing the evaluation depends on: only the comments row
    // is drawn again, unless new samples or settings came in meanwhile.
    if (debrief_)
        debrief_->refresh(settings(), true);
}

std::wstring SessionDebriefView::getRecommendationBoxText() const
{
    return box_ ? box_->toPlainText().toStdWString() : std::wstring();
}

void SessionDebriefView::onReportNotify(ReportNotify* record)
{
    if (!record || record->code != RVN_ITEMDRAWPREVIEW || !debrief_)
        return;
    debrief_->drawExtraArea(*record, getSession().getRecommendationText());
    record->result = 0;
}

int SessionDebriefView::printTable(QPainter& painter, int x, int y, int width, int lineHeight)
{
    return debrief_ ? debrief_->printTable(painter, x, y, width, lineHeight, settings()) : 0;
}

void SessionDebriefView::help()
{
    if (!platform::showHelpTopic(HELP_TOPIC))
        LogStream::instance() << "Online help is not available (topic " << HELP_TOPIC << ").\n";
}

void SessionDebriefView::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        refreshEvaluation();
        if (getSession().getEnded())
            setDlgItemText(IDC_ABORT, QString::fromStdWString(Gettext::translate("Close")));
    }
    SessionPanel::showEvent(event);
}
