#pragma once
// The list control that shows a scenario's events, seen from the records
// core: the windowed layer hands in its report list behind this interface.

#include <string>

class EventListControl {
public:
    enum class Align { Left, Right };

    virtual ~EventListControl() = default;
    virtual void insertColumn(int column, const std::string& heading, Align align, int width) = 0;
    // Full-row selection as the only extended style.
    virtual void setFullRowSelectOnly() = 0;
    // The station's icons at a size (0: 16 pixels) as the small-image list.
    virtual void setSmallIcons(int sizeIndex) = 0;
    virtual void deleteAllItems() = 0;
    virtual void insertItem(int index, int image) = 0;
    virtual void setItemData(int index, long data) = 0;
    virtual void setItemText(int index, int column, const std::string& text) = 0;
    virtual int clientWidth() = 0;
    // Sizes the column to its contents.
    virtual void autoSizeColumn(int column) = 0;
    virtual int columnWidth(int column) = 0;
    virtual void setColumnWidth(int column, int width) = 0;
};
