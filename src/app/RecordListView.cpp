#include "RecordListView.h"

#include "document/TableModel.h"

#include <QHeaderView>

RecordListView::RecordListView(TableModel *model, QWidget *parent)
    : QTableView(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("recordList"));
    setModel(model);
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setWordWrap(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView *header = horizontalHeader();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0); // per-column limits are ours
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(0, QHeaderView::Fixed);

    connect(model, &TableModel::columnWidthChanged, this, &RecordListView::applyWidth);
    connect(model, &QAbstractItemModel::modelReset, this, &RecordListView::applyAllWidths);
    connect(header, &QHeaderView::sectionResized, this, &RecordListView::onSectionResized);
    applyAllWidths();
}

int RecordListView::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void RecordListView::setTableFont(const QFont &font)
{
    setFont(font);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
}

void RecordListView::applyWidth(int column)
{
    m_applying = true;
    // A negative width (only a hand-made file holds one) shows as a closed column.
    horizontalHeader()->resizeSection(column, std::max(0, m_model->table().width(column)));
    m_applying = false;
}

void RecordListView::applyAllWidths()
{
    for (int c = 0; c < m_model->columnCount(); ++c)
        applyWidth(c);
}

void RecordListView::onSectionResized(int column, int, int newSize)
{
    if (m_applying)
        return;
    // A drag stores the width by the column's rule and the header follows it.
    m_model->setWidth(column, newSize);
    if (horizontalHeader()->sectionSize(column) != std::max(0, m_model->table().width(column)))
        applyWidth(column);
}
