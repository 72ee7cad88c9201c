#include "PageProducer.h"

#include "PageRecorder.h"
#include "PrintFont.h"
#include "PrintLayout.h"
#include "PrintText.h"
#include "base/WorkPool.h"

PageProducer::PageProducer(const TableData &table, Settings settings)
    : m_totalLines(qint64(PrintText::lineCount(table)) * std::max(1, settings.passes))
{
    // The task gets a font of its own before it starts: the caller's copy
    // shares data with the painter's.
    settings.font = PrintFont::ownCopy(settings.font, settings.dpi);
    m_task = WorkPool::start([this, &table, settings = std::move(settings)] { run(table, settings); });
}

PageProducer::~PageProducer()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_task.cancel(); // a task not started yet never starts
    m_task.waitForFinished();
}

void PageProducer::run(const TableData &table, const Settings &settings)
{
    try {
        const PrintFont font(settings.font, settings.dpi);
        bool stopped = false;
        PageRecorder pages(font, settings.pageWidth, settings.pageHeight,
                           [&](PrintedPage &&page) { stopped = stopped || !put(std::move(page)); });
        const int count = PrintText::lineCount(table);
        qint64 done = 0;
        for (int pass = 0; pass < std::max(1, settings.passes) && !stopped; ++pass) {
            PrintLayout layout(pages);
            for (int i = 0; i < count && !stopped; ++i) {
                stopped = m_stop.load(std::memory_order_relaxed);
                layout.printLine(PrintText::line(table, i));
                pages.setLinesDone(++done);
            }
            if (!stopped)
                pages.flush();
        }
    } catch (...) {
        std::lock_guard lock(m_mutex);
        m_failure = std::current_exception();
    }
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
    }
    m_changed.notify_all();
}

bool PageProducer::put(PrintedPage &&page)
{
    std::unique_lock lock(m_mutex);
    const auto roomOrStop = [this] { return m_stop || m_pages.size() < kPagesAhead; };
    if (!roomOrStop())
        WorkPool::blockingWait([&] { m_changed.wait(lock, roomOrStop); });
    if (m_stop)
        return false;
    m_pages.push_back(std::move(page));
    lock.unlock();
    m_changed.notify_all();
    return true;
}

std::optional<PrintedPage> PageProducer::takePage()
{
    std::unique_lock lock(m_mutex);
    const auto pageOrEnd = [this] { return !m_pages.empty() || m_done; };
    if (!pageOrEnd())
        WorkPool::blockingWait([&] { m_changed.wait(lock, pageOrEnd); });
    if (m_pages.empty()) {
        if (m_failure)
            std::rethrow_exception(std::exchange(m_failure, nullptr));
        return std::nullopt;
    }
    PrintedPage page = std::move(m_pages.front());
    m_pages.pop_front();
    lock.unlock();
    m_changed.notify_all();
    return page;
}
