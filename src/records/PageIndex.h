#pragma once

#include "PrintLayout.h"
#include "PrintedPage.h"

#include <QFont>
#include <QFuture>

#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

class PrintFont;
class TableData;

// Where each printed page of a table starts, found by a task of the work
// pool so that any page can be laid out alone without the pages before it:
// the first pages are there at once, the last ones of a million records a few
// seconds later. The task only reads the table: nothing may change it until
// the index is destroyed, which ends the task.
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
    // Stops the count and waits for it.
    ~PageIndex();
    PageIndex(const PageIndex &) = delete;
    PageIndex &operator=(const PageIndex &) = delete;

    // The pages found so far; all of them once complete().
    int pageCount() const;
    bool complete() const { return m_complete.load(); }
    // The count of the pages: its progress is how far it has come through
    // the text, in thousandths; it has finished once complete().
    QFuture<void> counting() const { return m_counting; }

    // Page number page (from 0) laid out as the print job lays it out, in
    // font (a print font made on the calling thread); nothing when that page
    // is not known yet.
    std::optional<PrintedPage> layOut(int page, const PrintFont &font) const;

private:
    void run(QPromise<void> &promise, const QFont &font);

    const TableData &m_table;
    const Page m_page;
    const int m_lineCount;
    mutable std::mutex m_mutex;
    std::vector<PageStart> m_starts;
    std::atomic<bool> m_complete{false};
    QFuture<void> m_counting;
};
