#pragma once

#include "PrintLayout.h"
#include "PrintedPage.h"

#include <QFont>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class PrintFont;
class TableData;

// Where each printed page of a table starts, found on a thread of its own so
// that any page can be laid out alone without the pages before it: the first
// pages are there at once, the last ones of a million records a few seconds
// later. The thread only reads the table: nothing may change it until the
// index is destroyed.
class PageIndex
{
public:
    // The page's first line of the print text, where the layout stood when
    // that line began, and how many pages had started before it.
    struct PageStart
    {
        int line = 0;
        PrintLayout::Position position;
        int pagesBefore = 0;
    };

    struct Page
    {
        int width = 0;
        int height = 0;
        int dpi = 0;
    };

    PageIndex(const TableData &table, const QFont &font, Page page);
    ~PageIndex();
    PageIndex(const PageIndex &) = delete;
    PageIndex &operator=(const PageIndex &) = delete;

    // The pages found so far; all of them once complete().
    int pageCount() const;
    bool complete() const { return m_complete.load(); }
    // How far the search has come through the text, in thousandths.
    int progress() const;
    // Blocks until every page is known.
    void waitUntilComplete();

    // Page number page (from 0) laid out as the print job lays it out, in
    // font (a print font made on the calling thread); nothing when that page
    // is not known yet.
    std::optional<PrintedPage> layOut(int page, const PrintFont &font) const;

private:
    void run(QFont font);

    const TableData &m_table;
    const Page m_page;
    const int m_lineCount;
    mutable std::mutex m_mutex;
    std::vector<PageStart> m_starts;
    bool m_ended = false;
    std::condition_variable m_endedChanged;
    std::atomic<int> m_linesDone{0};
    std::atomic<bool> m_complete{false};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
