#pragma once

#include <QByteArrayView>

// The one line splitter of the program's text files (database files, plain
// line lists, settings files). It reads lines in order; a line ends at CR LF,
// at a lone CR or at a lone LF, so no line ever holds a line break, and text
// after the last line break is a line of its own. Past the end every line
// reads empty.
class LineReader
{
public:
    explicit LineReader(QByteArrayView text)
        : m_begin(text.data())
        , m_pos(text.data())
        , m_end(text.data() + text.size())
    {
    }

    bool atEnd() const { return m_pos == m_end; }
    // The next line without its line break.
    QByteArrayView next();
    // Where the next line starts: after the line break of the last line read.
    qsizetype offset() const { return m_pos - m_begin; }

    // The line breaks in text, a CR LF counted once: the lines text holds
    // that end in a break. A CR as its last byte counts as a lone CR.
    static qsizetype countBreaks(QByteArrayView text);
    // Where the next line starts when a line ends at lineEnd: past its CR LF,
    // lone CR or lone LF; at the end of the text, the end.
    static const char *pastBreak(const char *lineEnd, const char *end)
    {
        if (lineEnd == end)
            return end;
        return lineEnd + (*lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n' ? 2 : 1);
    }
    // Where the line after the one holding the byte at offset starts: just
    // past the first line break at or after it, or the end of text. A text
    // cut there splits no line and no CR LF.
    static qsizetype nextLineStart(QByteArrayView text, qsizetype offset);

private:
    const char *m_begin;
    const char *m_pos;
    const char *m_end;
};
