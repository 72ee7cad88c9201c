#pragma once

#include <QValidator>

// Keeps an edit box single-line: a cell, a title or a settings value never
// holds a line break, because each one is a line of its file. Every line break
// that reaches the box - typed, pasted, dropped or set - becomes one space (CR
// LF counts as one break), so no pasted word is lost. A box that takes a text
// to find drops the breaks at the text's ends instead: a copied cell brings
// its line break along, and a trailing space would find nothing.
class SingleLineValidator : public QValidator
{
    Q_OBJECT

public:
    enum class Ends { Spaces, Dropped };

    explicit SingleLineValidator(QObject *parent = nullptr, Ends ends = Ends::Spaces);

    // The text with each CR LF, lone CR and lone LF replaced by one space.
    // When cursor is given, it is moved to the same place in the result.
    static QString singleLine(QStringView text, int *cursor = nullptr);

    State validate(QString &input, int &pos) const override;

private:
    Ends m_ends;
};
