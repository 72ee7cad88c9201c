#pragma once

#include "PrintedPage.h"

#include <QFont>
#include <QFuture>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>

class TableData;

// Lays the print text of a table out into pages as a task of the work pool,
// a few pages ahead of the one who takes them, so that measuring and shaping
// run beside the drawing; it never holds more than those few pages. The task
// only reads the table: nothing may change it until the producer is
// destroyed.
class PageProducer
{
public:
    struct Settings
    {
        QFont font; // as the printer's painter holds it
        int dpi = 0;
        int pageWidth = 0;
        int pageHeight = 0;
        // Whole passes over the text, each starting on a page of its own
        // (collated copies).
        int passes = 1;
    };

    PageProducer(const TableData &table, Settings settings);
    // Stops the task and waits for it.
    ~PageProducer();
    PageProducer(const PageProducer &) = delete;
    PageProducer &operator=(const PageProducer &) = delete;

    // The next page, waiting for it while it is laid out; nothing once every
    // page has been taken. Rethrows what the layout threw.
    std::optional<PrintedPage> takePage();
    // The count of lines over all passes.
    qint64 totalLines() const { return m_totalLines; }

private:
    void run(const TableData &table, const Settings &settings);
    // False once the producer is being stopped.
    bool put(PrintedPage &&page);

    static constexpr size_t kPagesAhead = 16;

    qint64 m_totalLines = 0;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<PrintedPage> m_pages;
    bool m_done = false;
    std::exception_ptr m_failure;
    std::atomic<bool> m_stop{false};
    QFuture<void> m_task;
};
