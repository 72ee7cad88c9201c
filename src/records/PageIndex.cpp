#include "PageIndex.h"

#include "PageRecorder.h"
#include "PrintFont.h"
#include "PrintText.h"
#include "base/WorkPool.h"

namespace {

// A surface that only measures, and tells when a page starts.
class PageCounter : public PrintSurface
{
public:
    PageCounter(const PrintFont &font, const PageIndex::Page &page, std::function<void()> pageStarted)
        : m_font(font)
        , m_page(page)
        , m_pageStarted(std::move(pageStarted))
    {
    }
    int pageWidth() const override { return m_page.width; }
    int pageHeight() const override { return m_page.height; }
    int textWidth(QStringView text) const override { return m_font.textWidth(text); }
    int textHeight() const override { return m_font.textHeight(); }
    int averageCharWidth() const override { return m_font.averageCharWidth(); }
    void drawText(int, int, QStringView) override {}
    void newPage() override { m_pageStarted(); }

private:
    const PrintFont &m_font;
    const PageIndex::Page &m_page;
    std::function<void()> m_pageStarted;
};

} // namespace

PageIndex::PageIndex(const TableData &table, const QFont &font, Page page)
    : m_table(table)
    , m_page(page)
    , m_lineCount(PrintText::lineCount(table))
{
    m_starts.push_back(PageStart());
    m_counting = WorkPool::start(
        [this, own = PrintFont::ownCopy(font, page.dpi)](QPromise<void> &promise) { run(promise, own); });
}

PageIndex::~PageIndex()
{
    m_counting.cancel();
    m_counting.waitForFinished();
}

void PageIndex::run(QPromise<void> &promise, const QFont &font)
{
    const PrintFont printFont(font, m_page.dpi);
    PageStart lineStart;
    PageCounter pages(printFont, m_page, [&] {
        PageStart start = lineStart;
        std::lock_guard lock(m_mutex);
        start.pagesBefore = lineStart.pagesBefore;
        m_starts.push_back(start);
    });
    PrintLayout layout(pages);
    promise.setProgressRange(0, 1000);
    int pagesBefore = 0;
    int told = 0;
    for (int i = 0; i < m_lineCount; ++i) {
        if (promise.isCanceled())
            return;
        lineStart = {i, layout.position(), pagesBefore};
        layout.printLine(PrintText::line(m_table, i));
        {
            std::lock_guard lock(m_mutex);
            pagesBefore = int(m_starts.size()) - 1;
        }
        const int done = int(qint64(i + 1) * 1000 / m_lineCount);
        if (done != told)
            promise.setProgressValue(told = done);
    }
    m_complete = true;
}

int PageIndex::pageCount() const
{
    std::lock_guard lock(m_mutex);
    // The last page found may still grow, but it is there.
    return int(m_starts.size());
}

std::optional<PrintedPage> PageIndex::layOut(int page, const PrintFont &font) const
{
    PageStart start;
    {
        std::lock_guard lock(m_mutex);
        if (page < 0 || page >= int(m_starts.size()))
            return std::nullopt;
        start = m_starts[size_t(page)];
    }
    std::optional<PrintedPage> result;
    int current = start.pagesBefore;
    PageRecorder pages(font, m_page.width, m_page.height, [&](PrintedPage &&done) {
        if (current == page)
            result = std::move(done);
        ++current;
    });
    PrintLayout layout(pages);
    layout.moveTo(start.position);
    for (int i = start.line; i < m_lineCount && current <= page; ++i)
        layout.printLine(PrintText::line(m_table, i));
    if (current == page)
        pages.flush();
    return result;
}
