#include "PrintFont.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QtEndian>

#include <initializer_list>

namespace {

// A paint device that is nothing but a resolution: fonts made for it match
// the printer's fonts of the same resolution, on any thread.
class Resolution : public QPaintDevice
{
public:
    explicit Resolution(int dpi)
        : m_dpi(dpi)
    {
    }
    QPaintEngine *paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return m_dpi;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    int m_dpi;
};

quint16 read16(const QByteArray &table, qsizetype at)
{
    if (at < 0 || at + 2 > table.size())
        return 0;
    return qFromBigEndian<quint16>(table.constData() + at);
}

// The feature tags of an OpenType layout table (GSUB or GPOS).
QList<QByteArray> featureTags(const QByteArray &table)
{
    QList<QByteArray> tags;
    const qsizetype list = read16(table, 6);
    const int count = read16(table, list);
    for (int i = 0; i < count; ++i) {
        const qsizetype at = list + 2 + 6 * i;
        if (at + 4 <= table.size())
            tags.append(table.mid(at, 4));
    }
    return tags;
}

bool plainScript(QChar::Script script)
{
    return script == QChar::Script_Common || script == QChar::Script_Latin || script == QChar::Script_Cyrillic
        || script == QChar::Script_Greek;
}

bool plainCategory(QChar::Category category)
{
    switch (category) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
        return false;
    default:
        return true;
    }
}

} // namespace

QFont PrintFont::ownCopy(const QFont &font, int dpi)
{
    // A font made for a device of another resolution gets data of its own
    // (without engines); going through dpi + 1 makes sure the last step is
    // such a change.
    const Resolution near(dpi + 1);
    const Resolution exact(dpi);
    return QFont(QFont(font, &near), &exact);
}

PrintFont::PrintFont(const QFont &font, int dpi)
    : m_metrics(ownCopy(font, dpi))
{
    const QFont resolved(ownCopy(font, dpi));
    m_raw = QRawFont::fromFont(resolved);
    m_plainFont = m_raw.isValid() && resolved.capitalization() == QFont::MixedCase && resolved.letterSpacing() == 0
        && resolved.wordSpacing() == 0 && (resolved.styleStrategy() & QFont::PreferNoShaping) == 0 && checkFontTables();
}

int PrintFont::textWidth(QStringView text) const
{
    // Where every character is plain, shaping adds their advances and nothing
    // else; the sum is the shaped width without shaping.
    if (m_plainFont) {
        const qint64 sum = plainAdvance(text);
        if (sum >= 0)
            return int((sum + 32) >> 6);
    }
    return m_metrics.horizontalAdvance(text.toString());
}

qint64 PrintFont::plainAdvance(QStringView text) const
{
    qint64 sum = 0;
    for (const QChar c : text) {
        const int advance = advanceOf(c.unicode());
        if (advance < 0)
            return -1;
        sum += advance;
    }
    return sum;
}

bool PrintFont::checkFontTables() const
{
    // Tables of other shaping systems than OpenType's.
    for (const char *tag : {"morx", "mort", "kerx", "kern"}) {
        if (!m_raw.fontTable(tag).isEmpty())
            return false;
    }
    // Features a shaper applies to horizontal text unasked that can join,
    // swap or move glyphs of plain characters. Mark features touch only marks,
    // which are never plain; "ccmp" composes marks and "locl" needs a
    // language the printed text never names.
    static const QList<QByteArray> changing = {"liga", "clig", "calt", "rlig", "rclt",
                                               "kern", "dist", "curs", "abvm", "blwm"};
    for (const char *tag : {"GSUB", "GPOS"}) {
        for (const QByteArray &feature : featureTags(m_raw.fontTable(tag))) {
            if (changing.contains(feature))
                return false;
        }
    }
    return true;
}

int PrintFont::advanceOf(char16_t c) const
{
    if (m_advances.empty()) {
        m_advances.assign(0x10000, -2);
        m_glyphs.assign(0x10000, 0);
    }
    int &advance = m_advances[c];
    if (advance != -2)
        return advance;
    advance = -1;
    const QChar ch(c);
    if (!plainCategory(ch.category()) || !plainScript(ch.script()) || ch.direction() == QChar::DirR
        || ch.direction() == QChar::DirAL)
        return advance;
    const QList<quint32> glyph = m_raw.glyphIndexesForString(QString(ch));
    if (glyph.size() != 1 || glyph[0] == 0)
        return advance;
    const QList<QPointF> advances = m_raw.advancesForGlyphIndexes(glyph);
    if (advances.size() == 1) {
        advance = qRound(advances[0].x() * 64);
        m_glyphs[c] = glyph[0];
    }
    return advance;
}

bool PrintFont::plainGlyphs(QStringView text, int width, QList<quint32> &glyphs, QList<QPointF> &positions) const
{
    if (!m_plainFont)
        return false;
    glyphs.resize(text.size());
    positions.resize(text.size());
    qsizetype drawn = 0;
    qint64 x = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const int advance = advanceOf(c);
        if (advance < 0)
            return false;
        // A space draws nothing: the characters after it stand where they
        // would, and a reader of the page sees the gap. Its glyph left out,
        // the PDF holds a sixth fewer glyphs to place and compress.
        if (c != u' ') {
            glyphs[drawn] = m_glyphs[c];
            positions[drawn] = QPointF(double(x) / 64, 0);
            ++drawn;
        }
        x += advance;
    }
    glyphs.resize(drawn);
    positions.resize(drawn);
    // Qt rounds a width of 64ths to whole units, halves up.
    return (x + 32) >> 6 == width;
}
