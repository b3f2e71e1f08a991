#include "Database/editors/EventListView.h"

#include "controls/IconImageList.h"

#include <QHeaderView>
#include <QTreeWidget>

EventListView::EventListView(QTreeWidget& list) : list_(list) {}

EventListView::~EventListView() = default;

void EventListView::insertColumn(int column, const std::string& heading, Align align, int width)
{
    if (list_.columnCount() <= column)
        list_.setColumnCount(column + 1);
    QTreeWidgetItem* header = list_.headerItem();
    header->setText(column, QString::fromStdString(heading));
    const Qt::Alignment side = align == Align::Right ? Qt::AlignRight : Qt::AlignLeft;
    header->setTextAlignment(column, side | Qt::AlignVCenter);
    list_.setColumnWidth(column, width);
}

void EventListView::setFullRowSelectOnly()
{
    list_.setSelectionBehavior(QAbstractItemView::SelectRows);
    list_.setAllColumnsShowFocus(true);
}

void EventListView::setSmallIcons(int sizeIndex)
{
    icons_ = std::make_unique<kova::IconImageList>(sizeIndex);
    list_.setIconSize(QSize(icons_->imageWidth(), icons_->imageHeight()));
}

void EventListView::deleteAllItems() { list_.clear(); }

void EventListView::insertItem(int index, int image)
{
    auto* item = new QTreeWidgetItem;
    if (icons_)
        item->setIcon(0, QIcon(icons_->pixmap(image)));
    list_.insertTopLevelItem(index, item);
}

void EventListView::setItemData(int index, long data)
{
    if (QTreeWidgetItem* item = list_.topLevelItem(index))
        item->setData(0, Qt::UserRole, static_cast<qlonglong>(data));
}

void EventListView::setItemText(int index, int column, const std::string& text)
{
    if (QTreeWidgetItem* item = list_.topLevelItem(index))
        item->setText(column, QString::fromStdString(text));
}

int EventListView::clientWidth() { return list_.viewport()->width(); }

// An icon column holds no text: it is as wide as its pictures and their margin.
void EventListView::autoSizeColumn(int column)
{
    list_.resizeColumnToContents(column);
    if (column == 0 && icons_)
        list_.setColumnWidth(0, std::max(list_.columnWidth(0), icons_->imageWidth() + 8));
}

int EventListView::columnWidth(int column) { return list_.columnWidth(column); }

void EventListView::setColumnWidth(int column, int width) { list_.setColumnWidth(column, width); }
