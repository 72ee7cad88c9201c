#pragma once

#include <QByteArray>

class TableData;
class WorkProgress;

// Writes a table as the text of a Database file - the Base64 of its plain
// line list (DatabaseCodec) - straight to an open file, the same bytes as
// encodePlainList(buildPlainList(table)). The plain list is cut at a
// multiple of 3 bytes into parts of about equal size, each made, encoded and
// written on a thread of its own, a piece at a time: the text never stands
// whole in the memory, and the parts' texts join without a seam.
//
// The table must not change while the writer lives.
class PlainListWriter
{
public:
    static constexpr qsizetype kPieceBytes = qsizetype(3) << 20;

    // pieceBytes, the plain bytes encoded and written at a time, is rounded
    // down to a multiple of 3 (at least 3).
    PlainListWriter(const TableData &table, int parts, qsizetype pieceBytes = kPieceBytes);

    // The plain line list itself, whole, made on the calling thread.
    QByteArray plainList() const;

    // The length of the plain line list, and of the text.
    qint64 plainListSize() const { return m_plainSize; }
    qint64 encodedSize() const;
    // Writes the text to fd from offset 0 (a SafeWrite::ContentWriter): 0,
    // or the errno of the first write that failed, memory running out
    // included. With progress, the plain bytes written are reported, and a
    // stop asked for ends the write with ECANCELED.
    int write(int fd, WorkProgress *progress = nullptr) const;

private:
    int writePart(int fd, qint64 begin, qint64 end, WorkProgress *progress) const;

    const TableData &m_table;
    int m_parts;
    qsizetype m_pieceBytes;
    QByteArray m_head; // the widths, the titles and the count
    qint64 m_plainSize = 0;
};
