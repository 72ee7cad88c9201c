#include "PrintJob.h"

#include "PagePainter.h"
#include "PageProducer.h"
#include "PrintedPage.h"
#include "base/TabloraError.h"
#include "base/WorkProgress.h"

#include <QPagedPaintDevice>

QString PrintJob::failureMessage()
{
    return QStringLiteral("Не удалось напечатать базу данных: принтер не принял задание");
}

PrintJob::PrintJob(QPagedPaintDevice &device, const QFont &font)
    : PrintJob(device, font, Copies())
{
}

PrintJob::PrintJob(QPagedPaintDevice &device, const QFont &font, Copies copies)
    : m_device(device)
    , m_copies(copies)
{
    m_copies.count = std::max(1, m_copies.count);
    if (!m_painter.begin(&m_device))
        throw TabloraError(failureMessage());
    m_painter.setFont(font);
    m_pagePainter = std::make_unique<PagePainter>(m_painter);
}

PrintJob::~PrintJob()
{
    if (m_painter.isActive())
        m_painter.end();
}

void PrintJob::print(const TableData &table, WorkProgress *progress)
{
    PageProducer::Settings settings;
    settings.font = m_painter.font();
    settings.dpi = m_device.logicalDpiY();
    settings.pageWidth = m_device.width();
    settings.pageHeight = m_device.height();
    settings.passes = m_copies.collate ? m_copies.count : 1;
    {
        PageProducer pages(table, std::move(settings));
        if (progress)
            progress->beginStage(WorkProgress::kScale, pages.totalLines());
        qint64 linesDone = 0;
        while (std::optional<PrintedPage> page = pages.takePage()) {
            drawPage(*page);
            if (m_check)
                m_check();
            if (progress) {
                progress->advance(page->linesDone - linesDone);
                progress->throwIfStopped();
            }
            linesDone = page->linesDone;
        }
    }
    if (!m_painter.end())
        throw TabloraError(failureMessage());
}

void PrintJob::drawPage(const PrintedPage &page)
{
    const int times = m_copies.collate ? 1 : m_copies.count;
    for (int i = 0; i < times; ++i) {
        if (!m_firstPage && !m_device.newPage())
            throw TabloraError(failureMessage());
        m_firstPage = false;
        m_pagePainter->draw(page);
    }
}
