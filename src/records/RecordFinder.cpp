#include "RecordFinder.h"

#include "document/TableModel.h"

#include <QItemSelectionModel>

RecordFinder::RecordFinder(const TableModel &model, QItemSelectionModel &selection)
    : m_model(model)
    , m_selection(selection)
{
}

QString RecordFinder::wrappedNote(RecordSearch::Direction direction)
{
    return direction == RecordSearch::Direction::Forward ? QStringLiteral("Поиск продолжен с начала")
                                                         : QStringLiteral("Поиск продолжен с конца");
}

QString RecordFinder::notFoundNote(const QString &text)
{
    return QStringLiteral("Текст «%1» не найден").arg(text);
}

QString RecordFinder::find(const RecordSearch::Query &query, RecordSearch::Direction direction)
{
    const QModelIndexList selected = m_selection.selectedRows();
    const int from = selected.isEmpty() ? -1 : selected.constFirst().row();
    const std::optional<RecordSearch::Hit> hit = RecordSearch::find(m_model.table(), query, from, direction);
    if (!hit)
        return notFoundNote(query.text);
    m_selection.setCurrentIndex(m_model.index(hit->row, hit->column),
                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return hit->wrapped ? wrappedNote(direction) : QString();
}
