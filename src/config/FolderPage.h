#pragma once
// The interface every page of a property folder implements beside its
// dialog class: the folder asks it for its template, header picture, tab
// title and help, and moves the settings record in and out of it.

#include <string>

class PropertyModel;

class FolderPage {
public:
    virtual ~FolderPage() = default;

    virtual int getTemplateId() const = 0;
    // The bitmap shown in the folder's header while this page is current; -1 for none.
    virtual int getHeaderBitmapId() const { return -1; }
    // Sets the page's controls from the record.
    virtual void load(const PropertyModel& model) = 0;
    // Validates the controls and writes them into the record; false (record
    // untouched) when the input is rejected.
    virtual bool store(PropertyModel& model) = 0;
    // Tab text for a page whose template has no caption.
    virtual std::wstring getTitle() const { return {}; }
    virtual void showHelp() {}
};
