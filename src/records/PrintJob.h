#pragma once

#include <QPainter>

#include <chrono>
#include <memory>
#include <optional>

class PagePainter;
class PageProducer;
class QFont;
class QPagedPaintDevice;
class TableData;

// One print job: the print text of a table laid out on a paged device (a
// printer, a PDF file) in the given font at its point size on that device.
// Pages are laid out on a thread of their own a few pages ahead and drawn
// here, on the caller's thread, a slice at a time, so that the caller can
// show progress and let the user cancel between slices; each finished page
// goes to the device, so a million records print without every page held in
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
    ~PrintJob();
    PrintJob(const PrintJob &) = delete;
    PrintJob &operator=(const PrintJob &) = delete;

    // Starts laying out the table's print text.
    void start(const TableData &table);
    // Draws the pages that are ready, for about budget; true while pages
    // remain. Throws TabloraError when the device fails.
    bool drawSome(std::chrono::milliseconds budget);
    // How far the job has come, in thousandths.
    int progress() const;
    // Ends the job once every page is drawn; throws TabloraError when the
    // device fails to finish it.
    void finish();
    // Stops laying out and ends the device's job as it stands; the caller
    // throws the output away.
    void abandon();

    // The whole job at once: start, every page, finish.
    void print(const TableData &table);

    static QString failureMessage();

private:
    void drawPage(const struct PrintedPage &page);

    QPagedPaintDevice &m_device;
    Copies m_copies;
    QPainter m_painter;
    std::unique_ptr<PageProducer> m_producer;
    std::unique_ptr<PagePainter> m_pagePainter;
    bool m_firstPage = true;
    qint64 m_linesDone = 0;
};
