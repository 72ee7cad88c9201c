#include "PagePainter.h"

#include "PrintedPage.h"

#include <QFontMetrics>
#include <QPainter>

PagePainter::PagePainter(QPainter &painter)
    : m_painter(painter)
    , m_ascent(painter.fontMetrics().ascent())
{
    m_run.setRawFont(QRawFont::fromFont(painter.font()));
}

void PagePainter::draw(const PrintedPage &page)
{
    for (const PrintedText &piece : page.texts) {
        if (!piece.plain) {
            m_painter.drawText(QPoint(piece.x, piece.y + m_ascent), piece.text);
            continue;
        }
        if (piece.glyphs.isEmpty())
            continue; // spaces alone
        m_run.setGlyphIndexes(piece.glyphs);
        m_run.setPositions(piece.positions);
        m_painter.drawGlyphRun(QPointF(piece.x, piece.y + m_ascent), m_run);
    }
}
