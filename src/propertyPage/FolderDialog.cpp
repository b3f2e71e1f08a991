#include "propertyPage/FolderDialog.h"

#include "Rodezir/BitmapDraw.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/ControlNotifier.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/DialogTranslation.h"
#include "Rodezir/gstringUtil.h"
#include "config/PropertyFolderController.h"
#include "gettext/Gettext.h"
#include "platform/Resources.h"
#include "propertyPage/ConfigPage.h"

#include <QLabel>
#include <QResizeEvent>
#include <QSizeGrip>

#include <algorithm>

namespace {

constexpr wchar_t TRANSLATION_MARKER = L'\u00A4';

// A caption marked for translation (or whose marker the code page turned
// into its default character) shows its translation without the marker.
std::string tabText(const std::wstring& caption, const std::wstring& title)
{
    if (caption.empty())
        return toNarrow(title);
    if (caption.front() == TRANSLATION_MARKER || caption.front() == L'?')
        return toNarrow(Gettext::translateString(toNarrow(caption.substr(1))));
    return toNarrow(caption);
}

} // namespace

FolderDialog::FolderDialog(const FolderSetup& setup, QWidget* parent)
    : TemplateDialog(setup.templateId, parent), setup_(setup)
{
    KOVA_ASSERT(setup_.controller != nullptr);
}

FolderDialog::~FolderDialog()
{
    closeCurrentPage();
    if (displaying_)
        controller().hide(!accepted_);
    displaying_ = false;
}

bool FolderDialog::run(bool modal)
{
    if (modal)
        return doModal() != -1;
    if (!create())
        return false;
    show();
    return true;
}

void FolderDialog::setShowSizeGrip(bool show)
{
    showSizeGrip_ = show;
    if (sizeGrip_)
        sizeGrip_->setVisible(show);
}

QWidget* FolderDialog::currentPageWindow() const
{
    auto* page = dynamic_cast<ConfigPage*>(controller().getKey(currentIndex_));
    return page ? page->window() : nullptr;
}

bool FolderDialog::onInitDialog()
{
    created_ = false;
    currentIndex_ = -1;
    accepted_ = false;
    controller().display(this);
    displaying_ = true;

    kova::translateDialog(this);
    if (setup_.helpId != -1)
        notifier().on(setup_.helpId, kova::Notification::Clicked, [this] { controller().showHelp(currentIndex_); });
    if (setup_.icon != 0)
        if (auto icon = platform::loadResource(platform::ResourceType::Icon, setup_.icon)) {
            QPixmap pixmap;
            if (pixmap.loadFromData(icon->data(), static_cast<uint>(icon->size())))
                setWindowIcon(pixmap);
        }
    makeTabStrip();

    QWidget* area = getDlgItem(setup_.pageAreaId);
    QSize pageArea = area ? area->size() : QSize();
    const QSize startArea = pageArea;
    addPageTabs(pageArea);
    recordLayout();

    // The page area grows to the largest page, and the dialog with it.
    const int dx = pageArea.width() - startArea.width();
    const int dy = pageArea.height() - startArea.height();
    if (dx > 0 || dy > 0) {
        const QSize grown = size() + QSize(std::max(dx, 0), std::max(dy, 0));
        resize(grown);
        placeControls(grown);
    }
    minimumSize_ = size();
    setMinimumSize(minimumSize_);

    sizeGrip_ = new QSizeGrip(this);
    sizeGrip_->resize(sizeGrip_->sizeHint());
    sizeGrip_->move(width() - sizeGrip_->width(), height() - sizeGrip_->height());
    sizeGrip_->raise();
    sizeGrip_->setVisible(showSizeGrip_);

    created_ = true;
    if (tabStrip_)
        tabStrip_->select(setup_.initialPage);
    return true;
}

void FolderDialog::makeTabStrip()
{
    QWidget* placeholder = getDlgItem(setup_.tabStripId);
    if (!placeholder)
        return;
    tabStrip_ = new TabStrip(this);
    kova::setControlId(tabStrip_, setup_.tabStripId);
    tabStrip_->setGeometry(placeholder->geometry());
    tabStrip_->setListener(this);
    delete placeholder;
    tabStrip_->show();
    tabStrip_->lower();
}

