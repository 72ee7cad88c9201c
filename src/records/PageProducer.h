#pragma once

#include "PrintedPage.h"

#include <QFont>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

class TableData;

// Lays the print text of a table out into pages on a thread of its own, a few
// pages ahead of the one who takes them, so that measuring and shaping run
// beside the drawing. The thread only reads the table: nothing may change it
// until the producer is destroyed.
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
    // Stops the thread and waits for it.
    ~PageProducer();
    PageProducer(const PageProducer &) = delete;
    PageProducer &operator=(const PageProducer &) = delete;

    // The next page, waiting at most wait for it; nothing when none is ready
    // yet or all have been taken (see atEnd). Rethrows what the thread threw.
    std::optional<PrintedPage> takePage(std::chrono::milliseconds wait);
    // Every page has been taken.
    bool atEnd();
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
    std::thread m_thread;
};
