#pragma once

#include "document/Document.h"
#include "document/DocumentTexts.h"
#include "document/DocumentView.h"

#include <vector>

// The window as the file commands see it. Its recent-file menu stays empty:
// the window's own menu is tested with the window (tst_mainwindow), so every
// file opened goes to entry 1.
class FakeDocumentView : public DocumentView
{
public:
    explicit FakeDocumentView(Document &document)
        : m_document(document)
    {
    }

    void keepReplacement(TextReplacement replacement) override { replacements.push_back(std::move(replacement)); }
    void updateTitle() override { title = DocumentTexts::windowTitle(m_document.fileName()); }
    void updateRecentFiles() override {}
    bool reopenVisible(int) const override { return false; }
    QString applicationTitle() const override { return title; }

    QString title = QStringLiteral("Tablora 1.5");
    // The replacements saves kept, in order.
    std::vector<TextReplacement> replacements;

private:
    Document &m_document;
};
