#pragma once
// The dialog that shows a property folder: a tab strip with one tab per page,
// an optional header picture, the current page's window in the page area,
// and OK, Cancel and Help. The pages and the record come from the folder
// controller; only the current page has a window.

#include "Rodezir/dialogs/TemplateDialog.h"
#include "config/FolderView.h"
#include "propertyPage/TabStrip.h"

#include <QRect>

#include <map>
#include <vector>

class PropertyFolderController;
class QLabel;
class QSizeGrip;

struct FolderSetup {
    int initialPage = 0;
    int templateId = 2001;
    int tabStripId = 25501;
    int headerId = 25502; // -1: none
    int pageAreaId = 25503;
    int helpId = 25504; // -1: none
    PropertyFolderController* controller = nullptr;
    int icon = 0; // 0: none
};

class FolderDialog : public kova::TemplateDialog, public FolderView, public TabStripListener {
    Q_OBJECT
public:
    static constexpr int DEFAULT_TEMPLATE = 2001;

    explicit FolderDialog(const FolderSetup& setup, QWidget* parent = nullptr);
    ~FolderDialog() override;

    // Modal: runs the dialog, true unless it could not be created. Modeless:
    // creates and shows it, true when that worked.
    bool run(bool modal);
    void setShowSizeGrip(bool show);

    int getCurrentPageIndex() const override { return currentIndex_; }
    bool showPage(int index);
    TabStrip* tabStrip() const { return tabStrip_; }
    QWidget* currentPageWindow() const;
    QSize minimumWindowSize() const { return minimumSize_; }
    bool isAccepted() const { return accepted_; }
    int tabNotify(TabStrip& strip, TabNotification code, int key) override;

protected:
    bool onInitDialog() override;
    void onOK() override;
    void onCancel() override;
    void resizeEvent(QResizeEvent* event) override;
    // Buttons that keep their distance to the left edge when the dialog grows;
    // the others keep theirs to the lower right corner.
    virtual std::vector<int> leftButtonIds() const { return {}; }
    PropertyFolderController& controller() const { return *setup_.controller; }
    const FolderSetup& folderSetup() const { return setup_; }

private:
    void makeTabStrip();
    void addPageTabs(QSize& pageArea);
    void recordLayout();
    void placeControls(QSize client);
    void showHeaderBitmap(int bitmapId);
    void closeCurrentPage();

    FolderSetup setup_;
    TabStrip* tabStrip_ = nullptr;
    QSizeGrip* sizeGrip_ = nullptr;
    std::vector<kova::DialogTemplate> pageTemplates_;
    int currentIndex_ = -1;
    bool created_ = false;
    bool accepted_ = false;
    bool displaying_ = false;
    bool showSizeGrip_ = true;
    QSize minimumSize_;
    // Control rectangles at the size the layout was recorded for.
    QSize baseClient_;
    std::map<int, QRect> baseRects_;
};
