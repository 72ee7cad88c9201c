#include "HelpCommands.h"

#include "AboutDialog.h"
#include "InfoPageWindow.h"
#include "base/AppInfo.h"
#include "base/DesktopServices.h"

HelpCommands::HelpCommands(DesktopServices &desktop, const ProgramDir &dir, QWidget *owner)
    : m_desktop(desktop)
    , m_dir(dir)
    , m_owner(owner)
{
}

void HelpCommands::openHelp()
{
    m_desktop.shellOpen(m_dir.helpFile());
}

void HelpCommands::visitSite()
{
    m_desktop.shellOpen(AppInfo::siteAddress());
}

void HelpCommands::writeToAuthor()
{
    m_desktop.shellOpen(AppInfo::authorMailLink(QLatin1StringView("?subject=About Tablora 1.5")));
}

void HelpCommands::openFaq()
{
    m_desktop.shellOpen(AppInfo::siteAddress(QLatin1StringView("/faq.php")));
}

void HelpCommands::openProgramPage()
{
    m_desktop.shellOpen(AppInfo::programPageAddress());
}

void HelpCommands::reportError()
{
    m_desktop.shellOpen(AppInfo::authorMailLink(QLatin1StringView("?subject=Error in Tablora 1.5")));
}

void HelpCommands::showLicense()
{
    showPage(InfoPages::Page::License);
}

void HelpCommands::showChangeHistory()
{
    showPage(InfoPages::Page::History);
}

void HelpCommands::showThanks()
{
    showPage(InfoPages::Page::Thanks);
}

void HelpCommands::showAbout()
{
    AboutDialog about(m_desktop, m_owner);
    m_desktop.execDialog(about);
}

void HelpCommands::showPage(InfoPages::Page page)
{
    const QString path = pageFile();
    InfoPages::writeFile(path, InfoPages::lines(page)); // a failure opens no window
    InfoPageWindow browser(m_owner);
    browser.navigate(path);
    m_desktop.execDialog(browser);
}
