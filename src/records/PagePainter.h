#pragma once

#include <QGlyphRun>
#include <QRawFont>

class QPainter;
struct PrintedPage;

// Draws laid-out pages with a painter that holds the print font at the pages'
// resolution: pieces with glyphs as those glyphs, the others as text.
class PagePainter
{
public:
    explicit PagePainter(QPainter &painter);

    void draw(const PrintedPage &page);

private:
    QPainter &m_painter;
    QGlyphRun m_run;
    int m_ascent;
};
