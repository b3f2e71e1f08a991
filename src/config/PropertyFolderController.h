#pragma once
// The model side of the configuration dialog: the ordered pages, the live
// settings record the station reads, and the edited copy the pages work on
// while the dialog is open. OK makes the copy live; Cancel drops it.

#include "config/PropertyModel.h"

#include <string>
#include <vector>

class FolderPage;
class FolderView;

class PropertyFolderController {
public:
    PropertyFolderController() = default;
    virtual ~PropertyFolderController() = default;
    PropertyFolderController(const PropertyFolderController&) = delete;
    PropertyFolderController& operator=(const PropertyFolderController&) = delete;

    // The page's load from the edited record.
    virtual void loadPage(int page);
    // The page's load from a default record; edited changes once it is stored.
    virtual void loadPageDefaults(int page);
    // The page's store into the edited record.
    virtual bool storePage(int page);
    // True when nothing is shown; else stores the view's current page.
    virtual bool storeCurrentPage();
    // Stores the current page and, when it was accepted, makes edited live.
    virtual bool apply();
    // Whether the edited record differs from the live one while displaying.
    virtual bool isModified() const;
    virtual int getSize() const { return static_cast<int>(pages_.size()); }
    // The page, by which the folder dialog finds its window; null for an unknown page.
    virtual FolderPage* getKey(int page) const;
    virtual int getTemplateId(int page) const;
    virtual int getHeaderBitmapId(int page) const;
    virtual std::wstring getTitle(int page) const;
    virtual void showHelp(int page);
    // The folder dialog opens over the controller: edited becomes a copy of
    // live. The view stays its creator's to delete.
    virtual void display(FolderView* view);
    // The folder dialog closes; unless cancelled, edited becomes live.
    virtual void hide(bool cancelled);
    virtual PropertyModel createDefaultModel() const { return PropertyModel(); }

    // Pages stay owned by whoever added them.
    void addPage(FolderPage* page);
    void removeAllPages();

    const PropertyModel& getPropertyModel() const { return live_; }
    PropertyModel& getPropertyModel() { return live_; }
    const PropertyModel& getEditedModel() const { return edited_; }
    // Replaces the live record; while displaying also the edited one, and the
    // current page shows it.
    void setPropertyModel(const PropertyModel& model);
    // Replaces the edited record; while displaying the current page shows it.
    void setEditedModel(const PropertyModel& model);

    bool getIsDisplaying() const { return isDisplaying; }
    FolderView* getPropertyFolderView() const { return propertyFolderView; }

private:
    bool checkPage(int page) const;
    void reloadCurrentPage();

    std::vector<FolderPage*> pages_;
    FolderView* propertyFolderView = nullptr;
    bool isDisplaying = false;
    PropertyModel live_;
    PropertyModel edited_;
};
