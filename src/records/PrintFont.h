#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QStringView>

#include <vector>

// The print font at a printer's resolution, for the thread that made it: the
// measures the page layout needs, and the glyphs a piece of text is drawn
// with. A thread of its own needs a font of its own (Qt's font engines belong
// to one thread), so each thread makes one from the font the printer's
// painter holds.
//
// Widths are Qt's own shaped widths, exactly what the painter measures on the
// printer. Glyphs come from the font's character map when that is provably
// what shaping would give (see plainGlyphs); other text is left to the
// painter, which shapes it.
class PrintFont
{
public:
    PrintFont(const QFont &font, int dpi);

    // A copy of font at dpi that shares nothing with font: Qt's font data
    // holds the engines of the thread that used it last, so a font that is to
    // move to another thread is copied with this first.
    static QFont ownCopy(const QFont &font, int dpi);

    int textWidth(QStringView text) const;
    int textHeight() const { return m_metrics.height(); }
    int ascent() const { return m_metrics.ascent(); }
    int averageCharWidth() const { return m_metrics.averageCharWidth(); }

    // One glyph per character of text but the spaces, which draw nothing and
    // get none, at positions from 0 along the baseline, when every character
    // is drawn as its own glyph at its own advance: characters of the Latin,
    // Cyrillic and Greek scripts, digits, punctuation and symbols that the
    // font itself holds, in a font without ligatures, contextual forms,
    // kerning or spacing changes, and only when the advances add up to
    // width, the text's shaped width. False otherwise, and the text is to be
    // drawn as text.
    bool plainGlyphs(QStringView text, int width, QList<quint32> &glyphs, QList<QPointF> &positions) const;

    // Whether the font's tables ask for nothing beyond one glyph per
    // character (no ligatures, contextual forms or kerning in use).
    bool allowsPlainGlyphs() const { return m_plainFont; }

private:
    // The advance of a character in 64ths of a device unit, or -1 when it is
    // not drawn plainly; characters are looked up once.
    int advanceOf(char16_t c) const;
    // The advances of text added up, in 64ths; -1 when a character is not plain.
    qint64 plainAdvance(QStringView text) const;
    bool checkFontTables() const;

    QFontMetrics m_metrics;
    QRawFont m_raw;
    bool m_plainFont = false;
    mutable std::vector<int> m_advances; // per UTF-16 unit; -2 while unknown
    mutable std::vector<quint32> m_glyphs;
};
