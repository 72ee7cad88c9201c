#pragma once

#include "Records.h"
#include "base/ProgramDir.h"
#include "base/Settings.h"
#include "document/Document.h"
#include "document/DocumentTexts.h"
#include "document/DocumentView.h"
#include "document/FileCommands.h"

#include <vector>

class DesktopServices;

// The window as the commands see it. Its recent-file menu stays empty: the
// window's own menu is tested with the window (tst_mainwindow), so every file
// opened goes to entry 1.
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

// One window's document and file commands without the window: the settings
// of the program folder, the document with the administrator logged in, the
// view, and the file commands over them. Windows of one test may share the
// folder and the desktop, as windows of one program on one computer do.
struct DocumentFixture
{
    DocumentFixture(DesktopServices &desktop, const ProgramDir &dir)
        : settings(dir)
        , view(document)
        , files(document, settings, desktop, view, dir)
    {
        document.setRole(QStringLiteral("admin"));
    }

    // Adds a record holding text, as a record command does.
    void change(const char *text)
    {
        document.model().insertRecord(document.model().recordCount(), record({"1", text}));
        document.setModified(true);
    }

    Settings settings;
    Document document;
    FakeDocumentView view;
    FileCommands files;
};
