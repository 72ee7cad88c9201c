#include "SingleLineValidator.h"

#include <algorithm>

namespace {

bool isBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

} // namespace

SingleLineValidator::SingleLineValidator(QObject *parent, Ends ends)
    : QValidator(parent)
    , m_ends(ends)
{
}

QString SingleLineValidator::singleLine(QStringView text, int *cursor)
{
    QString out;
    out.reserve(text.size());
    int moved = cursor ? *cursor : 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') {
            out += c;
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            if (cursor && i + 1 < *cursor)
                --moved; // the two characters became one
            ++i;
        }
        out += u' ';
    }
    if (cursor)
        *cursor = moved;
    return out;
}

QValidator::State SingleLineValidator::validate(QString &input, int &pos) const
{
    if (!input.contains(u'\r') && !input.contains(u'\n'))
        return Acceptable;
    if (m_ends == Ends::Dropped) {
        qsizetype first = 0;
        while (first < input.size() && isBreak(input[first]))
            ++first;
        qsizetype end = input.size();
        while (end > first && isBreak(input[end - 1]))
            --end;
        pos = int(std::clamp<qsizetype>(pos - first, 0, end - first));
        input = input.mid(first, end - first);
    }
    input = singleLine(input, &pos);
    return Acceptable;
}
