#include "TableModel.h"

#include "base/WorkPool.h"

TableModel::TableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

TableModel::~TableModel()
{
    m_freeing.waitForFinished();
}

void TableModel::discard(std::vector<Record> records)
{
    if (records.empty())
        return;
    m_freeing.waitForFinished();
    // Their texts' shared counts are atomic.
    m_freeing = WorkPool::start([doomed = std::move(records)]() mutable { doomed = {}; });
}

void TableModel::replaceTable(TableData table)
{
    beginResetModel();
    std::vector<Record> replaced = m_table.takeRecords();
    m_table = std::move(table);
    ++m_tableNumber;
    endResetModel();
    discard(std::move(replaced));
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
    for (int c = 0; c < kColumnCount; ++c)
        emit columnWidthChanged(c);
    emit tableReplaced();
}

void TableModel::insertRecord(int row, Record record)
{
    beginInsertRows({}, row, row);
    m_table.insertRecord(row, std::move(record));
    endInsertRows();
}

Record TableModel::takeRecord(int row)
{
    beginRemoveRows({}, row, row);
    Record taken = m_table.takeRecord(row);
    endRemoveRows();
    return taken;
}

Record TableModel::exchangeRecord(int row, Record record)
{
    Record before = m_table.exchangeRecord(row, std::move(record));
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1), {Qt::DisplayRole});
    return before;
}

std::vector<Record> TableModel::takeRecords()
{
    if (m_table.recordCount() == 0)
        return {};
    beginRemoveRows({}, 0, m_table.recordCount() - 1);
    std::vector<Record> taken = m_table.takeRecords();
    endRemoveRows();
    return taken;
}

void TableModel::restoreRecords(std::vector<Record> records)
{
    if (records.empty())
        return;
    beginInsertRows({}, 0, int(records.size()) - 1);
    m_table.restoreRecords(std::move(records));
    endInsertRows();
}

void TableModel::setTitle(int column, const QString &title)
{
    m_table.setTitle(column, title);
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void TableModel::setWidth(int column, int width)
{
    const int before = m_table.width(column);
    m_table.setWidth(column, width);
    if (m_table.width(column) != before)
        emit columnWidthChanged(column);
}

void TableModel::setAlignment(Qt::Alignment horizontal)
{
    m_alignment = horizontal & Qt::AlignHorizontal_Mask;
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
    if (m_table.recordCount() > 0)
        emit dataChanged(index(0, 0), index(m_table.recordCount() - 1, kColumnCount - 1), {Qt::TextAlignmentRole});
}

void TableModel::reorder(const std::vector<int> &order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> newRowOf(before.isEmpty() ? 0 : order.size());
    for (size_t to = 0; to < newRowOf.size(); ++to)
        newRowOf[order[to]] = int(to);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &i : before)
        after.append(index(newRowOf[i.row()], i.column()));
    m_table.reorder(order);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int TableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_table.recordCount();
}

int TableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_table.cell(index.row(), index.column()).toString();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_alignment | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_table.title(section);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_alignment | Qt::AlignVCenter);
    default:
        return {};
    }
}

Qt::ItemFlags TableModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}
