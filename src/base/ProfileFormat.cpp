#include "ProfileFormat.h"

#include "LineReader.h"
#include "Windows1251.h"

namespace {

// Deliberately not QChar::isSpace: the no-break space is part of a name or value.
bool isBlank(char16_t c)
{
    return c == ' ' || c == '\t' || c == '\v';
}

QByteArrayView trimmed(QByteArrayView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(uchar(s[b])))
        ++b;
    while (e > b && isBlank(uchar(s[e - 1])))
        --e;
    return s.sliced(b, e - b);
}

QStringView trimmedName(QStringView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b].unicode()))
        ++b;
    while (e > b && isBlank(s[e - 1].unicode()))
        --e;
    return s.sliced(b, e - b);
}

// wanted is already trimmed. The code page maps one byte to one character, so
// differing lengths never match.
bool sameName(QByteArrayView bytes, QStringView wanted)
{
    return bytes.size() == wanted.size()
        && QStringView(Windows1251::decode(bytes)).compare(wanted, Qt::CaseInsensitive) == 0;
}

struct Line
{
    qsizetype begin = 0;
    qsizetype contentEnd = 0; // where the line ending starts
    qsizetype end = 0; // after the line ending; equals contentEnd for a last line without one
};

enum class Kind { Other, Section, Key };

struct Parsed
{
    Kind kind = Kind::Other;
    QByteArrayView name;
    QByteArrayView value;
};

Parsed parseLine(QByteArrayView content)
{
    const QByteArrayView t = trimmed(content);
    if (t.isEmpty() || t.front() == ';')
        return {};
    if (t.front() == '[') {
        const qsizetype close = t.indexOf(']');
        return {Kind::Section, trimmed(t.sliced(1, (close >= 0 ? close : t.size()) - 1)), {}};
    }
    const qsizetype eq = t.indexOf('=');
    if (eq < 0)
        return {};
    return {Kind::Key, trimmed(t.first(eq)), trimmed(t.sliced(eq + 1))};
}

struct Match
{
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine;
    Parsed key;
    // The line a new key goes after: the last key line of the section, or its header.
    Line anchor;
};

// One pass, ending at the key or at the end of the first section of the name.
Match find(QByteArrayView text, QStringView section, QStringView key)
{
    section = trimmedName(section);
    key = trimmedName(key);
    Match m;
    LineReader reader(text);
    while (!reader.atEnd()) {
        Line line;
        line.begin = reader.offset();
        line.contentEnd = line.begin + reader.next().size();
        line.end = reader.offset();
        const Parsed p = parseLine(text.sliced(line.begin, line.contentEnd - line.begin));
        if (p.kind == Kind::Section) {
            if (m.sectionFound)
                break;
            if (sameName(p.name, section)) {
                m.sectionFound = true;
                m.anchor = line;
            }
        } else if (p.kind == Kind::Key && m.sectionFound) {
            if (sameName(p.name, key)) {
                m.keyFound = true;
                m.keyLine = line;
                m.key = p;
                break;
            }
            m.anchor = line;
        }
    }
    return m;
}

bool endsWithLineBreak(QByteArrayView text)
{
    return text.isEmpty() || text.back() == '\n' || text.back() == '\r';
}

} // namespace

namespace ProfileFormat {

std::optional<QByteArray> value(QByteArrayView text, QStringView section, QStringView key)
{
    const Match m = find(text, section, key);
    if (!m.keyFound)
        return std::nullopt;
    QByteArrayView v = m.key.value;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.sliced(1, v.size() - 2);
    return v.toByteArray();
}

QByteArray withValue(QByteArrayView text, QStringView section, QStringView key, QByteArrayView value)
{
    section = trimmedName(section);
    key = trimmedName(key);
    const Match m = find(text, section, key);
    QByteArray out;
    out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
    if (m.keyFound) {
        out.append(text.first(m.keyLine.begin));
        out.append(m.key.name);
        out.append('=');
        out.append(value);
        if (m.keyLine.end == m.keyLine.contentEnd)
            out.append("\r\n"); // the file's last line, which had no ending
        out.append(text.sliced(m.keyLine.contentEnd));
        return out;
    }
    if (m.sectionFound) {
        out.append(text.first(m.anchor.end));
        if (m.anchor.end == m.anchor.contentEnd)
            out.append("\r\n");
    } else {
        out.append(text);
        if (!endsWithLineBreak(text))
            out.append("\r\n");
        out.append('[');
        out.append(Windows1251::encode(section));
        out.append("]\r\n");
    }
    out.append(Windows1251::encode(key));
    out.append('=');
    out.append(value);
    out.append("\r\n");
    if (m.sectionFound)
        out.append(text.sliced(m.anchor.end));
    return out;
}

} // namespace ProfileFormat
