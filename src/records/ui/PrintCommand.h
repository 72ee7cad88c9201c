#pragma once

#include <QString>

#include <functional>

class DesktopServices;
class Document;
class QFont;
class QWidget;

// The print command: the open table's print text, after the print dialog, on
// the chosen printer in the table's font, with a progress bar that can stop
// it. It needs no right and changes nothing in the table.
class PrintCommand
{
public:
    PrintCommand(const Document &document, DesktopServices &desktop);

    // Prints the table in font, as long work with a progress bar that can
    // stop it. showStatus receives the status text once the print dialog is
    // confirmed, and again when the user stops the job or it fails; a
    // cancelled dialog prints nothing and shows nothing. Copies the printer
    // cannot make itself (a PDF file) are printed one after the other,
    // collated or page by page as the dialog says. A job that fails throws
    // TabloraError; one that prints to a file names the file and the system's
    // reason, and leaves a file of that name as it was.
    void print(const QFont &font, const std::function<void(const QString &)> &showStatus);

    // "Предварительный просмотр": the table's pages in font, over parent;
    // "Печать..." there closes it and prints as print does.
    void preview(const QFont &font, QWidget *parent, const std::function<void(const QString &)> &showStatus);

    static QString sentText();
    static QString cancelledText();
    static QString failedText();
    static QString progressText();

private:
    const Document &m_document;
    DesktopServices &m_desktop;
};
