#pragma once
// Moving values between a page's controls and its members, with the
// validation the pages share: the first field that fails shows its message
// box and takes the input focus, and the exchange stops there.

#include <string>

class QWidget;

namespace kova {
class TemplateDialog;
}

class PageExchange {
public:
    // `saving` reads the controls (validating); otherwise the controls are set.
    PageExchange(kova::TemplateDialog& dialog, bool saving) : dialog_(dialog), saving_(saving) {}

    bool saving() const { return saving_; }
    // False once a field has failed; later calls then do nothing.
    bool ok() const { return ok_; }

    void check(int id, int& value);
    void radio(int firstId, int& index);
    void number(int id, double& value, double low, double high);
    void integer(int id, int& value, int low, int high);
    void text(int id, std::string& value);

    // A number in the shortest general form (15 significant digits, C locale).
    static std::string formatNumber(double value);

private:
    void fail(int id, const std::wstring& message);
    QWidget* item(int id) const;

    kova::TemplateDialog& dialog_;
    bool saving_;
    bool ok_ = true;
};
