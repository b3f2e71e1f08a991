#pragma once
// The "Session manager" (dialog 224): lists the finished sessions that match
// a participant, an instructor, a year and a month, opens the double-clicked
// one in the session dialog, opens the person editor on either name, and
// exports and imports sessions through session database files.
// Resizable: the list takes all extra height and spreads its columns over
// the width.

#include "Database/PersonTable.h"
#include "Database/SessionTable.h"
#include "Database/stored-sessions/SessionListModel.h"
#include "Database/stored-sessions/SessionSearch.h"
#include "Rodezir/dialogs/LayoutDialog.h"

#include <array>
#include <string>
#include <vector>

class QComboBox;
class QTreeView;

class BrowseSessionsDialog : public kova::LayoutDialog {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 224;
    static constexpr int HELP_TOPIC = 10007;
    static constexpr int YEAR = 1270;
    static constexpr int MONTH = 1272;
    static constexpr int PARTICIPANT = 1273;
    static constexpr int INSTRUCTOR = 1028;
    static constexpr int PARTICIPANT_DETAILS = 1282;
    static constexpr int INSTRUCTOR_DETAILS = 1130;
    static constexpr int SHOW_MATCHING = 1289;
    static constexpr int SESSION_LIST = 1274;
    static constexpr int RESULT = 1275;
    static constexpr int IMPORT = 1366;
    static constexpr int EXPORT = 1365;
    static constexpr int HELP = 32800;

    explicit BrowseSessionsDialog(QWidget* parent = nullptr);
    ~BrowseSessionsDialog() override;

    // Runs the dialog modally (the Database menu's session manager).
    int run() { return doModal(); }

    // The criteria as the controls hold them.
    SessionSearchCriteria criteria() const;
    // Lists the sessions that match the criteria and tells how many.
    void search();
    // The session dialog on the first selected row; a beep without one.
    void openSelectedSession();
    void showParticipantDetails();
    void showInstructorDetails();
    // "Export...": the selected sessions, with their data files, into a
    // session database file the user chooses.
    void exportSessions();
    // "Import...": the sessions of a file the user chooses, listed again
    // with the new ones; answers how many were stored.
    int importSessions();

    // Column 0 fits its numbers; the other six share the rest of the width.
    void sizeColumns();
    // The widths of columns 1 to 6 in `available` pixels, 28:28:27:18:29 of
    // 160 and the rest to the last.
    static std::array<int, 6> columnWidths(int available);

    // The serial identifiers of the selected rows, in list order; each leads
    // to its stored session however the table changed since the search.
    std::vector<std::string> selectedSerialIdentifiers() const;
    QTreeView* sessionList() const { return list_; }
    const SessionListModel& sessionModel() const { return model_; }

protected:
    bool onInitDialog() override;
    void onSize(int cx, int cy) override;
    // A double click on the list's empty part chooses no row: it asks for
    // the selected session with none selected, and so beeps.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillCriteriaLists();
    void setLayoutTree();
    QComboBox* box(int id) const;
    void showPersonDetails(int comboId, bool instructor);
    std::vector<int> selectedRows() const;

    SessionTable sessionTable_;
    PersonTable personTable_;
    SessionListModel model_;
    QTreeView* list_ = nullptr;
    bool criteriaListsFilled_ = false;
};
