#pragma once

#include "base/ProgramDir.h"

#include <QByteArray>

class DesktopServices;
class Document;
class ErrorReporter;
class FileCommands;
class QWidget;
class RecoveryCopy;
class Settings;

// The program update command: the rights check, then the update dialog,
// modally. Starting the updater ends the program at once, so a modified table
// first gets the same save question as closing the window; cancelling it, or
// a save that does not happen, keeps the program running. Changes given up
// there leave no recovery copy behind, as on a normal end.
class UpdateCommand
{
public:
    UpdateCommand(const Document &document, const Settings &settings, FileCommands &files, RecoveryCopy &recovery,
                  DesktopServices &desktop, ErrorReporter &errors, const ProgramDir &dir);

    void checkUpdate(QWidget *parent);

    // The key the updater must be signed with: the project's, or a test's
    // own.
    void setTrustedKey(const QByteArray &publicKey) { m_trustedKey = publicKey; }

private:
    const Document &m_document;
    const Settings &m_settings;
    FileCommands &m_files;
    RecoveryCopy &m_recovery;
    DesktopServices &m_desktop;
    ErrorReporter &m_errors;
    ProgramDir m_dir;
    QByteArray m_trustedKey;
};
