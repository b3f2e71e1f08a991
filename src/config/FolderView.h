#pragma once
// What the property-folder controller needs of the folder dialog that shows
// its pages: which page is current.

class FolderView {
public:
    virtual ~FolderView() = default;
    // Index of the page shown, or -1 while none is.
    virtual int getCurrentPageIndex() const = 0;
};
