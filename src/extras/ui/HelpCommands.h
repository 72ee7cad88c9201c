#pragma once

#include "base/ProgramDir.h"
#include "extras/InfoPages.h"

class DesktopServices;
class QWidget;

// The commands of the help menu beside the update: the help file, the web
// and mail links, the three information pages and the about box. None is
// guarded by a right and none touches the database. Windows open over owner.
class HelpCommands
{
public:
    HelpCommands(DesktopServices &desktop, const ProgramDir &dir, QWidget *owner);

    // One shell request each; its result is not looked at.
    void openHelp(); // the help file
    void visitSite();
    void writeToAuthor(); // a mail to the author
    void openFaq(); // the questions and answers page
    void openProgramPage();
    void reportError(); // an error report by mail

    // Write the page to thanks.htm and show it in the information window
    // until "OK". A file that cannot be written throws TabloraError and no
    // window opens.
    void showLicense();
    void showChangeHistory();
    void showThanks();

    // Shows a fresh about box modally.
    void showAbout();

    QString pageFile() const { return m_dir.file(QStringLiteral("thanks.htm")); }

private:
    void showPage(InfoPages::Page page);

    DesktopServices &m_desktop;
    ProgramDir m_dir;
    QWidget *m_owner;
};
