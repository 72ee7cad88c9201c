#include "HelpCommands.h"

#include "TAboutForm.h"
#include "TBrowserForm.h"
#include "base/AppInfo.h"
#include "base/DesktopServices.h"

HelpCommands::HelpCommands(DesktopServices &desktop, const ProgramDir &dir, QWidget *owner)
    : m_desktop(desktop)
    , m_dir(dir)
    , m_owner(owner)
{
}

void HelpCommands::Action7Execute()
{
    m_desktop.shellOpen(m_dir.helpFile());
}

void HelpCommands::Action50Execute()
{
    m_desktop.shellOpen(AppInfo::siteAddress());
}

void HelpCommands::Action51Execute()
{
    m_desktop.shellOpen(AppInfo::authorMailLink(QLatin1StringView("?subject=About Tablora 1.5")));
}

void HelpCommands::Action53Execute()
{
    m_desktop.shellOpen(AppInfo::siteAddress(QLatin1StringView("/faq.php")));
}

void HelpCommands::Action54Execute()
{
    m_desktop.shellOpen(AppInfo::programPageAddress());
}

void HelpCommands::Action57Execute()
{
    m_desktop.shellOpen(AppInfo::authorMailLink(QLatin1StringView("?subject=Error in Tablora 1.5")));
}

void HelpCommands::Action52Execute()
{
    showPage(InfoPages::Page::License);
}

void HelpCommands::Action68Execute()
{
    showPage(InfoPages::Page::History);
}

void HelpCommands::Action55Execute()
{
    showPage(InfoPages::Page::Thanks);
}

void HelpCommands::Action56Execute()
{
    TAboutForm about(m_desktop, m_owner);
    m_desktop.execDialog(about);
}

void HelpCommands::showPage(InfoPages::Page page)
{
    const QString path = pageFile();
    InfoPages::writeFile(path, InfoPages::lines(page)); // a failure opens no window
    TBrowserForm browser(m_owner);
    browser.navigate(path);
    m_desktop.execDialog(browser);
}
