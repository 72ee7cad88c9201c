#pragma once

#include "RecordSearch.h"

#include <QString>

class QItemSelectionModel;
class TableModel;

// The find command: selects the next record that holds a text, and tells the
// user when the search went round the end or found nothing. The list follows
// the selection's current cell, so the match comes into view.
class RecordFinder
{
public:
    RecordFinder(const TableModel &model, QItemSelectionModel &selection);

    // Searches after the selected row (before it, going backward), from the
    // top (the bottom) when none is selected. Returns the note for the
    // status bar: empty for a plain match, the wrap note, or that nothing
    // was found (the selection then stays).
    QString find(const RecordSearch::Query &query, RecordSearch::Direction direction);

    static QString wrappedNote(RecordSearch::Direction direction);
    static QString notFoundNote(const QString &text);

private:
    const TableModel &m_model;
    QItemSelectionModel &m_selection;
};
