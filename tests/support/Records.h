#pragma once

#include "document/Record.h"
#include "document/TableModel.h"

#include <initializer_list>

// A record from its first cells, given as UTF-8 text; the rest stay empty.
inline Record record(std::initializer_list<const char *> cells)
{
    Record::Cells c;
    int i = 0;
    for (const char *text : cells)
        c[i++] = QString::fromUtf8(text);
    return Record(c);
}

// Puts the record after the model's last, as adding a record does.
inline void appendTo(TableModel &model, Record r)
{
    model.insertRecord(model.recordCount(), std::move(r));
}
