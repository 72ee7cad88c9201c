#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <vector>

// Finds one text inside others, fast enough to scan a million records while
// the user waits. With case ignored, two characters match when they fold to
// the same character: Unicode's simple case folding of their lower case, with
// the dotted and dotless i of Turkish and Azerbaijani when the locale is one
// of those. Characters outside the Basic Multilingual Plane match only
// themselves.
class TextMatcher
{
public:
    TextMatcher(const QString &needle, Qt::CaseSensitivity sensitivity, const QLocale &locale = QLocale());

    bool isEmpty() const { return m_needle.isEmpty(); }
    qsizetype length() const { return m_needle.size(); }

    // Where the needle first stands in text at or after from, or -1. An empty
    // needle is found nowhere.
    qsizetype indexIn(QStringView text, qsizetype from = 0) const;

private:
    // Whether the needle, its first character already matched, stands at.
    bool matchesAt(QStringView text, qsizetype at) const;

    QString m_needle; // folded when case is ignored
    const char16_t *m_fold = nullptr; // the folding table; null when case counts
    std::vector<QChar> m_firstForms; // every character that matches the needle's first
};
