#pragma once

#include "PrintSurface.h"
#include "PrintedPage.h"

#include <functional>

class PrintFont;

// A print surface that keeps what the layout draws as pages, measured in a
// print font: each page goes to the receiver once the next one starts, the
// last one on flush().
class PageRecorder : public PrintSurface
{
public:
    using Receiver = std::function<void(PrintedPage &&page)>;

    PageRecorder(const PrintFont &font, int pageWidth, int pageHeight, Receiver receiver);

    // The count of lines laid out in full so far, given to the pages that end.
    void setLinesDone(qint64 lines) { m_page.linesDone = lines; }
    // Hands over the page being laid out; the next text starts a new one.
    void flush();

    int pageWidth() const override { return m_pageWidth; }
    int pageHeight() const override { return m_pageHeight; }
    int textWidth(QStringView text) const override;
    int textHeight() const override;
    int averageCharWidth() const override;
    void drawText(int x, int y, QStringView text) override;
    void newPage() override;

private:
    const PrintFont &m_font;
    int m_pageWidth;
    int m_pageHeight;
    Receiver m_receiver;
    PrintedPage m_page;
    // The last text measured with its width: the layout measures a piece
    // before it draws it, and the glyphs need the same width.
    mutable QString m_measured;
    mutable int m_measuredWidth = 0;
};
