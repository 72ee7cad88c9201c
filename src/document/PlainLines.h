#pragma once

#include <QByteArrayView>

// Reads the lines of a plain line list in order. A line ends at CR LF, at a
// lone CR or at a lone LF, so no line ever holds a line break; text after the
// last line break is a line of its own. Past the end every line reads empty.
class PlainLines {
public:
    explicit PlainLines(QByteArrayView text)
        : m_pos(text.data())
        , m_end(text.data() + text.size())
    {
    }

    bool atEnd() const { return m_pos == m_end; }
    QByteArrayView next();

    // How many lines are left before atEnd().
    qsizetype remainingLines() const;

private:
    const char *m_pos;
    const char *m_end;
};
