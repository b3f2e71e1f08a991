#pragma once
// A scenario's events shown in a dialog's report list: the list control the
// records core fills (EventListControl) over the list view a dialog template
// builds, with the station's event icons beside the names.

#include "Database/EventListControl.h"

#include <memory>

class QTreeWidget;

namespace kova {
class IconImageList;
}

class EventListView final : public EventListControl {
public:
    explicit EventListView(QTreeWidget& list);
    ~EventListView() override;

    void insertColumn(int column, const std::string& heading, Align align, int width) override;
    void setFullRowSelectOnly() override;
    void setSmallIcons(int sizeIndex) override;
    void deleteAllItems() override;
    void insertItem(int index, int image) override;
    void setItemData(int index, long data) override;
    void setItemText(int index, int column, const std::string& text) override;
    int clientWidth() override;
    void autoSizeColumn(int column) override;
    int columnWidth(int column) override;
    void setColumnWidth(int column, int width) override;

private:
    QTreeWidget& list_;
    std::unique_ptr<kova::IconImageList> icons_;
};
