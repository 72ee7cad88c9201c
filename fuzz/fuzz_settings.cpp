// The settings layer (ProfileFormat) on any file text: a key reads as the
// private-profile rules say; after a write the key reads as written and every
// other key as before.
#include "FuzzCheck.h"
#include "ReadingModel.h"
#include "base/ProfileFormat.h"
#include "base/Windows1251.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Names the program uses and their look-alikes: other letter case, blanks
// around, Cyrillic (Windows-1251), empty.
const char *const kSections[] = {
    "Users", "USERS", " users\t", "Table", "Reopen", "\xCF\xF0\xE0\xE2\xE0", "\xEF\xF0\xE0\xE2\xE0", ""};
const char *const kKeys[] = {"Login1", "login1",           "0 column",         " 0 Column ",
                             "File1",  "\xCA\xEB\xFE\xF7", "\xEA\xEB\xFE\xF7", ""};

QString name(std::string_view bytes)
{
    return Windows1251::decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

std::optional<std::string> value(const QByteArray &text, std::string_view section, std::string_view key)
{
    const auto v = ProfileFormat::value(text, name(section), name(key));
    return v ? std::optional<std::string>(v->toStdString()) : std::nullopt;
}

// A value the file keeps as written: no line break, no blank at either end, no
// quotes around it.
std::string storable(std::string_view bytes)
{
    std::string v;
    for (char c : bytes.substr(0, 64)) {
        if (c != '\r' && c != '\n')
            v += c;
    }
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t' || v.back() == '\v'))
        v.pop_back();
    while (!v.empty()
           && (v.front() == ' ' || v.front() == '\t' || v.front() == '\v' || v.front() == '"' || v.front() == '\''))
        v.erase(0, 1);
    return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    // Byte 0 picks the key written; the bytes up to the first NUL are its
    // value; the rest is the file.
    std::string_view input(reinterpret_cast<const char *>(data) + 1, size - 1);
    const size_t nul = input.find('\0');
    const std::string newValue = storable(input.substr(0, nul));
    const std::string_view file = nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);
    const QByteArray text(file.data(), qsizetype(file.size()));
    const char *section = kSections[data[0] % std::size(kSections)];
    const char *key = kKeys[(data[0] / std::size(kSections)) % std::size(kKeys)];

    const ReadingModel::Profile model(file);
    for (const char *s : kSections) {
        for (const char *k : kKeys)
            FUZZ_CHECK(value(text, s, k) == model.value(s, k));
    }
    for (const auto &[s, k] : model.names())
        FUZZ_CHECK(value(text, s, k) == model.value(s, k));

    const QByteArray written = ProfileFormat::withValue(text, name(section), name(key),
                                                        QByteArray::fromStdString(newValue));
    FUZZ_CHECK(value(written, section, key) == newValue);
    auto unchanged = [&](std::string_view s, std::string_view k) {
        return (ReadingModel::Profile::sameName(s, section) && ReadingModel::Profile::sameName(k, key))
            || value(written, s, k) == value(text, s, k);
    };
    for (const char *s : kSections) {
        for (const char *k : kKeys)
            FUZZ_CHECK(unchanged(s, k));
    }
    for (const auto &[s, k] : model.names())
        FUZZ_CHECK(unchanged(s, k));
    return 0;
}
