#pragma once

#include <QPainter>

class QFont;
class QPagedPaintDevice;
class TableData;

// One print job: the Print text of a table laid out on a paged device (a
// printer, a PDF file) in the given font at its point size on that device.
// Lines are made, laid out and drawn one at a time, and each finished page
// goes to the device, so a million records print without every page held in
// memory.
class PrintJob
{
public:
    // Starts the job; throws TabloraError when the device cannot start it.
    PrintJob(QPagedPaintDevice &device, const QFont &font);
    ~PrintJob();
    PrintJob(const PrintJob &) = delete;
    PrintJob &operator=(const PrintJob &) = delete;

    // Prints every line of the table's Print text and ends the job; throws
    // TabloraError when the device fails to finish it.
    void print(const TableData &table);

    static QString failureMessage();

private:
    QPagedPaintDevice &m_device;
    QPainter m_painter;
};
