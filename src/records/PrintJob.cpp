#include "PrintJob.h"

#include "PagePainter.h"
#include "PageProducer.h"
#include "PrintedPage.h"
#include "base/TabloraError.h"

#include <QElapsedTimer>
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
}

PrintJob::~PrintJob()
{
    m_producer.reset();
    if (m_painter.isActive())
        m_painter.end();
}

void PrintJob::start(const TableData &table)
{
    PageProducer::Settings settings;
    settings.font = m_painter.font();
    settings.dpi = m_device.logicalDpiY();
    settings.pageWidth = m_device.width();
    settings.pageHeight = m_device.height();
    settings.passes = m_copies.collate ? m_copies.count : 1;
    m_pagePainter = std::make_unique<PagePainter>(m_painter);
    m_producer = std::make_unique<PageProducer>(table, std::move(settings));
}

bool PrintJob::drawSome(std::chrono::milliseconds budget)
{
    QElapsedTimer clock;
    clock.start();
    while (!m_producer->atEnd()) {
        const qint64 left = budget.count() - clock.elapsed();
        if (left <= 0)
            return true;
        std::optional<PrintedPage> page = m_producer->takePage(std::chrono::milliseconds(left));
        if (!page)
            continue;
        drawPage(*page);
        m_linesDone = page->linesDone;
    }
    return false;
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

int PrintJob::progress() const
{
    const qint64 total = m_producer ? m_producer->totalLines() : 0;
    return total > 0 ? int(m_linesDone * 1000 / total) : 0;
}

void PrintJob::finish()
{
    m_producer.reset();
    if (!m_painter.end())
        throw TabloraError(failureMessage());
}

void PrintJob::abandon()
{
    m_producer.reset();
    if (m_painter.isActive())
        m_painter.end();
}

void PrintJob::print(const TableData &table)
{
    start(table);
    while (drawSome(std::chrono::milliseconds(1000))) {
    }
    finish();
}
