#include "config/PropertyFolderController.h"

#include "Rodezir/LogStream.h"
#include "config/FolderPage.h"
#include "config/FolderView.h"

// Every page operation reports a bad index to the error log and then does
// nothing, rather than reaching past the page list.
bool PropertyFolderController::checkPage(int page) const
{
    KOVA_ASSERT(page < getSize());
    return page >= 0 && page < getSize();
}

void PropertyFolderController::loadPage(int page)
{
    if (checkPage(page))
        pages_[static_cast<std::size_t>(page)]->load(edited_);
}

void PropertyFolderController::loadPageDefaults(int page)
{
    if (checkPage(page))
        pages_[static_cast<std::size_t>(page)]->load(createDefaultModel());
}

bool PropertyFolderController::storePage(int page)
{
    if (!checkPage(page))
        return false;
    return pages_[static_cast<std::size_t>(page)]->store(edited_);
}

bool PropertyFolderController::storeCurrentPage()
{
    if (!isDisplaying || !propertyFolderView)
        return true;
    const int current = propertyFolderView->getCurrentPageIndex();
    if (current < 0)
        return true;
    return storePage(current);
}

bool PropertyFolderController::apply()
{
    if (!isDisplaying)
        return true;
    if (!storeCurrentPage())
        return false;
    live_ = edited_;
    return true;
}

bool PropertyFolderController::isModified() const
{
    if (!isDisplaying)
        return false;
    return !(edited_ == live_);
}

FolderPage* PropertyFolderController::getKey(int page) const
{
    return checkPage(page) ? pages_[static_cast<std::size_t>(page)] : nullptr;
}

int PropertyFolderController::getTemplateId(int page) const
{
    return checkPage(page) ? pages_[static_cast<std::size_t>(page)]->getTemplateId() : -1;
}

int PropertyFolderController::getHeaderBitmapId(int page) const
{
    return checkPage(page) ? pages_[static_cast<std::size_t>(page)]->getHeaderBitmapId() : -1;
}

std::wstring PropertyFolderController::getTitle(int page) const
{
    return checkPage(page) ? pages_[static_cast<std::size_t>(page)]->getTitle() : std::wstring();
}

void PropertyFolderController::showHelp(int page)
{
    if (checkPage(page))
        pages_[static_cast<std::size_t>(page)]->showHelp();
}

void PropertyFolderController::display(FolderView* view)
{
    KOVA_ASSERT(isDisplaying == false);
    propertyFolderView = view;
    edited_ = live_;
    isDisplaying = true;
}

// The view is forgotten here: its owner deletes it once the dialog closed,
// and nothing may reach it afterwards.
void PropertyFolderController::hide(bool cancelled)
{
    KOVA_ASSERT(isDisplaying == true);
    isDisplaying = false;
    propertyFolderView = nullptr;
    if (!cancelled)
        live_ = edited_;
}

void PropertyFolderController::addPage(FolderPage* page)
{
    KOVA_ASSERT(! isDisplaying);
    pages_.push_back(page);
}

void PropertyFolderController::removeAllPages()
{
    KOVA_ASSERT(! isDisplaying);
    pages_.clear();
}

void PropertyFolderController::reloadCurrentPage()
{
    KOVA_ASSERT(propertyFolderView != 0);
    if (!propertyFolderView)
        return;
    const int current = propertyFolderView->getCurrentPageIndex();
    if (current >= 0)
        loadPage(current);
}

void PropertyFolderController::setPropertyModel(const PropertyModel& model)
{
    live_ = model;
    if (!isDisplaying)
        return;
    edited_ = model;
    reloadCurrentPage();
}

void PropertyFolderController::setEditedModel(const PropertyModel& model)
{
    edited_ = model;
    if (isDisplaying)
        reloadCurrentPage();
}
