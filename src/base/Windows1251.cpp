#include "Windows1251.h"

#include <QStringDecoder>

#include <array>
#include <cstdint>
#include <memory>

namespace {

struct Tables
{
    std::array<char16_t, 256> toUnicode{};
    // The byte for each character, "?" for the characters the code page does
    // not hold, so that encoding is one lookup.
    std::array<std::uint8_t, 65536> fromUnicode{};

    Tables()
    {
        QStringDecoder decoder("windows-1251", QStringDecoder::Flag::Stateless);
        if (!decoder.isValid())
            qFatal("The Windows-1251 codec is not available");
        QByteArray all(256, '\0');
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        const QString chars = decoder.decode(all);
        if (chars.size() != 256)
            qFatal("The Windows-1251 codec does not map one byte to one character");
        fromUnicode.fill(std::uint8_t('?'));
        for (int b = 0; b < 256; ++b) {
            toUnicode[b] = chars.at(b).unicode();
            fromUnicode[toUnicode[b]] = std::uint8_t(b);
        }
    }

    bool holds(char16_t c) const { return fromUnicode[c] != '?' || c == u'?'; }
};

const Tables &tables()
{
    static const std::unique_ptr<const Tables> t = std::make_unique<const Tables>();
    return *t;
}

} // namespace

namespace Windows1251 {

QChar *decodeInto(QChar *out, QByteArrayView bytes)
{
    const Tables &t = tables();
    const auto *p = reinterpret_cast<const std::uint8_t *>(bytes.data());
    const auto *end = p + bytes.size();
    char16_t *o = reinterpret_cast<char16_t *>(out);
    while (p < end)
        *o++ = t.toUnicode[*p++];
    return reinterpret_cast<QChar *>(o);
}

QString decode(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    decodeInto(out.data(), bytes);
    return out;
}

char *encodeInto(char *out, QStringView text)
{
    const Tables &t = tables();
    for (QChar ch : text)
        *out++ = char(t.fromUnicode[ch.unicode()]);
    return out;
}

QByteArray encode(QStringView text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    encodeInto(out.data(), text);
    return out;
}

qsizetype firstUnencodable(QStringView text)
{
    const Tables &t = tables();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!t.holds(text[i].unicode()))
            return i;
    }
    return -1;
}

} // namespace Windows1251
