#include "CsvDetection.h"

#include "base/Utf8.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

namespace {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");
// How much of a text the guesses look at, and how many of its rows.
constexpr qsizetype kSampleBytes = 65536;
constexpr int kSampleRows = 50;
constexpr size_t kCandidates = std::size(CsvDetection::kDelimiters);

// The delimiters outside quotes in each non-empty row of the sample: rows
// that the sample cuts short are left out.
std::vector<std::array<int, kCandidates>> delimitersPerRow(QByteArrayView sample, bool cut)
{
    std::vector<std::array<int, kCandidates>> rows;
    std::array<int, kCandidates> counts{};
    bool inQuotes = false;
    bool empty = true;
    for (qsizetype i = 0; i < sample.size() && int(rows.size()) < kSampleRows; ++i) {
        const char c = sample[i];
        if (c == '"') {
            inQuotes = !inQuotes;
            empty = false;
        } else if (!inQuotes && (c == '\r' || c == '\n')) {
            if (!empty)
                rows.push_back(counts);
            counts = {};
            empty = true;
        } else {
            empty = false;
            for (size_t d = 0; d < kCandidates; ++d)
                counts[d] += !inQuotes && c == CsvDetection::kDelimiters[d];
        }
    }
    if (!empty && !cut && int(rows.size()) < kSampleRows)
        rows.push_back(counts);
    return rows;
}

} // namespace

namespace CsvDetection {

TextEncoding encoding(QByteArrayView text)
{
    if (text.startsWith(kByteOrderMark))
        return TextEncoding::Utf8;
    const QByteArrayView sample = text.first(std::min(text.size(), kSampleBytes));
    return Utf8::isWellFormed(sample, sample.size() < text.size()) ? TextEncoding::Utf8 : TextEncoding::Windows1251;
}

char delimiter(QByteArrayView text)
{
    if (text.startsWith(kByteOrderMark))
        text = text.sliced(kByteOrderMark.size());
    const QByteArrayView sample = text.first(std::min(text.size(), kSampleBytes));
    const auto rows = delimitersPerRow(sample, sample.size() < text.size());
    if (rows.empty())
        return kDelimiters[0];
    int best = -1;
    for (size_t d = 0; d < kCandidates; ++d) {
        bool even = rows.front()[d] > 0;
        for (const auto &row : rows)
            even = even && row[d] == rows.front()[d];
        if (even && (best < 0 || rows.front()[d] > rows.front()[size_t(best)]))
            best = int(d);
    }
    if (best >= 0)
        return kDelimiters[best];
    best = 0;
    for (size_t d = 1; d < kCandidates; ++d) {
        if (rows.front()[d] > rows.front()[size_t(best)])
            best = int(d);
    }
    return kDelimiters[best];
}

} // namespace CsvDetection
