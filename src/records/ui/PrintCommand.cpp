#include "PrintCommand.h"

#include "PrintPreviewDialog.h"
#include "base/DesktopServices.h"
#include "document/Document.h"
#include "document/DocumentTexts.h"
#include "records/PrintFileTarget.h"
#include "records/PrintJob.h"

#include <QPrinter>

#include <memory>

namespace {

// How long the window waits between two looks at the progress bar.
constexpr std::chrono::milliseconds kSlice(50);
constexpr int kProgressSteps = 1000;

} // namespace

PrintCommand::PrintCommand(const Document &document, DesktopServices &desktop)
    : m_document(document)
    , m_desktop(desktop)
{
}

QString PrintCommand::sentText()
{
    return QStringLiteral("База данных отправлена на печать");
}

QString PrintCommand::cancelledText()
{
    return QStringLiteral("Печать отменена");
}

QString PrintCommand::progressText()
{
    return QStringLiteral("Печать базы данных...");
}

void PrintCommand::preview(const QFont &font, QWidget *parent, const std::function<void(const QString &)> &showStatus)
{
    PrintPreviewDialog dialog(m_document.model().table(), font, parent);
    if (m_desktop.execDialog(dialog) == QDialog::Accepted)
        print(font, showStatus);
}

void PrintCommand::print(const QFont &font, const std::function<void(const QString &)> &showStatus)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(DocumentTexts::filePart(m_document.fileName()));
    if (!m_desktop.choosePrinter(printer))
        return;
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(0, 0);
    PrintJob::Copies copies;
    if (!printer.supportsMultipleCopies()) {
        copies.count = printer.copyCount();
        copies.collate = printer.collateCopies();
        printer.setCopyCount(1);
    }
    std::unique_ptr<PrintFileTarget> file;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        file = std::make_unique<PrintFileTarget>(printer.outputFileName());
        printer.setOutputFileName(file->partName());
    }

    PrintJob job(printer, font, copies);
    const std::unique_ptr<DesktopServices::Progress> progress = m_desktop.startProgress(progressText(), kProgressSteps);
    showStatus(sentText());
    job.start(m_document.model().table());
    for (;;) {
        m_desktop.processEvents();
        if (progress->cancelled()) {
            job.abandon();
            showStatus(cancelledText());
            return;
        }
        if (!job.drawSome(kSlice))
            break;
        progress->setValue(job.progress());
    }
    job.finish();
    progress->setValue(kProgressSteps);
    if (file)
        file->commit();
}
