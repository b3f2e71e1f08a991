#pragma once
// Stand-ins for the windowed side of a property folder in the settings
// tests: a page that edits the metronome rate, and the view that says which
// page is current.

#include "config/FolderPage.h"
#include "config/FolderView.h"
#include "config/PropertyModel.h"

#include <string>

namespace settingstest {

// Rejects rates of zero or less, as a page rejects input it cannot take.
class RatePage : public FolderPage {
public:
    explicit RatePage(int templateId, int bitmap = -1) : templateId_(templateId), bitmap_(bitmap) {}
    int getTemplateId() const override { return templateId_; }
    int getHeaderBitmapId() const override { return bitmap_; }
    void load(const PropertyModel& model) override
    {
        rate = model.metronomeRate;
        ++loads;
    }
    bool store(PropertyModel& model) override
    {
        if (rate <= 0)
            return false;
        model.metronomeRate = rate;
        return true;
    }
    std::wstring getTitle() const override { return L"Page " + std::to_wstring(templateId_); }
    void showHelp() override { ++helps; }

    double rate = 0;
    int loads = 0;
    int helps = 0;

private:
    int templateId_;
    int bitmap_;
};

class FakeView : public FolderView {
public:
    int getCurrentPageIndex() const override { return current; }
    int current = -1;
};

} // namespace settingstest
