#pragma once

#include "document/Record.h"

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
