#pragma once

#include "document/TableData.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;

// The converter's inputs and outputs. A file name "-" is standard input or
// output. Every other input is a regular file: a FIFO, a device or a socket
// is refused without being opened, so none can keep a run waiting or reading
// for ever. Every other output goes through the program's safe write, so a
// failed or interrupted run leaves an existing file as it was; only a
// character device (/dev/null) is written as it stands, and other special
// files are refused.
namespace ConvertFiles {

// The name a message gives the file.
QString inputName(const QString &name);
QString outputName(const QString &name);

// The most bytes an input may hold: what the database readers take.
qint64 maxInputSize();

// All bytes of the input, at most maxSize of them. Throws ConvertError.
QByteArray readInput(const QString &name, QIODevice &standardInput, qint64 maxSize = maxInputSize());

// Replaces the output file with bytes, or writes them to standard output or
// the character device the name is. Throws ConvertError.
void writeOutput(const QString &name, QByteArrayView bytes, QIODevice &standardOutput);

enum class DatabaseFormat { Current, Version10 };

struct Database
{
    DatabaseFormat format;
    TableData table;
};

// Which format a database file is in, told by its first line as the two
// readers would take it: a version-1.0 file starts with a width line, an
// integer, while the Base64 text of a readable database never is one (the
// first byte of its plain line list starts a width line, and Base64 writes
// every such byte as a letter no integer starts with). A file whose first
// line is no integer is unreadable as version 1.0 in any case.
DatabaseFormat formatOf(QByteArrayView firstBytes);

// Reads a database in either format with the program's own readers, the
// input as readInput takes it. Throws ConvertError naming the file and the
// reader's reason.
Database readDatabase(const QString &name, QIODevice &standardInput);

} // namespace ConvertFiles
