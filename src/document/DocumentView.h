#pragma once

#include "TextReplacement.h"

#include <QString>

// What the file commands ask of the window that shows the document.
class DocumentView
{
public:
    virtual ~DocumentView() = default;

    // A save wrote "?" for characters the file cannot hold, and the table
    // shown took the same replacement first: the window keeps it as one
    // change that can be taken back. Without such a history the replaced text
    // simply stays.
    virtual void keepReplacement(TextReplacement) {}

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
