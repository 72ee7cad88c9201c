#pragma once

#include <QPainter>

#include <functional>
#include <memory>

class PagePainter;
class QFont;
class QPagedPaintDevice;
class TableData;
class WorkProgress;

// One print job: the print text of a table laid out on a paged device (a
// printer, a PDF file) in the given font at its point size on that device.
// Pages are laid out a few pages ahead on the work pool (PageProducer) and
// drawn on the job's thread, the one that made it; each finished page goes
// to the device, so a million records print without every page held in
// memory. The table must not change while the job runs.
class PrintJob
{
public:
    // How the job makes copies itself, for devices that cannot (a PDF file):
    // collated copies print the whole text again, others each page again.
    struct Copies
    {
        int count = 1;
        bool collate = true;
    };

    // Starts the job; throws TabloraError when the device cannot start it.
    PrintJob(QPagedPaintDevice &device, const QFont &font);
    PrintJob(QPagedPaintDevice &device, const QFont &font, Copies copies);
    // A job that has not finished ends the device's job as it stands; the
    // caller throws the output away.
    ~PrintJob();
    PrintJob(const PrintJob &) = delete;
    PrintJob &operator=(const PrintJob &) = delete;

    // Runs after each page has gone to the device: a device that cannot take
    // more (a file on a full disk) ends the job there by throwing.
    void checkEachPage(std::function<void()> check) { m_check = std::move(check); }

    // The whole job: every page, then the end of the device's job. Reports
    // each page to progress, when given, and stops when it asks (WorkStopped).
    // Throws TabloraError when the device fails.
    void print(const TableData &table, WorkProgress *progress = nullptr);

    static QString failureMessage();

private:
    void drawPage(const struct PrintedPage &page);

    QPagedPaintDevice &m_device;
    Copies m_copies;
    QPainter m_painter;
    std::unique_ptr<PagePainter> m_pagePainter;
    std::function<void()> m_check;
    bool m_firstPage = true;
};
