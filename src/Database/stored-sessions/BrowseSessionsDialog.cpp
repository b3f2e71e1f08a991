#include "Database/stored-sessions/BrowseSessionsDialog.h"

#include "Database/record-controls/ComboBoxList.h"
#include "Database/DBUtil.h"
#include "Database/Database.h"
#include "Database/SqlIdentifier.h"
#include "Database/editors/PersonDialog.h"
#include "Database/export-import/SessionExchange.h"
#include "Database/stored-sessions/SessionDialog.h"
#include "Database/stored-sessions/SessionDialogTables.h"
#include "Rodezir/ComboUtil.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/WindowTextUtil.h"
#include "Rodezir/dialogs/BoxLayout.h"
#include "Rodezir/dialogs/ControlGroup.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/LayoutSpacer.h"
#include "controls/ControlReplacement.h"
#include "controls/RoundButton.h"
#include "gettext/Gettext.h"
#include "platform/Beep.h"
#include "platform/Help.h"
#include "platform/Resources.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPixmap>
#include <QTreeView>

#include <algorithm>

using namespace kova;

namespace {

constexpr int SESSIONS_CAPTION = 1280;
constexpr int HINT = 1277;
constexpr int CRITERIA_FRAME = 1284;
constexpr int APPLICATION_ICON = 128;
constexpr int NAME_LIMIT = 80;

int registeredTemplate()
{
    registerSessionDialogTables();
    return BrowseSessionsDialog::TEMPLATE_ID;
}

QString translated(const char* text) { return QString::fromStdWString(Gettext::translate(text)); }

} // namespace

BrowseSessionsDialog::BrowseSessionsDialog(QWidget* parent)
    : LayoutDialog(registeredTemplate(), parent), sessionTable_(theDatabase), personTable_(theDatabase)
{
}

BrowseSessionsDialog::~BrowseSessionsDialog() = default;

QComboBox* BrowseSessionsDialog::box(int id) const { return qobject_cast<QComboBox*>(getDlgItem(id)); }

bool BrowseSessionsDialog::onInitDialog()
{
    LayoutDialog::onInitDialog();
    if (const auto icon = platform::loadResource(platform::ResourceType::Icon, APPLICATION_ICON)) {
        QPixmap picture;
        if (picture.loadFromData(icon->data(), static_cast<uint>(icon->size())))
            setWindowIcon(picture);
    }
    for (int id : {PARTICIPANT_DETAILS, INSTRUCTOR_DETAILS, SHOW_MATCHING, IMPORT, EXPORT, IDCANCEL, HELP})
        RoundButton::attach(this, id);

    sessionTable_.open("");
    personTable_.open("");

    // The list is a view over the rows of the last search.
    list_ = new QTreeView(this);
    list_->setModel(&model_);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setTextElideMode(Qt::ElideRight);
    list_->header()->setSectionsClickable(false);
    list_->header()->setSectionsMovable(false);
    list_->header()->setStretchLastSection(false);
    list_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (!replaceDialogControl(this, SESSION_LIST, list_))
        LogStream::instance() << "BrowseSessionsDialog: the template has no session list.\n";
    const int initialWidths[SessionListModel::COLUMN_COUNT] = {30, 100, 100, 50, 50, 100, 100};
    for (int column = 0; column < SessionListModel::COLUMN_COUNT; ++column)
        list_->setColumnWidth(column, initialWidths[column]);
    connect(list_, &QTreeView::doubleClicked, this, [this] { openSelectedSession(); });
    list_->viewport()->installEventFilter(this);

    setLayoutTree();

    for (int id : {PARTICIPANT, INSTRUCTOR})
        if (QComboBox* combo = box(id))
            limitText(combo, NAME_LIMIT);
    fillCriteriaLists();

    ControlNotifier& events = notifier();
    events.on(PARTICIPANT_DETAILS, Notification::Clicked, [this] { showParticipantDetails(); });
    events.on(INSTRUCTOR_DETAILS, Notification::Clicked, [this] { showInstructorDetails(); });
    events.on(SHOW_MATCHING, Notification::Clicked, [this] { search(); });
    events.on(EXPORT, Notification::Clicked, [this] { exportSessions(); });
    events.on(IMPORT, Notification::Clicked, [this] { importSessions(); });
    events.on(HELP, Notification::Clicked, [] {
        if (!platform::showHelpTopic(HELP_TOPIC))
            LogStream::instance() << "Online help is not available (topic " << HELP_TOPIC << ").\n";
    });

    search();
    if (QWidget* participant = getDlgItem(PARTICIPANT))
        participant->setFocus(Qt::OtherFocusReason);
    return false;
}

