#pragma once

#include <QList>
#include <QPointF>
#include <QString>

#include <vector>

// A piece of text on a laid-out page, its top-left corner at (x, y) in the
// printer's device units. glyphs and positions (along the baseline, from x)
// are set when the font gave them plainly (plain; a space has no glyph);
// otherwise the painter shapes text.
struct PrintedText
{
    int x = 0;
    int y = 0;
    QString text;
    bool plain = false;
    QList<quint32> glyphs;
    QList<QPointF> positions;
};

// A laid-out page: what is drawn on it, in order, and how many lines of the
// print text had been laid out in full when it ended (for progress).
struct PrintedPage
{
    std::vector<PrintedText> texts;
    qint64 linesDone = 0;
};
