#pragma once
// A plain session panel for the window tests: a child template with a text,
// a control without a tooltip and an Abort button; it counts what the
// session's windows asked of it.

#include "Rodezir/dialogs/DialogRegistry.h"
#include "Rodezir/dialogs/DialogTable.h"
#include "app/sessions/SessionPanel.h"

#include <string>
#include <vector>

namespace sessiontest {

inline constexpr int PANEL_TEMPLATE = 64001;
inline constexpr int IDC_NOTE = 1500;
inline constexpr int IDC_UNLISTED = 1501;

// A child panel with a text, a control without a tooltip and an Abort button.
inline void registerPanelTemplate()
{
    using namespace kova;
    DialogTable table;
    table.id = PANEL_TEMPLATE;
    table.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
    table.cx = 200;
    table.cy = 100;
    table.controls = {
        label(L"Curves", IDC_NOTE, 8, 8, 100, 10),
        label(L"Plain", IDC_UNLISTED, 8, 24, 100, 10),
        pushButton(L"Abort", IDCANCEL, 8, 60, 60, 14),
    };
    DialogRegistry::add(table);
}

// A panel that counts what its session's windows asked of it.
class CountingPanel final : public SessionPanel {
public:
    CountingPanel(Session& session, std::wstring box) : SessionPanel(session, PANEL_TEMPLATE), box_(std::move(box)) {}
    void newData(int lastIndex) override { indexes.push_back(lastIndex); }
    void updateButtons() override { ++buttonUpdates; }
    std::wstring getRecommendationBoxText() const override { return box_; }

    std::vector<int> indexes;
    int buttonUpdates = 0;

private:
    std::wstring box_;
};

} // namespace sessiontest