void FolderDialog::addPageTabs(QSize& pageArea)
{
    pageTemplates_.clear();
    for (int i = 0; i < controller().getSize(); ++i) {
        kova::DialogTemplate page(controller().getTemplateId(i));
        if (page.isEmpty()) {
            LogStream::instance() << "No template for page " << i << ".\n";
            pageTemplates_.push_back(std::move(page));
            continue;
        }
        page.setStyle((page.getStyle() & kova::DS_SETFONT) | kova::WS_CHILD | kova::DS_CONTROL);
        if (tabStrip_)
            tabStrip_->addItem(tabText(page.getCaption(), controller().getTitle(i)), 0);
        const kova::SIZE pixels = page.toPixels(page.getSize());
        pageArea = pageArea.expandedTo(QSize(pixels.cx, pixels.cy));
        pageTemplates_.push_back(std::move(page));
    }
}

void FolderDialog::recordLayout()
{
    baseClient_ = size();
    baseRects_.clear();
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (const int id = kova::controlId(child); id != 0)
            baseRects_[id] = child->geometry();
    }
    if (tabStrip_)
        baseRects_[setup_.tabStripId] = tabStrip_->geometry();
}

// The tab strip and the page area take every pixel the dialog grows by; the
// header only grows in height; the buttons stay with their corner.
void FolderDialog::placeControls(QSize client)
{
    const int dw = client.width() - baseClient_.width();
    const int dh = client.height() - baseClient_.height();
    const std::vector<int> leftIds = leftButtonIds();
    for (const auto& [id, rect] : baseRects_) {
        QWidget* widget = id == setup_.tabStripId ? tabStrip_ : getDlgItem(id);
        if (!widget)
            continue;
        if (id == setup_.tabStripId || id == setup_.pageAreaId)
            widget->setGeometry(rect.adjusted(0, 0, dw, dh));
        else if (id == setup_.headerId)
            widget->setGeometry(rect.adjusted(0, 0, 0, dh));
        else if (std::find(leftIds.begin(), leftIds.end(), id) != leftIds.end())
            widget->setGeometry(rect.translated(0, dh));
        else
            widget->setGeometry(rect.translated(dw, dh));
    }
    if (QWidget* page = currentPageWindow())
        if (QWidget* area = getDlgItem(setup_.pageAreaId))
            page->resize(area->size());
    if (sizeGrip_)
        sizeGrip_->move(client.width() - sizeGrip_->width(), client.height() - sizeGrip_->height());
}

void FolderDialog::resizeEvent(QResizeEvent* event)
{
    TemplateDialog::resizeEvent(event);
    if (created_)
        placeControls(event->size());
}

bool FolderDialog::showPage(int index)
{
    if (index == currentIndex_)
        return true;
    if (currentIndex_ >= 0 && !controller().storePage(currentIndex_))
        return false;
    auto* page = dynamic_cast<ConfigPage*>(controller().getKey(index));
    if (!page || index < 0 || index >= static_cast<int>(pageTemplates_.size()))
        return false;
    auto* previous = dynamic_cast<ConfigPage*>(controller().getKey(currentIndex_));
    if (previous == page)
        previous = nullptr;
    if (!page->createWindow(pageTemplates_[static_cast<std::size_t>(index)], this))
        return false;
    currentIndex_ = index;
    QWidget* window = page->window();
    if (tabStrip_)
        tabStrip_->lower();
    kova::translateDialog(window);
    if (QWidget* area = getDlgItem(setup_.pageAreaId))
        window->setGeometry(area->geometry());
    controller().loadPage(index);
    if (setup_.headerId != -1)
        showHeaderBitmap(controller().getHeaderBitmapId(index));
    window->show();
    if (previous)
        previous->destroyWindow();
    if (tabStrip_)
        tabStrip_->select(index);
    return true;
}

void FolderDialog::showHeaderBitmap(int bitmapId)
{
    if (bitmapId == -1)
        return;
    auto* header = qobject_cast<QLabel*>(getDlgItem(setup_.headerId));
    if (!header)
        return;
    if (auto bitmap = kova::loadBitmapResource(bitmapId))
        header->setPixmap(QPixmap::fromImage(*bitmap));
    else
        header->setPixmap(QPixmap());
    header->setProperty("kovaHeaderBitmap", bitmapId);
}

void FolderDialog::closeCurrentPage()
{
    if (auto* page = dynamic_cast<ConfigPage*>(controller().getKey(currentIndex_)))
        page->destroyWindow();
    currentIndex_ = -1;
    created_ = false;
}

int FolderDialog::tabNotify(TabStrip& strip, TabNotification code, int)
{
    if (code != TabNotification::SelChanging || &strip != tabStrip_)
        return 0;
    const int next = strip.getCurSel();
    if (next < 0 || next == currentIndex_)
        return 0;
    return showPage(next) ? 0 : 1;
}

void FolderDialog::onOK()
{
    if (!controller().storeCurrentPage())
        return;
    accepted_ = true;
    accept();
}

void FolderDialog::onCancel() { reject(); }
