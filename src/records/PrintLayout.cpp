#include "PrintLayout.h"

#include "PrintSurface.h"

#include <algorithm>

namespace {

bool splitsPair(QStringView text, qsizetype at)
{
    return at > 0 && at < text.size() && text[at - 1].isHighSurrogate() && text[at].isLowSurrogate();
}

} // namespace

PrintLayout::PrintLayout(PrintSurface &surface)
    : m_surface(surface)
{
}

void PrintLayout::moveTo(Position position)
{
    m_x = 0;
    m_h = 0;
    m_y = position.y;
    m_pagePending = position.pagePending;
}

void PrintLayout::printLine(QStringView line)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char16_t c = line[i].unicode();
        if (c != u'\t' && c != u'\f' && c != u'\r' && c != u'\n')
            continue;
        printPiece(line.sliced(start, i - start));
        start = i + 1;
        if (c == u'\t')
            tab();
        else if (c == u'\f')
            formFeed();
        else if (c == u'\n')
            newLine();
    }
    printPiece(line.sliced(start));
    newLine();
}

void PrintLayout::printPiece(QStringView text)
{
    while (!text.isEmpty()) {
        Part part = fittingPart(text);
        // Not even one character fits on an empty line: it is drawn anyway,
        // cut by the page's edge, so that the text moves on.
        if (part.length == 0 && m_x == 0) {
            part.length = splitsPair(text, 1) ? 2 : 1;
            part.width = m_surface.textWidth(text.first(part.length));
        }
        if (part.length > 0)
            drawPart(text, part);
        text = text.sliced(part.length);
        if (!text.isEmpty())
            newLine();
    }
}

PrintLayout::Part PrintLayout::fittingPart(QStringView text) const
{
    const int room = m_surface.pageWidth() - m_x;
    const int whole = m_surface.textWidth(text);
    if (whole <= room)
        return {text.size(), whole};
    // The part that shortening one character at a time from the end would
    // find, in logarithmically many measurements.
    Part fits{0, 0};
    qsizetype tooLong = text.size();
    while (tooLong - fits.length > 1) {
        const qsizetype middle = fits.length + (tooLong - fits.length) / 2;
        const int width = m_surface.textWidth(text.first(middle));
        if (width <= room)
            fits = {middle, width};
        else
            tooLong = middle;
    }
    if (splitsPair(text, fits.length)) {
        --fits.length;
        fits.width = m_surface.textWidth(text.first(fits.length));
    }
    return fits;
}

void PrintLayout::drawPart(QStringView text, Part part)
{
    startPendingPage();
    m_surface.drawText(m_x, m_y, text.first(part.length));
    const int height = m_surface.textHeight();
    if (m_h < height)
        m_h = height + 2;
    m_x += part.width;
}

void PrintLayout::newLine()
{
    m_x = 0;
    m_y += m_h > 0 ? m_h : m_surface.textHeight();
    if (m_y > m_surface.pageHeight() - 2 * m_h) {
        startPendingPage(); // a page of empty lines is a page all the same
        m_pagePending = true;
        m_y = 0;
    }
    m_h = 0;
}

void PrintLayout::tab()
{
    const int stop = std::max(1, 8 * m_surface.averageCharWidth());
    m_x = m_x + stop - ((m_x + stop + 1) % stop) + 1;
    if (m_x > m_surface.pageWidth())
        newLine();
}

void PrintLayout::formFeed()
{
    startPendingPage();
    m_surface.newPage();
    m_x = 0;
    m_y = 0;
}

void PrintLayout::startPendingPage()
{
    if (m_pagePending) {
        m_pagePending = false;
        m_surface.newPage();
    }
}
