#include "Database/stored-sessions/SessionListModel.h"

#include "Rodezir/DateText.h"
#include "gettext/Gettext.h"

SessionListModel::SessionListModel(QObject* parent) : QAbstractTableModel(parent)
{
    const char* const HEADINGS[COLUMN_COUNT] = {nullptr,      "Ventilation", "Compression", "Date",
                                                "Time",       "Instructor",  "Scenario"};
    for (int column = 0; column < COLUMN_COUNT; ++column)
        if (HEADINGS[column])
            headings_[column] = QString::fromStdWString(Gettext::translate(HEADINGS[column]));
}

void SessionListModel::setRows(std::vector<SessionListRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    dates_.assign(rows_.size(), QString());
    datesMade_.assign(rows_.size(), false);
    endResetModel();
}

const SessionListRow* SessionListModel::session(int row) const
{
    return row >= 0 && static_cast<std::size_t>(row) < rows_.size() ? &rows_[row] : nullptr;
}

int SessionListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SessionListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : COLUMN_COUNT; }

const QString& SessionListModel::dateText(int row) const
{
    if (!datesMade_[row]) {
        const std::string& stored = rows_[row].courseDate;
        const std::string shown = kova::isoDateToText(stored);
        // A date the records hold in another form is shown as it is stored.
        dates_[row] = QString::fromStdString(shown.empty() ? stored : shown);
        datesMade_[row] = true;
    }
    return dates_[row];
}

QVariant SessionListModel::data(const QModelIndex& index, int role) const
{
    const SessionListRow* row = index.isValid() ? session(index.row()) : nullptr;
    if (!row)
        return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == 0 ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return QString::number(index.row() + 1);
    case 1:
        return QString::fromStdString(row->personVentilation);
    case 2:
        return QString::fromStdString(row->personChestCompression);
    case 3:
        return dateText(index.row());
    case 4:
        return QString::fromStdString(row->startTime);
    case 5:
        return QString::fromStdString(row->courseInstructor);
    case 6:
        return QString::fromStdString(row->scenario);
    default:
        return {};
    }
}

QVariant SessionListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= COLUMN_COUNT)
        return {};
    if (role == Qt::DisplayRole)
        return headings_[section];
    if (role == Qt::TextAlignmentRole)
        return section == 0 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}
