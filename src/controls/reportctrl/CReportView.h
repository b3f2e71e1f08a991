#pragma once
// A view that is one report control filling its whole client area.

#include <QWidget>

#include <cstdint>

namespace kova {

class CReportCtrl;

class CReportView : public QWidget {
    Q_OBJECT
public:
    explicit CReportView(QWidget* parent = nullptr, std::uint32_t controlStyle = 0);

    // Creates the control on the first call; later calls change nothing.
    void onInitialUpdate();
    // The embedded control, or null before the first initial update.
    CReportCtrl* getReportCtrl() const { return report_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::uint32_t controlStyle_;
    CReportCtrl* report_ = nullptr;
};

} // namespace kova
