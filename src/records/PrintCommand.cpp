#include "PrintCommand.h"

#include "PrintJob.h"
#include "base/DesktopServices.h"
#include "document/Document.h"
#include "document/DocumentTexts.h"

#include <QPrinter>

PrintCommand::PrintCommand(const Document &document, DesktopServices &desktop)
    : m_document(document)
    , m_desktop(desktop)
{
}

QString PrintCommand::sentText()
{
    return QStringLiteral("База данных отправлена на печать");
}

void PrintCommand::print(const QFont &font, const std::function<void(const QString &)> &showStatus)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(DocumentTexts::filePart(m_document.fileName()));
    if (!m_desktop.choosePrinter(printer))
        return;
    BusyScope busy(m_desktop);
    PrintJob job(printer, font);
    showStatus(sentText());
    job.print(m_document.model().table());
}
