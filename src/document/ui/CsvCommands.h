#pragma once

#include "base/DesktopServices.h"
#include "document/CsvOptions.h"

#include <QString>

class Document;
class FileCommands;
class Settings;
class QWidget;

// The table to and from spreadsheets, through the same reader and writer as
// tablora-convert: "Экспорт" › "В CSV..." writes the table, its titles first,
// in its current order; "Импорт" › "Из CSV..." makes a new, unsaved table of
// a CSV or tab-separated file. Both run as long work that the user may stop
// before anything changes. The options dialogs and the file dialogs keep the
// last choices while the program runs.
class CsvCommands
{
public:
    CsvCommands(Document &document, FileCommands &files, Settings &settings, DesktopServices &desktop,
                QWidget *dialogParent);

    // Needs no right: it copies records as copying to the clipboard does.
    void exportCsv();
    // Asks about unsaved changes, as the import of version 1.0 does, once
    // the file has been read; the new table has the widths (and, without
    // titles in the file, the titles) a new database has.
    void importCsv();

    static DesktopServices::FileDialog exportDialog();
    static DesktopServices::FileDialog importDialog();
    // The file an export writes for a save-dialog choice: the filter's
    // extension is added to a name that has none of its own.
    static QString exportPath(const DesktopServices::FileChoice &choice);

    static QString exportProgressText();
    static QString readProgressText();
    static QString importProgressText();
    static QString readFailureMessage(const QString &path, const QString &reason);

private:
    QString suggestedExportName() const;

    Document &m_document;
    FileCommands &m_files;
    Settings &m_settings;
    DesktopServices &m_desktop;
    QWidget *m_dialogParent;
    CsvWriteOptions m_exportOptions;
    DesktopServices::FileChoice m_exportChoice;
    DesktopServices::FileChoice m_importChoice;
    bool m_titlesInFirstRow = true;
    bool m_removeFormulaMarks = false;
};
