#include "PrintJob.h"

#include "PrintLayout.h"
#include "PrintSurface.h"
#include "PrintText.h"
#include "base/TabloraError.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>

namespace {

// The pages of a paged device, drawn through a painter in its font.
class PaintedPages : public PrintSurface
{
public:
    PaintedPages(QPainter &painter, QPagedPaintDevice &device)
        : m_painter(painter)
        , m_device(device)
        , m_metrics(painter.fontMetrics())
    {
    }

    int pageWidth() const override { return m_device.width(); }
    int pageHeight() const override { return m_device.height(); }
    int textWidth(QStringView text) const override { return m_metrics.horizontalAdvance(text.toString()); }
    int textHeight() const override { return m_metrics.height(); }
    int averageCharWidth() const override { return m_metrics.averageCharWidth(); }

    void drawText(int x, int y, QStringView text) override
    {
        m_painter.drawText(QPoint(x, y + m_metrics.ascent()), text.toString());
    }

    void newPage() override
    {
        if (!m_device.newPage())
            throw TabloraError(PrintJob::failureMessage());
    }

private:
    QPainter &m_painter;
    QPagedPaintDevice &m_device;
    QFontMetrics m_metrics;
};

} // namespace

QString PrintJob::failureMessage()
{
    return QStringLiteral("Не удалось напечатать базу данных: принтер не принял задание");
}

PrintJob::PrintJob(QPagedPaintDevice &device, const QFont &font)
    : m_device(device)
{
    if (!m_painter.begin(&m_device))
        throw TabloraError(failureMessage());
    m_painter.setFont(font);
}

PrintJob::~PrintJob()
{
    if (m_painter.isActive())
        m_painter.end();
}

void PrintJob::print(const TableData &table)
{
    PaintedPages pages(m_painter, m_device);
    PrintLayout layout(pages);
    const int count = PrintText::lineCount(table);
    for (int i = 0; i < count; ++i)
        layout.printLine(PrintText::line(table, i));
    if (!m_painter.end())
        throw TabloraError(failureMessage());
}
