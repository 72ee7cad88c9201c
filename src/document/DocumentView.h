#pragma once

#include <QString>

// What the file commands ask of the window that shows the document.
class DocumentView
{
public:
    virtual ~DocumentView() = default;

    // Shows the current file name in the window caption, the application
    // title and the status bar.
    virtual void updateTitle() = 0;
    // Rebuilds the five recent-file commands from the settings.
    virtual void updateRecentFiles() = 0;
    // Whether recent-file command k (1 to 5) is shown.
    virtual bool reopenVisible(int k) const = 0;
    // The application title, the caption of plain message boxes.
    virtual QString applicationTitle() const = 0;
};
