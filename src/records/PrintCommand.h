#pragma once

#include <QString>

#include <functional>

class DesktopServices;
class Document;
class QFont;

// The print command: the open table's Print text, after the print dialog, on
// the chosen printer in the table's font. It needs no right and changes
// nothing in the table.
class PrintCommand
{
public:
    PrintCommand(const Document &document, DesktopServices &desktop);

    // Prints the table in font. showStatus receives the status text once the
    // job has started; a cancelled dialog prints nothing and shows nothing.
    void print(const QFont &font, const std::function<void(const QString &)> &showStatus);

    static QString sentText();

private:
    const Document &m_document;
    DesktopServices &m_desktop;
};
