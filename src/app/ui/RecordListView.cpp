#include "RecordListView.h"

#include "document/TableModel.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

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

QPoint RecordListView::keyboardMenuPoint() const
{
    const int row = selectedRow();
    if (row >= 0) {
        const QRect cell = visualRect(model()->index(row, std::max(0, columnAt(0))));
        if (cell.isValid() && viewport()->rect().intersects(cell))
            return QPoint(std::max(0, cell.left()) + cell.height(), cell.bottom());
    }
    return QPoint(0, 0);
}

bool RecordListView::event(QEvent *event)
{
    // The Menu key: the platform names the text cursor's place, which a list
    // does not have.
    if (event->type() == QEvent::ContextMenu
        && static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard) {
        emit customContextMenuRequested(keyboardMenuPoint());
        return true;
    }
    return QTableView::event(event);
}

void RecordListView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        emit customContextMenuRequested(keyboardMenuPoint());
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit recordOpenRequested();
        return;
    }
    QTableView::keyPressEvent(event);
}

void RecordListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const bool onRecord = event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid();
    QTableView::mouseDoubleClickEvent(event);
    if (onRecord)
        emit recordOpenRequested();
}

QModelIndex RecordListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    // A whole row is selected, so Home and End along the row would only
    // scroll sideways.
    if (cursorAction == MoveHome || cursorAction == MoveEnd)
        modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(cursorAction, modifiers);
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
