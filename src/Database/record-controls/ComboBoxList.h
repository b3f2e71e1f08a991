#pragma once
// A dialog's combo box as the list a table fills from one of its columns.
// A combo box made sorted keeps the items in order as they arrive.

#include "Database/ComboList.h"

class QComboBox;

class ComboBoxList final : public ComboList {
public:
    explicit ComboBoxList(QComboBox& combo) : combo_(combo) {}

    std::string getText() override;
    void clear() override;
    void addItem(const std::string& text) override;
    void selectString(const std::string& text) override;

private:
    QComboBox& combo_;
};
