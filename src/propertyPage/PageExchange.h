#pragma once
// Moving the bound fields of a page between its controls and the settings
// record, with the validation the pages share: the first field that fails
// shows its message box and takes the input focus, and the exchange stops
// there.

#include <string>

class PropertyModel;
class QComboBox;
class QWidget;
struct PageField;

namespace kova {
class TemplateDialog;
}

class PageExchange {
public:
    explicit PageExchange(kova::TemplateDialog& dialog) : dialog_(dialog) {}

    // False once a field has failed to store; later stores then do nothing.
    bool ok() const { return ok_; }

    // Sets the field's control from the record.
    void load(const PageField& field, const PropertyModel& model);
    // Validates the field's control and writes its value into the record.
    void store(const PageField& field, PropertyModel& model);

    // A number in the shortest general form (15 significant digits, C locale).
    static std::string formatNumber(double value);

private:
    void fail(int id, const std::wstring& message);
    QWidget* item(int id) const;
    QComboBox* combo(int id) const;
    void storeNumber(const PageField& field, double& value);
    void storeInteger(const PageField& field, int& value);

    kova::TemplateDialog& dialog_;
    bool ok_ = true;
};
