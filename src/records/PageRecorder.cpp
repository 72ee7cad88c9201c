#include "PageRecorder.h"

#include "PrintFont.h"

PageRecorder::PageRecorder(const PrintFont &font, int pageWidth, int pageHeight, Receiver receiver)
    : m_font(font)
    , m_pageWidth(pageWidth)
    , m_pageHeight(pageHeight)
    , m_receiver(std::move(receiver))
{
}

int PageRecorder::textWidth(QStringView text) const
{
    if (text == m_measured)
        return m_measuredWidth;
    m_measured = text.toString();
    m_measuredWidth = m_font.textWidth(text);
    return m_measuredWidth;
}

int PageRecorder::textHeight() const
{
    return m_font.textHeight();
}

int PageRecorder::averageCharWidth() const
{
    return m_font.averageCharWidth();
}

void PageRecorder::drawText(int x, int y, QStringView text)
{
    PrintedText &piece = m_page.texts.emplace_back();
    piece.x = x;
    piece.y = y;
    piece.text = text.toString();
    piece.plain = m_font.allowsPlainGlyphs()
        && m_font.plainGlyphs(text, textWidth(text), piece.glyphs, piece.positions);
    if (!piece.plain) {
        piece.glyphs.clear();
        piece.positions.clear();
    }
}

void PageRecorder::newPage()
{
    const qint64 lines = m_page.linesDone;
    m_receiver(std::exchange(m_page, {}));
    m_page.linesDone = lines;
}

void PageRecorder::flush()
{
    newPage();
}
