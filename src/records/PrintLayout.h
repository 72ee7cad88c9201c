#pragma once

#include <QStringView>

class PrintSurface;

// Lays lines of plain text out on pages as a line printer would: no margins
// beyond the printer's own, a line wider than the page continues on the next
// line from the left edge, cut at a character rather than at a word.
//
// The current line's height h is the tallest drawn part's height plus 2 (0
// while nothing is drawn). At the end of a line y advances by h, or by the
// character height for an empty line, and a new page starts when y passes the
// page height minus 2h. Inside a line, a tab moves x to the next stop of 8
// average characters (a new line when that lies beyond the page), a form feed
// starts a new page, a carriage return only ends a piece of text and a line
// feed ends the line.
//
// A page is started only when something is drawn on it or a form feed asks
// for it, so the text's last line never leaves a blank page behind.
class PrintLayout
{
public:
    explicit PrintLayout(PrintSurface &surface);

    // Where the layout stands between two lines (x and h are 0 there): all a
    // layout needs to go on from that point as this one would.
    struct Position
    {
        int y = 0;
        bool pagePending = false;
    };
    Position position() const { return {m_y, m_pagePending}; }
    void moveTo(Position position);

    // Lays out one line; its end acts as a line feed.
    void printLine(QStringView line);

private:
    struct Part
    {
        qsizetype length;
        int width;
    };

    void printPiece(QStringView text);
    // The longest start of text that fits between x and the page width.
    Part fittingPart(QStringView text) const;
    void drawPart(QStringView text, Part part);
    void newLine();
    void tab();
    void formFeed();
    void startPendingPage();

    PrintSurface &m_surface;
    int m_x = 0;
    int m_y = 0;
    int m_h = 0;
    bool m_pagePending = false;
};
