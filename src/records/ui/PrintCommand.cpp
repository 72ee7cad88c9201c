#include "PrintCommand.h"

#include "PrintPreviewDialog.h"
#include "base/DesktopServices.h"
#include "base/LongWork.h"
#include "document/Document.h"
#include "document/DocumentTexts.h"
#include "records/PrintFileTarget.h"
#include "records/PrintFont.h"
#include "records/PrintJob.h"

#include <QPdfWriter>
#include <QPrinter>

#include <memory>

namespace {

// A PDF file of the job's own, laid out as the print dialog set the printer
// up for one: its paper, margins, resolution and document name.
void setUpLike(QPdfWriter &pdf, const QPrinter &printer)
{
    pdf.setPdfVersion(printer.pdfVersion());
    pdf.setResolution(printer.resolution());
    pdf.setPageLayout(printer.pageLayout());
    pdf.setTitle(printer.docName());
    pdf.setCreator(printer.creator());
}

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

QString PrintCommand::failedText()
{
    return QStringLiteral("Печать не удалась");
}

QString PrintCommand::progressText()
{
    return QStringLiteral("Печать базы данных...");
}

void PrintCommand::preview(const QFont &font, QWidget *parent, const std::function<void(const QString &)> &showStatus)
{
    bool toPrint = false;
    {
        // Closed, it counts pages no more while the job runs.
        PrintPreviewDialog dialog(m_document.model().table(), font, parent);
        toPrint = m_desktop.execDialog(dialog) == QDialog::Accepted;
    }
    if (toPrint)
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
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        file = std::make_unique<PrintFileTarget>(printer.outputFileName());
    // The job's thread gets a font that shares nothing with the window's.
    const QFont jobFont = PrintFont::ownCopy(font, printer.logicalDpiY());
    const TableData &table = m_document.model().table();

    showStatus(sentText());
    try {
        // The printer, set up here by its dialog, is painted on by the work
        // alone from now on.
        LongWork::run(m_desktop, progressText(), [&](WorkProgress &progress) {
            if (!file) {
                PrintJob(printer, jobFont, copies).print(table, &progress);
                return;
            }
            QPdfWriter pdf(&file->device());
            setUpLike(pdf, printer);
            PrintJob job(pdf, jobFont, copies);
            job.checkEachPage([&file] { file->throwIfFailed(); });
            job.print(table, &progress);
            file->commit();
        });
    } catch (const WorkStopped &) {
        showStatus(cancelledText());
        return;
    } catch (...) {
        showStatus(failedText());
        throw;
    }
}