// The criteria centred at their size, the caption, the list with all extra
// height, and the row of the result texts and buttons.
void BrowseSessionsDialog::setLayoutTree()
{
    const LayoutItemPtr criteria = ControlGroup::createFromIds(
        this, {CRITERIA_FRAME, 1285, YEAR, 1286, MONTH, 1287, PARTICIPANT, PARTICIPANT_DETAILS, 1288, INSTRUCTOR,
               INSTRUCTOR_DETAILS, SHOW_MATCHING});
    auto criteriaRow = std::make_unique<RowLayout>();
    criteriaRow->add(1, LayoutItemPtr(new LayoutSpacer(0, 0)));
    criteriaRow->add(0, criteria);
    criteriaRow->add(1, LayoutItemPtr(new LayoutSpacer(0, 0)));

    auto bottomRow = std::make_unique<RowLayout>();
    bottomRow->add(3, ControlGroup::create(this, RESULT, HINT, IMPORT, EXPORT));
    bottomRow->add(1, ControlGroup::create(this, HELP, IDCANCEL));

    auto column = std::make_unique<ColumnLayout>();
    column->add(0, LayoutItemPtr(criteriaRow.release()));
    column->add(0, ControlGroup::create(this, SESSIONS_CAPTION));
    column->add(1, ControlGroup::create(this, SESSION_LIST));
    column->add(0, LayoutItemPtr(bottomRow.release()));
    setLayout(LayoutItemPtr(column.release()), false);
}

void BrowseSessionsDialog::onSize(int cx, int cy)
{
    LayoutDialog::onSize(cx, cy);
    if (isInitialised() && list_)
        sizeColumns();
}

