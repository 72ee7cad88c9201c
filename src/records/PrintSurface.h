#pragma once

#include <QStringView>

// What the print layout needs of a printer: the printable area of a page and
// text measured and drawn in the print font, all in the printer's device
// units from the top-left corner of the printable area.
class PrintSurface
{
public:
    virtual ~PrintSurface() = default;

    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;

    virtual int textWidth(QStringView text) const = 0;
    // The height of any drawn text, which is also the font's character height.
    virtual int textHeight() const = 0;
    virtual int averageCharWidth() const = 0;

    // Draws text with its top-left corner at (x, y) on the current page.
    virtual void drawText(int x, int y, QStringView text) = 0;
    virtual void newPage() = 0;
};
