#include "TitlesChange.h"

#include "document/TableModel.h"

TitlesChange::TitlesChange(TableModel &model, const Record::Cells &titles)
    : RecordChange(model, QStringLiteral("изменение заголовков столбцов"))
    , m_held(titles)
{
}

void TitlesChange::redo()
{
    for (int c = 0; c < kColumnCount; ++c) {
        QString before = model().table().title(c);
        model().setTitle(c, m_held[c]);
        m_held[c] = std::move(before);
    }
}
