#pragma once
// The rows of the session manager's list as an item model: the row's
// number, the two participants, the date in the user's short date form, the
// start time, the instructor and the scenario. Each row keeps its session's
// serial identifier, the key that leads back to the stored session.

#include "Database/stored-sessions/SessionSearch.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <vector>

class SessionListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int COLUMN_COUNT = 7;

    explicit SessionListModel(QObject* parent = nullptr);

    // Shows these rows, in this order, in place of the earlier ones.
    void setRows(std::vector<SessionListRow> rows);
    const std::vector<SessionListRow>& rows() const { return rows_; }
    // The session of a list row; null outside the list.
    const SessionListRow* session(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    // The date as the user reads it, made when first shown (a list of
    // thousands of rows shows only a few of them at a time).
    const QString& dateText(int row) const;

    std::vector<SessionListRow> rows_;
    mutable std::vector<QString> dates_;
    mutable std::vector<bool> datesMade_;
    std::array<QString, COLUMN_COUNT> headings_;
};
