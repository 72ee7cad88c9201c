#include "ReadingModel.h"

#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <set>

namespace ReadingModel {

std::optional<std::int32_t> integer(std::string_view text)
{
    size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos)
        return std::nullopt;
    text.remove_prefix(i);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    std::string_view digits = "0123456789";
    for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
        if (text.substr(0, prefix.size()) == prefix) {
            text.remove_prefix(prefix.size());
            digits = "0123456789abcdefABCDEF";
            break;
        }
    }
    if (text.empty())
        return std::nullopt;
    const int base = digits.size() == 10 ? 10 : 16;
    std::int64_t value = 0;
    for (char c : text) {
        const size_t d = digits.find(c);
        if (d == std::string_view::npos)
            return std::nullopt;
        value = value * base + std::int64_t(d < 16 ? d : d - 6);
        if (value > (std::int64_t(1) << 31))
            return std::nullopt;
    }
    if (!negative && value == (std::int64_t(1) << 31))
        return std::nullopt;
    return std::int32_t(negative ? -value : value);
}

std::string withCrLf(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::optional<std::string> base64(std::string_view text)
{
    if (text.size() % 4 != 0)
        return std::nullopt;
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    auto value = [](char c) -> unsigned {
        const size_t v = alphabet.find(c);
        return v == std::string::npos ? 0 : unsigned(v);
    };
    std::string out;
    for (size_t g = 0; g < text.size(); g += 4) {
        const unsigned bits = value(text[g]) << 18 | value(text[g + 1]) << 12 | value(text[g + 2]) << 6
            | value(text[g + 3]);
        const int bytes = text[g + 2] == '=' ? 1 : text[g + 3] == '=' ? 2 : 3;
        for (int b = 0; b < bytes; ++b)
            out += char((bits >> (16 - 8 * b)) & 0xFF);
    }
    return out;
}

std::string_view Table::cell(std::int64_t k, int c) const
{
    const std::int64_t line = 17 + 8 * k + c;
    return line < std::int64_t(lines.size()) ? std::string_view(lines[size_t(line)]) : std::string_view();
}

std::optional<Table> table(std::string_view plainList, std::int64_t paddingLimit)
{
    Table t;
    t.lines = lines(plainList);
    auto line = [&](size_t n) { return n < t.lines.size() ? t.lines[n] : std::string(); };
    for (int c = 0; c < 8; ++c) {
        const auto w = integer(line(c));
        if (!w)
            return std::nullopt;
        const int minimum = c == 0 ? 30 : 5;
        t.widths[c] = *w >= 0 && *w < minimum ? minimum : (c == 0 && *w > 30 ? 30 : *w);
        t.titles[c] = line(8 + c);
    }
    const auto count = integer(line(16));
    if (!count)
        return std::nullopt;
    const std::int64_t present = (std::max<std::int64_t>(std::int64_t(t.lines.size()) - 17, 0) + 7) / 8;
    t.records = std::max<std::int64_t>(0, std::min<std::int64_t>(*count, present + paddingLimit));
    return t;
}

namespace {

QString decoded(std::string_view bytes)
{
    static QStringDecoder decoder("windows-1251", QStringDecoder::Flag::Stateless);
    return decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

std::string_view trimmed(std::string_view s)
{
    const size_t b = s.find_first_not_of(" \t\v");
    if (b == std::string_view::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\v") - b + 1);
}

QString folded(std::string_view name)
{
    return decoded(trimmed(name)).toCaseFolded();
}

} // namespace

Profile::Profile(std::string_view text)
{
    std::string section;
    bool first = false; // the first section of its name
    std::set<QString> seen;
    for (const std::string &raw : lines(text)) {
        const std::string_view line = trimmed(raw);
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            // The name runs to the first "]", or to the end of a line without one.
            const size_t close = line.find(']');
            section = line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
            first = seen.insert(folded(section)).second;
            continue;
        }
        const size_t eq = line.find('=');
        if (seen.empty() || eq == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, eq);
        if (m_names.size() < 32)
            m_names.emplace_back(section, key);
        std::string_view value = trimmed(line.substr(eq + 1));
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
        if (first)
            m_values.try_emplace({folded(section), folded(key)}, value);
    }
}

std::optional<std::string> Profile::value(std::string_view section, std::string_view key) const
{
    const auto found = m_values.find({folded(section), folded(key)});
    return found == m_values.end() ? std::nullopt : std::optional<std::string>(found->second);
}

bool Profile::sameName(std::string_view a, std::string_view b)
{
    return folded(a) == folded(b);
}

} // namespace ReadingModel
