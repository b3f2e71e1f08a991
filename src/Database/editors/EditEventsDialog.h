#pragma once
// The "Edit events" dialog (225): the events of one scenario in a list, to
// add, delete, reorder and edit. Nothing reaches the database until the
// user agrees to save the changes when the dialog closes; then the list is
// stored whole.

#include "Database/EventRecord.h"
#include "Database/ScenarioEventList.h"
#include "Rodezir/dialogs/LayoutDialog.h"

#include <memory>
#include <string>
#include <vector>

class EventListView;
class QTreeWidget;

class EditEventsDialog : public kova::LayoutDialog {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 225;
    static constexpr int HELP_TOPIC = 10015;
    static constexpr int CAPTION = 1292;
    static constexpr int LIST = 1174;
    static constexpr int ADD = 1290;
    static constexpr int REMOVE = 1113;
    static constexpr int MOVE_UP = 1108;
    static constexpr int MOVE_DOWN = 1166;
    static constexpr int HELP = 32800;

    // Ends with QDialog::Accepted when the edited list was stored.
    EditEventsDialog(const std::string& scenario, QWidget* parent = nullptr);
    ~EditEventsDialog() override;

    const std::vector<EventRecord>& events() const { return events_; }
    bool isChanged() const { return changed_; }

    // The commands of the buttons and of a double click in the list.
    void add();
    void remove();
    void moveUp();
    void moveDown();
    void edit();

protected:
    bool onInitDialog() override;
    void onSize(int cx, int cy) override;
    // Enter ends nothing here: a list is no form to send.
    void onOK() override {}
    void onCancel() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTreeWidget* list() const;
    int selectedIndex() const;
    void showAndSelect(int index);
    void swapWithNext(int index);

    std::string scenario_;
    ScenarioEventList store_;
    std::unique_ptr<EventListView> view_;
    std::vector<EventRecord> events_;
    bool changed_ = false;
};
