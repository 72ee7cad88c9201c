#pragma once

#include "document/Record.h"

#include <QString>
#include <QStringView>

#include <optional>

// The Clipboard record text: how one record travels through the system
// clipboard as plain text, so that other programs can read and write it.
// Nine lines, each followed by CR LF (the last one included): the marker, the
// number cell, cells 1 to 7, written as they stand.
namespace ClipboardRecord {

// The first line of every record text, compared exactly.
QString marker();

QString text(const Record &record);

// The record a clipboard text holds, or nothing when its first line is not
// exactly the marker (letter case and spaces count; an empty text has no
// marker). Lines end at CR LF, at a lone CR or at a lone LF, since other
// programs often convert line ends. Lines the text lacks give empty cells;
// lines after the ninth are ignored; lines are taken whole, however long.
std::optional<Record> parse(QStringView text);

} // namespace ClipboardRecord
