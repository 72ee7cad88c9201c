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
    void Action7Execute();  // the help file
    void Action50Execute(); // the web site
    void Action51Execute(); // a mail to the author
    void Action53Execute(); // the questions and answers page
    void Action54Execute(); // the program page
    void Action57Execute(); // an error report by mail

    // Write the page to thanks.htm and show it in the information window
    // until "OK". A file that cannot be written throws TabloraError and no
    // window opens.
    void Action52Execute(); // license
    void Action68Execute(); // history
    void Action55Execute(); // thanks

    // Shows a fresh about box modally.
    void Action56Execute();

    QString pageFile() const { return m_dir.file(QStringLiteral("thanks.htm")); }

private:
    void showPage(InfoPages::Page page);

    DesktopServices &m_desktop;
    ProgramDir m_dir;
    QWidget *m_owner;
};
