#pragma once

#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The reading rules of the program's files, written a second time, plainly
// and without regard to speed, on standard strings: the fuzz targets check the
// readers against it. It shares no code with the readers it checks.
namespace ReadingModel {

// Lines end at CR LF, a lone CR or a lone LF; text after the last line break
// is a line of its own. An empty text has no lines.
template<typename Char>
std::vector<std::basic_string<Char>> lines(std::basic_string_view<Char> text)
{
    std::vector<std::basic_string<Char>> out;
    std::basic_string<Char> line;
    for (size_t i = 0; i < text.size(); ++i) {
        const Char c = text[i];
        if (c == Char('\r') || c == Char('\n')) {
            out.push_back(line);
            line.clear();
            if (c == Char('\r') && i + 1 < text.size() && text[i + 1] == Char('\n'))
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        out.push_back(line);
    return out;
}

// Optional leading spaces, an optional sign, then decimal digits, or
// hexadecimal ones after "$", "x", "X", "0x" or "0X"; the value fits 32 bits.
std::optional<std::int32_t> integer(std::string_view text);

// The text with every line break written as CR LF.
std::string withCrLf(std::string_view text);

// Base64 by the database reader's rule: whole groups of four; a group with
// "=" third gives 1 byte, else with "=" fourth 2 bytes, else 3; characters
// outside the alphabet count as 0. Nothing when the length is no multiple of 4.
std::optional<std::string> base64(std::string_view text);

// What a plain line list holds, as the reader must take it.
struct Table
{
    std::int32_t widths[8] = {}; // after the width rule: column 0 is 30, text columns at least 5
    std::string titles[8];
    std::int64_t records = 0; // how many records the reader gives
    std::vector<std::string> lines;

    // Cell c of record k: its line, or empty past the end.
    std::string_view cell(std::int64_t k, int c) const;
    // Whether any line of record k is present.
    bool holdsLinesOf(std::int64_t k) const { return 17 + 8 * k < std::int64_t(lines.size()); }
};

// Nothing when a width line or the count line is no integer. A count beyond
// the lines present gives at most paddingLimit empty records more.
std::optional<Table> table(std::string_view plainList, std::int64_t paddingLimit);

// The keys of a private-profile text (ProfileFormat.h states the rules) as
// the readers must see them: of sections with the same name only the first
// counts, and within it the first key of a name. Names compare as
// Windows-1251 text without regard to case or blanks around them.
class Profile
{
public:
    explicit Profile(std::string_view text);

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // The names of the first key lines below a section, as the file spells
    // them: a few, as each is a probe that reads the whole file.
    const std::vector<std::pair<std::string, std::string>> &names() const { return m_names; }

    static bool sameName(std::string_view a, std::string_view b);

private:
    std::map<std::pair<QString, QString>, std::string> m_values;
    std::vector<std::pair<std::string, std::string>> m_names;
};

} // namespace ReadingModel