void BrowseSessionsDialog::fillCriteriaLists()
{
    if (QComboBox* participant = box(PARTICIPANT)) {
        ComboBoxList list(*participant);
        personTable_.fillComboBox(list, "name", "");
    }
    if (QComboBox* instructor = box(INSTRUCTOR)) {
        ComboBoxList list(*instructor);
        personTable_.fillComboBox(list, "name", PersonTable::instructorsOnly());
    }
    if (criteriaListsFilled_)
        return;
    if (QComboBox* year = box(YEAR)) {
        year->clear();
        year->addItem(translated("(Any year)"));
        for (int y = SessionSearch::FIRST_YEAR; y <= SessionSearch::LAST_YEAR; ++y)
            year->addItem(QString::number(y));
        year->setCurrentIndex(0);
    }
    if (QComboBox* month = box(MONTH)) {
        static const char* const MONTHS[] = {"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
        month->clear();
        month->addItem(translated("(Any month)"));
        for (const char* name : MONTHS)
            month->addItem(translated(name));
        month->setCurrentIndex(0);
    }
    criteriaListsFilled_ = true;
}

SessionSearchCriteria BrowseSessionsDialog::criteria() const
{
    SessionSearchCriteria criteria;
    criteria.participant = windowText(getDlgItem(PARTICIPANT)).toStdString();
    criteria.instructor = windowText(getDlgItem(INSTRUCTOR)).toStdString();
    if (const QComboBox* year = box(YEAR))
        criteria.yearIndex = year->currentIndex();
    if (const QComboBox* month = box(MONTH))
        criteria.monthIndex = month->currentIndex();
    return criteria;
}

void BrowseSessionsDialog::search()
{
    std::vector<SessionListRow> rows;
    std::string failure = "The database is not connected.\n";
    const bool searched = databaseOpen && SessionSearch::find(theDatabase, criteria(), rows, &failure);
    model_.setRows(std::move(rows));

    const std::size_t n = model_.rows().size();
    QString result;
    // A failed search is never shown as an empty result.
    if (!searched)
        result = translated("The search failed: the sessions could not be read.");
    else if (n == 0)
        result = translated("No sessions match criteria.");
    else if (n == 1)
        result = translated("One session match criteria");
    else
        result = QString::number(n) + translated(" sessions match criteria");
    setDlgItemText(RESULT, result);
    sizeColumns();
    // Without a database at all the start-up has told the user already.
    if (!searched && databaseOpen)
        DBUtil::showError(failure);
}

std::array<int, 6> BrowseSessionsDialog::columnWidths(int available)
{
    const double unit = available * 0.00625;
    const int shares[5] = {28, 28, 27, 18, 29};
    std::array<int, 6> widths{};
    for (int i = 0; i < 5; ++i)
        widths[i] = static_cast<int>(shares[i] * unit);
    widths[5] = static_cast<int>(available - 130 * unit);
    return widths;
}

void BrowseSessionsDialog::sizeColumns()
{
    if (!list_)
        return;
    list_->resizeColumnToContents(0);
    const int available = list_->viewport()->width() - list_->columnWidth(0);
    const std::array<int, 6> widths = columnWidths(available);
    for (int i = 0; i < 6; ++i)
        list_->setColumnWidth(i + 1, widths[i]);
}

std::vector<int> BrowseSessionsDialog::selectedRows() const
{
    std::vector<int> rows;
    if (!list_ || !list_->selectionModel())
        return rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<std::string> BrowseSessionsDialog::selectedSerialIdentifiers() const
{
    std::vector<std::string> serials;
    for (int row : selectedRows())
        if (const SessionListRow* session = model_.session(row))
            serials.push_back(session->serialIdentifier);
    return serials;
}

bool BrowseSessionsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (list_ && watched == list_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto* click = static_cast<QMouseEvent*>(event);
        if (!list_->indexAt(click->position().toPoint()).isValid()) {
            // A click on no row leaves no row chosen, as in any list.
            list_->clearSelection();
            openSelectedSession();
            return true;
        }
    }
    return LayoutDialog::eventFilter(watched, event);
}

void BrowseSessionsDialog::openSelectedSession()
{
    const std::vector<std::string> serials = selectedSerialIdentifiers();
    if (serials.empty() || !sessionTable_.isOpen) {
        platform::messageBeep();
        return;
    }
    // The row is found by its key, never by its place in the list: sessions
    // stored since the search do not shift which one opens.
    sessionTable_.open(quoteIdentifier("Serialidentifier") + " = ?", {SqlValue(serials.front())});
    if (!sessionTable_.isOpen || DBUtil::emptyTable(sessionTable_)) {
        // Deleted since the search: the list shows what is stored now.
        platform::messageBeep();
        search();
        return;
    }
    SessionDialog dialog(sessionTable_.getRecord(), true, this);
    dialog.run();
    search();
}

void BrowseSessionsDialog::showPersonDetails(int comboId, bool instructor)
{
    QComboBox* combo = box(comboId);
    if (!combo)
        return;
    PersonDialog editor(windowText(combo).toStdString(), instructor, false, this);
    editor.run();
    fillCriteriaLists();
    const std::string key = editor.getCurrentKey();
    if (!key.empty())
        ComboUtil::selectString(combo, QString::fromStdString(key));
}

void BrowseSessionsDialog::showParticipantDetails() { showPersonDetails(PARTICIPANT, false); }

void BrowseSessionsDialog::showInstructorDetails() { showPersonDetails(INSTRUCTOR, true); }

void BrowseSessionsDialog::exportSessions() { SessionExchange().exportSessions(selectedSerialIdentifiers()); }

int BrowseSessionsDialog::importSessions()
{
    // The list shows the imported sessions before the closing message.
    return SessionExchange().importSessions([this] { search(); });
}
